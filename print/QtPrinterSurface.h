#pragma once

#include "PrinterSurface.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPointF>

#include <memory>

class QPagedPaintDevice;
class QPainter;

namespace print {

// A printer surface over a QPrinter or a QPdfWriter, painted in twips (1440 to the inch) so that
// positions and widths mean on paper what they mean to the word wrapping. A line that would run
// below the bottom of the drawing area goes to the top of a new page, so no text is lost off the
// paper. When painting cannot start, every step fails.
class QtPrinterSurface final : public PrinterSurface {
  public:
    static constexpr double twipsPerInch = 1440.0;
    static constexpr double twipsPerPoint = 20.0;
    // Far beyond any page, and small enough that a size in twips stays a plain int.
    static constexpr float maxPoints = 10000.0f;

    explicit QtPrinterSurface(QPagedPaintDevice& printer);
    ~QtPrinterSurface() override;

    bool started() const { return started_; }

    void setFontSize(float points) override;
    void setFontName(const QString& name) override;
    std::optional<double> fontSize() const override;

    std::optional<float> currentX() const override;
    std::optional<float> currentY() const override;
    std::optional<float> width() const override;
    std::optional<float> height() const override;
    std::optional<float> textWidth(QStringView text) const override;

    void print(QStringView text) override;
    void endLine() override;
    void newPage() override;
    void endDocument() override;

  private:
    bool active() const;
    float lineHeight() const;
    float measure(QStringView text) const;
    void applyFont(const QFont& font);
    void drawRun();

    QPagedPaintDevice& printer_;
    std::unique_ptr<QPainter> painter_;
    QFont font_;
    QFontMetricsF metrics_{font_};
    // The wrapping measures each word just before printing it: shaping it once is enough.
    mutable QString measured_;
    mutable float measuredWidth_ = 0.0f;
    QString run_;
    QPointF runStart_;
    float points_ = 0.0f;
    float x_ = 0.0f;
    float y_ = 0.0f;
    float width_ = 0.0f;
    float height_ = 0.0f;
    bool started_ = false;
};

} // namespace print
