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
#include <QVBoxLayout>

namespace {

const QColor white(Qt::white), black(Qt::black), navy(0, 0, 64), green(0, 255, 0), blue(0, 0, 255),
    grey(132, 132, 132), boxBase(250, 240, 230);
// Box positions of palette pixels: the picture starts inside the one-pixel border.
const QPoint greenAt(49, 38), blueAt(98, 38), greyAt(11, 1);

bool isFiveBit(int value) {
    return value == ((value >> 3) << 3 | value >> 5);
}

void setBase(QWidget& widget, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Base, colour);
    widget.setPalette(palette);
}

// What showing the help must leave alone in a text box.
QVariantList state(const QPlainTextEdit& box) {
    return {box.toPlainText(), box.font(), box.palette(), box.textCursor().position()};
}

// The controls the handlers act on, wired as in the window.
struct Controls {
    QWidget window;
    QRadioButton* foreground = new QRadioButton(QStringLiteral("Foreground"));
    QRadioButton* background = new QRadioButton(QStringLiteral("Background"));
    QCheckBox* Check1 = new QCheckBox(QStringLiteral("Help"));
    Shape* Shape2 = new Shape;
    PictureBox* pCol = new PictureBox;
    QPlainTextEdit* Text2 = new QPlainTextEdit(QStringLiteral("m\u00E1 m\u00E0"));
    QPlainTextEdit* Text14 = new QPlainTextEdit(QStringLiteral("help"));

    Controls() {
        auto* layout = new QVBoxLayout(&window);
        // Option buttons and the check box answer clicks on their box and caption only.
        for (QWidget* control : std::initializer_list<QWidget*>{foreground, background, Check1})
            layout->addWidget(control, 0, Qt::AlignLeft);
        for (QWidget* control : std::initializer_list<QWidget*>{Shape2, pCol, Text2, Text14})
            layout->addWidget(control);
        Shape2->setFixedSize(142, 25);
        pCol->setPicture(PalettePicture::image());
        pCol->setFixedSize(145, 76);
        setBase(*pCol, boxBase);
        QPalette editor;
        editor.setColor(QPalette::Base, navy);
        editor.setColor(QPalette::Text, white);
        Text2->setPalette(editor);
        Text2->moveCursor(QTextCursor::End);
        Text14->setPalette(editor);
        Text14->hide();
        QObject::connect(pCol, &PictureBox::pressed, pCol, [this](QPoint position) {
            pCol_MouseDown(*pCol, position, *foreground, *Shape2, *Text2);
        });
        QObject::connect(Check1, &QCheckBox::stateChanged, Check1,
                         [this] { Check1_Click(*Check1, *Text14, *Text2); });
        window.show();
    }

    void press(QPoint position, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = {}) {
        QTest::mousePress(pCol, button, modifiers, position);
        QTest::mouseRelease(pCol, button, modifiers, position);
    }

    // Swatch (when painted in it all over), text colour, base colour and the base shown.
    QList<QColor> colours() const {
        const QImage swatch = Shape2->grab().toImage(), shown = Text2->viewport()->grab().toImage();
        QColor fill = Shape2->fillColour();
        for (QPoint at : {QPoint(0, 0), QPoint(141, 24), QPoint(70, 12)})
            fill = swatch.pixelColor(at) == fill ? fill : QColor();
        return {fill, Text2->palette().color(QPalette::Text),
                Text2->palette().color(QPalette::Base),
                shown.pixelColor(shown.width() - 2, shown.height() - 2)};
    }
};

} // namespace

class TestPalette : public QObject {
    Q_OBJECT

  private slots:
    // Grey line along the top and right; every column white on top, black at the bottom and never
    // lighter below; the middle row once round the hue circle; every channel a five-bit level.
    void picture() {
        const QImage picture = PalettePicture::image();
        QCOMPARE(picture.size(), QSize(143, 74));
        QCOMPARE(picture.depth(), 24);
        // The last is within one five-bit level of the red column of the original palette.
        const auto near = [&picture](QPoint at, const QColor& colour, int tolerance = 0) {
            const QColor got = picture.pixelColor(at);
            QVERIFY2(qAbs(got.red() - colour.red()) <= tolerance &&
                         qAbs(got.green() - colour.green()) <= tolerance &&
                         qAbs(got.blue() - colour.blue()) <= tolerance,
                     qPrintable(got.name()));
        };
        near({0, 37}, Qt::red);
        near({48, 37}, green);
        near({72, 37}, Qt::cyan);
        near({97, 37}, blue);
        near({141, 37}, QColor(255, 0, 41));
        near({142, 0}, grey);
        near({0, 16}, QColor(247, 156, 156), 8);
        const int right = picture.width() - 1, bottom = picture.height() - 1;
        int previousHue = 0;
        for (int x = 0; x <= right; ++x) {
            for (int y = 0; y <= bottom; ++y) {
                const QColor here = picture.pixelColor(x, y);
                const QColor above = y > 0 ? picture.pixelColor(x, y - 1) : here;
                const bool darker = here.red() <= above.red() && here.green() <= above.green() &&
                                    here.blue() <= above.blue();
                QVERIFY2(isFiveBit(here.red()) && isFiveBit(here.green()) &&
                             isFiveBit(here.blue()) &&
                             (y == 0 || x == right ? here == grey
                              : y == 1             ? here == white
                              : y == bottom        ? here == black
                                                   : darker),
                         qPrintable(QStringLiteral("x %1 y %2").arg(x).arg(y)));
            }
            const QColor middle = picture.pixelColor(x, 37);
            QVERIFY(x == right || (middle.saturation() == 255 && middle.value() == 255 &&
                                   middle.hsvHue() >= previousHue));
            previousHue = x == right ? previousHue : middle.hsvHue();
        }
        QVERIFY(previousHue > 340);
        // A box's colour at a position: the picture's pixel, or the box's background beyond it.
        const auto box = [&picture](QSize size, QPoint position, const QColor& colour) {
            PictureBox shown;
            shown.setPicture(picture);
            QCOMPARE(shown.sizeHint(), QSize(145, 76));
            setBase(shown, boxBase);
            shown.resize(size);
            QCOMPARE(shown.colourAt(position), colour);
        };
        box({145, 76}, {1, 1}, picture.pixelColor(0, 0));
        box({145, 76}, {143, 74}, picture.pixelColor(142, 73));
        box({165, 86}, {150, 20}, boxBase);
        box({100, 50}, {98, 48}, picture.pixelColor(97, 47));
    }

