#include "ui/PalettePicture.h"

#include <QColor>
#include <QImage>
#include <QTest>

namespace {

constexpr int fieldRight = 141;
constexpr int lastRow = 73;
constexpr int grey = 132;

QColor at(const QImage& image, int x, int y) {
    return image.pixelColor(x, y);
}

bool isWidenedFiveBit(int value) {
    const int level = value >> 3;
    return value == (level << 3 | level >> 2);
}

} // namespace

class TestPalettePicture : public QObject {
    Q_OBJECT

    QImage image_ = PalettePicture::image();

  private slots:
    void isA24BitPictureOfTheBoxSize() {
        QCOMPARE(image_.size(), QSize(143, 74));
        QCOMPARE(image_.depth(), 24);
        QVERIFY(!image_.hasAlphaChannel());
    }

    void namedPixels_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<QColor>("colour");

        QTest::newRow("red") << 0 << 37 << QColor(255, 0, 0);
        QTest::newRow("yellow from") << 23 << 37 << QColor(255, 255, 0);
        QTest::newRow("yellow") << 24 << 37 << QColor(255, 255, 0);
        QTest::newRow("yellow to") << 25 << 37 << QColor(255, 255, 0);
        QTest::newRow("green") << 48 << 37 << QColor(0, 255, 0);
        QTest::newRow("cyan") << 72 << 37 << QColor(0, 255, 255);
        QTest::newRow("blue") << 97 << 37 << QColor(0, 0, 255);
        QTest::newRow("magenta from") << 120 << 37 << QColor(255, 0, 255);
        QTest::newRow("magenta to") << 122 << 37 << QColor(255, 0, 255);
        QTest::newRow("almost red") << 141 << 37 << QColor(255, 0, 41);
        QTest::newRow("red above middle") << 0 << 36 << QColor(255, 0, 0);
        QTest::newRow("red below middle") << 0 << 38 << QColor(255, 0, 0);
        QTest::newRow("green above middle") << 48 << 36 << QColor(0, 255, 0);
        QTest::newRow("blue below middle") << 97 << 38 << QColor(0, 0, 255);
        QTest::newRow("black under red") << 0 << 73 << QColor(0, 0, 0);
        QTest::newRow("black under cyan") << 72 << 73 << QColor(0, 0, 0);
        QTest::newRow("grey corner") << 142 << 0 << QColor(grey, grey, grey);
        QTest::newRow("grey bottom right") << 142 << 73 << QColor(grey, grey, grey);
    }
    void namedPixels() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(QColor, colour);
        QCOMPARE(at(image_, x, y), colour);
    }

    void greyLineAlongTopAndRight() {
        for (int x = 0; x < image_.width(); ++x)
            QCOMPARE(at(image_, x, 0), QColor(grey, grey, grey));
        for (int y = 0; y < image_.height(); ++y)
            QCOMPARE(at(image_, 142, y), QColor(grey, grey, grey));
    }

    void everyColumnStartsWhiteAndEndsBlack() {
        for (int x = 0; x <= fieldRight; ++x) {
            QCOMPARE(at(image_, x, 1), QColor(Qt::white));
            QCOMPARE(at(image_, x, lastRow), QColor(Qt::black));
        }
    }

    // Tints fade towards the hue and shades darken it, so no channel ever grows going down.
    void everyColumnDarkensDownwards() {
        for (int x = 0; x <= fieldRight; ++x) {
            for (int y = 2; y <= lastRow; ++y) {
                const QColor above = at(image_, x, y - 1);
                const QColor here = at(image_, x, y);
                QVERIFY2(here.red() <= above.red() && here.green() <= above.green() &&
                             here.blue() <= above.blue(),
                         qPrintable(QStringLiteral("x %1 y %2").arg(x).arg(y)));
            }
        }
    }

    void middleRowTurnsOnceRoundTheHueCircle() {
        int previousHue = 0;
        for (int x = 0; x <= fieldRight; ++x) {
            const QColor colour = at(image_, x, 37);
            QCOMPARE(colour.saturation(), 255);
            QCOMPARE(colour.value(), 255);
            QVERIFY2(colour.hsvHue() >= previousHue, qPrintable(QString::number(x)));
            previousHue = colour.hsvHue();
        }
        QVERIFY(previousHue > 340);
    }

    void redColumnCloseToTheMeasuredSamples_data() {
        QTest::addColumn<int>("y");
        QTest::addColumn<QColor>("sample");

        QTest::newRow("4") << 4 << QColor(255, 239, 239);
        QTest::newRow("16") << 16 << QColor(247, 156, 156);
        QTest::newRow("28") << 28 << QColor(255, 66, 66);
        QTest::newRow("44") << 44 << QColor(206, 0, 0);
        QTest::newRow("52") << 52 << QColor(148, 0, 0);
        QTest::newRow("60") << 60 << QColor(82, 8, 8);
        QTest::newRow("68") << 68 << QColor(33, 8, 8);
    }
    void redColumnCloseToTheMeasuredSamples() {
        QFETCH(int, y);
        QFETCH(QColor, sample);
        const QColor colour = at(image_, 0, y);
        const int oneLevel = 8;
        QVERIFY(std::abs(colour.red() - sample.red()) <= oneLevel);
        QVERIFY(std::abs(colour.green() - sample.green()) <= oneLevel);
        QVERIFY(std::abs(colour.blue() - sample.blue()) <= oneLevel);
    }

    void everyChannelIsAFiveBitLevel() {
        for (int y = 0; y < image_.height(); ++y) {
            for (int x = 0; x < image_.width(); ++x) {
                const QColor colour = at(image_, x, y);
                QVERIFY2(isWidenedFiveBit(colour.red()) && isWidenedFiveBit(colour.green()) &&
                             isWidenedFiveBit(colour.blue()),
                         qPrintable(QStringLiteral("x %1 y %2").arg(x).arg(y)));
            }
        }
    }

    void sameEveryTime() { QCOMPARE(PalettePicture::image(), image_); }
};

QTEST_GUILESS_MAIN(TestPalettePicture)
#include "tst_palettepicture.moc"
