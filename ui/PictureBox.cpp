#include "PictureBox.h"

#include <QColor>
#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::setPicture(const QImage& picture) {
    picture_ = picture;
    updateGeometry();
    update();
}

QColor PictureBox::colourAt(QPoint position) const {
    const QRect inside = drawingArea();
    const QPoint inPicture = position - inside.topLeft();
    if (inside.contains(position) && picture_.rect().contains(inPicture))
        return picture_.pixelColor(inPicture);
    return backgroundColour();
}

QRect PictureBox::drawingArea() const {
    return rect().marginsRemoved(QMargins(border, border, border, border));
}

QColor PictureBox::backgroundColour() const {
    return palette().color(QPalette::Base);
}

QSize PictureBox::sizeHint() const {
    return picture_.size().grownBy(QMargins(border, border, border, border));
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), backgroundColour());
    painter.drawImage(QPoint(border, border), picture_);
    painter.setPen(QPen(palette().color(QPalette::WindowText), 0));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    event->accept();
    // The pixel under the pointer, also where a high-density screen reports fractions of a pixel.
    const QPointF at = event->position();
    const QPoint pixel(qFloor(at.x()), qFloor(at.y()));
    // The frame is not part of the drawing area: a press there is no pick.
    if (drawingArea().contains(pixel))
        emit pressed(pixel);
}
