#include "core/CoreHelpers.h"

#include "core/Codec1251.h"
#include "core/Errors.h"
#include "core/Format.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace lot {

namespace {

// Words of a combination text: every one of these separates, runs count as one.
bool IsCombSeparator(QChar ch) {
    switch (ch.unicode()) {
    case '\t':
    case ' ':
    case ',':
    case '-':
    case '.':
    case ':':
    case ';':
    case '|':
        return true;
    default:
        return false;
    }
}

// A byte holds the number; anything that does not fit becomes 0 so that an
// out-of-range word can never wrap around into a valid lottery number.
uint8_t WordToNumber(const QString &word) {
    bool ok = false;
    const int v = word.trimmed().toInt(&ok);
    if (!ok || v < 0 || v > 255) return 0;
    return uint8_t(v);
}

bool TryInt(const QString &text, int &out) {
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (ok) out = v;
    return ok;
}

const char *const MonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                    "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

const uint32_t Palette[19] = {0xAAFFAA, 0xFFFFAA, 0xAAFFFF, 0xFFAAAA, 0xAAAAFF, 0xFFD5AA, 0xD5AAFF,
                              0xD4D4D4, 0xAAD5FF, 0xFFAAD5, 0xD5FFD5, 0xFFFFD5, 0xD5FFFF, 0xFFD5D5,
                              0xD5D5FF, 0xFFEAD5, 0xEAD5FF, 0xE9E9E9, 0xD5EAFF};
constexpr uint32_t PureRed = 0xFF0000;

// Division rounded toward +infinity for any signs (b > 0).
int CeilDiv(int a, int b) {
    const int q = a / b;
    return (a % b != 0 && a > 0) ? q + 1 : q;
}

int ClampedCount(int32_t count) {
    return std::clamp<int32_t>(count, 0, 8);
}

template <typename T> void InsertionSort(T *items, int count) {
    for (int i = 1; i < count; ++i) {
        const T v = items[i];
        int j = i - 1;
        while (j >= 0 && items[j] > v) {
            items[j + 1] = items[j];
            --j;
        }
        items[j + 1] = v;
    }
}

// C(n, k) as a falling product n(n-1)..(n-k+1)/k!, each partial result an
// exact binomial so the extended precision is not lost on the way. A factor
// reaches zero when k > n >= 0, which gives the mathematically right 0.
long double FallingBinomial(int n, int k) {
    if (k < 0) return 0;
    if (n >= 0 && k > n) return 0;
    if (n >= 0 && k > n - k) k = n - k;
    long double r = 1;
    for (int i = 1; i <= k; ++i) {
        r = r * (long double)(n - k + i) / (long double)i;
        if (!std::isfinite(r)) break;
    }
    return r;
}

int64_t RoundToInt64(long double v) {
    if (std::isnan(v)) return 0;
    constexpr long double hi = (long double)std::numeric_limits<int64_t>::max();
    constexpr long double lo = (long double)std::numeric_limits<int64_t>::min();
    if (v >= hi) return std::numeric_limits<int64_t>::max();
    if (v <= lo) return std::numeric_limits<int64_t>::min();
    return (int64_t)std::llroundl(v);
}

// A count that could only come from a range typed by mistake; building it
// would cost gigabytes for nothing a user could want.
constexpr int64_t MaxRangeValues = 100000;

} // namespace

// ---- text forms -----------------------------------------------------------

QString CombToText(const TComb &c) {
    QString s;
    for (int i = 0; i < CombSize; ++i) {
        if (i) s += ';';
        s += QString::number(c[i]);
    }
    return s;
}

QString CombToSpacedText(const TComb &c) {
    QString s;
    for (int i = 0; i < CombSize; ++i) {
        if (i) s += ' ';
        s += QStringLiteral("%1").arg(c[i], 2, 10, QChar('0'));
    }
    return s;
}

