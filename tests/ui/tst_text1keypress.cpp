#include "TestSupport.h"
#include "tone/FontHolder.h"
#include "ui/KeyPressFilter.h"
#include "ui/Text1_KeyPress.h"

#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>

class TestText1KeyPress : public QObject {
    Q_OBJECT

  private slots:
    // The size typed applies on Enter (13, not 10, '4' or 13 + 256) in the user's number format;
    // "typed=points", a half to the even number, 0: the size stays. Ctrl+M that a shortcut of the
    // window or the box ("+": and its children) takes reaches it as Enter, the editor's does not.
    void enter_data() {
        columns<QString, QString, QString, int>({"locale", "how", "text", "points"});
        for (const QString table :
             {"en_US Return|14=14| 14 =14|12.5=12|13.5=14|12.6=13|1=1|0.6=1|0.5=0|0=0|400=400",
              "en_US Return|401=400|32767=400|32768=0|1,000=400|12,5=0|=0|14pt=0|inf=0",
              "de_DE Return|12,5=12|1.000=400|12.5=0", "en_US 10|14=0", "en_US 52|14=0",
              "en_US 269|14=0", "en_US window|14=14", "en_US window+|14=14", "en_US box+|14=14",
              "en_US editor+|14=0"}) {
            const QStringList rows = table.split(u'|'), head = rows.first().split(u' ');
            for (const QString& row : rows.mid(1)) {
                const QString text = row.section(u'=', 0, -2);
                QTest::addRow("%s \"%s\"", qPrintable(rows.first()), qPrintable(text))
                    << head[0] << head[1] << text << row.section(u'=', -1).toInt();
            }
        }
    }
    void enter() {
        const QString how = cell<QString>("how"), text = cell<QString>("text");
        const int points = cell<int>("points");
        QLocale::setDefault(QLocale(cell<QString>("locale")));
        // Wired as in the window: the holder starts at 8 points, the editor at 18.
        tone::FontHolder c1;
        QWidget window;
        auto* Text1 = new QLineEdit(&window);
        auto* Text2 = new QPlainTextEdit(&window);
        Text2->setFont(QFont(QString(), 18));
        new KeyPressFilter(Text1, [&](std::int16_t k) { Text1_KeyPress(k, *Text1, c1, *Text2); });
        QTest::keyClicks(Text1, text);
        if (how == "Return") {
            QTest::keyClick(Text1, Qt::Key_Return);
        } else if (how.front().isDigit()) {
            Text1_KeyPress(std::int16_t(how.toInt()), *Text1, c1, *Text2);
        } else {
            QWidget* owner = how.startsWith('b') ? Text1 : how.startsWith('e') ? Text2 : &window;
            QAction* action = owner->addAction(QString(), QKeySequence(Qt::CTRL | Qt::Key_M));
            action->setShortcutContext(how.endsWith('+') ? Qt::WidgetWithChildrenShortcut
                                                         : Qt::WindowShortcut);
            QTest::keyClick(Text1, Qt::Key_M, Qt::ControlModifier);
        }
        QCOMPARE(c1.fontSize(), points ? float(points) : 8.0f);
        QCOMPARE(Text2->font(), QFont(QString(), points ? points : 18));
    }
};

QTEST_MAIN(TestText1KeyPress)
#include "tst_text1keypress.moc"
