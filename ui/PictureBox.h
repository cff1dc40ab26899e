#pragma once

#include <QImage>
#include <QWidget>

class QColor;
class QPoint;

// A box that shows a picture at its top-left corner inside a flat one-pixel border, with the
// window background colour where the picture does not reach, and reports every mouse press inside
// the border.
class PictureBox : public QWidget {
    Q_OBJECT

  public:
    explicit PictureBox(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);

    // The colour shown at `position`, in the box's own pixels. The border counts as background, so
    // a press anywhere in the box yields the picture's pixel or the background colour.
    QColor colourAt(QPoint position) const;
    QColor backgroundColour() const;

    QSize sizeHint() const override;

  signals:
    // Any button, any modifier keys; only the press is reported, and none on the border.
    void pressed(QPoint position);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    static constexpr int border = 1;

    QRect drawingArea() const;

    QImage picture_;
};
