#include "Shape.h"

#include <QPainter>

Shape::Shape(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

// A screen reader cannot see the swatch, so its description says the colour.
void Shape::setFillColour(const QColor& colour) {
    fill_ = colour;
    setAccessibleDescription(colour.name());
    update();
}

void Shape::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), fill_);
}
