#include "ui/Check1_Click.h"
#include "ui/PalettePicture.h"
#include "ui/PictureBox.h"
#include "ui/Shape.h"
#include "ui/pCol_MouseDown.h"

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

    QColor text() const { return Text2->palette().color(QPalette::Text); }
    QColor base() const { return Text2->palette().color(QPalette::Base); }
    QColor shownBehindText() const {
        const QImage shown = Text2->viewport()->grab().toImage();
        return shown.pixelColor(shown.width() - 2, shown.height() - 2);
    }
    // The swatch's colour when it is painted in it all over, otherwise no colour.
    QColor swatch() const {
        const QImage shown = Shape2->grab().toImage();
        for (QPoint at : {QPoint(0, 0), QPoint(141, 24), QPoint(70, 12)}) {
            if (shown.pixelColor(at) != Shape2->fillColour())
                return {};
        }
        return Shape2->fillColour();
    }
    QString shown() const {
        if (Text14->isVisible() == Text2->isVisible())
            return "both or neither";
        return Text14->isVisible() ? "help" : "editor";
    }
};

} // namespace

class TestPalette : public QObject {
    Q_OBJECT

    const QImage picture_ = PalettePicture::image();

  private slots:
    void pictureIs24BitAndFitsTheBox() {
        QCOMPARE(picture_.size(), QSize(143, 74));
        QCOMPARE(picture_.depth(), 24);
        PictureBox box;
        box.setPicture(picture_);
        QCOMPARE(box.sizeHint(), QSize(145, 76));
    }

    void picturePixels_data() {
        QTest::addColumn<QPoint>("pixel");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<int>("tolerance");
        QTest::newRow("red") << QPoint(0, 37) << QColor(255, 0, 0) << 0;
        QTest::newRow("green") << QPoint(48, 37) << green << 0;
        QTest::newRow("cyan") << QPoint(72, 37) << QColor(0, 255, 255) << 0;
        QTest::newRow("blue") << QPoint(97, 37) << blue << 0;
        QTest::newRow("almost red") << QPoint(141, 37) << QColor(255, 0, 41) << 0;
        QTest::newRow("grey corner") << QPoint(142, 0) << grey << 0;
        // Within one five-bit level of the red column measured on the original palette.
        QTest::newRow("red 16") << QPoint(0, 16) << QColor(247, 156, 156) << 8;
    }
    void picturePixels() {
        QCOMPARE(picture_.size(), QSize(143, 74));
        QFETCH(QPoint, pixel);
        QFETCH(QColor, colour);
        QFETCH(int, tolerance);
        const QColor got = picture_.pixelColor(pixel);
        QVERIFY2(qAbs(got.red() - colour.red()) <= tolerance &&
                     qAbs(got.green() - colour.green()) <= tolerance &&
                     qAbs(got.blue() - colour.blue()) <= tolerance,
                 qPrintable(got.name()));
    }

    // Grey line along the top and right; every column white on top, black at the bottom and never
    // lighter below; the middle row once round the hue circle; every channel a five-bit level.
    void everyPixel() {
        const int right = picture_.width() - 1, bottom = picture_.height() - 1;
        int previousHue = 0;
        for (int x = 0; x <= right; ++x) {
            for (int y = 0; y <= bottom; ++y) {
                const QColor here = picture_.pixelColor(x, y);
                const QColor above = y > 0 ? picture_.pixelColor(x, y - 1) : here;
                const QByteArray where = QStringLiteral("x %1 y %2").arg(x).arg(y).toLatin1();
                QVERIFY2(isFiveBit(here.red()) && isFiveBit(here.green()) && isFiveBit(here.blue()),
                         where);
                if (y == 0 || x == right)
                    QVERIFY2(here == grey, where);
                else if (y == 1 || y == bottom)
                    QVERIFY2(here == (y == 1 ? white : black), where);
                else
                    QVERIFY2(here.red() <= above.red() && here.green() <= above.green() &&
                                 here.blue() <= above.blue(),
                             where);
            }
            const QColor middle = picture_.pixelColor(x, 37);
            if (x < right) {
                QVERIFY(middle.saturation() == 255 && middle.value() == 255);
                QVERIFY2(middle.hsvHue() >= previousHue, qPrintable(QString::number(x)));
                previousHue = middle.hsvHue();
            }
        }
        QVERIFY(previousHue > 340);
    }