TComb TextToComb(const QString &text) {
    QStringList words;
    QString word;
    for (QChar ch : text) {
        if (IsCombSeparator(ch)) {
            if (!word.isEmpty()) words << word;
            word.clear();
            if (words.size() > CombSize) break;
        } else {
            word += ch;
        }
    }
    if (!word.isEmpty()) words << word;
    if (words.size() != CombSize)
        throw EError(Format(QStringLiteral("Некорректная комбинация: \"%s\"!"), {text}));
    TComb c;
    for (int i = 0; i < CombSize; ++i)
        c[i] = WordToNumber(words[i]);
    return c;
}

bool IsValidComb(const TComb &c) {
    for (int i = 0; i < CombSize; ++i)
        if (!IsValidNumber(c[i])) return false;
    return true;
}

QString NumberSetToText(const TNumberSet &s, const QString &separator) {
    QString r;
    const int count = ClampedCount(s.Count);
    for (int i = 0; i < count; ++i) {
        if (i) r += separator;
        r += QString::number(s.Numbers[i]);
    }
    return r;
}

QString DrawDateText(const TDrawRec &d) {
    const int len = std::min<int>(d.DrawDate.Length, sizeof d.DrawDate.Chars);
    return FromCp1251(QByteArray(d.DrawDate.Chars, len));
}

void SetDrawDateText(TDrawRec &d, const QString &text) {
    const QByteArray bytes = ToCp1251(text.left(sizeof d.DrawDate.Chars));
    const int len = std::min<int>(bytes.size(), sizeof d.DrawDate.Chars);
    std::fill(std::begin(d.DrawDate.Chars), std::end(d.DrawDate.Chars), '\0');
    std::copy_n(bytes.constData(), len, d.DrawDate.Chars);
    d.DrawDate.Length = uint8_t(len);
}

QString DrawValuesText(const TDrawRec &d) {
    QString s;
    for (int i = 0; i < CombSize; ++i) {
        if (i) s += ';';
        s += QString::number(d.Numbers[i]);
    }
    s += QStringLiteral(" e:");
    for (int i = 0; i < ExtraCount; ++i) {
        if (i) s += ';';
        s += QString::number(d.Extra[i]);
    }
    return s;
}

QString DrawToText(const TDrawRec &d) {
    return Format(QStringLiteral("Тираж № %d от %s, значения: %s"),
                  {int(d.DrawNumber), DrawDateText(d), DrawValuesText(d)});
}

QString StakeKindName(int kind) {
    switch (kind) {
    case skManual:
        return QStringLiteral("Вручную");
    case skRegular:
        return QStringLiteral("Регуляр");
    case skScript:
        return QStringLiteral("Сценарий");
    case skSystem:
        return QStringLiteral("Система");
    default:
        return QString();
    }
}

TNumberSet CombToNumberSet(const TComb &c) {
    TNumberSet s;
    s.Count = CombSize;
    for (int i = 0; i < CombSize; ++i)
        s.Numbers[i] = c[i];
    return s;
}

TComb DrawToComb(const TDrawRec &d) {
    TComb c;
    for (int i = 0; i < CombSize; ++i)
        c[i] = d.Numbers[i];
    return c;
}

// ---- dates ----------------------------------------------------------------

QString DateToDrawText(const QDate &date) {
    // Years that do not take exactly four digits cannot be read back.
    if (!date.isValid() || date.year() < 1 || date.year() > 9999) return QString();
    return QStringLiteral("%1 %2 %3")
        .arg(date.day())
        .arg(QLatin1String(MonthNames[date.month() - 1]))
        .arg(date.year(), 4, 10, QChar('0'));
}

QDate DrawTextToDate(const QString &text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return QDate();
    const auto fail = [&t]() {
        return EConvertError(Format(QStringLiteral("Некорректная дата тиража: \"%s\"!"), {t}));
    };
    const int len = int(t.size());
    if (len < 10) throw fail();
    int day = 0, year = 0;
    if (!TryInt(t.left(len - 9), day)) throw fail();
    const QString monthText = t.mid(len - 8, 3);
    int month = 0;
    for (int i = 0; i < 12; ++i)
        if (monthText.compare(QLatin1String(MonthNames[i]), Qt::CaseInsensitive) == 0) month = i + 1;
    if (month == 0) throw fail();
    if (!TryInt(t.mid(len - 4, 4), year)) throw fail();
    const QDate date(year, month, day);
    if (!date.isValid() || year < 1) throw fail();
    return date;
}

