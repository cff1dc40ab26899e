#include "ui/PalettePicture.h"
#include "ui/PictureBox.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// The box of the window: the picture and one pixel of border on every side.
constexpr QSize boxSize(145, 76);

} // namespace

class TestPictureBox : public QObject {
    Q_OBJECT

    QImage picture_ = PalettePicture::image();

    void show(PictureBox& box, QSize size = boxSize) {
        box.setPicture(picture_);
        box.resize(size);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
    }

  private slots:
    void fitsThePictureAndItsBorder() {
        PictureBox box;
        box.setPicture(picture_);
        QCOMPARE(box.sizeHint(), boxSize);
    }

    void colourAt_data() {
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<QPoint>("pixel"); // of the picture; (-1, -1) for the background

        const QPoint background(-1, -1);
        QTest::newRow("first pixel") << QPoint(1, 1) << QPoint(0, 0);
        QTest::newRow("red") << QPoint(1, 38) << QPoint(0, 37);
        QTest::newRow("green") << QPoint(49, 38) << QPoint(48, 37);
        QTest::newRow("grey corner") << QPoint(143, 1) << QPoint(142, 0);
        QTest::newRow("last pixel") << QPoint(143, 74) << QPoint(142, 73);
        QTest::newRow("top left border") << QPoint(0, 0) << background;
        QTest::newRow("left border") << QPoint(0, 30) << background;
        QTest::newRow("right border") << QPoint(144, 30) << background;
        QTest::newRow("bottom border") << QPoint(60, 75) << background;
        QTest::newRow("outside the box") << QPoint(-5, 200) << background;
    }
    void colourAt() {
        QFETCH(QPoint, position);
        QFETCH(QPoint, pixel);
        PictureBox box;
        box.setPicture(picture_);
        box.resize(boxSize);
        const QColor expected =
            pixel.x() < 0 ? box.palette().color(QPalette::Base) : picture_.pixelColor(pixel);
        QCOMPARE(box.colourAt(position), expected);
    }

    void backgroundWhereThePictureDoesNotReach() {
        PictureBox box;
        QPalette palette = box.palette();
        palette.setColor(QPalette::Base, QColor(10, 200, 30));
        box.setPalette(palette);
        show(box, boxSize + QSize(20, 10));
        QCOMPARE(box.backgroundColour(), QColor(10, 200, 30));
        QCOMPARE(box.colourAt(QPoint(150, 20)), QColor(10, 200, 30));
        QCOMPARE(box.colourAt(QPoint(20, 80)), QColor(10, 200, 30));
        const QImage shown = box.grab().toImage();
        QCOMPARE(shown.pixelColor(150, 20), QColor(10, 200, 30));
        QCOMPARE(shown.pixelColor(20, 80), QColor(10, 200, 30));
    }

    void borderCountsAsBackgroundOverACutPicture() {
        PictureBox box;
        box.setPicture(picture_);
        box.resize(100, 50);
        const QColor background = box.palette().color(QPalette::Base);
        QCOMPARE(box.colourAt(QPoint(99, 20)), background);
        QCOMPARE(box.colourAt(QPoint(40, 49)), background);
        QCOMPARE(box.colourAt(QPoint(98, 48)), picture_.pixelColor(97, 47));
    }

    // What the box reports must be what the user sees under the pointer.
    void showsWhatItReports() {
        PictureBox box;
        show(box, boxSize + QSize(6, 6));
        const QImage shown = box.grab().toImage();
        QCOMPARE(shown.size(), box.size());
        const QRect inside = box.rect().adjusted(1, 1, -1, -1);
        for (int y = inside.top(); y <= inside.bottom(); ++y) {
            for (int x = inside.left(); x <= inside.right(); ++x)
                QCOMPARE(shown.pixelColor(x, y), box.colourAt(QPoint(x, y)));
        }
    }

    void flatOnePixelBorder() {
        PictureBox box;
        show(box);
        const QImage shown = box.grab().toImage();
        const QColor line = box.palette().color(QPalette::WindowText);
        for (int x = 0; x < boxSize.width(); ++x) {
            QCOMPARE(shown.pixelColor(x, 0), line);
            QCOMPARE(shown.pixelColor(x, boxSize.height() - 1), line);
        }
        for (int y = 0; y < boxSize.height(); ++y) {
            QCOMPARE(shown.pixelColor(0, y), line);
            QCOMPARE(shown.pixelColor(boxSize.width() - 1, y), line);
        }
    }

    void reportsEveryPress_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<QPoint>("position");

        const QPoint green(49, 38);
        QTest::newRow("left") << Qt::LeftButton << Qt::KeyboardModifiers() << green;
        QTest::newRow("right") << Qt::RightButton << Qt::KeyboardModifiers() << green;
        QTest::newRow("middle") << Qt::MiddleButton << Qt::KeyboardModifiers() << green;
        QTest::newRow("right with all")
            << Qt::RightButton
            << Qt::KeyboardModifiers(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)
            << QPoint(2, 2);
        QTest::newRow("on the border") << Qt::LeftButton << Qt::KeyboardModifiers() << QPoint(0, 5);
    }
    void reportsEveryPress() {
        QFETCH(Qt::MouseButton, button);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(QPoint, position);
        PictureBox box;
        show(box);
        QSignalSpy pressed(&box, &PictureBox::pressed);
        QTest::mousePress(&box, button, modifiers, position);
        QCOMPARE(pressed.count(), 1);
        QCOMPARE(pressed.at(0).at(0).toPoint(), position);
        QTest::mouseRelease(&box, button, modifiers, position);
        QCOMPARE(pressed.count(), 1);
    }

    void moveAndReleaseReportNothing() {
        PictureBox box;
        show(box);
        QSignalSpy pressed(&box, &PictureBox::pressed);
        QTest::mouseMove(&box, QPoint(10, 10));
        QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(pressed.count(), 0);
    }
};

QTEST_MAIN(TestPictureBox)
#include "tst_picturebox.moc"
