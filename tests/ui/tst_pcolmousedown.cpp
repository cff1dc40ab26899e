#include "ui/PalettePicture.h"
#include "ui/PictureBox.h"
#include "ui/Shape.h"
#include "ui/pCol_MouseDown.h"

#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QVBoxLayout>

namespace {

const QColor navy(0, 0, 64);
const QColor green(0, 255, 0);
const QColor blue(0, 0, 255);
const QColor grey(132, 132, 132);

// Box positions of palette pixels: the picture starts inside the one-pixel border.
const QPoint greenAt(49, 38);
const QPoint blueAt(98, 38);
const QPoint greyAt(11, 1);

QPalette editorPalette() {
    QPalette palette;
    palette.setColor(QPalette::Base, navy);
    palette.setColor(QPalette::Text, Qt::white);
    return palette;
}

// The controls the handler acts on, wired as in the window.
struct ColourControls {
    QWidget window;
    QRadioButton* foreground = new QRadioButton(QStringLiteral("Foreground"));
    QRadioButton* background = new QRadioButton(QStringLiteral("Background"));
    Shape* Shape2 = new Shape;
    PictureBox* pCol = new PictureBox;
    QPlainTextEdit* Text2 = new QPlainTextEdit(QStringLiteral("m\u00E1 m\u00E0"));
    QPlainTextEdit* Text14 = new QPlainTextEdit(QStringLiteral("help"));

    ColourControls() {
        auto* layout = new QVBoxLayout(&window);
        // Option buttons answer clicks on their circle and caption only.
        layout->addWidget(foreground, 0, Qt::AlignLeft);
        layout->addWidget(background, 0, Qt::AlignLeft);
        for (QWidget* control : {static_cast<QWidget*>(Shape2), static_cast<QWidget*>(pCol),
                                 static_cast<QWidget*>(Text2), static_cast<QWidget*>(Text14)})
            layout->addWidget(control);
        Shape2->setFixedSize(142, 25);
        pCol->setPicture(PalettePicture::image());
        pCol->setFixedSize(145, 76);
        Text2->setPalette(editorPalette());
        Text14->setPalette(editorPalette());
        QObject::connect(pCol, &PictureBox::pressed, pCol, [this](QPoint position) {
            pCol_MouseDown(*pCol, position, *foreground, *Shape2, *Text2);
        });
        window.show();
    }

    void press(QPoint position, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = {}) {
        QTest::mousePress(pCol, button, modifiers, position);
        QTest::mouseRelease(pCol, button, modifiers, position);
    }

    QColor textColour() const { return Text2->palette().color(QPalette::Text); }
    QColor backColour() const { return Text2->palette().color(QPalette::Base); }
    QColor shownBehindText() const {
        const QImage shown = Text2->viewport()->grab().toImage();
        return shown.pixelColor(shown.width() - 2, shown.height() - 2);
    }
};

} // namespace

class TestPColMouseDown : public QObject {
    Q_OBJECT

  private slots:
    void withNoOptionSetTheBackground() {
        ColourControls controls;
        controls.press(greenAt);
        QCOMPARE(controls.Shape2->fillColour(), green);
        QCOMPARE(controls.backColour(), green);
        QCOMPARE(controls.textColour(), QColor(Qt::white));
        QCOMPARE(controls.shownBehindText(), green);
    }

    void foregroundSetsTheTextColour() {
        ColourControls controls;
        QTest::mouseClick(controls.foreground, Qt::LeftButton);
        QVERIFY(controls.foreground->isChecked());
        controls.press(blueAt);
        QCOMPARE(controls.Shape2->fillColour(), blue);
        QCOMPARE(controls.textColour(), blue);
        QCOMPARE(controls.backColour(), navy);
    }

    void backgroundSetsTheBackColour() {
        ColourControls controls;
        QTest::mouseClick(controls.background, Qt::LeftButton);
        controls.press(greyAt);
        QCOMPARE(controls.Shape2->fillColour(), grey);
        QCOMPARE(controls.backColour(), grey);
        QCOMPARE(controls.textColour(), QColor(Qt::white));
        QCOMPARE(controls.shownBehindText(), grey);
    }

