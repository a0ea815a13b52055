#pragma once
/// @file What the draw views share: the texts of a grid's selected cells in
/// the order the number filters walk them, and the two filter actions.

#include "filters/FilterEngine.h"

#include <functional>
#include <QString>
#include <QStringList>

class QAbstractItemView;

namespace lot {

class TGuiHost;
class TPage;
class TWorkspace;

/// The display texts of the selected cells: columns left to right, rows top
/// to bottom within a column.
QStringList SelectedCellTexts(const QAbstractItemView &view);
/// The first and last selected columns; {-1, -1} without a selection.
std::pair<int, int> SelectedColumnSpan(const QAbstractItemView &view);

/// Runs "Оставить выделенные" (del false) or "Удалить выделенные" (del true)
/// with the numbers of the view's selection.
void FilterByViewNumbers(TWorkspace &workspace, TNumberView kind, const QAbstractItemView &view, bool del,
                         const QString &caption);

inline const QString KeepNumbersHint =
    QStringLiteral("В списке комбинаций оставить комбинации с выделенными значениями");
inline const QString DropNumbersHint =
    QStringLiteral("Из списка комбинаций удалить комбинации с выделенными  значениями");

} // namespace lot
