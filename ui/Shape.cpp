#include "Shape.h"

#include <QPainter>

Shape::Shape(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Shape::setFillColour(const QColor& colour) {
    fill_ = colour;
    update();
}

void Shape::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), fill_);
}
