#include "export/ListSheets.h"

#include "archive/DrawsArchive.h"
#include "core/CoreHelpers.h"
#include "stats/StatTable.h"

namespace lot {

namespace {

constexpr uint32_t White = 0xFFFFFF;

uint32_t GroupFill(int number, int channelSize) {
    return GroupColourRgb(number, channelSize) & 0xFFFFFF;
}

} // namespace

// ---- draws -----------------------------------------------------------------------------------

QString TDrawsSheet::ColumnCaption(int column) const {
    switch (column) {
    case colNumber:
        return QStringLiteral("Тираж");
    case colExtra1:
        return QStringLiteral("E1");
    case colExtra2:
        return QStringLiteral("E2");
    case colSum:
        return QStringLiteral("S");
    case colDate:
        return QStringLiteral("Дата тиража");
    default:
        return column > 0 && column < Columns ? QString::number(column) : QString();
    }
}

qint64 TDrawsSheet::RowCount() const {
    return m_archive.Count();
}

TComb TDrawsSheet::ShownNumbers(const TDrawRec &draw) const {
    return Sorted ? DrawToComb(SortDrawNumbers(draw)) : DrawToComb(draw);
}

TSheetCell TDrawsSheet::Cell(qint64 row, int column) const {
    TSheetCell cell;
    const TDrawRec *draw = row >= 0 && row < RowCount() ? m_archive.DrawAtPosition(int(row)) : nullptr;
    if (!draw || column < 0 || column >= Columns) return cell;
    const TComb shown = ShownNumbers(*draw);
    if (column == colNumber) {
        cell.Value = draw->DrawNumber;
    } else if (column >= colFirst && column <= colLast) {
        cell.Value = int(shown[column - colFirst]);
    } else if (column == colExtra1 || column == colExtra2) {
        cell.Value = int(draw->Extra[column - colExtra1]);
    } else if (column == colSum) {
        int sum = 0;
        for (uint8_t n : draw->Numbers)
            sum += n;
        cell.Value = sum;
    } else {
        cell.Value = DrawDateText(*draw);
    }
    if (Colored && column >= colFirst && column <= colLast)
        cell.Fill = GroupFill(shown[column - colFirst], ChannelSize);
    else if (row == m_archive.Offset())
        cell.Fill = OffsetRowFill;
    else if (Colored)
        cell.Fill = White;
    return cell;
}

// ---- combinations ----------------------------------------------------------------------------

QString TCombsSheet::ColumnCaption(int column) const {
    if (column == colRow) return QStringLiteral("№ п.п.");
    if (column == colSum) return QStringLiteral("S");
    return column > 0 && column < Columns ? QString::number(column) : QString();
}

TSheetCell TCombsSheet::Cell(qint64 row, int column) const {
    TSheetCell cell;
    if (row < 0 || row >= RowCount() || column < 0 || column >= Columns) return cell;
    const TComb &comb = Combs[size_t(row)];
    if (column == colRow) {
        cell.Value = row + 1;
    } else if (column >= colFirst && column <= colLast) {
        cell.Value = int(comb[column - colFirst]);
    } else {
        int sum = 0;
        for (uint8_t n : comb.N)
            sum += n;
        cell.Value = sum;
    }
    if (Colored)
        cell.Fill =
            column >= colFirst && column <= colLast ? GroupFill(comb[column - colFirst], ChannelSize) : White;
    return cell;
}

// ---- the draws card --------------------------------------------------------------------------

QString TCardSheet::ColumnCaption(int column) const {
    if (column == 0) return QStringLiteral("Тираж");
    if (column == colExtra1) return QStringLiteral("E1");
    if (column == colExtra1 + 1) return QStringLiteral("E2");
    return column > 0 && column < Columns ? QString::number(column) : QString();
}

qint64 TCardSheet::RowCount() const {
    return m_archive.Count();
}

bool TCardSheet::Holds(qint64 row, int n) const {
    if (row < 0 || row >= RowCount() || n < 1 || n > NumberCount) return false;
    const TDrawRec *draw = m_archive.DrawAtPosition(int(row));
    if (!draw) return false;
    for (uint8_t x : draw->Numbers)
        if (x == n) return true;
    return false;
}

TSheetCell TCardSheet::Cell(qint64 row, int column) const {
    TSheetCell cell;
    const TDrawRec *draw = row >= 0 && row < RowCount() ? m_archive.DrawAtPosition(int(row)) : nullptr;
    if (!draw || column < 0 || column >= Columns) return cell;
    if (column == 0) {
        cell.Value = draw->DrawNumber;
        return cell;
    }
    if (column >= colExtra1) {
        cell.Value = int(draw->Extra[column - colExtra1]);
        return cell;
    }
    const bool holds = Holds(row, column);
    if (holds) cell.Value = column;
    if (holds && ColorCardSequences) {
        const bool repeated = Holds(row - 1, column) || Holds(row + 1, column);
        const bool beside = Holds(row, column - 1) || Holds(row, column + 1);
        if (repeated) {
            cell.Fill = beside ? Yellow : Lime;
            return cell;
        }
        if (beside) {
            cell.Fill = Aqua;
            return cell;
        }
    }
    if (ColorCard) cell.Fill = GroupFill(column, ChannelSize);
    return cell;
}

// ---- statistics ------------------------------------------------------------------------------

int TStatsSheet::ColumnCount() const {
    return StatColumnCount;
}

QString TStatsSheet::ColumnCaption(int column) const {
    return TStatTable::ColumnCaption(column);
}

qint64 TStatsSheet::RowCount() const {
    return m_table.RowCount();
}

TSheetCell TStatsSheet::Cell(qint64 row, int column) const {
    TSheetCell cell;
    if (row >= 0 && row < RowCount()) cell.Value = m_table.Cell(int(row), column);
    return cell;
}

} // namespace lot
