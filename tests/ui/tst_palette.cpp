#include "TestSupport.h"
#include "ui/Check1_Click.h"
#include "ui/PalettePicture.h"
#include "ui/PictureBox.h"
#include "ui/Shape.h"
#include "ui/pCol_MouseDown.h"

#include <QApplication>
#include <QCheckBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>

const QColor white(Qt::white), black(Qt::black), green(0, 255, 0), blue(0, 0, 255),
    grey(132, 132, 132);

class TestPalette : public QObject {
    Q_OBJECT

  private slots:
    void middleRow_data() {
        columns<int, QString>({"x", "colour"});
        QTest::addRow("red at the left") << 0 << "#ff0000";
        QTest::addRow("green a third across") << 48 << "#00ff00";
        QTest::addRow("cyan at the middle") << 72 << "#00ffff";
        QTest::addRow("blue two thirds across") << 97 << "#0000ff";
        QTest::addRow("red turning to magenta at the right") << 141 << "#ff0029";
    }
    void middleRow() {
        QCOMPARE(PalettePicture::image().pixelColor(cell<int>("x"), 37).name(),
                 cell<QString>("colour"));
    }
    // Grey lines at the top and right; columns white below, black at the bottom, never lighter
    // downwards, the original's tint of red above the middle row; five-bit levels.
    void picture() {
        const QImage p = PalettePicture::image();
        QCOMPARE(p.size(), QSize(143, 74));
        const QColor tint = p.pixelColor(0, 16);
        QVERIFY(qAbs(tint.red() - 247) + qAbs(tint.green() - 156) + qAbs(tint.blue() - 156) <= 8);
        for (int x = 0; x <= 142; ++x) {
            for (int y = 0; y <= 73; ++y) {
                const QColor c = p.pixelColor(x, y), up = p.pixelColor(x, qMax(y - 1, 0));
                const bool darker =
                    c.red() <= up.red() && c.green() <= up.green() && c.blue() <= up.blue();
                bool ok = y == 0 || x == 142 ? c == grey
                          : y == 1           ? c == white
                          : y == 73          ? c == black
                                             : darker;
                for (const int v : {c.red(), c.green(), c.blue()})
                    ok = ok && v == ((v >> 3) << 3 | v >> 5);
                QVERIFY2(ok, qPrintable(QStringLiteral("x %1 y %2").arg(x).arg(y)));
            }
        }
    }

    // Any button picks the background, or with "Foreground" the text colour, shown in the swatch;
    // the frame and a release pick nothing; style sheets are reported; a viewport palette follows.
    void pick() {
        const char* warning = "A style sheet applies to the editor and may hide the colour picked";
        QWidget window; // wired as in the window
        auto* foreground = new QRadioButton(&window);
        auto* Shape2 = new Shape(&window);
        auto* pCol = new PictureBox(&window);
        auto* Text2 = new QPlainTextEdit(&window);
        pCol->setPicture(PalettePicture::image());
        pCol->resize(145, 76);
        connect(pCol, &PictureBox::pressed, pCol,
                [&](QPoint at) { pCol_MouseDown(*pCol, at, *foreground, *Shape2, *Text2); });
        // A press released elsewhere: the swatch's corner, text and base colours, the base shown.
        const auto step = [&](QPoint at, const QList<QColor>& colours,
                              Qt::MouseButton button = Qt::LeftButton,
                              Qt::KeyboardModifiers keys = {}) {
            QTest::mousePress(pCol, button, keys, at);
            QTest::mouseMove(pCol, {20, 60});
            QTest::mouseRelease(pCol, button, keys, {20, 60});
            const QImage swatch = Shape2->grab().toImage(),
                         shown = Text2->viewport()->grab().toImage();
            QCOMPARE(QList<QColor>({swatch.pixelColor(0, 0), Text2->palette().text().color(),
                                    Text2->palette().base().color(),
                                    shown.pixelColor(shown.width() - 2, shown.height() - 2)}),
                     colours);
        };
        QTest::failOnWarning(warning);
        step({0, 5}, {black, black, white, white});
        step({49, 38}, {green, black, green, green});
        step({11, 1}, {grey, black, grey, grey});
        Text2->viewport()->setPalette(QPalette(Qt::red));
        step({98, 38}, {blue, black, blue, blue});
        pCol->resize(165, 86); // the box's own background where the picture ends
        step({150, 20}, {white, black, white, white});
        foreground->setChecked(true);
        step({98, 38}, {blue, blue, white, white});
        step({49, 38}, {green, green, white, white}, Qt::RightButton, Qt::ControlModifier);
        for (const QString sheet : {"QLabel { color: red; }", ""}) {
            qApp->setStyleSheet(sheet);
            Text2->setStyleSheet(sheet.isEmpty() ? "QLabel { color: red; }" : "");
            QTest::ignoreMessage(QtWarningMsg, warning);
            step({11, 1}, {grey, grey, white, white});
        }
    }

    // From the keyboard: the arrows move the marker four pixels, or one with Shift, never off the
    // picture; Enter, Return and Space pick under it as a press there would, the arrows alone
    // nothing. The marker's colour is the box's accessible description.
    void keys_data() {
        columns<QList<QKeyCombination>, QPoint>({"keys", "picked"});
        const QKeyCombination shiftLeft(Qt::ShiftModifier, Qt::Key_Left);
        QTest::addRow("Space at the centre")
            << QList<QKeyCombination>{Qt::Key_Space} << QPoint(72, 37);
        QTest::addRow("four pixels a key")
            << QList<QKeyCombination>{Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Return}
            << QPoint(80, 41);
        QTest::addRow("one pixel with Shift")
            << QList<QKeyCombination>{shiftLeft, Qt::Key_Up, Qt::Key_Enter} << QPoint(71, 33);
        QTest::addRow("stops at the edge")
            << QList<QKeyCombination>(40, Qt::Key_Left) + QList<QKeyCombination>{Qt::Key_Space}
            << QPoint(1, 37);
        QTest::addRow("arrows alone pick nothing")
            << QList<QKeyCombination>{Qt::Key_Right, Qt::Key_Down} << QPoint();
    }
    void keys() {
        PictureBox pCol;
        pCol.setPicture(PalettePicture::image());
        QList<QPoint> presses;
        connect(&pCol, &PictureBox::pressed, &pCol, [&](QPoint at) { presses << at; });
        for (const QKeyCombination key : cell<QList<QKeyCombination>>("keys"))
            QTest::keyClick(&pCol, key.key(), key.keyboardModifiers());
        const QPoint picked = cell<QPoint>("picked");
        QCOMPARE(presses, picked.isNull() ? QList<QPoint>() : QList<QPoint>{picked});
        QVERIFY(pCol.accessibleDescription().endsWith(pCol.colourAt(pCol.marker()).name()));
    }

    // Ticked shows the help in the editor's place, cleared or greyed the editor, following the
    // box's value, not flipping what is shown.
    void helpToggle() {
        QWidget window, *Text14 = new QWidget(&window), *Text2 = new QWidget(&window);
        QCheckBox Check1;
        for (const int value : {2, 1, 1, 2, 0}) {
            Check1.setCheckState(Qt::CheckState(value));
            Check1_Click(Check1, *Text14, *Text2);
            QVERIFY(Text14->isHidden() != (value == 2) && Text2->isHidden() == (value == 2));
        }
    }
};

QTEST_MAIN(TestPalette)
#include "tst_palette.moc"
