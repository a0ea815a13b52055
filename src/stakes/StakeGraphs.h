#pragma once
/// @file The numbers of the graphs of stakes and ratings: the per-draw
/// profit (TProfitDrawArray), the overlaps and profits of the stakes of
/// chosen comments by draw, and the overlap histogram of rating rows
/// against chance. The window draws them (TFormGraph); these say what.

#include "stakes/Ratings.h"

#include <cstdint>
#include <QString>
#include <vector>

namespace lot {

#pragma pack(push, 1)
/// One draw of the per-draw profit graph; 16 bytes.
struct TProfitDraw {
    int32_t DrawNumber = 0;
    uint8_t Padding[4] = {};
    int64_t Amount = 0; ///< 1/10000 units
};
#pragma pack(pop)
static_assert(sizeof(TProfitDraw) == 16, "TProfitDraw is a 16-byte record");

/// Entries in the order their draw numbers first occur; lookup is linear.
using TProfitDrawArray = std::vector<TProfitDraw>;
/// Adds amount to the entry of drawNumber, appending one when there is none.
void AddProfitDraw(TProfitDrawArray &draws, int drawNumber, int64_t amount);

/// One point of a graph: the series it belongs to (made on first use) and
/// how that series looks. Colour 0 is automatic.
struct TSeriesPoint {
    QString Series;
    int X = 0;
    double Y = 0;
    bool Pointers = true;
    bool Marks = true;
    uint32_t Colour = 0; ///< 0xRRGGBB, 0 automatic
};

struct TStakeGraph {
    QString Caption;
    std::vector<TSeriesPoint> Points;
};

/// The error of a graph without enough data.
QString GraphNoDataText(); ///< "Для построения графиков необходимо, ..."

/// The per-draw profit graph of draws (StakesGraphDraws): per entry the
/// draw's profit (green, marks), the mean of all entries (blue, no points)
/// and the running sum (red, marks). Raises GraphNoDataText() without entries.
TStakeGraph ProfitDrawsGraph(const TProfitDrawArray &draws);
/// The overlap histogram of rating rows (RatingsGraphOverlap): the expected
/// counts of the largest row's stakes (grey) and each row's counts.
TStakeGraph RatingsOverlapGraph(const TRatingsArray &rows);

} // namespace lot
