#pragma once

#include <QColor>
#include <QWidget>

// A rectangle filled with one solid colour; a swatch to look at, never focused, whose colour is
// its accessible description.
class Shape : public QWidget {
    Q_OBJECT

  public:
    explicit Shape(QWidget* parent = nullptr);

    void setFillColour(const QColor& colour);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QColor fill_{Qt::black};
};
