#include "gui/shell/SheetExport.h"

#include "export/XlsxExport.h"
#include "gui/shell/GuiHost.h"

#include <QAbstractItemModel>
#include <QBrush>
#include <QColor>
#include <QHeaderView>

namespace lot {

TModelSheet::TModelSheet(const QAbstractItemModel &model, QString title, const QHeaderView *header)
    : m_model(model), m_title(std::move(title)) {
    const int columns = model.columnCount();
    for (int visual = 0; visual < columns; ++visual) {
        const int logical = header ? header->logicalIndex(visual) : visual;
        if (logical >= 0 && !(header && header->isSectionHidden(logical))) m_columns.append(logical);
    }
}

int TModelSheet::ColumnCount() const {
    return int(m_columns.size());
}

QString TModelSheet::ColumnCaption(int column) const {
    return m_model.headerData(m_columns.value(column, -1), Qt::Horizontal, Qt::DisplayRole).toString();
}

qint64 TModelSheet::RowCount() const {
    return m_model.rowCount();
}

TSheetCell TModelSheet::Cell(qint64 row, int column) const {
    TSheetCell cell;
    const QModelIndex index = m_model.index(int(row), m_columns.value(column, -1));
    cell.Value = m_model.data(index, Qt::DisplayRole);
    const QVariant background = m_model.data(index, Qt::BackgroundRole);
    if (background.canConvert<QBrush>()) {
        const QBrush brush = background.value<QBrush>();
        if (brush.style() != Qt::NoBrush) cell.Fill = brush.color().rgb() & 0xFFFFFF;
    } else if (background.canConvert<QColor>()) {
        cell.Fill = background.value<QColor>().rgb() & 0xFFFFFF;
    }
    return cell;
}

QVariant FillBackground(uint32_t fill) {
    if (fill == TSheetCell::NoFill) return {};
    return QBrush(QColor::fromRgb(0xFF000000 | fill));
}

bool ExportSheetToFile(TGuiHost &host, const TSheetSource &sheet) {
    const QString file =
        host.ChooseFile(true, QStringLiteral("Книга Excel (*.xlsx)"), QStringLiteral("xlsx"));
    if (file.isEmpty()) return false;
    return bool(ExportXlsx(host, file, sheet));
}

} // namespace lot
