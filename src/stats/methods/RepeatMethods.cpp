#include "stats/methods/RepeatMethods.h"

#include "core/Format.h"

namespace lot {

namespace {

/// "+1", "-2": the shift in a code; "+ 1", "- 2" in a caption.
QString ShiftText(int shift, bool spaced) {
    const QString sign = shift < 0 ? QStringLiteral("-") : QStringLiteral("+");
    return sign + (spaced ? QStringLiteral(" ") : QString()) + QString::number(shift < 0 ? -shift : shift);
}

} // namespace

QString detail::RepValuesCode(int shift, int distance) {
    if (shift != 0) return Format(QStringLiteral("PRV%s"), {ShiftText(shift, false)});
    if (distance > 1) return Format(QStringLiteral("PRV2O%d"), {distance - 1});
    return QStringLiteral("RPV2");
}

QString detail::RepValuesCaption(int shift, int distance) {
    if (shift != 0) return Format(QStringLiteral("Данные предыдущего тиража %s"), {ShiftText(shift, true)});
    if (distance > 1)
        return Format(QStringLiteral("Повторяющиеся числа в 2-х тиражах через %d тираж(а)"), {distance - 1});
    return QStringLiteral("Повторяющиеся числа в 2-х тиражах подряд");
}

QString detail::RepCountCode(int shift, int distance) {
    if (shift != 0) return Format(QStringLiteral("PRC%s"), {ShiftText(shift, false)});
    // The first of the three distance codes does not follow the other two.
    if (distance == 2) return QStringLiteral("RPO1");
    if (distance > 2) return Format(QStringLiteral("PRC2O%d"), {distance - 1});
    return QStringLiteral("RPC2");
}

QString detail::RepCountCaption(int shift, int distance) {
    if (shift != 0)
        return Format(QStringLiteral("Количество совпадений \"значений %s\""), {ShiftText(shift, true)});
    if (distance > 1)
        return Format(QStringLiteral("Количество повторов в 2-х тиражах через %d тираж(а)"), {distance - 1});
    return QStringLiteral("Количество повторов в 2-х тиражах подряд");
}

} // namespace lot
