#include "app/Form1.h"
#include "app/HelpText.h"
#include "tone/GlyphTables.h"
#include "tone/ToneFont.h"
#include "tone/UnicodePinyin.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {

const QString toneFace = QString::fromUtf8(tone::toneFontFace.data());
const QString settingsFile = qEnvironmentVariable("XDG_CONFIG_HOME") + "/tonquill/tonquill.conf";

// Longer than the replacement timers' 20 ms, as a person types.
void typeSlowly(QWidget* box, const QString& keys) {
    for (QChar key : keys) {
        QTest::keyClicks(box, QString(key));
        QTest::qWait(45);
    }
}

QString unicodeOf(const QPlainTextEdit* box) {
    return QString::fromStdU16String(tone::toUnicodePinyin(box->toPlainText().toStdU16String()));
}

// As a keyboard sends it: QTest would give Ctrl+letter the letter's own text.
void pressControl(QWidget* box, Qt::Key key) {
    const QString text(QChar(key - Qt::Key_A + 1));
    QTest::sendKeyEvent(QTest::Click, box, key, text, Qt::ControlModifier);
}

} // namespace

class TestForm1 : public QObject {
    Q_OBJECT

    std::unique_ptr<Form1> form;
    QPlainTextEdit* Text2 = nullptr;

    template <typename T> T* control(const char* name) {
        return form->findChild<T*>(QLatin1String(name));
    }

