#pragma once

#include "screens/editor/jump_panel.h"

#include <QFrame>
#include <array>

class QLabel;

namespace fav {

// The jump panel as the editor shows it: a title, the prefix typed so far, four rows of keys
// with the cursor's framed, and a line of help. It stands over the inactive pane, so the active
// one shows where each key lands.
class JumpPanelView final : public QFrame {
    Q_OBJECT

public:
    // Hidden until opened.
    explicit JumpPanelView(QWidget* parent);

    // In twips, inside the editor's frame.
    static constexpr int Width = 5340;
    static constexpr int Height = 3780;
    static constexpr int Top = 1230;

    // Shows the panel at `left` (twips), above everything else in the frame.
    void Open(int left, const JumpPanel& panel);
    // Shows the prefix and the key under the cursor.
    void Show(const JumpPanel& panel);

private:
    // In twips: the margins, the rows of keys and their spacing.
    static constexpr int Margin = 120;
    static constexpr int KeyTop = 1080;
    static constexpr int KeyPitch = 510;
    static constexpr int RowPitch = 480;
    static constexpr std::size_t MaxRowKeys = 10;

    QLabel* prefix_ = nullptr;
    std::array<std::array<QLabel*, MaxRowKeys>, JumpPanel::Rows> keys_{};
};

} // namespace fav
