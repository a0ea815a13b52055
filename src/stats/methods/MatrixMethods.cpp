#include "stats/methods/MatrixMethods.h"

#include "core/Format.h"
#include "stats/StatList.h"

namespace lot {

TMatrixLayout::TMatrixLayout(int cols) {
    if (cols < 1 || cols > NumberCount) return;
    m_cols = uint8_t(cols);
    m_rows = uint8_t((NumberCount + cols - 1) / cols);
    for (int n = 1; n <= NumberCount; ++n) {
        m_col[size_t(n)] = uint8_t((n - 1) % cols + 1);
        m_row[size_t(n)] = uint8_t((n - 1) / cols + 1);
    }
}

TMatrixLayout TMatrixLayout::Of(const TStatList &list) {
    return TMatrixLayout(list.MatrixCols());
}

TCustomMatrixStat::TCustomMatrixStat(const TStatList &list, int param)
    : TCustomStat(list, param), m_matrix(TMatrixLayout::Of(list)) {}

TCustomMatrixGraphStat::TCustomMatrixGraphStat(const TStatList &list, int param)
    : TCustomGraphStat(list, param), m_matrix(TMatrixLayout::Of(list)) {}

QString detail::PlaceMaskText(uint64_t mask, int count) {
    QString digits;
    for (int bit = count - 1; bit >= 0; --bit)
        digits += (mask >> bit) & 1 ? QLatin1Char('1') : QLatin1Char('0');
    return Format(QStringLiteral("%s (%.3d)"), {digits, qulonglong(mask)});
}

int detail::PlaceMaskOfText(const QString &s, int count) {
    uint64_t mask = 0;
    for (int i = 0; i < count; ++i)
        mask = mask * 2 + (i < s.size() && s[i] == QLatin1Char('1') ? 1 : 0);
    return int(uint32_t(mask));
}

QString MatrixTupleCaption(detail::TMatrixPlace place, int size, bool windows) {
    const bool cols = place == detail::TMatrixPlace::Column;
    QString format;
    if (windows)
        format = cols ? QStringLiteral("Сочетания из %0:d столбцов по соседним числам")
                      : QStringLiteral("Сочетания из %0:d строк по соседним числам");
    else
        format = cols ? QStringLiteral("Сочетания из %0:d столбцов по всем числам тиража")
                      : QStringLiteral("Сочетания из %0:d строк по всем числам тиража");
    return Format(format, {size});
}

} // namespace lot
