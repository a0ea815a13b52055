#pragma once

#include <QStyledItemDelegate>

namespace lot {

/// Draws the numbers of the stake ("Моя ставка") and of the draw
/// ("Результаты тиража") one by one, the matched ones bold in blue.
class TStakesDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};

} // namespace lot
