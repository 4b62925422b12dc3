#include "app/controls.h"

#include "app/looks.h"
#include "app/twips.h"

#include <QFrame>
#include <QLabel>

namespace fav {

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                  int width, int height, FontSpec font) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont face = label->font();
    if (font.points > 0) {
        face.setPointSizeF(font.points);
    }
    face.setBold(font.bold);
    face.setUnderline(font.underline);
    label->setFont(face);
    PlaceTwips(label, left, top, width, height);
    return label;
}

QFrame* MakeFrame(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setAutoFillBackground(true);
    PlaceTwips(frame, left, top, width, height);
    return frame;
}

void SetBorder(QLabel* label, bool border) {
    // Plain, so the line is drawn in the text colour: black on the enabled, selected item.
    label->setFrameShadow(QFrame::Plain);
    label->setFrameShape(border ? QFrame::Box : QFrame::NoFrame);
    label->setLineWidth(border ? SelectionBorderWidth : 0);
    // A label with a frame otherwise moves its text in by half a letter, which pushes a large
    // top-aligned text out of the bottom of its box.
    label->setIndent(0);
}

bool HasBorder(const QLabel* label) {
    return label->frameShape() == QFrame::Box;
}

} // namespace fav
