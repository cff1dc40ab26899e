#include "tone/FontHolder.h"
#include "ui/FontSizeText.h"
#include "ui/KeyPressFilter.h"
#include "ui/Text1_KeyPress.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString editorText = QStringLiteral("m\u00E1 m\u00E0\nNi3 hao ma?\n") + QString(300, u'a');

// The controls the handler acts on, wired as in the window: every character typed into `Text1`
// reaches the handler before the box inserts it.
struct SizeControls {
    QWidget window;
    QLineEdit* Text1 = new QLineEdit(QStringLiteral(" "));
    QPlainTextEdit* Text2 = new QPlainTextEdit(editorText);
    QPlainTextEdit* Text14 = new QPlainTextEdit(QStringLiteral("help"));
    tone::FontHolder c1;

    SizeControls() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(Text1);
        layout->addWidget(Text2);
        layout->addWidget(Text14);
        Text2->setFont(QFont(QString::fromStdString(c1.fontName()), 18));
        Text14->setFont(QFont(QStringLiteral("Courier"), 9.75));
        new KeyPressFilter(
            Text1, [this](std::int16_t keyCode) { Text1_KeyPress(keyCode, *Text1, c1, *Text2); });
        window.resize(552, 266);
        window.show();
        Text1->setFocus();
    }

    void enter(const QString& text) {
        Text1->selectAll();
        QTest::keyClick(Text1, Qt::Key_Backspace);
        type(text);
        QTest::keyClick(Text1, Qt::Key_Return);
    }

    // Keys for what a keyboard has, an input method for the rest.
    void type(const QString& text) {
        if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; })) {
            QTest::keyClicks(Text1, text);
            return;
        }
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(Text1, &commit);
    }

    QFont fontAt(float points) const {
        QFont font(QString::fromStdString(c1.fontName()), 18);
        font.setPointSizeF(points);
        return font;
    }
};

} // namespace

class TestText1KeyPress : public QObject {
    Q_OBJECT

    QLocale startLocale_;

  private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void cleanup() { QLocale::setDefault(startLocale_); }

    void enterAppliesTheSize_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("points");

