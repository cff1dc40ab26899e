#include "WordSurface.h"

#include "FuzzInput.h"

void WordSurface::failEvery(Operation operation, int period) {
    periods_[operation] = period;
    failing_ = failing_ || period > 0;
}

bool WordSurface::fails(Operation operation) const {
    const long call = ++calls_[operation];
    return periods_[operation] > 0 && call % periods_[operation] == 0;
}

template <typename T> std::optional<T> WordSurface::answer(Operation operation, T value) const {
    if (fails(operation))
        return std::nullopt;
    return value;
}

void WordSurface::setFontSize(float points) {
    if (!fails(SetFontSize))
        points_ = points;
}

void WordSurface::setFontName(const QString&) {
    fails(SetFontName);
}

std::optional<double> WordSurface::fontSize() const {
    return answer(FontSize, points_);
}

std::optional<float> WordSurface::currentX() const {
    return answer(CurrentX, x_);
}

std::optional<float> WordSurface::currentY() const {
    return answer(CurrentY, y_);
}

std::optional<float> WordSurface::width() const {
    return answer(Width, width_);
}

std::optional<float> WordSurface::height() const {
    return answer(Height, height_);
}

std::optional<float> WordSurface::textWidth(QStringView text) const {
    return answer(TextWidth, measure(text));
}

float WordSurface::measure(QStringView text) const {
    const auto blanks = text.count(u' ');
    return float(text.size() - blanks) * charWidth_ + float(blanks) * charWidth_ / 2;
}

void WordSurface::print(QStringView text) {
    words_.emplace_back(text.toString());
    const Event before = lastEvent();
    events_.push_back(Event::Print);
    if (fails(Print))
        return;
    const float end = x_ + measure(text);
    if (!failing_ && end > width_)
        fuzz::require(before == Event::EndLine || before == Event::NewPage,
                      "a word runs past the edge only on a line of its own");
    x_ = end;
}

void WordSurface::endLine() {
    events_.push_back(Event::EndLine);
    if (fails(EndLine))
        return;
    x_ = 0.0f;
    y_ += 300.0f;
}

void WordSurface::newPage() {
    fuzz::require(lastEvent() == Event::EndLine, "a page starts only after a line end");
    if (!failing_)
        fuzz::require(y_ + points_ > height_, "a page starts only when the page is full");
    events_.push_back(Event::NewPage);
    if (fails(NewPage))
        return;
    x_ = 0.0f;
    y_ = 0.0f;
}

void WordSurface::endDocument() {
    events_.push_back(Event::EndDocument);
    fails(EndDocument);
}
