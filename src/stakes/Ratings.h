#pragma once
/// @file The ratings: one row per stake comment with the counts, the
/// overlaps and the profit of its checked stakes (TRatingRec, 304 bytes,
/// also the record of the ratings file), the list's cells in the three
/// efficiency modes, the sort of the list, the CSV export lines and the
/// ratings file. TRatings raises EError; the stakes controller is its error
/// boundary.

#include "core/Lottery.h"
#include "stakes/StakeRec.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

namespace lot {

#pragma pack(push, 1)
/// One rating row; 304 bytes, also the record of the ratings file.
struct TRatingRec {
    TShortString<255> Comment;            ///< the key: the stakes' comment, Windows-1251
    int32_t Stakes = 0;                   ///< checked stakes credited
    int32_t Overlaps = 0;                 ///< sum of their overlap counts
    int32_t Histogram[CombSize + 1] = {}; ///< stakes with exactly i overlaps
    uint8_t Padding[4] = {};              ///< zero
    int64_t Profit = 0;                   ///< sum of their profits, 1/10000 units
};
#pragma pack(pop)

static_assert(sizeof(TRatingRec) == 304, "TRatingRec is a 304-byte file record");
static_assert(offsetof(TRatingRec, Stakes) == 256);
static_assert(offsetof(TRatingRec, Overlaps) == 260);
static_assert(offsetof(TRatingRec, Histogram) == 264);
static_assert(offsetof(TRatingRec, Padding) == 292);
static_assert(offsetof(TRatingRec, Profit) == 296);

inline constexpr qint64 RatingRecSize = qint64(sizeof(TRatingRec));

using TRatingsArray = std::vector<TRatingRec>;

QString RatingComment(const TRatingRec &rec);
/// Stores text in Windows-1251, cut to the record's 255 bytes.
void SetRatingComment(TRatingRec &rec, const QString &text);

// ---- the list ------------------------------------------------------------------------------
inline constexpr int RatingColumnCount = 20;
enum TRatingColumn {
    rcComment = 0,
    rcStakes = 1,
    rcOverlaps = 2,
    rcAverage = 3,
    rcProfit = 4,
    rcAverageProfit = 5,
    rcHistogram0 = 6,  ///< "0" .. "6": columns 6..12
    rcEfficiency0 = 13 ///< "E0" .. "E6": columns 13..19
};
/// What the columns "E0".."E6" show (window setting "RatingsEffMode").
enum TRatingEffMode { remExpected = 0, remAbsolute = 1, remRelative = 2 };
inline constexpr int RatingEffModeCount = 3;

/// "Комментарий", "Ставок", ... "E6".
QString RatingColumnHeader(int column);
/// p(i): the probability that a random stake of six numbers has exactly i
/// overlaps with a draw, C(6, i) C(39, 6 - i) / C(45, 6).
const std::array<long double, CombSize + 1> &OverlapProbabilities();
/// The text of a list cell. A row without stakes shows its comment, counts
/// and histogram, and empty averages and efficiency columns.
QString RatingCellText(const TRatingRec &rec, int column, int effMode);
/// The list's comparison of rows a and b by column (descending negates it):
/// negative, 0 or positive. A row without stakes compares equal to every row.
int CompareRatings(const TRatingRec &a, const TRatingRec &b, int column, bool descending);
/// Sorts rows in place by the list's quicksort (which, with the rounding of
/// the comparison, may reorder rows that compare equal). A negative column
/// leaves the rows as they are.
void SortRatingRows(TRatingsArray &rows, int column, bool descending);

// ---- CSV ---------------------------------------------------------------------------------
/// The lines of the CSV export: the 20 captions in double quotes, then per
/// row its comment in double quotes, the counts, the averages and the
/// histogram (13 fields), joined by ";". decimalPoint replaces "." in the
/// decimal fields.
QStringList RatingsCsvLines(const TRatingsArray &rows, QChar decimalPoint);

// ---- the ratings in memory -----------------------------------------------------------------
class TRatings {
public:
    const TRatingsArray &Rows() const { return m_rows; }
    int Count() const { return int(m_rows.size()); }
    bool IsEmpty() const { return m_rows.empty(); }
    const TRatingRec &At(int i) const { return m_rows.at(size_t(i)); }
    /// Replaces the rows (a load, a test).
    void SetRows(TRatingsArray rows);
    void Clear();

    /// Credits a checked stake to the first row whose comment equals its
    /// comment ignoring case, or to a new row at the end. A stake without an
    /// overlap count 0..6 is ignored.
    void Accumulate(const TStakeRec &stake);
    /// SortRatingRows over the rows.
    void Sort(int column, bool descending);
    /// Row of the first comment equal to text ignoring case; -1 when none.
    int Find(const QString &comment) const;

    /// Reads the ratings file: the record count is the file's size divided
    /// by 304 (a partial record at the end is left out). Raises; the rows
    /// stay as they were then.
    void Load(const QString &fileName);
    /// Rewrites the ratings file from the rows in one atomic step. Raises.
    void Save(const QString &fileName) const;

private:
    void Reindex();
    static QString Key(const QString &comment);

    TRatingsArray m_rows;
    QHash<QString, int> m_index; ///< case-folded comment -> first row
};

} // namespace lot
