#pragma once

#include "app/form.h"
#include "screens/keyboard/keyboard_state.h"

#include <array>

class QFrame;
class QLabel;

namespace fav {

// The on-screen keyboard: the name, then the description of a new favourites list, typed with
// the joystick and Player 1 Start.
class Form3 final : public Form {
    Q_OBJECT

public:
    explicit Form3(App& app);

    void Form_Activate() override;
    void Form_KeyDown(int& keyCode) override;

    const KeyboardState& State() const { return state_; }

private:
    void ShowState();

    KeyboardState state_;
    QFrame* frame1_ = nullptr;
    QLabel* label2_ = nullptr;
    QLabel* label5_ = nullptr;
    QLabel* label7_ = nullptr;
    QLabel* label8_ = nullptr;
    QLabel* label9_ = nullptr;
    std::array<QLabel*, KeyboardState::SlotCount> label3_{};
    std::array<QLabel*, KeyboardState::KeyCount> label13_{};
};

} // namespace fav
