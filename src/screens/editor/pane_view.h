#pragma once

#include "screens/editor/sorted_pane.h"

#include <QAbstractListModel>
#include <QListView>
#include <QPixmap>
#include <functional>
#include <string_view>

namespace fav {

// A pane's entries for a list view, decoded for display only when a row is drawn. Marked lines
// carry a small tick before their text.
class PaneModel final : public QAbstractListModel, public PaneListener {
    Q_OBJECT

public:
    using Marked = std::function<bool(std::string_view)>;
    PaneModel(SortedPane& pane, Marked marked, QObject* parent);
    ~PaneModel() override;

    // The view asks for an index of every row when it lays the pane out; this one answers
    // without the base class's round of virtual calls.
    QModelIndex index(int row, int column = 0, const QModelIndex& parent = {}) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void AboutToReset() override { beginResetModel(); }
    void Reset() override { endResetModel(); }
    void AboutToInsert(int row) override { beginInsertRows({}, row, row); }
    void Inserted() override { endInsertRows(); }
    void AboutToRemove(int row) override { beginRemoveRows({}, row, row); }
    void Removed() override { endRemoveRows(); }
    void DecorationChanged(int first, int last) override;
    // Draws the tick at a new size, for a view at another scale.
    void SetTickSide(int side);

private:
    SortedPane& pane_;
    Marked marked_;
    QPixmap tick_;
};

// A list view for a pane: single selection, rows of one height, and no search by typing, since
// the Player 1 Start button types a character.
class PaneView final : public QListView {
    Q_OBJECT

public:
    PaneView(QWidget* parent, const char* name);
    void setModel(QAbstractItemModel* model) override;
    void keyboardSearch(const QString& search) override;
    // Selects a row of a view that was just filled, without laying all its rows out at once as
    // a selection otherwise makes the view do: it lays them out when it is next drawn, so a
    // whole MAME list is laid out once rather than twice. The row must be in sight already.
    void SelectFilledRow(const QModelIndex& index);

protected:
    // A click selects the row under it and nothing else: with Ctrl it would deselect the row, and
    // beside the rows it would clear the selection, after which Start has nothing to act on.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void changeEvent(QEvent* event) override;
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles) override;
    // Up or Down with nothing selected selects the first entry, rather than the one after the
    // row Qt puts its cursor on when the view takes the focus.
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void ShowTicksAtScale();

    bool selectingFilledRow_ = false;
};

} // namespace fav
