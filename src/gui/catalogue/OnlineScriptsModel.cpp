#include "gui/catalogue/OnlineScriptsModel.h"

#include "catalogue/CatalogueController.h"

#include <QApplication>
#include <QStyle>

namespace lot {

TOnlineScriptsModel::TOnlineScriptsModel(TCatalogueController &catalogue, QObject *parent)
    : QAbstractTableModel(parent), m_catalogue(catalogue),
      m_public(QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon)),
      m_private(QApplication::style()->standardIcon(QStyle::SP_DirClosedIcon)) {}

int TOnlineScriptsModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_catalogue.Scripts().size());
}

int TOnlineScriptsModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : TCatalogueController::ColumnCount;
}

QVariant TOnlineScriptsModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_catalogue.Scripts().size()) return {};
    const tScriptInfo &s = m_catalogue.Scripts()[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return TCatalogueController::CellText(s, index.column());
    case Qt::DecorationRole:
        if (index.column() == 0) return s.Public ? m_public : m_private;
        return {};
    case Qt::ToolTipRole:
        if (index.column() == 0)
            return s.Public ? QStringLiteral("Публичный") : QStringLiteral("Виден только мне");
        return {};
    default:
        return {};
    }
}

QVariant TOnlineScriptsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return TCatalogueController::ColumnCaption(section);
}

void TOnlineScriptsModel::Refresh() {
    beginResetModel();
    endResetModel();
}

} // namespace lot