        QTest::newRow("14") << "en_US"
                            << "14" << 14.0f;
        QTest::newRow("blanks around") << "en_US"
                                       << " 14 " << 14.0f;
        QTest::newRow("blank after") << "en_US"
                                     << "14 " << 14.0f;
        QTest::newRow("12.5") << "en_US"
                              << "12.5" << 12.0f;
        QTest::newRow("13.5") << "en_US"
                              << "13.5" << 14.0f;
        QTest::newRow("12.6") << "en_US"
                              << "12.6" << 13.0f;
        QTest::newRow("comma 12,5") << "de_DE"
                                    << "12,5" << 12.0f;
        QTest::newRow("comma 13,5") << "de_DE"
                                    << "13,5" << 14.0f;
        QTest::newRow("comma 12,6") << "de_DE"
                                    << "12,6" << 13.0f;
        QTest::newRow("smallest") << "en_US"
                                  << "1" << 1.0f;
        QTest::newRow("cap") << "en_US"
                             << "400" << 400.0f;
    }
    void enterAppliesTheSize() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(float, points);
        QLocale::setDefault(QLocale(locale));
        SizeControls controls;
        const QPalette colours = controls.Text2->palette();
        controls.enter(text);
        QCOMPARE(controls.c1.fontSize(), points);
        QCOMPARE(controls.Text2->font(), controls.fontAt(points));
        QCOMPARE(controls.Text2->toPlainText(), editorText);
        QCOMPARE(controls.Text2->palette(), colours);
        QCOMPARE(controls.Text14->font(), QFont(QStringLiteral("Courier"), 9.75));
    }

    void enterIsPassedOnAndTheTextStays() {
        SizeControls controls;
        QSignalSpy returnPressed(controls.Text1, &QLineEdit::returnPressed);
        controls.enter(QStringLiteral("14"));
        QCOMPARE(returnPressed.count(), 1);
        QCOMPARE(controls.Text1->text(), QStringLiteral("14"));
        QCOMPARE(controls.Text1->cursorPosition(), 2);
    }

    void sameNumberAgainChangesNothingMore() {
        SizeControls controls;
        controls.enter(QStringLiteral("14"));
        const QFont font = controls.Text2->font();
        QTest::keyClick(controls.Text1, Qt::Key_Return);
        QCOMPARE(controls.c1.fontSize(), 14.0f);
        QCOMPARE(controls.Text2->font(), font);
        QCOMPARE(controls.Text1->text(), QStringLiteral("14"));
    }

    void typingWithoutEnterChangesNothing() {
        SizeControls controls;
        QTest::keyClicks(controls.Text1, QStringLiteral("20"));
        QTest::keyClick(controls.Text1, Qt::Key_Backspace);
        QTest::keyClick(controls.Text1, Qt::Key_Escape);
        QCOMPARE(controls.Text1->text(), QStringLiteral(" 2"));
        QCOMPARE(controls.c1.fontSize(), 8.0f);
        QCOMPARE(controls.Text2->font(), controls.fontAt(18));
    }

    void onlyEnterApplies_data() {
        QTest::addColumn<int>("keyCode");
        QTest::newRow("line feed") << 10;
        QTest::newRow("digit") << int('4');
        QTest::newRow("blank") << int(' ');
        QTest::newRow("carriage return plus 256") << 13 + 256;
    }
    void onlyEnterApplies() {
        QFETCH(int, keyCode);
        SizeControls controls;
        controls.Text1->setText(QStringLiteral("14"));
        Text1_KeyPress(static_cast<std::int16_t>(keyCode), *controls.Text1, controls.c1,
                       *controls.Text2);
        QCOMPARE(controls.c1.fontSize(), 8.0f);
        QCOMPARE(controls.Text2->font(), controls.fontAt(18));
    }

    void startBlankChangesNothing() {
        SizeControls controls;
        QTest::keyClick(controls.Text1, Qt::Key_Return);
        QCOMPARE(controls.Text1->text(), QStringLiteral(" "));
        QCOMPARE(controls.c1.fontSize(), 8.0f);
        QCOMPARE(controls.Text2->font(), controls.fontAt(18));
    }

    void badTextLeavesTheSize_data() {
        QTest::addColumn<QString>("text");
        for (const char* text : {"", " ", "abc", "1e9", "-5", "0", "0.4", "99999", "32768",
                                 "-32769", "0x10", "14pt", "12,5"})
            QTest::newRow(text) << QString::fromLatin1(text);
        QTest::newRow("Arabic-Indic digits") << QStringLiteral("\u0661\u0664");
    }
    void badTextLeavesTheSize() {
        QFETCH(QString, text);
        SizeControls controls;
        controls.enter(QStringLiteral("14"));
        controls.enter(text);
        QCOMPARE(controls.Text1->text(), text);
        QCOMPARE(controls.c1.fontSize(), 14.0f);
        QCOMPARE(controls.Text2->font(), controls.fontAt(14));
        QCOMPARE(controls.Text2->toPlainText(), editorText);
    }

    void hugeSizesAreCapped_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("one above") << QString::number(FontSizeText::largestPoints + 1);
        QTest::newRow("largest integer") << QStringLiteral("32767");
        QTest::newRow("grouped thousands") << QStringLiteral("1,000");
    }
    void hugeSizesAreCapped() {
        QFETCH(QString, text);
        SizeControls controls;
        controls.enter(text);
        const float cap = FontSizeText::largestPoints;
        QCOMPARE(controls.c1.fontSize(), cap);
        QCOMPARE(controls.Text2->font(), controls.fontAt(cap));
    }

    // The editor must stay usable at the largest size: laying out, drawing and typing.
    void windowKeepsAnsweringAtTheLargestSize() {
        SizeControls controls;
        QElapsedTimer clock;
        clock.start();
        controls.enter(QStringLiteral("32767"));
        controls.Text2->grab();
        controls.Text2->moveCursor(QTextCursor::End);
        QTest::keyClicks(controls.Text2, QStringLiteral("ma1 ma2"));
        controls.Text2->grab();
        QCOMPARE(controls.Text2->font().pointSizeF(), qreal(FontSizeText::largestPoints));
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
    }
};

QTEST_MAIN(TestText1KeyPress)
#include "tst_text1keypress.moc"