    void everyButtonAndModifierPicks_data() {
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::newRow("left") << Qt::LeftButton << Qt::KeyboardModifiers();
        QTest::newRow("right") << Qt::RightButton << Qt::KeyboardModifiers();
        QTest::newRow("middle") << Qt::MiddleButton << Qt::KeyboardModifiers();
        QTest::newRow("shift") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::ShiftModifier);
        QTest::newRow("ctrl") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::ControlModifier);
        QTest::newRow("alt") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::AltModifier);
        QTest::newRow("middle with ctrl and alt")
            << Qt::MiddleButton << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::AltModifier);
    }
    void everyButtonAndModifierPicks() {
        QFETCH(Qt::MouseButton, button);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        ColourControls controls;
        controls.foreground->setChecked(true);
        controls.press(greenAt, button, modifiers);
        QCOMPARE(controls.Shape2->fillColour(), green);
        QCOMPARE(controls.textColour(), green);
        QCOMPARE(controls.backColour(), navy);
    }

    void swatchShowsTheLastPick() {
        ColourControls controls;
        controls.foreground->setChecked(true);
        controls.press(greenAt);
        controls.background->setChecked(true);
        controls.press(blueAt);
        QCOMPARE(controls.Shape2->fillColour(), blue);
        QCOMPARE(controls.textColour(), green);
        QCOMPARE(controls.backColour(), blue);
    }

    void choosingAnOptionAloneChangesNoColour() {
        ColourControls controls;
        const QPalette before = controls.Text2->palette();
        QTest::mouseClick(controls.foreground, Qt::LeftButton);
        QTest::mouseClick(controls.background, Qt::LeftButton);
        QCOMPARE(controls.Shape2->fillColour(), QColor(Qt::black));
        QCOMPARE(controls.Text2->palette(), before);
    }

    void outsideThePictureGivesTheBoxBackground_data() {
        QTest::addColumn<QPoint>("position");
        QTest::newRow("left border") << QPoint(0, 5);
        QTest::newRow("right border") << QPoint(144, 40);
        QTest::newRow("bottom border") << QPoint(70, 75);
    }
    void outsideThePictureGivesTheBoxBackground() {
        QFETCH(QPoint, position);
        ColourControls controls;
        QPalette boxPalette = controls.pCol->palette();
        boxPalette.setColor(QPalette::Base, QColor(250, 240, 230));
        controls.pCol->setPalette(boxPalette);
        controls.press(position);
        QCOMPARE(controls.Shape2->fillColour(), QColor(250, 240, 230));
        QCOMPARE(controls.backColour(), QColor(250, 240, 230));
    }

    void invisibleTextIsAllowed() {
        ColourControls controls;
        controls.background->setChecked(true);
        controls.press(greenAt);
        controls.foreground->setChecked(true);
        controls.press(greenAt);
        QCOMPARE(controls.textColour(), green);
        QCOMPARE(controls.backColour(), green);
    }

    void onlyThePressActs() {
        ColourControls controls;
        QTest::mousePress(controls.pCol, Qt::LeftButton, {}, greenAt);
        QTest::mouseMove(controls.pCol, blueAt);
        controls.foreground->setChecked(true);
        QTest::mouseRelease(controls.pCol, Qt::LeftButton, {}, blueAt);
        QCOMPARE(controls.Shape2->fillColour(), green);
        QCOMPARE(controls.backColour(), green);
        QCOMPARE(controls.textColour(), QColor(Qt::white));
    }

    void helpBoxKeepsItsColours() {
        ColourControls controls;
        const QPalette help = controls.Text14->palette();
        controls.press(greenAt);
        controls.foreground->setChecked(true);
        controls.press(blueAt);
        QCOMPARE(controls.Text14->palette(), help);
        QCOMPARE(controls.Text14->palette().color(QPalette::Base), navy);
    }

    void textAndSizeStay() {
        ColourControls controls;
        const QString text = controls.Text2->toPlainText();
        const QFont font = controls.Text2->font();
        controls.press(greenAt);
        QCOMPARE(controls.Text2->toPlainText(), text);
        QCOMPARE(controls.Text2->font(), font);
    }

    void viewportPaletteCannotHideThePick() {
        ColourControls controls;
        QPalette own = controls.Text2->viewport()->palette();
        own.setColor(QPalette::Base, Qt::red);
        controls.Text2->viewport()->setPalette(own);
        controls.press(blueAt);
        QCOMPARE(controls.shownBehindText(), blue);
    }

    void styleSheetIsNotIgnoredSilently() {
        ColourControls controls;
        controls.Text2->setStyleSheet(QStringLiteral("QPlainTextEdit { background: red; }"));
        QTest::ignoreMessage(QtWarningMsg,
                             "A style sheet applies to the editor and may hide the colour picked");
        controls.press(blueAt);
        QCOMPARE(controls.backColour(), blue);
    }
};

QTEST_MAIN(TestPColMouseDown)
#include "tst_pcolmousedown.moc"
