#pragma once
/// @file What a spreadsheet export reads: a titled table of columns and
/// rows whose cells carry a value and the fill colour the grid shows.

#include <cstdint>
#include <QString>
#include <QVariant>

namespace lot {

/// One cell: a number (int, qlonglong, double) or a text, and its fill.
struct TSheetCell {
    static constexpr uint32_t NoFill = 0xFFFFFFFFu;
    QVariant Value;
    /// 0xRRGGBB, or NoFill.
    uint32_t Fill = NoFill;
};

/// A table handed to the export. Rows are read in order, once each.
class TSheetSource {
public:
    virtual ~TSheetSource() = default;
    /// The sheet title (the tab caption).
    virtual QString Title() const = 0;
    virtual int ColumnCount() const = 0;
    virtual QString ColumnCaption(int column) const = 0;
    virtual qint64 RowCount() const = 0;
    virtual TSheetCell Cell(qint64 row, int column) const = 0;
};

/// How a cell's value lands in the sheet: a number (with the count of
/// decimals its text shows) or a text. A text is a number only when it is
/// the plain decimal form of one ("12", "-3", "0.50"): "05", "+5", "1:5",
/// "1e3" and texts with spaces stay texts, so nothing the grid shows is
/// rewritten.
struct TSheetValue {
    bool IsNumber = false;
    double Number = 0;
    int Decimals = 0;
    QString Text;
};
TSheetValue ClassifySheetValue(const QVariant &value);

/// A sheet name the spreadsheet accepts: at most 31 characters, none of
/// []:*?/\, no apostrophe at either end, never empty; `part` > 1 adds " (N)".
QString SheetName(const QString &title, int part = 1);

} // namespace lot
