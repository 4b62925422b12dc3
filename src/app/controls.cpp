#include "app/controls.h"

#include "app/looks.h"
#include "app/twips.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QStyle>

namespace fav {

namespace {

class LineLabel final : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override {
        QFrame::paintEvent(event);
        QPainter painter(this);
        const QRect place = contentsRect();
        const QString shown = fontMetrics().elidedText(text(), Qt::ElideRight, place.width());
        style()->drawItemText(&painter, place, Qt::AlignLeft | Qt::AlignVCenter, palette(),
                              isEnabled(), shown, foregroundRole());
    }
};

QLabel* SetUpLabel(QLabel* label, const char* name, int left, int top, int width, int height,
                   FontSpec font) {
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QFont face = label->font();
    face.setBold(font.bold);
    face.setUnderline(font.underline);
    label->setFont(face);
    // Kept with the label even when it is the window's size, so that every label follows the
    // window's scale.
    SetDesignPoints(label,
                    font.points > 0 ? font.points : InheritedDesignPoints(label->parentWidget()));
    PlaceTwips(label, left, top, width, height);
    return label;
}

} // namespace

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                  int width, int height, FontSpec font) {
    return SetUpLabel(new QLabel(text, parent), name, left, top, width, height, font);
}

QLabel* MakeLineLabel(QWidget* parent, const char* name, int left, int top, int width, int height,
                      FontSpec font) {
    QLabel* label = SetUpLabel(new LineLabel(parent), name, left, top, width, height, font);
    label->setWordWrap(false);
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
    SetDesignLineWidth(label, border ? SelectionBorderWidth : 0);
    // A label with a frame otherwise moves its text in by half a letter, which pushes a large
    // top-aligned text out of the bottom of its box.
    label->setIndent(0);
}

bool HasBorder(const QLabel* label) {
    return label->frameShape() == QFrame::Box;
}

double InheritedDesignPoints(const QWidget* widget) {
    for (; widget != nullptr; widget = widget->parentWidget()) {
        if (const double points = DesignPoints(widget); points > 0) {
            return points;
        }
    }
    return DesignFont().pointSizeF();
}

} // namespace fav
