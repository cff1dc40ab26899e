#include "RecordingSurface.h"

bool RecordingSurface::fails(const QString& operation) const {
    const int call = ++calls_[operation];
    const auto failure = failures_.constFind(operation);
    return failure != failures_.constEnd() && (*failure == 0 || *failure == call);
}

template <typename T>
std::optional<T> RecordingSurface::answer(const QString& operation, T value) const {
    if (fails(operation))
        return std::nullopt;
    return value;
}

void RecordingSurface::setFontSize(float points) {
    if (fails("setFontSize"))
        return;
    points_ = points;
    fontLog_ << QStringLiteral("size %1").arg(points);
}

void RecordingSurface::setFontName(const QString& name) {
    if (!fails("setFontName"))
        fontLog_ << QStringLiteral("name %1").arg(name);
}

std::optional<double> RecordingSurface::fontSize() const {
    return answer("fontSize", points_);
}

std::optional<float> RecordingSurface::currentX() const {
    return answer("currentX", x_);
}

std::optional<float> RecordingSurface::currentY() const {
    return answer("currentY", y_);
}

std::optional<float> RecordingSurface::width() const {
    return answer("width", width_);
}

std::optional<float> RecordingSurface::height() const {
    return answer("height", height_);
}

float RecordingSurface::measure(QStringView text) {
    const qsizetype blanks = text.count(u' ');
    return float(text.size() - blanks) * charWidth + float(blanks) * blankWidth;
}

std::optional<float> RecordingSurface::textWidth(QStringView text) const {
    return answer("textWidth", measure(text));
}

void RecordingSurface::print(QStringView text) {
    if (fails("print"))
        return;
    x_ += measure(text);
    log_ += u'[';
    log_ += text;
    log_ += u']';
    ++printedCount_;
}

void RecordingSurface::endLine() {
    if (fails("endLine"))
        return;
    x_ = 0.0f;
    y_ += lineHeight;
    log_ += u'/';
    ++lineEnds_;
}

void RecordingSurface::newPage() {
    if (fails("newPage"))
        return;
    x_ = 0.0f;
    y_ = 0.0f;
    log_ += u'#';
}

void RecordingSurface::endDocument() {
    if (!fails("endDocument"))
        log_ += u'$';
}
