#include "stakes/StakeRec.h"

#include "core/Codec1251.h"
#include "core/CoreHelpers.h"
#include "core/Money.h"

#include <algorithm>
#include <cstring>
#include <QRegularExpression>
#include <QStringList>

namespace lot {

namespace {

QStringList StakeWords(const QString &text) {
    static const QRegularExpression separators(QStringLiteral("[,;]"));
    return text.split(separators);
}

} // namespace

QString ManualStakeComment() {
    return QStringLiteral("Ставка \"вручную\"");
}

void NewSeparator(TStakeRec &rec) {
    std::memset(static_cast<void *>(&rec), 0, sizeof rec);
    rec.Version = StakesVersion;
    rec.Kind = skSeparator;
    rec.DrawNumber = -1;
    rec.Overlaps.Count = -1;
}

TStakeRec SeparatorRecord() {
    TStakeRec rec;
    NewSeparator(rec);
    return rec;
}

int StakeNumberCount(const TStakeRec &rec) {
    return std::clamp<int>(rec.Numbers.Count, 0, int(sizeof rec.Numbers.Numbers));
}

bool IsCheckCandidate(const TStakeRec &rec) {
    return rec.Checked == 0 && rec.DrawNumber > 0 && rec.Numbers.Count >= CombSize &&
           rec.Numbers.Count <= int(sizeof rec.Numbers.Numbers);
}

QString StakeComment(const TStakeRec &rec) {
    // Length is one byte and Chars holds 255: any stored length is in bounds.
    return FromCp1251(QByteArray(rec.Comment.Chars, rec.Comment.Length));
}

void SetStakeComment(TStakeRec &rec, const QString &text) {
    const QByteArray bytes = ToCp1251(text).left(int(sizeof rec.Comment.Chars));
    std::memset(rec.Comment.Chars, 0, sizeof rec.Comment.Chars);
    std::memcpy(rec.Comment.Chars, bytes.constData(), size_t(bytes.size()));
    rec.Comment.Length = uint8_t(bytes.size());
}

bool ParseStakeNumbers(const QString &text, TNumberSet &numbers) {
    const QStringList words = StakeWords(text);
    if (words.size() != CombSize) return false;
    TNumberSet set;
    for (const QString &word : words) {
        bool ok = false;
        const int n = word.trimmed().toInt(&ok, 10);
        if (!ok || !IsValidNumber(n)) return false;
        if (std::find(set.Numbers, set.Numbers + set.Count, uint8_t(n)) != set.Numbers + set.Count)
            return false;
        set.Numbers[set.Count++] = uint8_t(n);
    }
    SortNumberSet(set);
    numbers = set;
    return true;
}

qint64 StakeNumbersSum(const QString &text) {
    qint64 sum = 0;
    for (const QString &word : StakeWords(text)) {
        bool ok = false;
        // The field takes any text: a word beyond int counts 0, the 64-bit sum cannot wrap.
        const int n = word.trimmed().toInt(&ok, 10);
        if (ok) sum += n;
    }
    return sum;
}

// ---- the stakes grid ---------------------------------------------------------------------

QString StakeColumnHeader(int column) {
    static const char *const headers[StakeColumnCount] = {
        "№ тиража",   "Вид ставки", "Моя ставка", "Выборка",    "Результаты тиража",
        "Совпадений", "Совпадения", "Профит",     "Комментарий"};
    return column >= 0 && column < StakeColumnCount ? QString::fromUtf8(headers[column]) : QString();
}

QString StakeDrawResultText(const TStakeRec &rec) {
    if (!rec.Checked) return {};
    QString text;
    for (int i = 0; i < CombSize; ++i) {
        if (i) text += QLatin1Char(';');
        text += QString::number(rec.DrawResult[i]);
    }
    return text;
}

QString StakeCellText(const TStakeRec &rec, int column) {
    if (IsEmptyRow(rec)) return {};
    switch (column) {
    case scDrawNumber:
        return QString::number(rec.DrawNumber);
    case scKind:
        return StakeKindName(rec.Kind);
    case scNumbers:
        return NumberSetToText(rec.Numbers, QStringLiteral(";"));
    case scSample:
        return QString::number(rec.Sample);
    case scDrawResult:
        return StakeDrawResultText(rec);
    case scOverlapCount:
        return rec.Checked ? QString::number(rec.Overlaps.Count) : QString();
    case scOverlaps:
        return rec.Checked ? NumberSetToText(rec.Overlaps, QStringLiteral(" ")) : QString();
    case scProfit:
        return TMoney::FromUnits(rec.Profit).ToText();
    case scComment:
        return StakeComment(rec);
    default:
        return {};
    }
}

// ---- delete by overlaps ------------------------------------------------------------------

QString StakeConditionText(int condition) {
    static const char *const texts[StakeConditionCount] = {"Равно [ = ]", "Более [ > ]", "Не менее [ >= ]",
                                                           "Менее [ < ]", "Не более [ <= ]"};
    return condition >= 0 && condition < StakeConditionCount ? QString::fromUtf8(texts[condition])
                                                             : QString();
}

bool StakeConditionHolds(int condition, int value, int o) {
    switch (condition) {
    case 0:
        return o == value;
    case 1:
        return o > value;
    case 2:
        return o >= value;
    case 3:
        return o < value;
    case 4:
        return o <= value;
    default:
        return false;
    }
}

} // namespace lot
