#pragma once

#include <QImage>
#include <QWidget>

class QColor;
class QPoint;

// A box that shows a picture at its top-left corner inside a flat one-pixel border, with the
// window background colour where the picture does not reach, and reports every mouse press inside
// the border. From the keyboard, the arrow keys move a marker over the picture while the box has
// the focus (Shift for single pixels), and Enter or Space reports a press under the marker, so the
// picture is as usable without a mouse; the marker's colour is the box's accessible description.
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
    // The keyboard's marker in the box's own pixels, as a press there would report it.
    QPoint marker() const { return marker_ + QPoint(border, border); }

  signals:
    // Any button, any modifier keys; only the press is reported, and none on the border.
    void pressed(QPoint position);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    static constexpr int border = 1;
    static constexpr int markerStep = 4;

    QRect drawingArea() const;
    void moveMarker(QPoint by);
    void describeMarker();

    QImage picture_;
    QPoint marker_; // in the picture's pixels
};
