#pragma once

class QWidget;

namespace fav {

// Layouts are designed in twips (1/1440 inch): 15 twips a pixel at 96 dots per inch.
int TwipsToPixels(int twips);
float PixelsToTwips(int pixels);

// Places a widget at a design position given in twips, relative to its parent.
void PlaceTwips(QWidget* widget, int left, int top, int width, int height);

// Centres a container in its window by the window's outer size (frame and caption included):
// left = (window width - container width) / 2, top likewise, in twips. The container keeps its
// size; in a window smaller than the container the results are negative and it is cut off.
void CentreContainer(QWidget* window, QWidget* container, int containerWidthTwips,
                     int containerHeightTwips);

} // namespace fav
