#pragma once

#include <QRect>
#include <QString>

class QLabel;
class QWidget;
class QFrame;

namespace fav {

struct FontSpec {
    double points = 0; // 0: the window's default size
    bool bold = false;
    bool underline = false;
};

// A label at a design position in twips, named as the design names it.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                  int width, int height, FontSpec font = {});

// A label of one line that shows its whole text, shortened with an ellipsis only where the text
// is wider than the label. text() keeps the whole text.
QLabel* MakeLineLabel(QWidget* parent, const char* name, int left, int top, int width, int height,
                      FontSpec font = {});

// Where a label placed at `place` shows its whole text: `place` itself when the text fits, else
// grown as little as it needs, away from the side its text is aligned to, and kept inside
// `bounds` (its holder's rectangle). A box of one line grows wider so the text stays on one
// line, where the holder has room for that; otherwise it grows taller. The design's boxes were
// drawn for one face at one size, and hinting makes a text a few pixels wider at some scales.
QRect FitLabel(const QLabel& label, const QRect& place, const QRect& bounds);

// A line around a window of the given design size that comes up over another screen: on a
// cabinet without a window manager nothing else draws its edge, and it would melt into the grey
// screen below.
QFrame* MakeEdge(QWidget* window, int width, int height);

// A frame without caption, used as a container or as a mask over other controls.
QFrame* MakeFrame(QWidget* parent, const char* name, int left, int top, int width, int height);

// Sets up `panel` as a box that comes up over a window's other controls, framed as the selected
// item is, with its title (named `titleName`) at its top.
void SetUpPanel(QFrame* panel, const char* name, int left, int top, int width, int height,
                const char* titleName, const QString& title);

// The design font size a widget takes from its closest parent that has one.
double InheritedDesignPoints(const QWidget* widget);

// The single-line border that marks the selected item on the cabinet screens.
void SetBorder(QLabel* label, bool border);
bool HasBorder(const QLabel* label);

} // namespace fav
