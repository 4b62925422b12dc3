#include "app/form.h"

#include "app/looks.h"
#include "app/twips.h"

#include <QCloseEvent>
#include <QPushButton>

namespace fav {

Form::Form(App& app, FormId id, const QString& caption, int clientWidthTwips, int clientHeightTwips)
    : QWidget(nullptr), app_(app), id_(id) {
    setObjectName(QStringLiteral("Form%1").arg(static_cast<int>(id)));
    setWindowTitle(caption);
    // Set before the screen makes its controls, which take them over.
    setFont(DesignFont());
    setPalette(CabinetPalette());
    resize(TwipsToPixels(clientWidthTwips), TwipsToPixels(clientHeightTwips));
    setFocusPolicy(Qt::StrongFocus);
}

void Form::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Form_Resize();
}

void Form::closeEvent(QCloseEvent* event) {
    // Closing from the window's title bar acts as ESC would, so the screen leaves the way it was
    // designed to and never just disappears.
    event->ignore();
    PreviewKey(27);
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
    if (keyCode == 27 && cancel && cancel->isEnabled()) {
        cancel->click();
        return true;
    }
    return false;
}

} // namespace fav
