#include "TestSupport.h"
#include "tone/FontHolder.h"
#include "ui/KeyPressFilter.h"
#include "ui/Text1_KeyPress.h"

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>

// How the Enter reaches the size box; Ctrl+M may be taken by a shortcut on the way.
enum class Enter {
    ReturnKey,
    KeyCode,
    WindowShortcut,
    WindowShortcutWithChildren,
    BoxShortcutWithChildren,
    EditorShortcutWithChildren
};

class TestText1KeyPress : public QObject {
    Q_OBJECT

  private slots:
    // The size typed applies on Enter (13, not 10, '4' or 13 + 256) in the user's number format, a
    // half to the even number; 0 leaves the size. Ctrl+M that a shortcut of the window or the box
    // takes reaches the box as Enter, the editor's does not.
    void enter_data() {
        columns<QString, Enter, int, QString, int>({"locale", "how", "key", "text", "points"});
        using enum Enter;
        QTest::addRow("a whole size applies") << "en_US" << ReturnKey << 0 << "14" << 14;
        QTest::addRow("blanks around it are ignored") << "en_US" << ReturnKey << 0 << " 14 " << 14;
        QTest::addRow("a half goes down to even 12") << "en_US" << ReturnKey << 0 << "12.5" << 12;
        QTest::addRow("a half goes up to even 14") << "en_US" << ReturnKey << 0 << "13.5" << 14;
        QTest::addRow("more than a half goes up") << "en_US" << ReturnKey << 0 << "12.6" << 13;
        QTest::addRow("the smallest size applies") << "en_US" << ReturnKey << 0 << "1" << 1;
        QTest::addRow("0.6 goes up to 1") << "en_US" << ReturnKey << 0 << "0.6" << 1;
        QTest::addRow("0.5 goes to 0: size kept") << "en_US" << ReturnKey << 0 << "0.5" << 0;
        QTest::addRow("zero keeps the size") << "en_US" << ReturnKey << 0 << "0" << 0;
        QTest::addRow("the largest size applies") << "en_US" << ReturnKey << 0 << "400" << 400;
        QTest::addRow("above 400 stops at 400") << "en_US" << ReturnKey << 0 << "401" << 400;
        QTest::addRow("32767 stops at 400") << "en_US" << ReturnKey << 0 << "32767" << 400;
        QTest::addRow("past a short keeps the size") << "en_US" << ReturnKey << 0 << "32768" << 0;
        QTest::addRow("a group separator is read") << "en_US" << ReturnKey << 0 << "1,000" << 400;
        QTest::addRow("a comma is no decimal here") << "en_US" << ReturnKey << 0 << "12,5" << 0;
        QTest::addRow("nothing typed keeps the size") << "en_US" << ReturnKey << 0 << "" << 0;
        QTest::addRow("a unit after it is not read") << "en_US" << ReturnKey << 0 << "14pt" << 0;
        QTest::addRow("infinity keeps the size") << "en_US" << ReturnKey << 0 << "inf" << 0;
        QTest::addRow("a German decimal comma") << "de_DE" << ReturnKey << 0 << "12,5" << 12;
        QTest::addRow("a German group separator") << "de_DE" << ReturnKey << 0 << "1.000" << 400;
        QTest::addRow("a point is no German decimal") << "de_DE" << ReturnKey << 0 << "12.5" << 0;
        QTest::addRow("line feed is no Enter") << "en_US" << KeyCode << 10 << "14" << 0;
        QTest::addRow("the key '4' is no Enter") << "en_US" << KeyCode << 52 << "14" << 0;
        QTest::addRow("13 + 256 is no Enter") << "en_US" << KeyCode << 269 << "14" << 0;
        QTest::addRow("window shortcut: Enter") << "en_US" << WindowShortcut << 0 << "14" << 14;
        QTest::addRow("window with children: Enter")
            << "en_US" << WindowShortcutWithChildren << 0 << "14" << 14;
        QTest::addRow("box with children: Enter")
            << "en_US" << BoxShortcutWithChildren << 0 << "14" << 14;
        QTest::addRow("editor with children: no Enter")
            << "en_US" << EditorShortcutWithChildren << 0 << "14" << 0;
    }
    void enter() {
        const Enter how = cell<Enter>("how");
        const int points = cell<int>("points");
        QLocale::setDefault(QLocale(cell<QString>("locale")));
        // Wired as in the window: the holder starts at 8 points, the editor at 18.
        tone::FontHolder c1;
        QWidget window;
        auto* Text1 = new QLineEdit(&window);
        auto* Text2 = new QPlainTextEdit(&window);
        Text2->setFont(QFont(QString(), 18));
        new KeyPressFilter(Text1, [&](std::int16_t k) { Text1_KeyPress(k, *Text1, c1, *Text2); });
        QTest::keyClicks(Text1, cell<QString>("text"));
        if (how == Enter::ReturnKey) {
            QTest::keyClick(Text1, Qt::Key_Return);
        } else if (how == Enter::KeyCode) {
            Text1_KeyPress(std::int16_t(cell<int>("key")), *Text1, c1, *Text2);
        } else {
            QWidget* owner = how == Enter::BoxShortcutWithChildren      ? Text1
                             : how == Enter::EditorShortcutWithChildren ? Text2
                                                                        : &window;
            QAction* action = owner->addAction(QString(), QKeySequence(Qt::CTRL | Qt::Key_M));
            action->setShortcutContext(
                how == Enter::WindowShortcut ? Qt::WindowShortcut : Qt::WidgetWithChildrenShortcut);
            QTest::keyClick(Text1, Qt::Key_M, Qt::ControlModifier);
        }
        QCOMPARE(c1.fontSize(), points ? float(points) : 8.0f);
        QCOMPARE(Text2->font(), QFont(QString(), points ? points : 18));
    }
};

QTEST_MAIN(TestText1KeyPress)
#include "tst_text1keypress.moc"
