#include "gui/views/NumberGrid.h"

#include "filters/FiltersController.h"
#include "shell/Workspace.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>

#include <algorithm>

namespace lot {

namespace {

QModelIndexList SortedSelection(const QAbstractItemView &view) {
    QModelIndexList indexes =
        view.selectionModel() ? view.selectionModel()->selectedIndexes() : QModelIndexList();
    std::sort(indexes.begin(), indexes.end(), [](const QModelIndex &a, const QModelIndex &b) {
        return a.column() != b.column() ? a.column() < b.column() : a.row() < b.row();
    });
    return indexes;
}

} // namespace

QStringList SelectedCellTexts(const QAbstractItemView &view) {
    QStringList texts;
    for (const QModelIndex &index : SortedSelection(view))
        texts << index.data().toString();
    return texts;
}

std::pair<int, int> SelectedColumnSpan(const QAbstractItemView &view) {
    const QModelIndexList indexes = SortedSelection(view);
    if (indexes.isEmpty()) return {-1, -1};
    return {indexes.first().column(), indexes.last().column()};
}

void FilterByViewNumbers(TWorkspace &workspace, TNumberView kind, const QAbstractItemView &view, bool del,
                         const QString &caption) {
    workspace.Filters().FilterByNumbers(kind, SelectedCellTexts(view), del, caption);
}

} // namespace lot
