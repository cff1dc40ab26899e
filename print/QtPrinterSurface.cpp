#include "QtPrinterSurface.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include <cmath>

namespace print {

QtPrinterSurface::QtPrinterSurface(QPagedPaintDevice& printer)
    : printer_(printer), painter_(std::make_unique<QPainter>()) {
    started_ = painter_->begin(&printer_);
    if (!started_)
        return;
    const double scale = printer_.logicalDpiX() / twipsPerInch;
    painter_->scale(scale, scale);
    const QRectF area = printer_.pageLayout().paintRect(QPageLayout::Point);
    width_ = float(area.width() * twipsPerPoint);
    height_ = float(area.height() * twipsPerPoint);
    QFont font = painter_->font();
    points_ = float(font.pointSizeF() > 0 ? font.pointSizeF() : 12.0);
    applyFont(font);
}

// Ending the painter hands an unfinished job to the printer, as leaving a program would.
QtPrinterSurface::~QtPrinterSurface() {
    if (active())
        drawRun();
}

bool QtPrinterSurface::active() const {
    return painter_->isActive();
}

// The painter's scale would shrink a point size, so the size is given in twips, the painting unit.
void QtPrinterSurface::applyFont(const QFont& font) {
    drawRun();
    font_ = font;
    font_.setPixelSize(std::max(1, int(std::lround(points_ * twipsPerPoint))));
    painter_->setFont(font_);
    metrics_ = QFontMetricsF(font_, &printer_);
    measured_.clear();
    measuredWidth_ = 0.0f;
}

void QtPrinterSurface::setFontSize(float points) {
    if (!active() || !(points > 0.0f) || points > maxPoints)
        return;
    points_ = points;
    applyFont(font_);
}

void QtPrinterSurface::setFontName(const QString& name) {
    if (!active() || name.isEmpty())
        return;
    QFont font = font_;
    font.setFamilies({name});
    applyFont(font);
}

std::optional<double> QtPrinterSurface::fontSize() const {
    if (!active())
        return std::nullopt;
    return std::round(double(points_) * 10000.0) / 10000.0;
}

std::optional<float> QtPrinterSurface::currentX() const {
    return active() ? std::optional(x_) : std::nullopt;
}

std::optional<float> QtPrinterSurface::currentY() const {
    return active() ? std::optional(y_) : std::nullopt;
}

std::optional<float> QtPrinterSurface::width() const {
    return active() ? std::optional(width_) : std::nullopt;
}

std::optional<float> QtPrinterSurface::height() const {
    return active() ? std::optional(height_) : std::nullopt;
}

std::optional<float> QtPrinterSurface::textWidth(QStringView text) const {
    if (!active())
        return std::nullopt;
    return measure(text);
}

float QtPrinterSurface::measure(QStringView text) const {
    if (text != measured_) {
        measured_ = text.toString();
        measuredWidth_ = float(metrics_.horizontalAdvance(measured_));
    }
    return measuredWidth_;
}

float QtPrinterSurface::lineHeight() const {
    return float(metrics_.lineSpacing());
}

void QtPrinterSurface::print(QStringView text) {
    if (!active())
        return;
    if (y_ > 0.0f && y_ + lineHeight() > height_)
        newPage();
    const float width = measure(text);
    if (run_.isEmpty())
        runStart_ = QPointF(x_, y_ + metrics_.ascent());
    run_ += measured_;
    x_ += width;
}

// Words printed one after another on a line are drawn as one text: shaping and drawing each
// word on its own would cost the most of the printout's time.
void QtPrinterSurface::drawRun() {
    if (run_.isEmpty())
        return;
    painter_->drawText(runStart_, run_);
    run_.clear();
}

void QtPrinterSurface::endLine() {
    if (!active())
        return;
    drawRun();
    x_ = 0.0f;
    y_ += lineHeight();
}

void QtPrinterSurface::newPage() {
    if (!active())
        return;
    drawRun();
    if (!printer_.newPage())
        return;
    x_ = 0.0f;
    y_ = 0.0f;
}

void QtPrinterSurface::endDocument() {
    if (!active())
        return;
    drawRun();
    painter_->end();
}

} // namespace print
