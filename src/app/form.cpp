#include "app/form.h"

#include "app/arcade_key.h"
#include "app/controls.h"
#include "app/looks.h"
#include "app/twips.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <cmath>

namespace fav {

Form::Form(App& app, FormId id, const QString& caption, int clientWidthTwips, int clientHeightTwips)
    : QWidget(nullptr), app_(app), id_(id), designSize_(clientWidthTwips, clientHeightTwips) {
    setObjectName(QStringLiteral("Form%1").arg(static_cast<int>(id)));
    setWindowTitle(caption);
    // Set before the screen makes its controls, which take them over.
    setFont(DesignFont());
    SetDesignPoints(this, DesignFont().pointSizeF());
    setPalette(CabinetPalette());
    resize(ScaledRect(QRect(QPoint(), designSize_), scale_).size());
    setFocusPolicy(Qt::StrongFocus);
}

QRect Form::ContentTwips() const {
    if (content_.isValid()) {
        return content_;
    }
    if (placedContent_.isValid()) {
        return placedContent_;
    }
    const QList<QWidget*> controls = findChildren<QWidget*>();
    QSet<const QWidget*> holders;
    for (const QWidget* control : controls) {
        if (!DesignTwips(control).isEmpty()) {
            for (const QWidget* up = control->parentWidget(); up != nullptr && up != this;
                 up = up->parentWidget()) {
                holders.insert(up);
            }
        }
    }
    QRect content;
    for (const QWidget* control : controls) {
        QRect inForm = DesignTwips(control);
        if (inForm.isEmpty() || holders.contains(control)) {
            continue;
        }
        for (const QWidget* up = control->parentWidget(); up != nullptr && up != this;
             up = up->parentWidget()) {
            inForm.translate(DesignTwips(up).topLeft());
        }
        content = content.united(inForm);
    }
    placedContent_ = content.isValid() ? content : QRect(QPoint(), designSize_);
    return placedContent_;
}

void Form::SetScale(double scale) {
    if (scale <= 0 || scale == scale_) {
        return;
    }
    scale_ = scale;
    UpdateOrigin();
    SetDesignPoints(this, DesignPoints(this));
    // Fonts and lines first: a label's room depends on them.
    for (QWidget* control : findChildren<QWidget*>()) {
        if (DesignPoints(control) > 0) {
            SetDesignPoints(control, DesignPoints(control));
        }
        if (HasDesignLineWidth(control)) {
            SetDesignLineWidth(control, DesignLineWidth(control));
        }
    }
    LayOutAll();
}

void Form::FitFullScreen(const QRect& area) {
    fullScreen_ = true;
    FillArea(area.size());
    setGeometry(area);
    MoveTopControls();
}

void Form::FillArea(const QSize& area) {
    const QSizeF content = ScaledRect(ContentTwips(), 1.0).size();
    SetScale(FillScale(content, QSizeF(area), FullScreenShare));
}

void Form::FitWindow(const QRect& available, double preferredScale) {
    fullScreen_ = false;
    // The window's edge and title, where a window manager adds them.
    const QSize edges = isVisible() ? frameGeometry().size() - size() : QSize(0, 0);
    const QSizeF design = ScaledRect(QRect(QPoint(), designSize_), 1.0).size();
    const QSizeF room = available.size() - edges;
    SetScale(std::min(preferredScale, FillScale(design, room, 1.0)));
    const QSize client = ScaledRect(QRect(QPoint(), designSize_), scale_).size();
    resize(client);
    QRect outer(QPoint(), client + edges);
    outer.moveCenter(available.center());
    move(outer.topLeft());
    MoveTopControls();
}

void Form::Place(QWidget* control) {
    placedContent_ = QRect();
    // A control inside another one: its holder hears when the control's text changes.
    if (QWidget* holder = control->parentWidget(); holder != nullptr && holder != this) {
        holder->installEventFilter(this);
    }
    LayOut(control);
}

void Form::LayOut(QWidget* control) {
    QRect place = ScaledRect(DesignTwips(control), scale_);
    if (control->parentWidget() == this) {
        place.translate(origin_);
    }
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        place = FitLabel(*label, place, control->parentWidget()->rect());
    }
    if (control->geometry() != place) {
        control->setGeometry(place);
    }
}

void Form::LayOutAll() {
    for (QWidget* control : findChildren<QWidget*>()) {
        if (!DesignTwips(control).isEmpty()) {
            LayOut(control);
        }
    }
}

bool Form::event(QEvent* event) {
    // A label's text changed: it may need more room than its box, or less again.
    if (event->type() == QEvent::LayoutRequest) {
        MoveTopControls();
    }
    return QWidget::event(event);
}

bool Form::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::LayoutRequest && watched != this) {
        for (QObject* child : watched->children()) {
            if (auto* control = qobject_cast<QWidget*>(child);
                control != nullptr && !DesignTwips(control).isEmpty()) {
                LayOut(control);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form::showEvent(QShowEvent* event) {
    // Texts set while the window was hidden laid nothing out.
    LayOutAll();
    QWidget::showEvent(event);
}

void Form::UpdateOrigin() {
    // Full screen centres the content; a window centres its whole design, which at its design
    // size leaves every control where the design put it.
    const QRect box =
        ScaledRect(fullScreen_ ? ContentTwips() : QRect(QPoint(), designSize_), scale_);
    origin_ = QPoint((width() - box.width()) / 2, (height() - box.height()) / 2) - box.topLeft();
}

void Form::MoveTopControls() {
    UpdateOrigin();
    for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!DesignTwips(control).isEmpty()) {
            LayOut(control);
        }
    }
}

void Form::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // A window manager that maximises the window may leave it less than the whole screen.
    if (fullScreen_) {
        FillArea(size());
    }
    MoveTopControls();
    Form_Resize();
}

void Form::closeEvent(QCloseEvent* event) {
    // Closing from the window's title bar acts as ESC would, so the screen leaves the way it was
    // designed to and never just disappears.
    event->ignore();
    PreviewKey(ArcadeKey::Escape);
}

bool Form::PreviewKey(int keyCode, bool repeated) {
    QPointer<QPushButton> cancel = cancelButton_;
    const int pressed = keyCode;
    if (KeyPreview) {
        keyRepeated_ = repeated;
        Form_KeyDown(keyCode);
        keyRepeated_ = false;
    }
    if (pressed != 0 && keyCode == 0) {
        return true;
    }
    if (keyCode == ArcadeKey::Escape && cancel && cancel->isEnabled()) {
        cancel->click();
        return true;
    }
    return false;
}

} // namespace fav
