#include "app/twips.h"

#include "app/form.h"

#include <QFrame>
#include <QGuiApplication>
#include <QScreen>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace fav {

namespace {

// Where a widget keeps its design values, for its window to lay it out again.
constexpr const char* TwipsProperty = "favDesignTwips";
constexpr const char* PointsProperty = "favDesignPoints";
constexpr const char* LineProperty = "favDesignLine";

double DotsPerInch() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->logicalDotsPerInch() : 96.0;
}

int Scaled(double twips, double scale) {
    return static_cast<int>(std::lround(twips * DotsPerInch() / 1440.0 * scale));
}

} // namespace

int TwipsToPixels(int twips) {
    return Scaled(twips, 1.0);
}

float PixelsToTwips(int pixels) {
    return static_cast<float>(pixels * 1440.0 / DotsPerInch());
}

QRect ScaledRect(const QRect& twips, double scale) {
    const int left = Scaled(twips.x(), scale);
    const int top = Scaled(twips.y(), scale);
    const int right = Scaled(twips.x() + twips.width(), scale);
    const int bottom = Scaled(twips.y() + twips.height(), scale);
    return {left, top, right - left, bottom - top};
}

double ScaleOf(const QWidget* widget) {
    const auto* form = widget != nullptr ? qobject_cast<const Form*>(widget->window()) : nullptr;
    return form != nullptr ? form->scale() : 1.0;
}

int ScaledPixels(const QWidget* widget, double twips) {
    return Scaled(twips, ScaleOf(widget));
}

void PlaceTwips(QWidget* widget, int left, int top, int width, int height) {
    widget->setProperty(TwipsProperty, QRect(left, top, width, height));
    if (auto* form = qobject_cast<Form*>(widget->window()); form != nullptr && form != widget) {
        form->Place(widget);
    } else {
        widget->setGeometry(ScaledRect(QRect(left, top, width, height), 1.0));
    }
}

QRect DesignTwips(const QWidget* widget) {
    return widget->property(TwipsProperty).toRect();
}

void SetDesignPoints(QWidget* widget, double points) {
    widget->setProperty(PointsProperty, points);
    QFont face = widget->font();
    face.setPointSizeF(points * ScaleOf(widget));
    widget->setFont(face);
}

double DesignPoints(const QWidget* widget) {
    return widget->property(PointsProperty).toDouble();
}

void SetDesignLineWidth(QWidget* frame, int pixelsAtDesignSize) {
    frame->setProperty(LineProperty, pixelsAtDesignSize);
    if (auto* line = qobject_cast<QFrame*>(frame)) {
        const double scaled = pixelsAtDesignSize * ScaleOf(frame);
        line->setLineWidth(
            pixelsAtDesignSize <= 0 ? 0 : std::max(1, static_cast<int>(std::lround(scaled))));
    }
}

int DesignLineWidth(const QWidget* frame) {
    return frame->property(LineProperty).toInt();
}

bool HasDesignLineWidth(const QWidget* frame) {
    return frame->property(LineProperty).isValid();
}

double FillScale(const QSizeF& design, const QSizeF& area, double share) {
    if (design.width() <= 0 || design.height() <= 0 || area.width() <= 0 || area.height() <= 0) {
        return 1.0;
    }
    return share * std::min(area.width() / design.width(), area.height() / design.height());
}

int WindowedScale(int screenHeightPixels) {
    return std::max(1, static_cast<int>(std::lround(screenHeightPixels / 1080.0)));
}

} // namespace fav
