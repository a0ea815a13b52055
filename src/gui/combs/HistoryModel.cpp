#include "gui/combs/HistoryModel.h"

#include "combs/CombsController.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace lot {

namespace {

// A funnel: green when the filter kept the combinations having the values,
// red when it removed them.
void PaintFunnel(QPainter &p, const QColor &fill) {
    QPainterPath path;
    path.moveTo(1.5, 2.5);
    path.lineTo(14.5, 2.5);
    path.lineTo(9.5, 8.5);
    path.lineTo(9.5, 13.5);
    path.lineTo(6.5, 15);
    path.lineTo(6.5, 8.5);
    path.closeSubpath();
    p.setPen(QPen(fill.darker(160), 1.0));
    p.setBrush(fill);
    p.drawPath(path);
    p.setPen(QPen(QColor(255, 255, 255, 150), 1.0));
    p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 3.5));
}

void PaintUndo(QPainter &p) {
    const QColor blue(0x2A, 0x6E, 0xBB);
    p.setPen(QPen(blue, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath arc;
    arc.moveTo(4.5, 6.5);
    arc.cubicTo(8.0, 3.0, 14.5, 4.5, 13.5, 10.0);
    arc.cubicTo(13.0, 13.0, 10.0, 14.0, 7.0, 13.5);
    p.drawPath(arc);
    QPainterPath head;
    head.moveTo(1.5, 4.0);
    head.lineTo(7.5, 3.0);
    head.lineTo(5.0, 9.0);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(blue);
    p.drawPath(head);
}

QPixmap Paint(int imageIndex, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    switch (imageIndex) {
    case HistoryIconUndo:
        PaintUndo(p);
        break;
    case HistoryIconFlagOff:
        PaintFunnel(p, QColor(0x4C, 0xAF, 0x50));
        break;
    default:
        PaintFunnel(p, QColor(0xE0, 0x4B, 0x3C));
        break;
    }
    return pixmap;
}

} // namespace

QIcon THistoryModel::HistoryIcon(int imageIndex) {
    if (imageIndex != HistoryIconUndo && imageIndex != HistoryIconFlagOff && imageIndex != HistoryIconFlagOn)
        return {};
    QIcon icon;
    icon.addPixmap(Paint(imageIndex, 16));
    icon.addPixmap(Paint(imageIndex, 32));
    return icon;
}

THistoryModel::THistoryModel(const TCombsController &combs, QObject *parent)
    : QAbstractTableModel(parent), m_combs(combs), m_rows(int(combs.History().size())) {
    for (int i = 0; i < IconCount; ++i)
        m_icons[i] = HistoryIcon(HistoryIconUndo + i);
}

void THistoryModel::Refresh() {
    beginResetModel();
    m_rows = int(m_combs.History().size());
    endResetModel();
}

int THistoryModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int THistoryModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant THistoryModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_rows || index.row() >= m_combs.History().size()) return {};
    const THistoryRow &row = m_combs.History().at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        switch (index.column()) {
        case 0:
            return row.Operation;
        case 1:
            return row.Values;
        case 2:
            return row.Count;
        default:
            return {};
        }
    case Qt::DecorationRole:
        if (index.column() == 0 && row.ImageIndex >= HistoryIconUndo &&
            row.ImageIndex < HistoryIconUndo + IconCount)
            return m_icons[row.ImageIndex - HistoryIconUndo];
        return {};
    case Qt::TextAlignmentRole:
        return index.column() == 2 ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                   : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant THistoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case 0:
        return QStringLiteral("Примененные фильтры");
    case 1:
        return QStringLiteral("Значения");
    default:
        return QStringLiteral("Комбинаций");
    }
}

Qt::ItemFlags THistoryModel::flags(const QModelIndex &index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace lot