int32_t DateToInt(const QDate &date) {
    if (!date.isValid()) return 0;
    return date.year() * 10000 + date.month() * 100 + date.day();
}

QDate IntToDate(int32_t v) {
    return QDate(v / 10000, (v % 10000) / 100, v % 100);
}

// ---- number geometry ------------------------------------------------------

int NumberGroup(int n, int w) {
    return w > 0 ? CeilDiv(n, w) : 0;
}

uint32_t GroupColourRgb(int n, int w) {
    constexpr uint32_t opaque = 0xFF000000;
    if (!IsValidNumber(n) || w <= 0) return opaque | PureRed;
    int g = NumberGroup(n, w);
    if (g >= 20 && g <= 38) g -= 19;
    if (g < 1 || g > 19) return opaque | PureRed;
    return opaque | Palette[g - 1];
}

int ShiftNumber(int n, int k) {
    if (k == 0) return n;
    int r = n + k;
    if (k > 0 && r > NumberCount) r -= NumberCount;
    if (k < 0 && r <= 0) r += NumberCount;
    return r;
}

TComb ShiftComb(const TComb &c, int k) {
    TComb r;
    for (int i = 0; i < CombSize; ++i)
        r[i] = uint8_t(ShiftNumber(c[i], k));
    return r;
}

int MatrixColumn(int n, int cols) {
    return cols > 0 ? ((n - 1) % cols) + 1 : 0;
}
int MatrixRow(int n, int cols) {
    return cols > 0 ? ((n - 1) / cols) + 1 : 0;
}
int MatrixNumber(int row, int col, int cols) {
    return 1 + col + row * cols;
}
int MatrixRows(int cols) {
    return cols > 0 ? CeilDiv(NumberCount, cols) : 0;
}

// ---- membership and comparison -------------------------------------------

int CountOverlaps(const TDrawRec &draw, const TComb &comb) {
    int count = 0;
    for (int i = 0; i < CombSize; ++i)
        for (int j = 0; j < CombSize; ++j)
            count += draw.Numbers[i] == comb.N[j];
    return count;
}

int CountDrawOverlaps(const TDrawRec &a, const TDrawRec &b) {
    int count = 0;
    for (int i = 0; i < CombSize; ++i)
        for (int j = 0; j < CombSize; ++j)
            count += a.Numbers[i] == b.Numbers[j];
    return count;
}

bool InDraw(int n, const TDrawRec &draw) {
    for (int i = 0; i < CombSize; ++i)
        if (draw.Numbers[i] == n) return true;
    return false;
}

bool InComb(int n, const TComb &comb) {
    for (int i = 0; i < CombSize; ++i)
        if (comb.N[i] == n) return true;
    return false;
}

bool InGroupOfDraw(int g, const TDrawRec &draw, int w) {
    for (int i = 0; i < CombSize; ++i)
        if (NumberGroup(draw.Numbers[i], w) == g) return true;
    return false;
}

bool InSegmentOfDraw(int s, const TDrawRec &draw, const std::array<uint8_t, NumberCount> &map) {
    for (int i = 0; i < CombSize; ++i) {
        const int n = draw.Numbers[i];
        if (IsValidNumber(n) && map[n - 1] == s) return true;
    }
    return false;
}

TNumberSet IntersectDraw(const TDrawRec &draw, const TNumberSet &set) {
    TNumberSet r;
    const int count = ClampedCount(set.Count);
    for (int i = 0; i < CombSize; ++i) {
        const uint8_t n = draw.Numbers[i];
        if (std::find(set.Numbers, set.Numbers + count, n) != set.Numbers + count) r.Numbers[r.Count++] = n;
    }
    SortNumberSet(r);
    return r;
}

bool SameNumberSet(const TNumberSet &a, const TNumberSet &b) {
    if (a.Count != b.Count) return false;
    const int count = ClampedCount(a.Count);
    for (int i = 0; i < count; ++i)
        if (std::find(b.Numbers, b.Numbers + count, a.Numbers[i]) == b.Numbers + count) return false;
    return true;
}

// ---- sorting ----------------------------------------------------------------

