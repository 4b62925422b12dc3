#include "screens/controls/controls_screen.h"

#include "app/arcade_key.h"
#include "app/controls.h"

#include <QLabel>

namespace fav {

namespace {

constexpr int Width = 7200;
constexpr int Height = 3960;
constexpr int StepCount = 8;

} // namespace

QString ControlName(ControlTeaching::Step step) {
    using Step = ControlTeaching::Step;
    switch (step) {
    case Step::Up:
        return QStringLiteral("UP");
    case Step::Down:
        return QStringLiteral("DOWN");
    case Step::Left:
        return QStringLiteral("LEFT");
    case Step::Right:
        return QStringLiteral("RIGHT");
    case Step::Start:
        return QStringLiteral("PLAYER 1 START");
    case Step::Exit:
        return QStringLiteral("GAME EXIT");
    case Step::Action1:
        return QStringLiteral("ACTION BUTTON 1");
    case Step::Action2:
        return QStringLiteral("ACTION BUTTON 2");
    default:
        return {};
    }
}

QString TeachingPrompt(ControlTeaching::Step step) {
    using Step = ControlTeaching::Step;
    switch (step) {
    case Step::Up:
    case Step::Down:
    case Step::Left:
    case Step::Right:
        return QStringLiteral("Push the joystick %1").arg(ControlName(step));
    case Step::Start:
    case Step::Exit:
    case Step::Action1:
    case Step::Action2:
        return QStringLiteral("Press %1").arg(ControlName(step));
    default:
        return {};
    }
}

ControlsScreen::ControlsScreen(App& app)
    : Form(app, FormId::Controls, QStringLiteral("Game controller"), Width, Height) {
    const FontSpec bold{0, true, false};
    MakeLabel(this, "Title", QStringLiteral("Teach this game controller the cabinet's controls"),
              240, 240, 6720, 375, FontSpec{12, true, false});
    name_ = MakeLabel(this, "ControllerName", QString(), 240, 720, 6720, 255);
    prompt_ = MakeLabel(this, "Prompt", QString(), 240, 1200, 6720, 495, FontSpec{13.5, true});
    note_ = MakeLabel(this, "Note", QString(), 240, 1800, 6720, 495, bold);
    progress_ = MakeLabel(this, "Progress", QString(), 240, 2520, 6720, 255);
    MakeLabel(this, "Leave",
              QStringLiteral("Hold any button for 3 seconds to leave without changing anything."),
              240, 3120, 6720, 495);
    for (QLabel* label : findChildren<QLabel*>()) {
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }
    MakeEdge(this, Width, Height);
}

void ControlsScreen::ShowChoosing() {
    shownStep_.reset();
    name_->clear();
    prompt_->setText(QStringLiteral("Press a button on the controller to teach"));
    note_->clear();
    progress_->clear();
}

void ControlsScreen::ShowTeaching(const QString& controllerName, const ControlTeaching& teaching,
                                  ControlTeaching::Heard heard) {
    using Heard = ControlTeaching::Heard;
    name_->setText(controllerName);
    const ControlTeaching::Step step = teaching.step();
    prompt_->setText(TeachingPrompt(step));
    const int number = static_cast<int>(step) + 1;
    progress_->setText(number <= StepCount
                           ? QStringLiteral("Control %1 of %2").arg(number).arg(StepCount)
                           : QString());
    if (heard == Heard::AlreadyGiven) {
        const auto owner = teaching.GivenTo(teaching.LastRefused());
        note_->setText(QStringLiteral("That is %1 already: use another.")
                           .arg(owner ? ControlName(*owner) : QString()));
    } else if (heard == Heard::Taken) {
        note_->setText(QStringLiteral("Got it. Let go to go on."));
    } else if (heard == Heard::Skipped) {
        note_->setText(QStringLiteral("Skipped. Let go to go on."));
    } else if (step != shownStep_) {
        // The next control, asked for afresh.
        note_->setText(teaching.MayBeSkipped()
                           ? QStringLiteral("Or press PLAYER 1 START to skip it.")
                           : QString());
    }
    shownStep_ = step;
}

void ControlsScreen::Form_KeyDown(int& keyCode) {
    if (keyCode == ArcadeKey::Escape) {
        keyCode = 0;
        if (onLeave) {
            onLeave();
        }
    }
}

} // namespace fav
