#include "gui/scripts/ScriptModel.h"

#include "scripts/ScriptsController.h"

namespace lot {

TScriptModel::TScriptModel(TScriptsController &scripts, QObject *parent)
    : QAbstractTableModel(parent), m_scripts(scripts), m_rows(scripts.LineCount()) {}

void TScriptModel::Refresh() {
    beginResetModel();
    m_rows = m_scripts.LineCount();
    endResetModel();
}

int TScriptModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int TScriptModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : TScriptsController::ColumnCount;
}

QVariant TScriptModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_rows || index.column() >= TScriptsController::ColumnCount)
        return {};
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return m_scripts.CellText(index.row(), index.column());
    return {};
}

QVariant TScriptModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    return TScriptsController::ColumnCaption(section);
}

Qt::ItemFlags TScriptModel::flags(const QModelIndex &index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

} // namespace lot
