#include "filters/RowTest.h"

#include "core/Errors.h"
#include "core/Format.h"

#include <cmath>
#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

namespace lot {

namespace {

enum class TTest { Always, AtLeast, AtMost, InList };
enum class TKind { Integer, Number, Key };

/// How one selection mode tests a row: the field, the comparison, whether
/// the field is read as an integer or a decimal number, and the value taken
/// by the threshold tests when the row text is not a number.
struct TModeRule {
    QString TStatValues::*Field;
    TTest Test;
    TKind Kind;
    double Default;
};

constexpr double High = 65535;

constexpr TModeRule ModeRules[LevelModeCount] = {
    {nullptr, TTest::Always, TKind::Integer, 0},
    {&TStatValues::Depth, TTest::AtLeast, TKind::Integer, 0},
    {&TStatValues::DepthPercent, TTest::AtLeast, TKind::Number, 0},
    {&TStatValues::Depth, TTest::AtMost, TKind::Integer, High},
    {&TStatValues::DepthPercent, TTest::AtMost, TKind::Number, High},
    {&TStatValues::Depth, TTest::InList, TKind::Integer, 0},
    {&TStatValues::DepthPercent, TTest::InList, TKind::Number, 0},
    {&TStatValues::Deviation, TTest::AtLeast, TKind::Integer, 0},
    {&TStatValues::DeviationPercent, TTest::AtLeast, TKind::Number, 0},
    {&TStatValues::Deviation, TTest::AtMost, TKind::Integer, High},
    {&TStatValues::DeviationPercent, TTest::AtMost, TKind::Number, High},
    {&TStatValues::Deviation, TTest::InList, TKind::Integer, 0},
    {&TStatValues::DeviationPercent, TTest::InList, TKind::Number, 0},
    {&TStatValues::Count, TTest::AtLeast, TKind::Integer, 0},
    {&TStatValues::CountPercent, TTest::AtLeast, TKind::Number, 0},
    {&TStatValues::Count, TTest::AtMost, TKind::Integer, High},
    {&TStatValues::CountPercent, TTest::AtMost, TKind::Number, High},
    {&TStatValues::Count, TTest::InList, TKind::Integer, 0},
    {&TStatValues::CountPercent, TTest::InList, TKind::Number, 0},
    {&TStatValues::Weight, TTest::AtLeast, TKind::Number, 0},
    {&TStatValues::Weight, TTest::AtMost, TKind::Number, 0},
    {&TStatValues::Weight, TTest::InList, TKind::Number, 0},
    {&TStatValues::PeriodMin, TTest::AtLeast, TKind::Integer, 0},
    {&TStatValues::PeriodMin, TTest::AtMost, TKind::Integer, High},
    {&TStatValues::PeriodMin, TTest::InList, TKind::Integer, 0},
    {&TStatValues::Period, TTest::AtLeast, TKind::Number, 0},
    {&TStatValues::Period, TTest::AtMost, TKind::Number, 0},
    {&TStatValues::Period, TTest::InList, TKind::Number, 0},
    {&TStatValues::PeriodMax, TTest::AtLeast, TKind::Integer, 0},
    {&TStatValues::PeriodMax, TTest::AtMost, TKind::Integer, High},
    {&TStatValues::PeriodMax, TTest::InList, TKind::Integer, 0},
    {nullptr, TTest::InList, TKind::Key, 0},
};

bool TryInt(const QString &text, int &out) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (ok) out = v;
    return ok;
}

bool TryNumber(const QString &text, double &out) {
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(v)) return false;
    out = v;
    return true;
}

/// The row's value under a rule, or the rule's default; raises only when
/// strict (the list tests cannot compare a text that is not a number).
double RowNumber(const TModeRule &rule, const TStatValues &row, bool strict) {
    const QString &text = row.*rule.Field;
    if (rule.Kind == TKind::Integer) {
        int v = 0;
        if (TryInt(text, v)) return v;
        if (strict) StrictInt(text);
    } else {
        double v = 0;
        if (TryNumber(text, v)) return v;
        if (strict) StrictNumber(text);
    }
    return rule.Default;
}

bool InList(const QString &list, TKind kind, double value) {
    static const QRegularExpression separators(QStringLiteral("[,;]"));
    const QStringList items = list.split(separators);
    for (const QString &raw : items) {
        const QString item = raw.trimmed();
        // Lists come from the integer list syntax; an empty item between two
        // separators is no value rather than an error.
        if (item.isEmpty()) continue;
        const double v = kind == TKind::Number ? StrictNumber(item) : double(StrictInt(item));
        if (v == value) return true;
    }
    return false;
}

} // namespace

int StrictInt(const QString &text) {
    int v = 0;
    if (!TryInt(text, v))
        throw EConvertError(Format(QStringLiteral("\"%s\" не является корректным целым числом!"), {text}));
    return v;
}

double StrictNumber(const QString &text) {
    double v = 0;
    if (!TryNumber(text, v))
        throw EConvertError(Format(QStringLiteral("\"%s\" не является корректным числом!"), {text}));
    return v;
}

int IntOr(const QString &text, int def) {
    int v = def;
    return TryInt(text, v) ? v : def;
}

double NumberOr(const QString &text, double def) {
    double v = def;
    return TryNumber(text, v) ? v : def;
}

bool RowMatches(const TFilterPart &part, const TStatValues &row) {
    if (part.LevelMode >= LevelModeCount) return false;
    const TModeRule &rule = ModeRules[part.LevelMode];
    switch (rule.Test) {
    case TTest::Always:
        return true;
    case TTest::AtLeast:
        return RowNumber(rule, row, false) >= StrictInt(part.LevelValue);
    case TTest::AtMost:
        return RowNumber(rule, row, false) <= StrictInt(part.LevelValue);
    case TTest::InList:
        if (rule.Kind == TKind::Key) return InList(part.LevelValue, TKind::Integer, row.Key);
        return InList(part.LevelValue, rule.Kind, RowNumber(rule, row, true));
    }
    return false;
}

} // namespace lot
