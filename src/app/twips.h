#pragma once

#include <QRect>
#include <QSizeF>

class QFont;
class QWidget;

namespace fav {

// Layouts are designed in twips (1/1440 inch): 15 twips a pixel at 96 dots per inch, times the
// scale of the window they are shown in.
int TwipsToPixels(int twips);
float PixelsToTwips(int pixels);
// A design rectangle in pixels at a scale; neighbouring rectangles stay edge to edge.
QRect ScaledRect(const QRect& twips, double scale);

// The scale the widget's window is laid out at: 1 outside a program window.
double ScaleOf(const QWidget* widget);
// Design twips in pixels at the widget's window's scale, for drawing of one's own.
int ScaledPixels(const QWidget* widget, double twips);

// Places a widget at a design position given in twips, relative to its parent. The position is
// kept with the widget, so the window lays it out again whenever its scale changes.
void PlaceTwips(QWidget* widget, int left, int top, int width, int height);
// The design position given to PlaceTwips; an empty rectangle for a widget placed otherwise.
QRect DesignTwips(const QWidget* widget);

// Gives a widget its own font size in design points, kept like the position: it is shown at the
// window's scale from now on.
void SetDesignPoints(QWidget* widget, double points);
// The design size given to SetDesignPoints, 0 when it follows its parent.
double DesignPoints(const QWidget* widget);

// A line width in pixels at the window's scale (a selection border, a frame's edge), kept like
// the position. 0 takes the line away.
void SetDesignLineWidth(QWidget* frame, int pixelsAtDesignSize);
int DesignLineWidth(const QWidget* frame);
bool HasDesignLineWidth(const QWidget* frame);

// The share of the area a full-screen design fills in its limiting dimension: a thin margin
// keeps its outermost marks off the screen's edge.
inline constexpr double FullScreenShare = 0.98;
// The scale at which a design of the given size fills the share of the area in its limiting
// dimension; 1 for an empty design or area.
double FillScale(const QSizeF& design, const QSizeF& area, double share);
// The scale a window that does not fill the screen is shown at: the whole number nearest the
// screen's height over 1080 pixels, at least 1, so that a television shows it as large as a
// 1080p screen does.
int WindowedScale(int screenHeightPixels);

} // namespace fav
