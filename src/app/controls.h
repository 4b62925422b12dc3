#pragma once

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

// A frame without caption, used as a container or as a mask over other controls.
QFrame* MakeFrame(QWidget* parent, const char* name, int left, int top, int width, int height);

// The design font size a widget takes from its closest parent that has one.
double InheritedDesignPoints(const QWidget* widget);

// The single-line border that marks the selected item on the cabinet screens.
void SetBorder(QLabel* label, bool border);
bool HasBorder(const QLabel* label);

} // namespace fav