    // Any button and modifier keys pick alike: with "Foreground" the text colour, otherwise the
    // background. A press on the frame picks nothing.
    void pick() {
        using Keys = Qt::KeyboardModifiers;
        // The colours picked, of the text, of its background, and the background shown.
        const auto check = [](QRadioButton* Controls::*option, Qt::MouseButton button, Keys keys,
                              QPoint position, const QList<QColor>& colours) {
            Controls controls;
            if (option)
                QTest::mouseClick(controls.*option, Qt::LeftButton);
            controls.press(position, button, keys);
            QCOMPARE(controls.colours(), colours);
        };
        const auto fore = &Controls::foreground, back = &Controls::background;
        check(nullptr, Qt::LeftButton, {}, greenAt, {green, white, green, green});
        check(back, Qt::LeftButton, {}, greyAt, {grey, white, grey, grey});
        check(back, Qt::LeftButton, {}, {0, 5}, {black, white, navy, navy});
        check(back, Qt::LeftButton, {}, {60, 75}, {black, white, navy, navy});
        check(fore, Qt::LeftButton, {}, blueAt, {blue, blue, navy, navy});
        check(fore, Qt::RightButton, Qt::ControlModifier, greenAt, {green, green, navy, navy});
        check(fore, Qt::MiddleButton, Qt::ShiftModifier | Qt::AltModifier, greenAt,
              {green, green, navy, navy});
    }

    // The swatch shows the last pick, the text may vanish in its background, and only the press
    // acts: neither the move nor the release picks again.
    void pickSequence() {
        Controls controls;
        QCOMPARE(controls.colours().first(), black);
        controls.foreground->setChecked(true);
        controls.press(greenAt);
        controls.background->setChecked(true);
        controls.press(blueAt);
        QCOMPARE(controls.colours(), QList<QColor>({blue, green, blue, blue}));
        QTest::mousePress(controls.pCol, Qt::LeftButton, {}, greenAt);
        QTest::mouseMove(controls.pCol, blueAt);
        controls.foreground->setChecked(true);
        QTest::mouseRelease(controls.pCol, Qt::LeftButton, {}, blueAt);
        QCOMPARE(controls.colours(), QList<QColor>({green, green, green, green}));
    }

    // Neither a palette of the viewport's own nor a style sheet, the application's or the
    // editor's, may hide the pick unnoticed; without one the pick is silent.
    void nothingHidesThePickSilently() {
        const char* warning = "A style sheet applies to the editor and may hide the colour picked";
        Controls controls;
        setBase(*controls.Text2->viewport(), Qt::red);
        QTest::failOnWarning(warning);
        controls.press(blueAt);
        QCOMPARE(controls.colours().last(), blue);
        for (const QString sheet : {"QLabel { color: red; }", ""}) {
            qApp->setStyleSheet(sheet);
            controls.Text2->setStyleSheet(sheet.isEmpty() ? "QPlainTextEdit { color: red; }" : "");
            QTest::ignoreMessage(QtWarningMsg, warning);
            controls.press(greenAt);
            QCOMPARE(controls.colours()[2], green);
        }
    }

    // Ticked shows the help, cleared or greyed the editor; the click follows the box's value
    // rather than flipping what is shown, and neither box changes otherwise.
    void helpToggle() {
        const auto check = [](Qt::CheckState before, Qt::CheckState value, bool help) {
            Controls controls;
            controls.Check1->setTristate(true);
            controls.Check1->setCheckState(before);
            const QVariantList editor = state(*controls.Text2), shown = state(*controls.Text14);
            controls.Check1->setCheckState(value);
            QCOMPARE(controls.Text14->isVisible(), help);
            QCOMPARE(controls.Text2->isVisible(), !help);
            QCOMPARE(state(*controls.Text2), editor);
            QCOMPARE(state(*controls.Text14), shown);
        };
        check(Qt::Unchecked, Qt::Checked, true);
        check(Qt::Checked, Qt::Unchecked, false);
        check(Qt::Checked, Qt::PartiallyChecked, false);
        check(Qt::Unchecked, Qt::PartiallyChecked, false);
    }
};

QTEST_MAIN(TestPalette)
#include "tst_palette.moc"
