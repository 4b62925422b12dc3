#pragma once

#include "screens/editor/filter_panel.h"

#include <QFrame>
#include <QString>
#include <array>
#include <functional>

class QLabel;

namespace fav {

// The filter panel as the editor shows it, over the favourites pane: a title, a page of lines
// with the cursor's framed, each with its count of games, and a line of help.
class FilterPanelView final : public QFrame {
    Q_OBJECT

public:
    // `left` and `top` in twips, inside the editor's frame.
    FilterPanelView(QWidget* parent, int left, int top);

    static constexpr int Width = 5340;
    static constexpr int Height = 5520;

    struct Row {
        QString text;
        QString count;
    };
    // Shows the panel's page. `noFiles` says where the category files go instead of the lines
    // that would list them.
    void Show(const FilterPanel& panel, const std::function<Row(const FilterPanel::Line&)>& row,
              bool noFiles);

private:
    std::array<QLabel*, FilterPanel::PageRows> texts_{};
    std::array<QLabel*, FilterPanel::PageRows> counts_{};
    QLabel* noFiles_ = nullptr;
};

} // namespace fav
