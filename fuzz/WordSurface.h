#pragma once

#include "print/PrinterSurface.h"

#include <array>
#include <vector>

// A printer that keeps every text the job asks it to print, whether or not printing it fails, and
// fails the operations it is told to on a fixed rhythm. Every character is `charWidth` twips wide
// but the blank, which is half that; a line is 300 twips high. While nothing fails it checks the
// wrapping as it goes: a word runs past the right edge only at the start of a line, and a page
// starts only when less than the font's size in points is left below.
class WordSurface final : public print::PrinterSurface {
  public:
    enum Operation {
        SetFontSize,
        SetFontName,
        FontSize,
        CurrentX,
        CurrentY,
        Width,
        Height,
        TextWidth,
        Print,
        EndLine,
        NewPage,
        EndDocument,
        operationCount
    };
    enum class Event { None, Print, EndLine, NewPage, EndDocument };

    WordSurface(float width, float height, float charWidth)
        : width_(width), height_(height), charWidth_(charWidth) {}

    // From now on `operation` fails on every `period`-th call (1: always).
    void failEvery(Operation operation, int period);

    const std::vector<QString>& words() const { return words_; }
    const std::vector<Event>& events() const { return events_; }

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
    bool fails(Operation operation) const;
    template <typename T> std::optional<T> answer(Operation operation, T value) const;
    float measure(QStringView text) const;
    Event lastEvent() const { return events_.empty() ? Event::None : events_.back(); }

    float width_;
    float height_;
    float charWidth_;
    float x_ = 0.0f;
    float y_ = 0.0f;
    double points_ = 8.25;
    bool failing_ = false;
    std::array<int, operationCount> periods_{};
    mutable std::array<long, operationCount> calls_{};
    std::vector<QString> words_;
    std::vector<Event> events_;
};
