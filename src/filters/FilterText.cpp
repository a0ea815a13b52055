#include "filters/FilterText.h"

#include "stats/StatList.h"

#include <cmath>
#include <QLocale>

namespace lot {

namespace {

constexpr QChar WordSeparator('#');
constexpr QChar SubSeparator(':');

QString Word(const QStringList &words, int i) {
    return i < words.size() ? words[i] : QString();
}

QString SubWord(const QString &word, int i) {
    return Word(SplitFilterWords(word, SubSeparator), i);
}

QString FlagLetters(bool bottomUp, bool multiSelect, bool keepSelected) {
    QString s;
    s += QLatin1Char(bottomUp ? 'B' : 'T');
    s += QLatin1Char(multiSelect ? 'M' : 'S');
    s += QLatin1Char(keepSelected ? 'F' : 'D');
    return s;
}

QString EntryCodeOrEmpty(const TStatList &list, int entry) {
    return entry >= 0 && entry < list.Count() ? list.EntryCode(entry) : QString();
}

QString CoefsWord(const TWeightCoefs &c) {
    return QStringList{CoefToText(c.Count), CoefToText(c.Deviation), CoefToText(c.Level),
                       QLatin1String(c.UsePercents ? "1" : "0"), QLatin1String(c.UseAbsValues ? "1" : "0")}
        .join(SubSeparator);
}

/// Index of the first code of the table that is a case-insensitive prefix of word; -1 when none.
template <class CodeOf> int FindCodePrefix(const QString &word, int count, CodeOf codeOf) {
    for (int i = 0; i < count; ++i) {
        const QString code = codeOf(i);
        if (!code.isEmpty() && word.startsWith(code, Qt::CaseInsensitive)) return i;
    }
    return -1;
}

} // namespace

QStringList SplitFilterWords(const QString &text, QChar sep) {
    QStringList words;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool isSep = i == text.size() || text[i] == sep;
        if (isSep) {
            if (start >= 0) words << text.mid(start, i - start);
            start = -1;
        } else if (start < 0) {
            start = i;
        }
    }
    return words;
}

double LenientNumber(const QString &text) {
    QString kept;
    kept.reserve(text.size());
    for (const QChar ch : text) {
        if (ch == QLatin1Char('-') || (ch >= QLatin1Char('0') && ch <= QLatin1Char('9')))
            kept += ch;
        else if (ch == QLatin1Char('.') || ch == QLatin1Char(','))
            kept += QLatin1Char('.');
    }
    bool ok = false;
    const double v = QLocale::c().toDouble(kept, &ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

QString CoefToText(long double value) {
    const double v = double(value);
    if (!std::isfinite(v)) return QStringLiteral("0");
    // Fixed notation: an exponent's "e" and "+" would be dropped by the lenient reader.
    return QLocale::c().toString(v, 'f', QLocale::FloatingPointShortest);
}

TFilterItem TextToFilter(const TStatList &list, const QString &text) {
    TFilterItem item;
    if (text.isEmpty()) return item;
    item.Enabled = true;
    const QStringList words = SplitFilterWords(text, WordSeparator);

    const QString flags = Word(words, 0);
    item.SortColumn = 1;
    if (flags.size() > 3) {
        bool ok = false;
        const int column = flags.mid(3).toInt(&ok);
        if (ok) item.SortColumn = column;
    }
    item.BottomUp = flags.contains(QLatin1Char('B'));
    item.MultiSelect = flags.contains(QLatin1Char('M'));
    item.KeepSelected = flags.contains(QLatin1Char('F'));

    const QString method = Word(words, 1);
    item.MethodText = method;
    if (!method.isEmpty()) {
        item.Method = FindCodePrefix(method, list.Count(), [&list](int i) { return list.EntryCode(i); });
        if (item.Method >= 0) item.SampleLengths = SubWord(method, 1).trimmed();
    }

    if (words.size() > 2) {
        const QString level = words[2];
        const int mode = FindCodePrefix(level, LevelModeCount, LevelModeCode);
        if (mode >= 0) {
            item.LevelMode = uint8_t(mode);
            item.LevelValues = SubWord(level, 1).trimmed();
        }
    }

    if (words.size() > 3) {
        const QString stop = words[3];
        const int mode = FindCodePrefix(stop, StopModeCount, StopModeCode);
        if (mode >= 0) {
            item.StopMode = uint8_t(mode);
            bool ok = false;
            const int value = SubWord(stop, 1).trimmed().toInt(&ok);
            item.StopValue = ok ? value : 1;
        }
    }

    if (words.size() > 4) {
        const QStringList coefs = SplitFilterWords(words[4], SubSeparator);
        item.OverrideCoefs = true;
        item.Coefs.Count = LenientNumber(Word(coefs, 0));
        item.Coefs.Deviation = LenientNumber(Word(coefs, 1));
        item.Coefs.Level = LenientNumber(Word(coefs, 2));
        item.Coefs.UsePercents = Word(coefs, 3) == QLatin1String("1");
        item.Coefs.UseAbsValues = Word(coefs, 4) == QLatin1String("1");
    }
    return item;
}

QString FilterToText(const TStatList &list, const TFilterItem &item) {
    if (!item.Enabled) return {};
    QStringList words;
    words << FlagLetters(item.BottomUp, item.MultiSelect, item.KeepSelected) +
                 QString::number(item.SortColumn);
    const QString code = EntryCodeOrEmpty(list, item.Method);
    words << (code.isEmpty() ? item.MethodText : code + SubSeparator + item.SampleLengths);
    words << LevelModeCode(item.LevelMode) + SubSeparator + item.LevelValues;
    words << StopModeCode(item.StopMode) + SubSeparator + QString::number(item.StopValue);
    if (item.OverrideCoefs) words << CoefsWord(item.Coefs);
    return words.join(WordSeparator);
}

QString PartToText(const TStatList &list, const TFilterPart &part) {
    if (!part.Enabled) return {};
    QStringList words;
    words << FlagLetters(part.BottomUp, part.MultiSelect, part.KeepSelected);
    words << EntryCodeOrEmpty(list, part.Method) + SubSeparator + QString::number(part.SampleLength);
    words << LevelModeCode(part.LevelMode) + SubSeparator + part.LevelText;
    words << StopModeCode(part.StopMode) + SubSeparator + QString::number(part.StopValue);
    if (part.OverrideCoefs) words << CoefsWord(part.Coefs);
    return words.join(WordSeparator);
}

QString FilterRecToText(const TStatList &list, const TFilterRec &rec) {
    QStringList texts;
    for (const TFilterPart &part : rec)
        if (part.Enabled) texts << PartToText(list, part);
    return texts.join(QStringLiteral(" + "));
}

} // namespace lot
