#include "app/controls.h"

#include "app/looks.h"
#include "app/twips.h"

#include <QFontMetrics>
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
        style()->drawItemText(&painter, place,
                              (alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter,
                              palette(), isEnabled(), shown, foregroundRole());
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

QFrame* MakeEdge(QWidget* window, int width, int height) {
    auto* edge = new QFrame(window);
    edge->setObjectName(QStringLiteral("Edge"));
    edge->setFrameStyle(QFrame::Box | QFrame::Plain);
    SetDesignLineWidth(edge, 2);
    PlaceTwips(edge, 0, 0, width, height);
    edge->setAttribute(Qt::WA_TransparentForMouseEvents);
    edge->lower();
    return edge;
}

QFrame* MakeFrame(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setAutoFillBackground(true);
    PlaceTwips(frame, left, top, width, height);
    return frame;
}

void SetUpPanel(QFrame* panel, const char* name, int left, int top, int width, int height,
                const char* titleName, const QString& title) {
    constexpr int Margin = 120;
    panel->setObjectName(QString::fromLatin1(name));
    panel->setAutoFillBackground(true);
    panel->setFrameStyle(QFrame::Box | QFrame::Plain);
    SetDesignLineWidth(panel, SelectionBorderWidth);
    PlaceTwips(panel, left, top, width, height);
    MakeLabel(panel, titleName, title, Margin, Margin, width - 2 * Margin, 300,
              FontSpec{9.75, true});
}

namespace {

// Grows [start, start + size) to `needed`, away from the aligned side.
void Grow(int& start, int& size, int needed, bool alignedToStart, bool alignedToEnd) {
    if (needed <= size) {
        return;
    }
    const int extra = needed - size;
    if (alignedToEnd) {
        start -= extra;
    } else if (!alignedToStart) {
        start -= extra / 2;
    }
    size = needed;
}

} // namespace

QRect FitLabel(const QLabel& label, const QRect& place, const QRect& bounds) {
    const QString text = label.text();
    if (text.isEmpty() || label.textFormat() == Qt::RichText) {
        return place;
    }
    // What the label keeps around its text: frame, margin and, beside a frame, its indent.
    const QFontMetrics metrics(label.font());
    const int frame = label.frameWidth() + label.margin();
    int indent = label.indent();
    if (indent < 0) {
        indent = label.frameWidth() > 0 ? metrics.horizontalAdvance(QLatin1Char('x')) / 2 : 0;
    }
    const Qt::Alignment align = label.alignment();
    const int aroundWidth = 2 * frame + ((align & (Qt::AlignLeft | Qt::AlignRight)) ? indent : 0);
    const int aroundHeight = 2 * frame + ((align & (Qt::AlignTop | Qt::AlignBottom)) ? indent : 0);
    const int roomWidth = place.width() - aroundWidth;
    const int roomHeight = place.height() - aroundHeight;

    const int horizontal = int(align & Qt::AlignHorizontal_Mask);
    constexpr int Unbounded = 1 << 20;
    const QSize oneLine =
        metrics.boundingRect(QRect(0, 0, Unbounded, Unbounded), horizontal, text).size();
    QSize needed = oneLine;
    if (label.wordWrap()) {
        needed = metrics
                     .boundingRect(QRect(0, 0, std::max(roomWidth, 1), Unbounded),
                                   horizontal | Qt::TextWordWrap, text)
                     .size();
        if (needed.height() > roomHeight && oneLine.height() <= roomHeight &&
            oneLine.width() + aroundWidth <= bounds.width()) {
            needed = oneLine;
        }
    }
    int left = place.left();
    int width = place.width();
    int top = place.top();
    int height = place.height();
    Grow(left, width, needed.width() + aroundWidth, (align & Qt::AlignLeft) != 0,
         (align & Qt::AlignRight) != 0);
    Grow(top, height, needed.height() + aroundHeight, (align & Qt::AlignTop) != 0,
         (align & Qt::AlignBottom) != 0);
    QRect fitted(left, top, width, height);
    // Moved back inside the holder where growing took it out, never past the holder's start.
    if (fitted != place) {
        fitted.moveRight(std::min(fitted.right(), bounds.right()));
        fitted.moveBottom(std::min(fitted.bottom(), bounds.bottom()));
        fitted.moveLeft(std::max(fitted.left(), bounds.left()));
        fitted.moveTop(std::max(fitted.top(), bounds.top()));
    }
    return fitted;
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
