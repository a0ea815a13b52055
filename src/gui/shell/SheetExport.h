#pragma once
/// @file The spreadsheet export from the window: the save dialog, then the
/// export with its progress window.

#include "export/Sheet.h"

#include <QList>

class QAbstractItemModel;
class QHeaderView;

namespace lot {

class TGuiHost;

/// A grid's model as a sheet: the display texts and numbers, the
/// background colours, the horizontal header captions. With the grid's
/// header, the columns are the visible ones in the order the grid shows.
class TModelSheet : public TSheetSource {
public:
    TModelSheet(const QAbstractItemModel &model, QString title, const QHeaderView *header = nullptr);
    QString Title() const override { return m_title; }
    int ColumnCount() const override;
    QString ColumnCaption(int column) const override;
    qint64 RowCount() const override;
    TSheetCell Cell(qint64 row, int column) const override;

private:
    const QAbstractItemModel &m_model;
    QString m_title;
    /// The model's columns, in sheet order.
    QList<int> m_columns;
};

/// A sheet cell's fill as the background role of a grid model: a brush,
/// or no value for TSheetCell::NoFill (the inverse of what TModelSheet reads).
QVariant FillBackground(uint32_t fill);

/// Asks for the .xlsx file to write (save dialog) and exports the sheet
/// into it. False when cancelled, stopped or failed (failures are shown).
bool ExportSheetToFile(TGuiHost &host, const TSheetSource &sheet);

} // namespace lot
