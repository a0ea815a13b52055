#include "stats/DrawViews.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <QHash>
#include <QMap>

namespace lot {

TShemaArray CountShema(const TDrawsArray &draws, int first, int last) {
    TShemaArray entries;
    int index[NumberCount + 1];
    std::fill(std::begin(index), std::end(index), -1);
    first = std::max(0, first);
    last = std::min(last, int(draws.size()) - 1);
    for (int i = last; i >= first; --i) {
        const TDrawRec &d = draws[size_t(i)];
        for (uint8_t n : d.Numbers) {
            if (n < 1 || n > NumberCount) continue;
            if (index[n] < 0) {
                index[n] = int(entries.size());
                entries.append({n, 0, d.DrawNumber});
            }
            ++entries[index[n]].Count;
        }
    }
    return entries;
}

TLayout ComputeLayout(const TDrawsArray &draws, int offset, int length) {
    TLayout layout;
    const int last = int(draws.size()) - 1 - std::max(0, offset);
    if (last < 0 || length < 1) return layout;
    const int first = std::max(0, last - length + 1);
    layout.FirstDraw = draws[size_t(first)].DrawNumber;
    layout.LastDraw = draws[size_t(last)].DrawNumber;
    const TShemaArray entries = CountShema(draws, first, last);
    for (const TShemaEntry &e : entries) {
        if (!layout.Counts.contains(e.Count)) layout.Counts.append(e.Count);
        if (!layout.Draws.contains(e.LastDraw)) layout.Draws.append(e.LastDraw);
    }
    std::sort(layout.Counts.begin(), layout.Counts.end(), std::greater<int>());
    std::sort(layout.Draws.begin(), layout.Draws.end(), std::greater<int>());
    // The draw after the newest in use, when the offset hides it.
    bool next[NumberCount + 1] = {};
    if (last + 1 < int(draws.size()))
        for (uint8_t n : draws[size_t(last + 1)].Numbers)
            if (n >= 1 && n <= NumberCount) next[n] = true;
    layout.Cells = QList<QStringList>(layout.Counts.size(), QStringList(layout.Draws.size()));
    for (const TShemaEntry &e : entries) {
        QString &cell = layout.Cells[layout.Counts.indexOf(e.Count)][layout.Draws.indexOf(e.LastDraw)];
        const QString text =
            next[e.Number] ? QStringLiteral("[%1]").arg(e.Number) : QString::number(e.Number);
        cell = cell.isEmpty() ? text : cell + QStringLiteral(", ") + text;
    }
    return layout;
}

uint32_t LayoutCellColour(int row, int column, int rows, int columns, bool gradient, const QString &text) {
    if (text.contains(QLatin1Char('['))) return 0x00FF00; // lime
    if (gradient) {
        const double r = rows > 0 ? double(row) / rows : 0;
        const double c = columns > 0 ? double(column) / columns : 0;
        const auto channel = [](double v) { return uint32_t(std::clamp(int(std::lround(v)), 0, 255)); };
        return channel(255 - 155 * r) << 16 | channel(255 - 155 * c) << 8 | channel(100 + 155 * r);
    }
    const bool rowMarked = (row - 1) / 5 % 2 == 0;
    const bool columnMarked = (column - 1) / 5 % 2 == 0;
    return rowMarked != columnMarked ? 0xFFEAEA : 0xEAFFEA;
}

TLayoutList ComputeLayoutList(const TDrawsArray &draws, int offset, int length) {
    TLayoutList list;
    const int last = int(draws.size()) - 1 - std::max(0, offset);
    if (last < 0 || length < 1) return list;
    const int first = std::max(0, last - length + 1);
    list.Header =
        QStringLiteral("%1 - %2").arg(draws[size_t(first)].DrawNumber).arg(draws[size_t(last)].DrawNumber);
    QMap<int, QStringList> byCount;
    for (const TShemaEntry &e : CountShema(draws, first, last))
        byCount[e.Count] << QString::number(e.Number);
    for (auto it = byCount.cend(); it != byCount.cbegin();) {
        --it;
        list.Rows.append({it.key(), it.value().join(QStringLiteral(", "))});
    }
    return list;
}

QList<TRepeatRow> ComputeRepeats(const TDrawsArray &draws, int length, int deep,
                                 const std::function<bool()> &tick) {
    QList<TRepeatRow> rows;
    const int newest = int(draws.size()) - 1;
    const int oldest = std::max(0, newest - std::max(0, length) + 1);
    for (int d = newest; d >= oldest && length > 0; --d) {
        bool inDraw[NumberCount + 1] = {};
        for (uint8_t n : draws[size_t(d)].Numbers)
            if (n >= 1 && n <= NumberCount) inDraw[n] = true;
        QHash<int, int> rowOf; // shared count -> row
        for (int e = d - 1; e >= std::max(0, d - std::max(0, deep)); --e) {
            int k = 0;
            for (uint8_t n : draws[size_t(e)].Numbers)
                k += n >= 1 && n <= NumberCount && inDraw[n];
            if (k == 0) continue;
            auto found = rowOf.constFind(k);
            int row = found == rowOf.cend() ? -1 : *found;
            if (row < 0) {
                row = int(rows.size());
                rowOf.insert(k, row);
                rows.append({draws[size_t(d)].DrawNumber, k, 0, QString()});
            }
            TRepeatRow &r = rows[row];
            ++r.Count;
            const QString number = QString::number(draws[size_t(e)].DrawNumber);
            r.DrawsList = r.DrawsList.isEmpty() ? number : r.DrawsList + QLatin1Char(' ') + number;
        }
        if (tick && !tick()) break;
    }
    return rows;
}

} // namespace lot
