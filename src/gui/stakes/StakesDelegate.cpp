#include "gui/stakes/StakesDelegate.h"

#include "gui/stakes/StakesModel.h"

#include <algorithm>
#include <QApplication>
#include <QPainter>
#include <QStyle>

namespace lot {

namespace {
constexpr int NumberGap = 3;
}

void TStakesDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                            const QModelIndex &index) const {
    const auto *model = qobject_cast<const TStakesModel *>(index.model());
    TStakeRec rec;
    const int column = index.column();
    if (!model || (column != scNumbers && column != scDrawResult) || !model->Record(index.row(), rec) ||
        IsEmptyRow(rec) || (column == scDrawResult && !rec.Checked)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }

    // The cell without its text: background, selection and focus.
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    opt.text.clear();
    const QWidget *widget = option.widget;
    QStyle *style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    QList<int> numbers;
    if (column == scNumbers) {
        for (int i = 0; i < StakeNumberCount(rec); ++i)
            numbers << rec.Numbers.Numbers[i];
    } else {
        for (int i = 0; i < CombSize; ++i)
            numbers << rec.DrawResult[i];
    }
    const int matchedCount = rec.Checked ? std::clamp<int>(rec.Overlaps.Count, 0, 8) : 0;
    const auto matched = [&](int n) {
        return std::find(rec.Overlaps.Numbers, rec.Overlaps.Numbers + matchedCount, uint8_t(n)) !=
               rec.Overlaps.Numbers + matchedCount;
    };

    QFont regular = opt.font;
    QFont bold = opt.font;
    bold.setBold(true);
    const QFontMetrics regularMetrics(regular), boldMetrics(bold);
    int width = 0;
    for (qsizetype i = 0; i < numbers.size(); ++i)
        width += (matched(numbers[i]) ? boldMetrics : regularMetrics)
                     .horizontalAdvance(QString::number(numbers[i])) +
                 (i ? NumberGap : 0);
    const QRect cell = opt.rect;
    // Centred; a text wider than the cell starts 2 pixels into it.
    int x = cell.left() + (cell.width() - width) / 2;
    if (x < cell.left() + 2) x = cell.left() + 2;

    const bool selected = opt.state & QStyle::State_Selected;
    const QColor text = selected ? opt.palette.color(QPalette::HighlightedText)
                        : opt.backgroundBrush.style() != Qt::NoBrush ? QColor(Qt::black)
                                                                     : opt.palette.color(QPalette::Text);
    painter->save();
    painter->setClipRect(cell);
    for (int n : numbers) {
        const bool hit = matched(n);
        painter->setFont(hit ? bold : regular);
        painter->setPen(hit ? QColor::fromRgb(TStakesModel::MatchColour) : text);
        const QString s = QString::number(n);
        const int w = (hit ? boldMetrics : regularMetrics).horizontalAdvance(s);
        painter->drawText(QRect(x, cell.top(), w, cell.height()), Qt::AlignLeft | Qt::AlignVCenter, s);
        x += w + NumberGap;
    }
    painter->restore();
}

} // namespace lot