    QMenu* openContextMenu() {
        const QPoint at(20, 20);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, Text2->viewport()->mapToGlobal(at));
        QApplication::sendEvent(Text2->viewport(), &event);
        return qobject_cast<QMenu*>(QApplication::activePopupWidget());
    }

    static QAction* action(QMenu* menu, const QString& text) {
        for (QAction* action : menu->actions()) {
            if (action->text() == text)
                return action;
        }
        return nullptr;
    }

    QAction* option(const QString& text) { return action(control<QMenu>("options"), text); }

    void putCaret(int position) {
        QTextCursor cursor = Text2->textCursor();
        cursor.setPosition(position);
        Text2->setTextCursor(cursor);
    }

    QList<QTimer*> runningTimers() {
        QList<QTimer*> running;
        for (QTimer* timer : form->findChildren<QTimer*>()) {
            if (timer->isActive())
                running << timer;
        }
        return running;
    }

    // What the reference picture of the window (tst_formload) cannot show.
    QString hidden(const QString& what) {
        QStringList parts;
        if (what == "menu") {
            for (QAction* menu : form->menuBar()->actions()) {
                parts << menu->text() + ":";
                for (QAction* item : menu->menu()->actions())
                    parts << item->text() + "|" + item->shortcut().toString();
            }
        } else if (what == "tab order") {
            QWidget* widget = Text2;
            do {
                if (widget->parentWidget() == form->centralWidget() && widget->isVisible() &&
                    (widget->focusPolicy() & Qt::TabFocus))
                    parts << widget->objectName();
                widget = widget->nextInFocusChain();
            } while (widget != Text2);
        } else if (what == "timers") {
            for (QTimer* timer : form->findChildren<QTimer*>())
                parts << QString::number(timer->interval()) + (timer->isSingleShot() ? "" : "!") +
                             (timer->isActive() ? "+" : "");
            parts.sort();
        } else if (what == "holders") {
            for (int row = 1; row <= tone::rowCount; ++row) {
                auto* holder = control<QLineEdit>(qPrintable(QString("Text%1").arg(row + 2)));
                parts << holder->text() + (holder->isVisible() ? "!" : "") +
                             QString::number(holder->font().pointSizeF()) + holder->font().family();
            }
        } else if (what == "help") {
            const QString help = helpText();
            parts << QString::number(help.size()) << QString::number(help.count("\r\n"))
                  << help.section("\r\n", 0, 0)
                  << QString::number(control<QPlainTextEdit>("Text14")->toPlainText() ==
                                     QString(help).replace("\r\n", "\n"));
        } else if (what == "start") {
            parts << form->windowTitle() << QApplication::focusWidget()->objectName()
                  << QString::number(form->isWindowModified())
                  << control<QLineEdit>("Text1")->text()
                  << QString::number(Text2->horizontalScrollBarPolicy());
        }
        return parts.join(" ");
    }

  private slots:
    void init() {
        QFile::remove(settingsFile);
        form = std::make_unique<Form1>();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        Text2 = control<QPlainTextEdit>("Text2");
        QVERIFY(Text2);
    }

    void cleanup() { form.reset(); }

    void whatThePictureCannotShow_data() {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("shown");
        QTest::newRow("menu")
            << "menu"
            << "File: Open…|Ctrl+O Save|Ctrl+S Save As…|Ctrl+Shift+S | Quit|Ctrl+Q "
               "Print : Print text| Options: Tone number after the syllable| "
               "Convert tone numbers|";
        QTest::newRow("tab order") << "tab order"
                                   << "Text2 Text1 pCol op(0) op(1) Check1";
        QTest::newRow("timers") << "timers"
                                << "100 20 20 20 20 20 20 20 20 20 20 20";
        QString holders;
        for (int row = 1; row <= tone::rowCount; ++row)
            holders += (row > 1 ? " " : "") + QString::fromStdU16String(tone::glyphTable(row)) +
                       "15.75" + toneFace;
        QTest::newRow("holders") << "holders" << holders;
        QTest::newRow("help") << "help"
                              << "773 24 To write pinyin pinyin you just have to add a  1";
        QTest::newRow("start") << "start"
                               << "Tonquill from Marrowfen[*] Text2 0   1";
    }

    void whatThePictureCannotShow() {
        QFETCH(QString, what);
        QTEST(hidden(what), "shown");
        QVERIFY(!option("Tone number after the syllable")->isChecked());
    }

    // The choice outlives the window, in the INI file the user can read.
    void toneAfterSyllableIsRemembered() {
        option("Tone number after the syllable")->trigger();
        QVERIFY(form->toneAfterSyllable());
        QFile file(settingsFile);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), "[typing]\ntoneAfterSyllable=true\n");
        form = std::make_unique<Form1>();
        QVERIFY(form->toneAfterSyllable());
        QVERIFY(option("Tone number after the syllable")->isChecked());
        option("Tone number after the syllable")->trigger();
        form = std::make_unique<Form1>();
        QVERIFY(!form->toneAfterSyllable());
    }

    void toneAfterTheSyllableInTheMiddleOfTheText() {
        option("Tone number after the syllable")->trigger();
        Text2->setPlainText("Wo3 ai4  ma");
        putCaret(8);
        QTest::keyClicks(Text2, "Zhong1guo2");
        QCOMPARE(unicodeOf(Text2), QStringLiteral("Wo3 ai4 Zhōngguó ma"));
        QCOMPARE(Text2->textCursor().position(), 16);
        Text2->undo();
        QCOMPARE(unicodeOf(Text2), QStringLiteral("Wo3 ai4 Zhōngguo2 ma"));
        Text2->redo();
        QCOMPARE(unicodeOf(Text2), QStringLiteral("Wo3 ai4 Zhōngguó ma"));
        putCaret(16);
        QTest::keyClicks(Text2, " x");
        Text2->undo();
        QCOMPARE(unicodeOf(Text2), QStringLiteral("Wo3 ai4 Zhōngguó ma"));
        // The vowel-and-digit rule stays quiet: it would make lǜ of ly4.
        putCaret(0);
        typeSlowly(Text2, "ly4 ");
        QVERIFY(runningTimers().isEmpty());
        QInputMethodEvent commit;
        commit.setCommitString("lv4 ");
        QApplication::sendEvent(Text2, &commit);
        QCOMPARE(unicodeOf(Text2), QStringLiteral("ly4 lǜ Wo3 ai4 Zhōngguó ma"));
    }

    void convertToneNumbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selectionEnd");
        QTest::addColumn<QString>("pinyin");
        const QString course = "Zhong1guo2 ren2 xue2 Han4yu3 lu:e4";
        QTest::newRow("whole text")
            << course << 0 << QStringLiteral("Zhōngguó rén xué Hànyǔ lu:e4");
        QTest::newRow("selection")
            << course << 16 << QStringLiteral("Zhōngguó rén xue2 Han4yu3 lu:e4");
        QTest::newRow("nothing to convert") << "mp3 2024 lve4" << 0 << "mp3 2024 lve4";
    }

    void convertToneNumbers() {
        QFETCH(QString, text);
        QFETCH(int, selectionEnd);
        Text2->setPlainText(text);
        QTextCursor cursor(Text2->document());
        cursor.setPosition(selectionEnd, QTextCursor::KeepAnchor);
        Text2->setTextCursor(cursor);
        QMenu* menu = openContextMenu();
        QVERIFY(menu);
        QTest::mouseClick(menu, Qt::LeftButton, {},
                          menu->actionGeometry(action(menu, "Convert tone numbers")).center());
        QTEST(unicodeOf(Text2), "pinyin");
        QCOMPARE(Text2->document()->isUndoAvailable(), Text2->toPlainText() != text);
        Text2->undo();
        QCOMPARE(Text2->toPlainText(), text);
    }

    void typingAtOrdinarySpeedShowsToneGlyphs() {
        typeSlowly(Text2, "ma1 ma2 ma3 ma4");
        QCOMPARE(Text2->toPlainText(), QStringLiteral("m\u00E1 m\u00E0 m\u00E2 m\u00E4"));
        QCOMPARE(Text2->textCursor().position(), Text2->toPlainText().size());
        QCOMPARE(form->pendingVowel(), 0);
        QCOMPARE(form->lastKey(), '4');
        QVERIFY(runningTimers().isEmpty());
    }

    void typingFasterThanTheTimer() {
        QTest::keyClicks(Text2, "a1e2");
        QCOMPARE(form->pendingVowel(), 'e');
        QCOMPARE(runningTimers().size(), 2);
        QTRY_VERIFY(runningTimers().isEmpty());
        QCOMPARE(Text2->toPlainText(), "a1e2");
        QCOMPARE(form->pendingVowel(), 0);
    }

    void keysWithoutACharacterDoNotReachTheTracker() {
        typeSlowly(Text2, "xa");
        for (Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Delete, Qt::Key_Home, Qt::Key_End,
                            Qt::Key_F5, Qt::Key_PageUp})
            QTest::keyClick(Text2, key);
        QCOMPARE(form->lastKey(), 'a');
        typeSlowly(Text2, "3");
        QCOMPARE(Text2->toPlainText(), QStringLiteral("x\u00E2"));
    }

    void controlCharactersReachTheTracker() {
        typeSlowly(Text2, "a");
        QTest::keyClick(Text2, Qt::Key_Backspace);
        QCOMPARE(form->lastKey(), 8);
        QCOMPARE(form->pendingVowel(), 0);
        QTest::keyClick(Text2, Qt::Key_Return);
        QCOMPARE(form->lastKey(), 13);
        pressControl(Text2, Qt::Key_A);
        QCOMPARE(form->lastKey(), 1);
    }

    void inputMethodCharactersReachTheTrackerOneByOne() {
        QInputMethodEvent commit;
        commit.setCommitString("o4");
        QApplication::sendEvent(Text2, &commit);
        QCOMPARE(Text2->toPlainText(), "o4");
        QTRY_COMPARE(Text2->toPlainText(), QStringLiteral("\u00F3"));
    }

    // A line break is CR LF to the tick: with the caret before it, the break is what goes.
    void lineBreakCountsAsTwoCharacters() {
        Text2->setPlainText("xyz\n");
        QTextCursor start = Text2->textCursor();
        start.setPosition(0);
        Text2->setTextCursor(start);
        typeSlowly(Text2, "a1");
        QCOMPARE(Text2->toPlainText(), QStringLiteral("a1xyz\u00E1"));
        QCOMPARE(Text2->textCursor().position(), 6);
    }

    void undoTakesBackTheReplacementAlone() {
        typeSlowly(Text2, "ni3");
        QCOMPARE(Text2->toPlainText(), QStringLiteral("n\u00ED"));
        Text2->undo();
        QCOMPARE(Text2->toPlainText(), "ni3");
        Text2->redo();
        QCOMPARE(Text2->toPlainText(), QStringLiteral("n\u00ED"));
    }

    void pendingTickCompletesWhileHelpIsShown() {
        QTest::keyClicks(Text2, "a1");
        QTest::mouseClick(control<QCheckBox>("Check1"), Qt::LeftButton, {}, QPoint(6, 8));
        QVERIFY(control<QWidget>("Text14")->isVisible());
        QVERIFY(!Text2->isVisible());
        QTRY_COMPARE(Text2->toPlainText(), QStringLiteral("\u00E1"));
        QCOMPARE(form->pendingVowel(), 0);
    }

    void presentationControlsActOnTheEditor() {
        QTest::mouseClick(control<QRadioButton>("op(1)"), Qt::LeftButton);
        QTest::mousePress(control<QWidget>("pCol"), Qt::LeftButton, {}, QPoint(1, 38));
        QCOMPARE(Text2->palette().color(QPalette::Base), QColor(255, 0, 0));
        QTest::mouseClick(control<QRadioButton>("op(0)"), Qt::LeftButton);
        QTest::mousePress(control<QWidget>("pCol"), Qt::RightButton, {}, QPoint(49, 38));
        QCOMPARE(Text2->palette().color(QPalette::Text), QColor(0, 255, 0));
        QCOMPARE(Text2->palette().color(QPalette::Base), QColor(255, 0, 0));

        auto* Text1 = control<QLineEdit>("Text1");
        Text1->clear();
        QTest::keyClicks(Text1, "14");
        QCOMPARE(Text2->font().pointSizeF(), 18.0);
        QTest::keyClick(Text1, Qt::Key_Return);
        QCOMPARE(Text2->font().pointSizeF(), 14.0);
        QCOMPARE(form->c1().fontSize(), 14.0f);
        QCOMPARE(Text2->font().family(), toneFace);
        QCOMPARE(control<QWidget>("Text3")->font().pointSizeF(), 15.75);
    }

    // A no-break space leaves as it is, where Qt's plain text would make it a plain one.
    void copyAsUnicodePinyinFromTheMenu() {
        typeSlowly(Text2, "Ni3");
        Text2->insertPlainText(QStringLiteral("\u00A0"));
        typeSlowly(Text2, "ha3o");
        QMenu* menu = openContextMenu();
        QVERIFY(menu);
        QTest::mouseClick(menu, Qt::LeftButton, {},
                          menu->actionGeometry(action(menu, "Copy as Unicode pinyin")).center());
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("N\u01D0\u00A0h\u01CEo"));
        QCOMPARE(Text2->toPlainText(), QStringLiteral("N\u00ED h\u00E2o"));
    }

    void copyAsUnicodePinyinTakesTheSelection() {
        typeSlowly(Text2, "ma3 ma4");
        QTextCursor cursor = Text2->textCursor();
        cursor.setPosition(0);
        cursor.setPosition(2, QTextCursor::KeepAnchor);
        Text2->setTextCursor(cursor);
        QTest::keyClick(Text2, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("m\u01CE"));
    }

    void pasteUnicodePinyinWithTheShortcut() {
        typeSlowly(Text2, "x");
        QApplication::clipboard()->setText(QStringLiteral("l\u01DCs\u00E8 e\u0304 \u00EA"));
        QTest::keyClick(Text2, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(Text2->toPlainText(), QStringLiteral("xl\u00FCs\u00E9 \u00E3 e\u0302"));
        Text2->undo();
        QCOMPARE(Text2->toPlainText(), "x");
    }

    // A key that a shortcut of the window takes reaches the tracker as its control code, before
    // the action runs, while the editor has the focus; whether Qt gives it the control code or
    // the letter as text. An action chosen otherwise leaves the tracker alone.
    void shortcutKeysReachTheTracker_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("keyText");
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("lastKey");
        QTest::newRow("paste Unicode pinyin") << int(Qt::Key_V) << "V"
                                              << "editor"
                                              << "ax1" << 22;
        QTest::newRow("copy as Unicode pinyin") << int(Qt::Key_C) << "\x03"
                                                << "editor"
                                                << "a1" << 3;
        QTest::newRow("window menu") << int(Qt::Key_G) << "g"
                                     << "editor"
                                     << "a1" << 7;
        QTest::newRow("window menu, focus elsewhere") << int(Qt::Key_G) << "g"
                                                      << "Text1"
                                                      << "\u00E1" << int('a');
        QTest::newRow("window menu by mouse") << int(Qt::Key_G) << ""
                                              << "mouse"
                                              << "\u00E1" << int('a');
    }
    void shortcutKeysReachTheTracker() {
        QFETCH(int, key);
        QFETCH(QString, keyText);
        QFETCH(QString, way);
        QFETCH(QString, shown);
        QFETCH(int, lastKey);
        const Qt::KeyboardModifiers keys =
            key == Qt::Key_G ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier;
        QAction* action = form->menuBar()->addMenu("Test")->addAction("Test action");
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
        int seenByAction = -1;
        connect(action, &QAction::triggered, this, [&] { seenByAction = form->lastKey(); });
        QApplication::clipboard()->setText("x");
        typeSlowly(Text2, "a");
        if (way == "mouse") {
            action->trigger();
        } else {
            QWidget* focus = way == "editor" ? Text2 : control<QWidget>("Text1");
            focus->setFocus();
            QTest::sendKeyEvent(QTest::Click, focus, Qt::Key(key), keyText, keys);
            Text2->setFocus();
        }
        QCOMPARE(form->lastKey(), lastKey);
        QCOMPARE(seenByAction, key == Qt::Key_G ? lastKey : -1);
        typeSlowly(Text2, "1");
        QTRY_VERIFY(runningTimers().isEmpty());
        QCOMPARE(Text2->toPlainText(), shown);
    }

    void fontTickGivesEveryBoxTheHeldFaceAndKeepsSizes() {
        for (QWidget* box : {static_cast<QWidget*>(Text2), control<QWidget>("Text13")}) {
            QFont other("Courier");
            other.setPointSizeF(box->font().pointSizeF());
            other.setBold(true);
            box->setFont(other);
        }
        auto* Timer12 = control<QTimer>("Timer12");
        Timer12->start();
        QTRY_VERIFY(!Timer12->isActive());
        QCOMPARE(Text2->font().family(), toneFace);
        QCOMPARE(Text2->font().pointSizeF(), 18.0);
        QVERIFY(Text2->font().bold());
        QCOMPARE(control<QWidget>("Text13")->font().family(), toneFace);
        QCOMPARE(control<QWidget>("Text13")->font().pointSizeF(), 15.75);
        QVERIFY(control<QWidget>("Text1")->font().family() != toneFace);
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
