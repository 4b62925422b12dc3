#include "screens/editor/pane_view.h"

#include "app/display_text.h"
#include "app/twips.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QPen>
#include <QStyledItemDelegate>

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

// About the height of a capital letter of the panes' text, at the window's scale.
int TickSide(const QWidget* view) {
    return ScaledPixels(view, 150);
}

// Draws a row as the style does, but lays its text out once rather than the style's several
// times: paging through a full game list draws a page of new rows on every press.
class PaneDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem item = option;
        initStyleOption(&item, index);
        const QString text = item.text;
        item.text.clear();
        QStyle* style = item.widget != nullptr ? item.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, item.widget);

        const QRect place = style->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget);
        const int margin =
            style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, item.widget) + 1;
        const QPalette::ColorGroup group =
            !(item.state & QStyle::State_Enabled) ? QPalette::Disabled : QPalette::Normal;
        const QPalette::ColorRole role =
            item.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text;
        painter->save();
        painter->setPen(item.palette.color(group, role));
        painter->setFont(item.font);
        painter->drawText(place.adjusted(margin, 0, -margin, 0),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
        painter->restore();
    }
};

} // namespace

PaneModel::PaneModel(SortedPane& pane, Marked marked, QObject* parent)
    : QAbstractListModel(parent), pane_(pane), marked_(std::move(marked)) {
    pane_.SetListener(this);
}

PaneModel::~PaneModel() {
    pane_.SetListener(nullptr);
}

QModelIndex PaneModel::index(int row, int column, const QModelIndex& parent) const {
    if (parent.isValid() || column != 0 || row < 0 || row >= pane_.size()) {
        return {};
    }
    return createIndex(row, 0);
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

void PaneModel::SetTickSide(int side) {
    if (marked_ && tick_.width() != side) {
        tick_ = DrawTick(side);
        if (pane_.size() > 0) {
            emit dataChanged(index(0), index(pane_.size() - 1), {Qt::DecorationRole});
        }
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
    setIconSize(QSize(TickSide(this), TickSide(this)));
    // Like the design's list boxes: a long line is cut off at the pane's edge.
    setTextElideMode(Qt::ElideNone);
    setItemDelegate(new PaneDelegate(this));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void PaneView::setModel(QAbstractItemModel* model) {
    QListView::setModel(model);
    ShowTicksAtScale();
}

void PaneView::changeEvent(QEvent* event) {
    QListView::changeEvent(event);
    // The window's scale changes its fonts: the ticks follow the text.
    if (event->type() == QEvent::FontChange) {
        ShowTicksAtScale();
    }
}

void PaneView::ShowTicksAtScale() {
    const int side = TickSide(this);
    setIconSize(QSize(side, side));
    if (auto* panes = qobject_cast<PaneModel*>(model())) {
        panes->SetTickSide(side);
    }
}

void PaneView::keyboardSearch(const QString& search) {
    (void)search;
}

void PaneView::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                           const QList<int>& roles) {
    // A tick came or went: rows keep their size, so only the rows in sight need drawing again.
    // The list view itself would draw the whole pane again.
    if (roles == QList<int>{Qt::DecorationRole}) {
        constexpr int FewRows = 64;
        if (bottomRight.row() - topLeft.row() >= FewRows) {
            viewport()->update();
            return;
        }
        const QRect sight = viewport()->rect();
        for (int row = topLeft.row(); row <= bottomRight.row(); ++row) {
            const QRect place = visualRect(model()->index(row, 0));
            if (place.intersects(sight)) {
                viewport()->update(place);
            }
        }
        return;
    }
    QListView::dataChanged(topLeft, bottomRight, roles);
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

void PaneView::SelectFilledRow(const QModelIndex& index) {
    // The view draws the selection itself with everything else when updates come back on.
    selectingFilledRow_ = true;
    setUpdatesEnabled(false);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    setUpdatesEnabled(true);
    selectingFilledRow_ = false;
}

void PaneView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    // The list view's own handling scrolls to the row and draws it, which needs its place.
    if (!selectingFilledRow_) {
        QListView::currentChanged(current, previous);
    }
}

QItemSelectionModel::SelectionFlags PaneView::selectionCommand(const QModelIndex& index,
                                                               const QEvent* event) const {
    (void)event;
    if (!index.isValid()) {
        return QItemSelectionModel::NoUpdate;
    }
    return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
}

} // namespace fav
