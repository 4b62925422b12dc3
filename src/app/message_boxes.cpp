#include "app/message_boxes.h"

#include "app/arcade_key.h"
#include "app/form.h"
#include "app/looks.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <algorithm>

namespace fav {

namespace {

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

// A box that asks from the cabinet must be answerable with its controls: Player 1 Start presses
// the button with the focus (Yes at first), the joystick moves between the buttons, and ESC is No
// as the toolkit makes it.
class CabinetAnswers final : public QObject {
public:
    explicit CabinetAnswers(QMessageBox& box) : box_(box) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return QObject::eventFilter(watched, event);
        }
        // In the order they stand, which differs from one desktop style to another.
        QList<QAbstractButton*> buttons = box_.buttons();
        std::sort(buttons.begin(), buttons.end(), [](QAbstractButton* a, QAbstractButton* b) {
            return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
        });
        auto* focused = qobject_cast<QAbstractButton*>(box_.focusWidget());
        const auto at = focused != nullptr ? buttons.indexOf(focused) : -1;
        switch (ArcadeKeyFromQt(*static_cast<QKeyEvent*>(event))) {
        case ArcadeKey::Player1Start:
            if (auto* pressed = at >= 0 ? focused : box_.defaultButton()) {
                pressed->click();
            }
            return true;
        case ArcadeKey::Left:
        case ArcadeKey::Up:
        case ArcadeKey::Right:
        case ArcadeKey::Down: {
            if (buttons.isEmpty()) {
                return true;
            }
            const auto key = static_cast<QKeyEvent*>(event)->key();
            const auto step = key == Qt::Key_Left || key == Qt::Key_Up ? -1 : 1;
            const auto next =
                std::clamp<decltype(at)>(at < 0 ? 0 : at + step, 0, buttons.size() - 1);
            buttons[next]->setFocus();
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
        }
    }

private:
    QMessageBox& box_;
};

} // namespace

MessageAnswer ScreenMessageBoxes::Show(const QString& text, const QString& caption,
                                       MessageButtons buttons, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon,
                    caption, text);
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
    CabinetAnswers answers(box);
    for (QAbstractButton* button : box.buttons()) {
        button->installEventFilter(&answers);
    }
    box.installEventFilter(&answers);
    box.activateWindow();
    const int answer = box.exec();
    if (buttons == MessageButtons::Ok) {
        return MessageAnswer::Ok;
    }
    return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

} // namespace fav
