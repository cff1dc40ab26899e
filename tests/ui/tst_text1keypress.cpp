#include "tone/FontHolder.h"
#include "ui/KeyPressFilter.h"
#include "ui/Text1_KeyPress.h"

#include <QAction>
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
    QWidget *box = Text1, *editor = Text2;

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
        // Rows "typed=points": an exact half goes to the even number; 0 for what does not fit in
        // 16 bits or rounds to less than one point.
        const std::pair<const char*, QString> tables[] = {
            {"en_US", "14=14| 14 =14|12.5=12|13.5=14|12.6=13|1=1|0.6=1|400=400|401=400|32767=400|"
                      "1,000=400|=0| =0|abc=0|1e9=0|-5=0|0=0|0.5=0|99999=0|32768=0|14pt=0|0x10=0|"
                      "12,5=0|inf=0|nan=0"},
            {"de_DE", "12,5=12|1.000=400|12.5=0"}};
        for (const auto& [locale, table] : tables) {
            for (const QString& row : table.split(u'|')) {
                const qsizetype equals = row.lastIndexOf(u'=');
                QTest::addRow("%s \"%s\"", locale, qPrintable(row.left(equals)))
                    << QString(locale) << row.left(equals) << row.mid(equals + 1).toInt();
            }
        }
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

    // The box holds a usable size; typing it and keys other than Enter must not apply it: line
    // feed, a digit, carriage return plus 256.
    void otherKeysChangeNothing() {
        for (int keyCode : {10, int('4'), 13 + 256}) {
            SizeControls controls;
            QTest::keyClicks(controls.Text1, QStringLiteral("14"));
            QTest::keyClick(controls.Text1, Qt::Key_Escape);
            Text1_KeyPress(std::int16_t(keyCode), *controls.Text1, controls.c1, *controls.Text2);
            QCOMPARE(controls.Text1->text(), QStringLiteral(" 14"));
            QCOMPARE(controls.c1.fontSize(), 8.0f);
            QCOMPARE(controls.Text2->font(), controls.fontAt(18));
        }
    }

    // A shortcut takes Ctrl+M, a carriage return from the keyboard, before the box; the handler
    // gets it all the same for an action of the window, of the window and its children, or of the
    // box, but not for one of the editor beside it, which the box never reaches.
    void shortcutKeysReachTheHandler() {
        const auto check = [](QWidget* SizeControls::*owner, Qt::ShortcutContext context,
                              float points) {
            SizeControls controls;
            QWidget* widget = owner ? controls.*owner : &controls.window;
            auto* action = new QAction(widget);
            action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_M));
            action->setShortcutContext(context);
            widget->addAction(action);
            QTest::keyClicks(controls.Text1, QStringLiteral("14"));
            QTest::keyClick(controls.Text1, Qt::Key_M, Qt::ControlModifier);
            QCOMPARE(controls.c1.fontSize(), points);
        };
        check(nullptr, Qt::WindowShortcut, 14);
        check(nullptr, Qt::WidgetWithChildrenShortcut, 14);
        check(&SizeControls::box, Qt::WidgetWithChildrenShortcut, 14);
        check(&SizeControls::editor, Qt::WidgetWithChildrenShortcut, 8);
    }
};

QTEST_MAIN(TestText1KeyPress)
#include "tst_text1keypress.moc"
