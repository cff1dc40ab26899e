#include "tone/FontHolder.h"
#include "ui/KeyPressFilter.h"
#include "ui/Text1_KeyPress.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

const QString editorText = QStringLiteral("m\u00E1 m\u00E0\nNi3 hao ma?\n");

// The controls the handler acts on, wired as in the window: every character typed into `Text1`
// reaches the handler before the box inserts it. The holder starts at 8 points, the editor at 18.
struct SizeControls {
    QWidget window;
    QLineEdit* Text1 = new QLineEdit(QStringLiteral(" "));
    QPlainTextEdit* Text2 = new QPlainTextEdit(editorText);
    tone::FontHolder c1;

    SizeControls() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(Text1);
        layout->addWidget(Text2);
        Text2->setFont(fontAt(18));
        new KeyPressFilter(
            Text1, [this](std::int16_t keyCode) { Text1_KeyPress(keyCode, *Text1, c1, *Text2); });
        window.show();
        Text1->setFocus();
    }

    void enter(const QString& text) {
        Text1->selectAll();
        QTest::keyClick(Text1, Qt::Key_Backspace);
        QTest::keyClicks(Text1, text);
        QTest::keyClick(Text1, Qt::Key_Return);
    }

    QFont fontAt(float points) const {
        QFont font(QString::fromStdString(c1.fontName()));
        font.setPointSizeF(points);
        return font;
    }
};

} // namespace

class TestText1KeyPress : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void enter_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("points"); // 0: nothing changes
        const auto row = [](const char* text, int points, const char* locale = "en_US") {
            QTest::addRow("%s \"%s\"", locale, text) << QString(locale) << QString(text) << points;
        };
        row("14", 14);
        row(" 14 ", 14);
        row("12.5", 12); // an exact half goes to the even number
        row("13.5", 14);
        row("12.6", 13);
        row("1", 1);
        row("0.6", 1);
        row("12,5", 12, "de_DE");
        row("1.000", 400, "de_DE");
        row("12.5", 0, "de_DE");
        row("400", 400);
        row("401", 400);
        row("32767", 400);
        row("1,000", 400);
        // Also what does not fit in 16 bits, or rounds to less than one point.
        for (const char* bad : {"", " ", "abc", "1e9", "-5", "0", "0.5", "99999", "32768", "14pt",
                                "0x10", "12,5", "inf", "nan"})
            row(bad, 0);
    }
    void enter() {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(int, points);
        QLocale::setDefault(QLocale(locale));
        SizeControls controls;
        QSignalSpy returnPressed(controls.Text1, &QLineEdit::returnPressed);
        controls.enter(text);
        QCOMPARE(returnPressed.count(), 1);
        QCOMPARE(controls.Text1->text(), text);
        QCOMPARE(controls.c1.fontSize(), points ? float(points) : 8.0f);
        QCOMPARE(controls.Text2->font(), controls.fontAt(points ? points : 18));
        QCOMPARE(controls.Text2->toPlainText(), editorText);
    }

    // The box holds a usable size; typing it and keys other than Enter must not apply it.
    void otherKeysChangeNothing_data() {
        QTest::addColumn<int>("keyCode");
        QTest::newRow("line feed") << 10;
        QTest::newRow("digit") << int('4');
        QTest::newRow("carriage return plus 256") << 13 + 256;
    }
    void otherKeysChangeNothing() {
        QFETCH(int, keyCode);
        SizeControls controls;
        QTest::keyClicks(controls.Text1, QStringLiteral("14"));
        QTest::keyClick(controls.Text1, Qt::Key_Escape);
        Text1_KeyPress(std::int16_t(keyCode), *controls.Text1, controls.c1, *controls.Text2);
        QCOMPARE(controls.Text1->text(), QStringLiteral(" 14"));
        QCOMPARE(controls.c1.fontSize(), 8.0f);
        QCOMPARE(controls.Text2->font(), controls.fontAt(18));
    }
};

QTEST_MAIN(TestText1KeyPress)
#include "tst_text1keypress.moc"
