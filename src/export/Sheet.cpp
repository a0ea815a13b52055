#include "export/Sheet.h"

namespace lot {

TSheetValue ClassifySheetValue(const QVariant &value) {
    TSheetValue v;
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        v.IsNumber = true;
        v.Number = value.toDouble();
        return v;
    case QMetaType::Double:
    case QMetaType::Float:
        v.IsNumber = true;
        v.Number = value.toDouble();
        v.Decimals = -1; // as the spreadsheet shows it
        return v;
    default:
        break;
    }
    v.Text = value.toString();
    const QString &t = v.Text;
    qsizetype i = 0;
    if (i < t.size() && t[i] == QLatin1Char('-')) ++i;
    const qsizetype intStart = i;
    while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128)
        ++i;
    const qsizetype intDigits = i - intStart;
    if (intDigits == 0 || intDigits > 15 || (intDigits > 1 && t[intStart] == QLatin1Char('0'))) return v;
    int decimals = 0;
    if (i < t.size() && t[i] == QLatin1Char('.')) {
        ++i;
        while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128) {
            ++i;
            ++decimals;
        }
        if (decimals == 0 || intDigits + decimals > 15) return v;
    }
    if (i != t.size()) return v;
    bool ok = false;
    const double number = t.toDouble(&ok);
    if (!ok) return v;
    v.IsNumber = true;
    v.Number = number;
    v.Decimals = decimals;
    return v;
}

QString SheetName(const QString &title, int part) {
    QString name;
    for (QChar c : title) {
        if (QStringLiteral("[]:*?/\\").contains(c) || c.unicode() < 32) c = QLatin1Char('_');
        name += c;
    }
    while (name.startsWith(QLatin1Char('\'')))
        name.remove(0, 1);
    name = name.trimmed();
    if (name.isEmpty()) name = QStringLiteral("Лист");
    const QString suffix = part > 1 ? QStringLiteral(" (%1)").arg(part) : QString();
    name = name.left(31 - suffix.size());
    while (name.endsWith(QLatin1Char('\'')) || name.endsWith(QLatin1Char(' ')))
        name.chop(1);
    if (name.isEmpty()) name = QStringLiteral("Лист");
    return name + suffix;
}

} // namespace lot
