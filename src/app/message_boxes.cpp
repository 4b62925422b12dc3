#include "app/message_boxes.h"

#include "app/arcade_key.h"
#include "app/form.h"
#include "app/looks.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

namespace fav {

namespace {

// A box the cabinet's controls can answer: Player 1 Start presses the button that has the
// keyboard (the joystick moves between them), ESC the box's escape button, as on a keyboard.
class CabinetMessageBox final : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        // The answer offered first has the keyboard even before the window system makes the box
        // active, which without a window manager it may never do.
        if (QPushButton* button = defaultButton()) {
            button->setFocus();
        }
    }

    void keyPressEvent(QKeyEvent* event) override {
        if (ArcadeKeyFromQt(*event) != ArcadeKey::Player1Start) {
            QMessageBox::keyPressEvent(event);
            return;
        }
        auto* button = qobject_cast<QAbstractButton*>(focusWidget());
        if (button == nullptr || !buttons().contains(button)) {
            button = defaultButton();
        }
        if (button != nullptr) {
            button->click();
        }
    }
};

// The scale the program's windows are shown at, so that a box over a full-screen cabinet screen,
// or over the setup screen on a television, is as readable as they are.
double ShownScale() {
    double scale = 0;
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (const auto* form = qobject_cast<const Form*>(window); form && form->isVisible()) {
            scale = std::max(scale, form->scale());
        }
    }
    return scale > 0 ? scale : 1.0;
}

} // namespace

MessageAnswer ScreenMessageBoxes::Show(const QString& text, const QString& caption,
                                       MessageButtons buttons, MessageIcon icon) {
    CabinetMessageBox box(
        icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon, caption, text);
    QFont face = DesignFont();
    face.setPointSizeF(face.pointSizeF() * ShownScale());
    box.setFont(face);
    if (buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
    }
    box.activateWindow();
    const int answer = box.exec();
    if (buttons == MessageButtons::Ok) {
        return MessageAnswer::Ok;
    }
    return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

} // namespace fav
