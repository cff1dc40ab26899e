#include "PictureBox.h"

#include <QColor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

#include <algorithm>

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::setPicture(const QImage& picture) {
    picture_ = picture;
    marker_ = picture.rect().center();
    describeMarker();
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
    if (!hasFocus() || picture_.isNull())
        return;
    // A square round the marked pixel, dark on light colours and light on dark ones.
    const QColor under = colourAt(marker());
    painter.setPen(QPen(under.lightness() > 127 ? Qt::black : Qt::white, 0));
    painter.drawRect(QRect(marker() - QPoint(2, 2), QSize(4, 4)));
}

void PictureBox::keyPressEvent(QKeyEvent* event) {
    const int step = event->modifiers() & Qt::ShiftModifier ? 1 : markerStep;
    switch (event->key()) {
    case Qt::Key_Left:
        return moveMarker({-step, 0});
    case Qt::Key_Right:
        return moveMarker({step, 0});
    case Qt::Key_Up:
        return moveMarker({0, -step});
    case Qt::Key_Down:
        return moveMarker({0, step});
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (!picture_.isNull())
            emit pressed(marker());
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void PictureBox::moveMarker(QPoint by) {
    if (picture_.isNull())
        return;
    const QPoint moved = marker_ + by;
    marker_ = {std::clamp(moved.x(), 0, picture_.width() - 1),
               std::clamp(moved.y(), 0, picture_.height() - 1)};
    describeMarker();
    update();
}

void PictureBox::describeMarker() {
    setAccessibleDescription(
        picture_.isNull() ? QString()
                          : tr("Colour under the marker: %1").arg(colourAt(marker()).name()));
}

// The marker shows only while the keys move it.
void PictureBox::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void PictureBox::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
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
