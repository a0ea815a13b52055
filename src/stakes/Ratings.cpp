#include "stakes/Ratings.h"

#include "core/AtomicFile.h"
#include "core/Codec1251.h"
#include "core/CoreHelpers.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "core/Money.h"

#include <cmath>
#include <cstring>
#include <QFile>
#include <utility>

namespace lot {

namespace {

/// The sign of v as -1, 0 or 1 (differences of 64-bit sums do not fit an int).
int Sign(long double v) {
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

int Sign64(int64_t v) {
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

/// Nearest integer, halves away from zero, as a sign-carrying value.
long double RoundHalfAway(long double v) {
    return std::round(v);
}

/// profit / stakes rounded to the money unit (1/10000), halves away from zero.
int64_t AverageProfitUnits(const TRatingRec &rec) {
    return int64_t(RoundHalfAway((long double)rec.Profit / rec.Stakes));
}

QString Decimal(const QString &text, QChar decimalPoint) {
    if (decimalPoint == QLatin1Char('.')) return text;
    QString s = text;
    s.replace(QLatin1Char('.'), decimalPoint);
    return s;
}

QString Quoted(const QString &text) {
    QString s = text;
    s.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + s + QLatin1Char('"');
}

} // namespace

QString RatingComment(const TRatingRec &rec) {
    return FromCp1251(QByteArray(rec.Comment.Chars, rec.Comment.Length));
}

void SetRatingComment(TRatingRec &rec, const QString &text) {
    const QByteArray bytes = ToCp1251(text).left(int(sizeof rec.Comment.Chars));
    std::memset(rec.Comment.Chars, 0, sizeof rec.Comment.Chars);
    std::memcpy(rec.Comment.Chars, bytes.constData(), size_t(bytes.size()));
    rec.Comment.Length = uint8_t(bytes.size());
}

QString RatingColumnHeader(int column) {
    static const char *const fixed[] = {"Комментарий", "Ставок", "Угадано",
                                        "Среднее",     "Профит", "Ср. профит"};
    if (column < 0 || column >= RatingColumnCount) return {};
    if (column < rcHistogram0) return QString::fromUtf8(fixed[column]);
    if (column < rcEfficiency0) return QString::number(column - rcHistogram0);
    return QStringLiteral("E") + QString::number(column - rcEfficiency0);
}

const std::array<long double, CombSize + 1> &OverlapProbabilities() {
    static const std::array<long double, CombSize + 1> table = [] {
        std::array<long double, CombSize + 1> p{};
        const long double full = (long double)Binomial(NumberCount, CombSize);
        for (int i = 0; i <= CombSize; ++i)
            p[size_t(i)] = (long double)ExactMatchCount(NumberCount, CombSize, i) / full;
        return p;
    }();
    return table;
}

QString RatingCellText(const TRatingRec &rec, int column, int effMode) {
    const int c = rec.Stakes;
    switch (column) {
    case rcComment:
        return RatingComment(rec);
    case rcStakes:
        return QString::number(c);
    case rcOverlaps:
        return QString::number(rec.Overlaps);
    case rcAverage:
        return c > 0 ? Format(QStringLiteral("%.3f"), {double(rec.Overlaps) / double(c)}) : QString();
    case rcProfit:
        return TMoney::FromUnits(rec.Profit).ToText();
    case rcAverageProfit:
        return c > 0 ? TMoney::FromUnits(AverageProfitUnits(rec)).ToText() : QString();
    default:
        break;
    }
    if (column >= rcHistogram0 && column < rcEfficiency0)
        return QString::number(rec.Histogram[column - rcHistogram0]);
    if (column < rcEfficiency0 || column >= RatingColumnCount || c <= 0) return {};
    const int i = column - rcEfficiency0;
    const long double p = OverlapProbabilities()[size_t(i)];
    const long double h = rec.Histogram[i];
    switch (effMode) {
    case remExpected:
        return QString::number(qint64(RoundHalfAway(c * p)));
    case remAbsolute:
        return Format(QStringLiteral("%.3f%%"), {double(100 * h / c - 100 * p)});
    case remRelative:
        return Format(QStringLiteral("%.3f%%"), {double(100 * h / (c * p))});
    default:
        return {};
    }
}

int CompareRatings(const TRatingRec &a, const TRatingRec &b, int column, bool descending) {
    if (a.Stakes == 0 || b.Stakes == 0) return 0;
    int r = 0;
    switch (column) {
    case rcComment:
        r = Sign(RatingComment(a).localeAwareCompare(RatingComment(b)));
        break;
    case rcStakes:
        r = Sign64(int64_t(a.Stakes) - b.Stakes);
        break;
    case rcOverlaps:
        r = Sign64(int64_t(a.Overlaps) - b.Overlaps);
        break;
    case rcAverage:
        r = Sign(RoundHalfAway((double(a.Overlaps) / a.Stakes - double(b.Overlaps) / b.Stakes) * 100));
        break;
    case rcProfit:
        // Units of 1/10000 to hundredths.
        r = Sign(RoundHalfAway(((long double)a.Profit - (long double)b.Profit) / 100));
        break;
    case rcAverageProfit:
        r = Sign(RoundHalfAway(((long double)a.Profit / a.Stakes - (long double)b.Profit / b.Stakes) / 100));
        break;
    default:
        if (column >= rcHistogram0 && column < rcEfficiency0)
            r = Sign64(int64_t(a.Histogram[column - rcHistogram0]) - b.Histogram[column - rcHistogram0]);
        break; // the efficiency columns compare every pair as equal
    }
    return descending ? -r : r;
}

namespace {

void QuickSort(TRatingsArray &rows, int l, int r, int column, bool descending) {
    auto cmp = [&](int x, int y) {
        return CompareRatings(rows[size_t(x)], rows[size_t(y)], column, descending);
    };
    int i = 0;
    do {
        i = l;
        int j = r;
        int p = (l + r) / 2;
        do {
            // The bounds only guard against a comparison that is not
            // antisymmetric; with this one the pivot row stops both scans.
            while (i < r && cmp(i, p) < 0)
                ++i;
            while (j > l && cmp(j, p) > 0)
                --j;
            if (i <= j) {
                std::swap(rows[size_t(i)], rows[size_t(j)]);
                if (p == i)
                    p = j;
                else if (p == j)
                    p = i;
                ++i;
                --j;
            }
        } while (i <= j);
        if (l < j) QuickSort(rows, l, j, column, descending);
        l = i;
    } while (i < r);
}

} // namespace

void SortRatingRows(TRatingsArray &rows, int column, bool descending) {
    if (column < 0 || rows.size() < 2) return;
    QuickSort(rows, 0, int(rows.size()) - 1, column, descending);
}

QStringList RatingsCsvLines(const TRatingsArray &rows, QChar decimalPoint) {
    QStringList lines;
    QStringList header;
    for (int c = 0; c < RatingColumnCount; ++c)
        header << Quoted(RatingColumnHeader(c));
    lines << header.join(QLatin1Char(';'));
    for (const TRatingRec &rec : rows) {
        QStringList f;
        f << Quoted(RatingComment(rec)) << QString::number(rec.Stakes) << QString::number(rec.Overlaps);
        if (rec.Stakes > 0) {
            f << Decimal(RatingCellText(rec, rcAverage, remExpected), decimalPoint)
              << Decimal(RatingCellText(rec, rcProfit, remExpected), decimalPoint)
              << Decimal(RatingCellText(rec, rcAverageProfit, remExpected), decimalPoint);
        } else {
            // No stakes: no averages to divide out.
            f << QString() << Decimal(RatingCellText(rec, rcProfit, remExpected), decimalPoint) << QString();
        }
        for (int i = 0; i <= CombSize; ++i)
            f << QString::number(rec.Histogram[i]);
        lines << f.join(QLatin1Char(';'));
    }
    return lines;
}

// ---- TRatings ------------------------------------------------------------------------------

QString TRatings::Key(const QString &comment) {
    return comment.toCaseFolded();
}

void TRatings::Reindex() {
    m_index.clear();
    // The first row of equal keys wins, as a search in order finds it.
    for (int i = int(m_rows.size()) - 1; i >= 0; --i)
        m_index.insert(Key(RatingComment(m_rows[size_t(i)])), i);
}

void TRatings::SetRows(TRatingsArray rows) {
    m_rows = std::move(rows);
    Reindex();
}

void TRatings::Clear() {
    m_rows.clear();
    m_index.clear();
}

int TRatings::Find(const QString &comment) const {
    return m_index.value(Key(comment), -1);
}

void TRatings::Accumulate(const TStakeRec &stake) {
    const int o = stake.Overlaps.Count;
    if (o < 0 || o > CombSize) return;
    const QString comment = StakeComment(stake);
    int row = Find(comment);
    if (row < 0) {
        TRatingRec rec;
        rec.Comment = stake.Comment;
        rec.Comment.Length = stake.Comment.Length;
        m_rows.push_back(rec);
        row = int(m_rows.size()) - 1;
        m_index.insert(Key(comment), row);
    }
    TRatingRec &rec = m_rows[size_t(row)];
    ++rec.Stakes;
    rec.Overlaps += o;
    rec.Profit += stake.Profit;
    ++rec.Histogram[o];
}

void TRatings::Sort(int column, bool descending) {
    SortRatingRows(m_rows, column, descending);
    Reindex();
}

void TRatings::Load(const QString &fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) throw EError(file.errorString());
    const qint64 count = file.size() / RatingRecSize;
    TRatingsArray rows(static_cast<size_t>(count));
    if (count > 0) {
        const qint64 bytes = count * RatingRecSize;
        if (file.read(reinterpret_cast<char *>(rows.data()), bytes) != bytes) {
            const QString reason = file.errorString();
            throw EError(reason.isEmpty() ? QStringLiteral("Файл рейтинга прочитан не полностью.") : reason);
        }
    }
    SetRows(std::move(rows));
}

void TRatings::Save(const QString &fileName) const {
    TAtomicFile file(fileName);
    if (!m_rows.empty())
        file.Write(reinterpret_cast<const char *>(m_rows.data()), qint64(m_rows.size()) * RatingRecSize);
    file.Commit();
}

} // namespace lot
