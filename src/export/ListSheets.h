#pragma once
/// @file The lists as sheets: the archive, a combination list and the
/// statistics table, cell for cell and colour for colour as their grids show
/// them (the grids' models read their cells from here).

#include "core/Lottery.h"
#include "export/Sheet.h"

#include <span>

namespace lot {

class TDrawsArchive;
class TStatTable;

/// The draws list, newest first (row r is the draw at position r).
class TDrawsSheet : public TSheetSource {
public:
    enum Column {
        colNumber = 0,
        colFirst = 1,
        colLast = 6,
        colExtra1 = 7,
        colExtra2 = 8,
        colSum = 9,
        colDate = 10
    };
    static constexpr int Columns = 11;
    /// The row of the draws offset.
    static constexpr uint32_t OffsetRowFill = 0xFFAAAA;

    explicit TDrawsSheet(const TDrawsArchive &archive, QString title = QStringLiteral("Архив тиражей"))
        : m_archive(archive), m_title(std::move(title)) {}

    bool Sorted = false;  ///< the numbers in ascending order instead of draw order
    bool Colored = false; ///< number cells in their group colours, the others white
    int ChannelSize = 5;

    QString Title() const override { return m_title; }
    int ColumnCount() const override { return Columns; }
    QString ColumnCaption(int column) const override;
    qint64 RowCount() const override;
    TSheetCell Cell(qint64 row, int column) const override;
    /// The numbers the row shows, in its order.
    TComb ShownNumbers(const TDrawRec &draw) const;

private:
    const TDrawsArchive &m_archive;
    QString m_title;
};

/// A combination list: "№ п.п.", the six numbers in list order, their sum.
class TCombsSheet : public TSheetSource {
public:
    enum Column { colRow = 0, colFirst = 1, colLast = 6, colSum = 7 };
    static constexpr int Columns = 8;

    explicit TCombsSheet(QString title = QStringLiteral("Комбинации")) : m_title(std::move(title)) {}

    /// The list read; it must outlive the sheet's use.
    std::span<const TComb> Combs;
    bool Colored = false;
    int ChannelSize = 5;

    QString Title() const override { return m_title; }
    int ColumnCount() const override { return Columns; }
    QString ColumnCaption(int column) const override;
    qint64 RowCount() const override { return qint64(Combs.size()); }
    TSheetCell Cell(qint64 row, int column) const override;

private:
    QString m_title;
};

/// The draws card: one row per draw of the whole archive, newest first;
/// column 0 the draw number, column n the number n when the draw has it,
/// then the two supplementary numbers ("E1", "E2").
class TCardSheet : public TSheetSource {
public:
    static constexpr int Columns = NumberCount + 3;
    static constexpr int colExtra1 = NumberCount + 1;
    static constexpr uint32_t Yellow = 0xFFFF00; ///< repeated in a neighbouring draw, beside another number
    static constexpr uint32_t Lime = 0x00FF00;   ///< repeated in a neighbouring draw
    static constexpr uint32_t Aqua = 0x00FFFF;   ///< beside another number of the same draw

    explicit TCardSheet(const TDrawsArchive &archive, QString title = QStringLiteral("Карта"))
        : m_archive(archive), m_title(std::move(title)) {}

    bool ColorCard = true;          ///< the number columns in their channel colours
    bool ColorCardSequences = true; ///< repeats and neighbours marked
    int ChannelSize = 5;

    QString Title() const override { return m_title; }
    int ColumnCount() const override { return Columns; }
    QString ColumnCaption(int column) const override;
    qint64 RowCount() const override;
    TSheetCell Cell(qint64 row, int column) const override;
    /// Whether the draw of `row` holds main number n (false outside the grid).
    bool Holds(qint64 row, int n) const;

private:
    const TDrawsArchive &m_archive;
    QString m_title;
};

/// The statistics table as computed: its column captions and cell texts.
class TStatsSheet : public TSheetSource {
public:
    explicit TStatsSheet(const TStatTable &table, QString title = QStringLiteral("Статистика"))
        : m_table(table), m_title(std::move(title)) {}

    QString Title() const override { return m_title; }
    int ColumnCount() const override;
    QString ColumnCaption(int column) const override;
    qint64 RowCount() const override;
    TSheetCell Cell(qint64 row, int column) const override;

private:
    const TStatTable &m_table;
    QString m_title;
};

} // namespace lot