    void boxColourAt_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<QPoint>("pixel"); // of the picture; (-1, -1) for the box background
        const QSize fits(145, 76), cut(100, 50);
        const QPoint none(-1, -1);
        QTest::newRow("first pixel") << fits << QPoint(1, 1) << QPoint(0, 0);
        QTest::newRow("last pixel") << fits << QPoint(143, 74) << QPoint(142, 73);
        QTest::newRow("beyond the picture") << QSize(165, 86) << QPoint(150, 20) << none;
        QTest::newRow("inside a cut picture") << cut << QPoint(98, 48) << QPoint(97, 47);
    }
    void boxColourAt() {
        QFETCH(QSize, size);
        QFETCH(QPoint, position);
        QFETCH(QPoint, pixel);
        PictureBox box;
        box.setPicture(picture_);
        setBase(box, boxBase);
        box.resize(size);
        QCOMPARE(box.colourAt(position), pixel.x() < 0 ? boxBase : picture_.pixelColor(pixel));
    }

    // Any button and modifier keys pick alike: with "Foreground" the text colour, otherwise the
    // background. A press on the frame picks nothing.
    void pick_data() {
        using Keys = Qt::KeyboardModifiers;
        QTest::addColumn<QString>("option");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<Keys>("keys");
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<QColor>("picked");
        QTest::addColumn<QColor>("text");
        QTest::addColumn<QColor>("base");
        const QString fore = "foreground";
        QTest::newRow("no option")
            << "" << Qt::LeftButton << Keys() << greenAt << green << white << green;
        QTest::newRow("background")
            << "background" << Qt::LeftButton << Keys() << greyAt << grey << white << grey;
        QTest::newRow("left frame")
            << "background" << Qt::LeftButton << Keys() << QPoint(0, 5) << black << white << navy;
        QTest::newRow("bottom frame")
            << "background" << Qt::LeftButton << Keys() << QPoint(60, 75) << black << white << navy;
        QTest::newRow("foreground")
            << fore << Qt::LeftButton << Keys() << blueAt << blue << blue << navy;
        const auto alike = [&](const char* name, Qt::MouseButton button, Keys keys) {
            QTest::newRow(name) << fore << button << keys << greenAt << green << green << navy;
        };
        alike("right with ctrl", Qt::RightButton, Qt::ControlModifier);
        alike("middle with shift and alt", Qt::MiddleButton, Qt::ShiftModifier | Qt::AltModifier);
    }
    void pick() {
        QFETCH(QString, option);
        QFETCH(Qt::MouseButton, button);
        QFETCH(Qt::KeyboardModifiers, keys);
        QFETCH(QPoint, position);
        QFETCH(QColor, picked);
        QFETCH(QColor, text);
        QFETCH(QColor, base);
        Controls controls;
        if (!option.isEmpty())
            QTest::mouseClick(option == "foreground" ? controls.foreground : controls.background,
                              Qt::LeftButton);
        controls.press(position, button, keys);
        QCOMPARE(controls.swatch(), picked);
        QCOMPARE(controls.text(), text);
        QCOMPARE(controls.base(), base);
        QCOMPARE(controls.shownBehindText(), base);
    }

    void swatchShowsTheLastPickAndTextMayVanish() {
        Controls controls;
        QCOMPARE(controls.swatch(), black);
        controls.foreground->setChecked(true);
        controls.press(greenAt);
        controls.background->setChecked(true);
        controls.press(blueAt);
        QCOMPARE(controls.swatch(), blue);
        QCOMPARE(controls.text(), green);
        QCOMPARE(controls.base(), blue);
        controls.press(greenAt);
        QCOMPARE(controls.swatch(), green);
        QCOMPARE(controls.text(), green);
        QCOMPARE(controls.base(), green);
    }

    void onlyThePressActs() {
        Controls controls;
        QTest::mousePress(controls.pCol, Qt::LeftButton, {}, greenAt);
        QTest::mouseMove(controls.pCol, blueAt);
        controls.foreground->setChecked(true);
        QTest::mouseRelease(controls.pCol, Qt::LeftButton, {}, blueAt);
        QCOMPARE(controls.swatch(), green);
        QCOMPARE(controls.base(), green);
        QCOMPARE(controls.text(), white);
    }

    // Neither a palette of the viewport's own nor a style sheet may hide the pick unnoticed.
    void nothingHidesThePickSilently() {
        Controls controls;
        setBase(*controls.Text2->viewport(), Qt::red);
        controls.press(blueAt);
        QCOMPARE(controls.shownBehindText(), blue);
        controls.Text2->setStyleSheet(QStringLiteral("QPlainTextEdit { background: red; }"));
        QTest::ignoreMessage(QtWarningMsg,
                             "A style sheet applies to the editor and may hide the colour picked");
        controls.press(greenAt);
        QCOMPARE(controls.base(), green);
    }

    // Ticked shows the help, cleared or greyed the editor; the click follows the box's value
    // rather than flipping what is shown, and neither box changes otherwise.
    void helpToggle_data() {
        QTest::addColumn<Qt::CheckState>("before");
        QTest::addColumn<Qt::CheckState>("value");
        QTest::addColumn<QString>("shown");
        QTest::newRow("ticked") << Qt::Unchecked << Qt::Checked << "help";
        QTest::newRow("cleared") << Qt::Checked << Qt::Unchecked << "editor";
        QTest::newRow("greyed after ticked") << Qt::Checked << Qt::PartiallyChecked << "editor";
        QTest::newRow("greyed after cleared") << Qt::Unchecked << Qt::PartiallyChecked << "editor";
    }
    void helpToggle() {
        QFETCH(Qt::CheckState, before);
        QFETCH(Qt::CheckState, value);
        QFETCH(QString, shown);
        Controls controls;
        controls.Check1->setTristate(true);
        controls.Check1->setCheckState(before);
        const QVariantList editor = state(*controls.Text2), help = state(*controls.Text14);
        controls.Check1->setCheckState(value);
        QCOMPARE(controls.shown(), shown);
        QCOMPARE(state(*controls.Text2), editor);
        QCOMPARE(state(*controls.Text14), help);
    }
};

QTEST_MAIN(TestPalette)
#include "tst_palette.moc"
