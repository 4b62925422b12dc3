#pragma once

#include <QListWidget>

namespace fav {

// A list box as the cabinet drives it: the joystick's up and down move the selection one entry,
// stopping at the ends; every other key, typed characters included, leaves it alone.
class MenuList final : public QListWidget {
    Q_OBJECT

public:
    MenuList(QWidget* parent, const char* name, int left, int top, int width, int height);

    // The selected row, or -1 when nothing is selected.
    int SelectedRow() const;
    void SelectRow(int row);

    void keyboardSearch(const QString& search) override;

protected:
    // A click selects the row under it and nothing else: with Ctrl it would deselect the row, and
    // beside the rows it would clear the selection, after which Start has nothing to act on.
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
};

} // namespace fav
