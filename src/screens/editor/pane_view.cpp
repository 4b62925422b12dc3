#include "screens/editor/pane_view.h"

#include "app/display_text.h"
#include "app/twips.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPen>

namespace fav {

namespace {

QPixmap DrawTick(int side) {
    QPixmap tick(side, side);
    tick.fill(Qt::transparent);
    QPainter painter(&tick);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(
        QPen(QColor(0, 128, 0), side / 6.0 + 0.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const double s = side;
    const QPointF stroke[] = {{s * 0.15, s * 0.55}, {s * 0.4, s * 0.8}, {s * 0.85, s * 0.2}};
    painter.drawPolyline(stroke, 3);
    return tick;
}

// About the height of a capital letter of the panes' text.
int TickSide() {
    return TwipsToPixels(150);
}

} // namespace

PaneModel::PaneModel(SortedPane& pane, Marked marked, QObject* parent)
    : QAbstractListModel(parent), pane_(pane), marked_(std::move(marked)) {
    if (marked_) {
        tick_ = DrawTick(TickSide());
    }
    pane_.SetListener(this);
}

PaneModel::~PaneModel() {
    pane_.SetListener(nullptr);
}

int PaneModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : pane_.size();
}

QVariant PaneModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= pane_.size()) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return DisplayText(pane_[index.row()]);
    case Qt::DecorationRole:
        if (marked_ && marked_(pane_[index.row()])) {
            return tick_;
        }
        return {};
    default:
        return {};
    }
}

void PaneModel::DecorationChanged(int first, int last) {
    emit dataChanged(index(first), index(last), {Qt::DecorationRole});
}

PaneView::PaneView(QWidget* parent, const char* name) : QListView(parent) {
    setObjectName(QString::fromLatin1(name));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIconSize(QSize(TickSide(), TickSide()));
}

void PaneView::keyboardSearch(const QString& search) {
    (void)search;
}

void PaneView::keyPressEvent(QKeyEvent* event) {
    const bool upOrDown = event->key() == Qt::Key_Up || event->key() == Qt::Key_Down;
    if (upOrDown && model() != nullptr && model()->rowCount() > 0 &&
        !selectionModel()->hasSelection()) {
        const QModelIndex first = model()->index(0, 0);
        selectionModel()->setCurrentIndex(first, QItemSelectionModel::ClearAndSelect);
        scrollTo(first);
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

} // namespace fav
