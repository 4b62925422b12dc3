#include "app/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace fav {

namespace {

double DotsPerInch() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->logicalDotsPerInch() : 96.0;
}

} // namespace

int TwipsToPixels(int twips) {
    return static_cast<int>(std::lround(twips * DotsPerInch() / 1440.0));
}

float PixelsToTwips(int pixels) {
    return static_cast<float>(pixels * 1440.0 / DotsPerInch());
}

void PlaceTwips(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                        TwipsToPixels(height));
}

void CentreContainer(QWidget* window, QWidget* container, int containerWidthTwips,
                     int containerHeightTwips) {
    const QRect outer = window->frameGeometry();
    const float left = (PixelsToTwips(outer.width()) - static_cast<float>(containerWidthTwips)) / 2;
    const float top =
        (PixelsToTwips(outer.height()) - static_cast<float>(containerHeightTwips)) / 2;
    container->move(TwipsToPixels(static_cast<int>(std::lround(left))),
                    TwipsToPixels(static_cast<int>(std::lround(top))));
}

} // namespace fav
