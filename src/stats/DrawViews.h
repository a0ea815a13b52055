#pragma once
/// @file The tabular views of where numbers fall: the layout (numbers by
/// how often and how recently they came out) with its side lists, and the
/// repeats analysis (how many numbers each draw shares with earlier ones).
/// The draws card is a sheet (export/ListSheets.h).

#include "core/Lottery.h"

#include <functional>
#include <QList>
#include <QString>
#include <QStringList>

namespace lot {

/// One number of a layout sample (12 bytes as stored).
struct TShemaEntry {
    int32_t Number = 0;
    int32_t Count = 0;    ///< occurrences in the sample
    int32_t LastDraw = 0; ///< draw number of its newest occurrence in the sample
};
static_assert(sizeof(TShemaEntry) == 12);
using TShemaArray = QList<TShemaEntry>;

/// The entries of the numbers of archive entries first..last, walked from
/// last down (each number in order of first occurrence from the newest draw).
TShemaArray CountShema(const TDrawsArray &draws, int first, int last);

/// The layout grid: rows are the distinct counts, columns the distinct
/// newest-occurrence draw numbers, both descending.
struct TLayout {
    QList<int> Counts;        ///< row headers
    QList<int> Draws;         ///< column headers
    QList<QStringList> Cells; ///< [row][column]: numbers joined by ", "; "[n]" for a number of the next draw
    int FirstDraw = 0, LastDraw = 0; ///< the sample's oldest and newest draw numbers
};

/// The layout of the `length` newest draws in use at `offset`. A number that
/// came out in the draw after the newest in use (only with an offset) is
/// shown in square brackets.
TLayout ComputeLayout(const TDrawsArray &draws, int offset, int length);

/// The colour (0xRRGGBB) of data cell (row, column), both counted from 1, of
/// a layout of rows × columns; `text` is the cell's text.
uint32_t LayoutCellColour(int row, int column, int rows, int columns, bool gradient, const QString &text);

/// One side list of the layout: the numbers by count in a sample of `length`.
struct TLayoutList {
    QString Header; ///< "oldest draw number - newest draw number"
    struct TRow {
        int Count = 0;
        QString Numbers; ///< joined by ", " in order of first occurrence from the newest draw
    };
    QList<TRow> Rows; ///< by count, descending
};
TLayoutList ComputeLayoutList(const TDrawsArray &draws, int offset, int length);

/// One row of the repeats analysis.
struct TRepeatRow {
    int Draw = 0;      ///< "Тираж"
    int Shared = 0;    ///< "Совпадений"
    int Count = 0;     ///< "Кол-во повторов"
    QString DrawsList; ///< "Список тиражей": the earlier draws' numbers joined by a space
};
/// For each of the `length` newest draws of the archive (newest first) and
/// each of up to `deep` earlier draws: the rows by shared count, in order
/// of first need. `tick` (optional) is called after each draw.
QList<TRepeatRow> ComputeRepeats(const TDrawsArray &draws, int length, int deep,
                                 const std::function<bool()> &tick = {});

} // namespace lot
