#include "screens/keyboard/form3.h"

#include "app/app.h"
#include "app/arcade_key.h"
#include "app/controls.h"
#include "app/display_text.h"
#include "app/twips.h"

#include <QFrame>
#include <QLabel>

namespace fav {

namespace {

constexpr int FrameWidth = 10455;
constexpr int FrameHeight = 7815;

constexpr std::array<int, KeyboardState::SlotCount> SlotLefts = {
    2040, 2520, 2880, 3240, 3600, 3960, 4320, 4680, 5040, 5400, 5760, 6120};

int KeyWidth(const std::string& caption) {
    if (caption == "Rub" || caption == "Clear" || caption == "Done") {
        return 1455;
    }
    if (caption == "Caps ON" || caption == "Caps Off") {
        return 1215;
    }
    if (caption == "@") {
        return 735;
    }
    return 375;
}

double KeyPoints(const std::string& caption) {
    if (caption == " ,") {
        return 13.5;
    }
    if (caption == " ." || caption == "!" || caption == "_" || caption == " (" || caption == ")") {
        return 9.75;
    }
    if (caption == "@") {
        return 8.25;
    }
    return 12;
}

QLabel* MakeKeyLabel(QWidget* parent, const QString& name, const QString& text, int left, int top,
                     int width, int height, double points) {
    QLabel* label = MakeLabel(parent, name.toLatin1().constData(), text, left, top, width, height,
                              FontSpec{points, true, false});
    label->setWordWrap(false);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

} // namespace

Form3::Form3(App& app)
    : Form(app, FormId::Form3, QStringLiteral("Create a new favorites list"), 10830, 8385) {
    frame1_ = MakeFrame(this, "Frame1", 0, 0, FrameWidth, FrameHeight);

    MakeLabel(frame1_, "Label10", QStringLiteral("New Favorites List Name:"), 0, 120, 1935, 255);
    label9_ = MakeLabel(frame1_, "Label9", QString(), 2280, 0, 4335, 375, FontSpec{12, true});
    label2_ = MakeLabel(frame1_, "Label2",
                        QStringLiteral("Create a name for your new favorites list. (This is "
                                       "required.)"),
                        840, 720, 7215, 375, FontSpec{12, true});
    label5_ = MakeLabel(frame1_, "Label5",
                        QStringLiteral("Now you can enter a description for your new favorites "
                                       "list. (Optional)"),
                        720, 720, 8535, 375, FontSpec{12, true});
    for (int slot = 0; slot < KeyboardState::SlotCount; ++slot) {
        label3_[slot] = MakeKeyLabel(frame1_, QStringLiteral("Label3(%1)").arg(slot),
                                     QStringLiteral("_"), SlotLefts[slot], 1200, 375, 375, 12);
    }
    MakeLabel(frame1_, "Label4",
              QStringLiteral("Use Joystick to select character, press P1 START button to choose "
                             "the character."),
              1080, 1800, 6015, 255);
    for (int key = 0; key < KeyboardState::KeyCount; ++key) {
        const std::string& caption = KeyboardState::KeyCaption(key);
        const int column = key % 10;
        const int row = key / 10;
        label13_[key] = MakeKeyLabel(frame1_, QStringLiteral("Label13(%1)").arg(key),
                                     QString::fromStdString(caption), 600 + 840 * column,
                                     2280 + 720 * row, KeyWidth(caption), 375, KeyPoints(caption));
    }
    label7_ =
        MakeLabel(frame1_, "Label7", QStringLiteral("*"), 9480, 3720, 255, 375, FontSpec{18, true});
    label8_ =
        MakeLabel(frame1_, "Label8", QStringLiteral("*"), 9480, 4440, 375, 495, FontSpec{18, true});
    MakeLabel(frame1_, "Label1", QStringLiteral("Press ESC to cancel and exit this screen"), 1200,
              6000, 6855, 495, FontSpec{13.5, true});
}

void Form3::Form_Activate() {
    state_.Activate();
    ShowState();
}

void Form3::Form_KeyDown(int& keyCode) {
    const int key = keyCode;
    switch (key) {
    case ArcadeKey::Player1Start:
    case ArcadeKey::Left:
    case ArcadeKey::Up:
    case ArcadeKey::Right:
    case ArcadeKey::Down:
    case ArcadeKey::Escape:
        keyCode = 0;
        break;
    default:
        break;
    }

    switch (state_.KeyDown(key)) {
    case KeyboardState::Outcome::None:
        ShowState();
        return;
    case KeyboardState::Outcome::NameAccepted:
        app_.shared.CurrentListName = state_.CurrentListName();
        ShowState();
        return;
    case KeyboardState::Outcome::EntryComplete:
        app_.shared.CurrentListName = state_.CurrentListName();
        app_.shared.NewListDescription = state_.NewListDescription();
        ShowState();
        app_.windows().Unload(FormId::Form3);
        app_.windows().Show(FormId::Form4);
        return;
    case KeyboardState::Outcome::Cancelled:
        app_.windows().Unload(FormId::Form3);
        app_.windows().Show(FormId::Form2);
        return;
    }
}

void Form3::ShowState() {
    const bool namePhase = state_.InNamePhase();
    label2_->setVisible(namePhase);
    label5_->setVisible(!namePhase);
    label9_->setText(namePhase ? QString() : DisplayText(state_.CurrentListName()));

    const bool capsOn = state_.CapsState() != 0;
    label7_->setVisible(capsOn);
    label8_->setVisible(!capsOn);

    for (int slot = 0; slot < KeyboardState::SlotCount; ++slot) {
        label3_[slot]->setText(QString::fromStdString(state_.SlotText(slot)));
        SetBorder(label3_[slot], state_.SlotHasBorder(slot));
    }
    for (int key = 0; key < KeyboardState::KeyCount; ++key) {
        const bool highlighted = key == state_.SelectedKey();
        label13_[key]->setEnabled(highlighted);
        SetBorder(label13_[key], highlighted);
    }
}

} // namespace fav
