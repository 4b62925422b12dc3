#include "screens/setup/marks.h"

#include <QPainter>
#include <QPainterPath>

namespace fav {

namespace {

constexpr int MarkSize = 24;

// A small application window: grey frame, blue title bar, white client area.
void DrawWindow(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QColor(64, 64, 64));
    painter.setBrush(Qt::white);
    painter.drawRect(1, 2, 19, 17);
    painter.fillRect(2, 3, 18, 4, QColor(0, 0, 160));
    painter.fillRect(16, 4, 3, 2, QColor(192, 192, 192));
}

QPixmap NewPicture() {
    QPixmap picture(MarkSize, MarkSize);
    picture.fill(Qt::transparent);
    return picture;
}

} // namespace

QPixmap FoundMarkPicture() {
    QPixmap picture = NewPicture();
    QPainter painter(&picture);
    DrawWindow(painter);
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(QColor(0, 160, 0), 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    QPainterPath tick;
    tick.moveTo(8, 15);
    tick.lineTo(13, 20);
    tick.lineTo(22, 8);
    painter.drawPath(tick);
    painter.end();
    return picture;
}

QPixmap NotFoundMarkPicture() {
    QPixmap picture = NewPicture();
    QPainter painter(&picture);
    DrawWindow(painter);
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPen pen(QColor(210, 0, 0), 3.5, Qt::SolidLine, Qt::RoundCap);
    painter.setPen(pen);
    painter.drawLine(QPointF(10, 11), QPointF(21, 22));
    painter.drawLine(QPointF(21, 11), QPointF(10, 22));
    painter.end();
    return picture;
}

} // namespace fav