void SortComb(TComb &c) {
    InsertionSort(c.N, CombSize);
}

TDrawRec SortDrawNumbers(const TDrawRec &d) {
    TDrawRec r = d;
    InsertionSort(r.Numbers, CombSize);
    return r;
}

void SortNumberSet(TNumberSet &s) {
    InsertionSort(s.Numbers, ClampedCount(s.Count));
}

void SortIntsDescending(QList<int> &values) {
    std::stable_sort(values.begin(), values.end(), [](int a, int b) { return a > b; });
}

// ---- byte lists ---------------------------------------------------------------

void AddNumber(QByteArray &list, int n) {
    list.append(char(uint8_t(n)));
}

void AddNumberOnce(QByteArray &list, int n) {
    if (!list.contains(char(uint8_t(n)))) AddNumber(list, n);
}

QByteArray UniqueNumbers(const TComb *combs, qsizetype count) {
    QByteArray result;
    bool seen[256] = {};
    for (qsizetype i = 0; i < count && result.size() < NumberCount; ++i) {
        for (int j = 0; j < CombSize && result.size() < NumberCount; ++j) {
            const uint8_t n = combs[i].N[j];
            if (!IsValidNumber(n) || seen[n]) continue;
            seen[n] = true;
            result.append(char(n));
        }
    }
    return result;
}

int CountUniqueNumbers(const TComb *combs, qsizetype count) {
    return int(UniqueNumbers(combs, count).size());
}

// ---- counting -----------------------------------------------------------------

int64_t Binomial(int n, int k) {
    if (k >= n) return 1;
    if (k < 0) return 0;
    return RoundToInt64(FallingBinomial(n, k));
}

int64_t ExactMatchCount(int n, int d, int k) {
    if (k >= n) return 1;
    if (n < 0 || d < 0 || d > n) return 0;
    return RoundToInt64(FallingBinomial(d, k) * FallingBinomial(n - d, d - k));
}

// ---- integer lists --------------------------------------------------------------

QList<int> ParseIntList(const QString &input) {
    QList<int> result;
    const QString text = input.trimmed();
    if (text.isEmpty()) return result;

    bool allInts = true;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size() && allInts; ++i) {
        if (i < text.size() && text[i] != ',' && text[i] != ';') continue;
        const QString word = text.mid(start, i - start).trimmed();
        start = i + 1;
        if (word.isEmpty()) continue;
        int v = 0;
        allInts = TryInt(word, v);
        result << v;
    }
    if (allInts && !result.isEmpty()) return result;
    result.clear();

    // Range form a-b;step: the first character may be the sign of a.
    const qsizetype dash = text.indexOf('-', 1);
    if (dash < 0) return result;
    qsizetype sep = dash + 1;
    while (sep < text.size() && text[sep] != ';' && text[sep] != ',')
        ++sep;
    if (sep >= text.size()) return result;
    int a = 0, b = 0, step = 0;
    if (!TryInt(text.left(dash), a) || !TryInt(text.mid(dash + 1, sep - dash - 1), b) ||
        !TryInt(text.mid(sep + 1), step) || step == 0)
        return result;
    const int64_t count = (int64_t(b) - a) / step + 1;
    if (count < 1 || count > MaxRangeValues) return result;
    result.reserve(count);
    for (int64_t i = 0; i < count; ++i)
        result << int(a + i * step);
    return result;
}

QString IntListToText(const QList<int> &values, const QString &separator) {
    QString s;
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i) s += separator;
        s += QString::number(values[i]);
    }
    return s;
}

// ---- segment maps ---------------------------------------------------------------

QString SegmentMapToText(const TSegmentMap &map) {
    QString s;
    for (uint8_t v : map)
        s += QString::number(v);
    return s;
}

TSegmentMap TextToSegmentMap(const QString &text) {
    TSegmentMap map;
    for (int i = 0; i < NumberCount; ++i) {
        const QChar ch = i < text.size() ? text[i] : QChar('1');
        map[i] = (ch >= '0' && ch <= '9') ? uint8_t(ch.unicode() - '0') : 1;
    }
    return map;
}

} // namespace lot
