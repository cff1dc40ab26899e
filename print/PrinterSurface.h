#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace print {

// What the word wrapping needs of a printer. Positions and sizes are in twips, counted from the
// top left corner of the drawing area. A query that fails gives no value; an action that fails
// does nothing, and the caller goes on as if it had done its work.
class PrinterSurface {
  public:
    virtual ~PrinterSurface() = default;

    virtual void setFontSize(float points) = 0;
    virtual void setFontName(const QString& name) = 0;
    // The size of the font in use, which may differ from the size last asked for.
    virtual std::optional<double> fontSize() const = 0;

    virtual std::optional<float> currentX() const = 0;
    virtual std::optional<float> currentY() const = 0;
    virtual std::optional<float> width() const = 0;
    virtual std::optional<float> height() const = 0;
    virtual std::optional<float> textWidth(QStringView text) const = 0;

    // Prints at the current position and leaves it at the end of the text, on the same line.
    virtual void print(QStringView text) = 0;
    virtual void endLine() = 0;
    virtual void newPage() = 0;
    virtual void endDocument() = 0;
};

} // namespace print
