#pragma once

#include "print/PrinterSurface.h"

#include <QHash>
#include <QString>

// A printer of paper-tape simplicity that writes down what reaches the paper: "[word]" for each
// printed text, "/" for a line end, "#" for a new page and "$" for the end of the document.
// Every character is 100 twips wide but the blank, which is 50; a line is 300 twips high.
// Any operation can be made to fail always or on one call only.
class RecordingSurface final : public print::PrinterSurface {
  public:
    static constexpr float charWidth = 100.0f;
    static constexpr float blankWidth = 50.0f;
    static constexpr float lineHeight = 300.0f;

    RecordingSurface(float width, float height) : width_(width), height_(height) {}

    // `call` counts from 1; 0 makes every call fail.
    void failOn(const QString& operation, int call = 0) { failures_[operation] = call; }

    const QString& log() const { return log_; }
    const QStringList& fontLog() const { return fontLog_; }
    qsizetype printedCount() const { return printedCount_; }
    qsizetype lineEnds() const { return lineEnds_; }

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
    static float measure(QStringView text);
    bool fails(const QString& operation) const;
    template <typename T> std::optional<T> answer(const QString& operation, T value) const;

    float width_;
    float height_;
    float x_ = 0.0f;
    float y_ = 0.0f;
    double points_ = 8.25;
    QString log_;
    QStringList fontLog_;
    qsizetype printedCount_ = 0;
    qsizetype lineEnds_ = 0;
    QHash<QString, int> failures_;
    mutable QHash<QString, int> calls_;
};
