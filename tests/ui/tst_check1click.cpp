#include "ui/Check1_Click.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QVBoxLayout>

namespace {

QPalette navyPalette() {
    QPalette palette;
    palette.setColor(QPalette::Base, QColor(0, 0, 64));
    palette.setColor(QPalette::Text, Qt::white);
    return palette;
}

// What the help toggle must leave alone in a text box.
struct BoxState {
    QString text;
    QFont font;
    QPalette palette;
    int caret;

    explicit BoxState(const QPlainTextEdit& box)
        : text(box.toPlainText()), font(box.font()), palette(box.palette()),
          caret(box.textCursor().position()) {}
    bool operator==(const BoxState&) const = default;
};

// The controls the handler acts on, wired as in the window: every change of the box's value
// raises the click, whether the user or the program changed it.
struct HelpControls {
    QWidget window;
    QCheckBox* Check1 = new QCheckBox(QStringLiteral("Help"));
    QPlainTextEdit* Text2 = new QPlainTextEdit(QStringLiteral("m\u00E1 m\u00E0 ni3"));
    QPlainTextEdit* Text14 = new QPlainTextEdit(QStringLiteral("To write pinyin...\r\n"));

    HelpControls() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(Check1, 0, Qt::AlignLeft);
        layout->addWidget(Text2);
        layout->addWidget(Text14);
        Text2->setFont(QFont(QStringLiteral("Vantor's PinYin Serif"), 14));
        Text2->setPalette(navyPalette());
        Text2->moveCursor(QTextCursor::End);
        Text14->setFont(QFont(QStringLiteral("Courier"), 9.75));
        Text14->setPalette(navyPalette());
        Text14->hide();
        QObject::connect(Check1, &QCheckBox::stateChanged, Check1,
                         [this] { Check1_Click(*Check1, *Text14, *Text2); });
        window.show();
    }

    bool helpShown() const { return Text14->isVisible() && !Text2->isVisible(); }
    bool editorShown() const { return Text2->isVisible() && !Text14->isVisible(); }
};

} // namespace

class TestCheck1Click : public QObject {
    Q_OBJECT

  private slots:
    void startsWithTheEditor() {
        HelpControls controls;
        QVERIFY(QTest::qWaitForWindowExposed(&controls.window));
        QVERIFY(controls.editorShown());
    }

    void tickShowsHelpClearBringsTheEditorBack() {
        HelpControls controls;
        QTest::mouseClick(controls.Check1, Qt::LeftButton);
        QCOMPARE(controls.Check1->checkState(), Qt::Checked);
        QVERIFY(controls.helpShown());
        QTest::mouseClick(controls.Check1, Qt::LeftButton);
        QCOMPARE(controls.Check1->checkState(), Qt::Unchecked);
        QVERIFY(controls.editorShown());
    }

    void spaceBarToggles() {
        HelpControls controls;
        controls.Check1->setFocus();
        QTest::keyClick(controls.Check1, Qt::Key_Space);
        QVERIFY(controls.helpShown());
        QTest::keyClick(controls.Check1, Qt::Key_Space);
        QVERIFY(controls.editorShown());
    }

    void manyTogglesLeaveBothBoxesAsTheyWere() {
        HelpControls controls;
        const BoxState editor(*controls.Text2);
        const BoxState help(*controls.Text14);
        for (int click = 1; click <= 25; ++click) {
            QTest::mouseClick(controls.Check1, Qt::LeftButton);
            QCOMPARE(controls.helpShown(), click % 2 == 1);
            QCOMPARE(controls.editorShown(), click % 2 == 0);
        }
        QTest::mouseClick(controls.Check1, Qt::LeftButton);
        QVERIFY(controls.editorShown());
        QVERIFY(BoxState(*controls.Text2) == editor);
        QVERIFY(BoxState(*controls.Text14) == help);
    }

    void valueDecides_data() {
        QTest::addColumn<Qt::CheckState>("before");
        QTest::addColumn<Qt::CheckState>("value");
        QTest::addColumn<bool>("help");
        QTest::newRow("ticked") << Qt::Unchecked << Qt::Checked << true;
        QTest::newRow("cleared") << Qt::Checked << Qt::Unchecked << false;
        QTest::newRow("greyed after ticked") << Qt::Checked << Qt::PartiallyChecked << false;
        QTest::newRow("greyed after cleared") << Qt::Unchecked << Qt::PartiallyChecked << false;
    }
    void valueDecides() {
        QFETCH(Qt::CheckState, before);
        QFETCH(Qt::CheckState, value);
        QFETCH(bool, help);
        HelpControls controls;
        controls.Check1->setTristate(true);
        controls.Check1->setCheckState(before);
        controls.Check1->setCheckState(value);
        QCOMPARE(controls.helpShown(), help);
        QCOMPARE(controls.editorShown(), !help);
    }

    // The handler follows the value rather than flipping what is shown.
    void repeatedEventKeepsTheState() {
        HelpControls controls;
        controls.Check1->setChecked(true);
        Check1_Click(*controls.Check1, *controls.Text14, *controls.Text2);
        QVERIFY(controls.helpShown());
        controls.Check1->setChecked(false);
        Check1_Click(*controls.Check1, *controls.Text14, *controls.Text2);
        QVERIFY(controls.editorShown());
    }
};

QTEST_MAIN(TestCheck1Click)
#include "tst_check1click.moc"
