#pragma once

#include "app/form.h"
#include "core/input/control_teaching.h"

#include <functional>
#include <optional>

class QLabel;

namespace fav {

// Teaches a game controller the cabinet's controls, one at a time, from the controller itself.
// The screen only shows how far the teaching is: the controllers' layer hears the controller and
// tells it. ESC on a keyboard leaves, as holding any of the controller's inputs does.
class ControlsScreen final : public Form {
    Q_OBJECT

public:
    explicit ControlsScreen(App& app);

    // No controller chosen yet: the next one whose button is pressed is taught.
    void ShowChoosing();
    // The controller being taught, the step it is at and what it last did.
    void ShowTeaching(const QString& controllerName, const ControlTeaching& teaching,
                      ControlTeaching::Heard heard);

    void Form_KeyDown(int& keyCode) override;

    // Called when the screen is left from the keyboard.
    std::function<void()> onLeave;

private:
    QLabel* name_ = nullptr;
    QLabel* prompt_ = nullptr;
    QLabel* note_ = nullptr;
    QLabel* progress_ = nullptr;
    std::optional<ControlTeaching::Step> shownStep_;
};

// What the screen asks for at a step ("Push the joystick UP"), and a control's short name.
QString TeachingPrompt(ControlTeaching::Step step);
QString ControlName(ControlTeaching::Step step);

} // namespace fav
