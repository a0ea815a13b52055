#pragma once
/// @file The operator's monthly results page: its address path, the month
/// sequence, and the draws read from the page's embedded results.

#include "core/Lottery.h"

#include <cstdint>
#include <QString>

namespace lot {

/// "january-2027" for 202701; "error-2027" for a month outside 1..12.
QString ResultsMonthText(int32_t yyyymm);
/// "/brantlee-draw/results/january-2027".
QString ResultsMonthPath(int32_t yyyymm);
/// The month after yyyymm (December goes to January of the next year).
int32_t NextResultsMonth(int32_t yyyymm);

/// What one page gave.
struct TResultsPage {
    /// The new draws in page order (the page lists the newest first).
    TDrawsArray Draws;
    /// Draws left out for a draw number below 1 or a number outside 1..45
    /// (as a CSV import leaves such lines out).
    int Skipped = 0;
};

/// Reads the draws of a results page dated earliest (yyyymmdd) or later.
/// A page without the block of past draws gives none. Raises EError with
/// the page reader's message when a marker pair that must be there is
/// missing or a draw date is not a number.
TResultsPage ReadResultsPage(const QString &page, int32_t earliest);

} // namespace lot
