#include "screens/favourites_menu/menu_list.h"

#include "app/twips.h"

#include <QKeyEvent>

namespace fav {

MenuList::MenuList(QWidget* parent, const char* name, int left, int top, int width, int height)
    : QListWidget(parent) {
    setObjectName(QString::fromLatin1(name));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    PlaceTwips(this, left, top, width, height);
}

int MenuList::SelectedRow() const {
    const QList<QListWidgetItem*> items = selectedItems();
    return items.isEmpty() ? -1 : row(items.front());
}

void MenuList::SelectRow(int row) {
    setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
}

void MenuList::keyboardSearch(const QString& search) {
    (void)search;
}

void MenuList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        // Held action buttons must not turn the move into something else (Ctrl toggles).
        QKeyEvent plain(event->type(), event->key(), Qt::NoModifier);
        QListWidget::keyPressEvent(&plain);
    }
    event->accept();
}

void MenuList::focusInEvent(QFocusEvent* event) {
    // Qt makes the first row current when an empty-handed list gets the focus; a list with
    // nothing selected must stay that way, so the first down selects the first row.
    const bool hadCurrent = currentIndex().isValid();
    QListWidget::focusInEvent(event);
    if (!hadCurrent && SelectedRow() < 0) {
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
}

bool MenuList::focusNextPrevChild(bool next) {
    (void)next;
    return false;
}

QItemSelectionModel::SelectionFlags MenuList::selectionCommand(const QModelIndex& index,
                                                               const QEvent* event) const {
    (void)event;
    if (!index.isValid()) {
        return QItemSelectionModel::NoUpdate;
    }
    return QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
}

} // namespace fav
