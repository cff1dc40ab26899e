#include "app/DocumentFile.h"
#include "app/EditorMirror.h"
#include "app/EditorText.h"
#include "app/Form1.h"
#include "app/HelpText.h"
#include "tone/GlyphTables.h"
#include "tone/ToneFont.h"
#include "tone/UnicodePinyin.h"

#include "TestSupport.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QStyleOption>
#include <QTemporaryDir>
#include <QTimer>

#include <fontconfig/fontconfig.h>

using namespace Qt::StringLiterals;

namespace {

const QString toneFace = QString::fromUtf8(tone::toneFontFace.data());
const QString settingsFile = qEnvironmentVariable("XDG_CONFIG_HOME") + "/tonquill/tonquill.conf";
const QByteArray doneMarker("\"Ja\"\r\n"), builtFont = readFile(PROGRAM_DIR "/pyserif.ttf");

// One key, slower than the replacement timers' 20 ms unless `fast`, with the text a keyboard sends:
// a control code for Ctrl and a letter, CR for Return, BS for Backspace, none for other keys.
void press(QWidget* box, QKeyCombination key, QString text, bool fast) {
    const bool control = key.keyboardModifiers() == Qt::ControlModifier;
    if (control && key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z)
        text = QChar(key.key() - Qt::Key_A + 1);
    else if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Backspace)
        text = key.key() == Qt::Key_Return ? "\r" : "\b";
    QTest::sendKeyEvent(QTest::Click, box, key.key(), text, key.keyboardModifiers());
    QTest::qWait(fast ? 0 : 45);
}

// Each character of `text` as its key; a name in angle brackets ("<Left>", "<Ctrl+Z>") as that key.
void type(QWidget* box, const QStringList& keys, bool fast = false) {
    for (const QString& item : keys) {
        if (item.startsWith('<') && item.endsWith('>') && item.size() > 2) {
            press(box, QKeySequence(item.mid(1, item.size() - 2))[0], QString(), fast);
            continue;
        }
        for (QChar key : item)
            press(box, Qt::Key(key.toUpper().unicode()), key, fast);
    }
}
void type(QWidget* box, const QString& text, bool fast = false) {
    type(box, QStringList{text}, fast);
}

QString glyphsOf(const QString& pinyin) {
    return QString::fromStdU16String(tone::fromUnicodePinyin(pinyin.toStdU16String()));
}

QString unicodeOf(const QPlainTextEdit* box) {
    return QString::fromStdU16String(tone::toUnicodePinyin(box->toPlainText().toStdU16String()));
}

QAction* action(QWidget* menu, const QString& text) {
    for (QAction* action : menu->actions())
        if (action->text() == text)
            return action;
    return nullptr;
}

} // namespace

// The window in a folder of its own, with every message box answered as it comes: with the next
// of `answers` (a button's text, or "Escape"), or its default; noted in `messages`.
class TestForm1 : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<Form1> form;
    QPlainTextEdit* Text2 = nullptr;
    QStringList messages, answers;
    QTimer watcher;

    QString path(const QString& name) const { return folder->filePath(name); }
    template <typename T = QWidget> T* control(const QString& name) {
        return form->findChild<T*>(name);
    }
    QAction* afterSyllable() {
        return action(control("options"), "Tone number after the syllable");
    }
    void answer() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        messages << box->windowTitle() + ": " + box->text();
        const QString reply = answers.isEmpty() ? QString() : answers.takeFirst();
        for (QAbstractButton* button : box->buttons())
            if (button->text().remove('&') == reply)
                return button->click();
        QTest::keyClick(box, reply == "Escape" ? Qt::Key_Escape : Qt::Key_Return);
    }
    // With a marker, Form_Load runs on a program folder holding it, the font and the picture.
    void start(const QByteArray& marker = {}, const QByteArray& font = {},
               const QByteArray& gif = {}) {
        FcInitReinitialize(); // as a new process finds the user's fonts
        form = std::make_unique<Form1>(nullptr, path("state"));
        Text2 = control<QPlainTextEdit>("Text2");
        if (!marker.isEmpty()) {
            QVERIFY(writeFile(path("program/font.log"), marker) &&
                    writeFile(path("program/pyserif.ttf"), font));
            QVERIFY(gif.isNull() || writeFile(path("program/zhongwen.gif"), gif));
            form->Form_Load(path("program"));
        }
        form->show();
    }
    void select(int from, int to) {
        QTextCursor cursor(Text2->document());
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        Text2->setTextCursor(cursor);
    }
    void chooseFromContextMenu(const QString& item) {
        const QPoint at(20, 20);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, Text2->viewport()->mapToGlobal(at));
        QApplication::sendEvent(Text2->viewport(), &event);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QTest::mouseClick(menu, Qt::LeftButton, {},
                          menu->actionGeometry(action(menu, item)).center());
    }
    int runningTimers() {
        return std::ranges::count_if(form->findChildren<QTimer*>(), &QTimer::isActive);
    }
    void commit(const QString& text) {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(Text2, &event);
    }

    QVariant observed(const QString& property) {
        QStringList menus;
        for (QAction* menu : form->menuBar()->actions())
            menus << menu->text();
        if (property == "menu bar")
            return menus;
        if (property.startsWith("menu ")) {
            QStringList items;
            for (QAction* menu : form->menuBar()->actions())
                for (QAction* item : menu->menu()->actions())
                    if (menu->text() == property.mid(5))
                        items << item->text() + "|" + item->shortcut().toString();
            return items;
        }
        if (property == "tab order")
            return tabOrder();
        if (property == "timers")
            return timerIntervals();
        if (property == "holders")
            return glyphHolders();
        if (property.startsWith("help"))
            return property == "help size" ? QVariant(int(helpText().size()))
                                           : QVariant(helpText().section("\r\n", 0, 0));
        if (property == "title")
            return form->windowTitle();
        if (property == "focus")
            return QApplication::focusWidget()->objectName();
        return int(Text2->horizontalScrollBarPolicy());
    }
    QStringList tabOrder() {
        QStringList names;
        QWidget* widget = Text2;
        do {
            if (widget->parentWidget() == form->centralWidget() && widget->isVisible() &&
                (widget->focusPolicy() & Qt::TabFocus))
                names << widget->objectName();
        } while ((widget = widget->nextInFocusChain()) != Text2);
        return names;
    }
    // Each timer's interval, marked ! when it repeats and + when it runs.
    QStringList timerIntervals() {
        QStringList timers;
        for (QTimer* timer : form->findChildren<QTimer*>())
            timers << QString::number(timer->interval()) + (timer->isSingleShot() ? "" : "!") +
                          (timer->isActive() ? "+" : "");
        timers.sort();
        return timers;
    }
    // Hidden, holding their row's glyphs in the tone face at 15.75 points.
    int glyphHolders() {
        int holders = 0;
        for (int row = 1; row <= tone::rowCount; ++row) {
            auto* box = control<QLineEdit>(QString("Text%1").arg(row + 2));
            holders += box->text() == QString::fromStdU16String(tone::glyphTable(row)) &&
                       !box->isVisible() && box->font().pointSizeF() == 15.75 &&
                       box->font().family() == toneFace;
        }
        return holders;
    }

  private slots:
    void initTestCase() {
        connect(&watcher, &QTimer::timeout, this, &TestForm1::answer);
        watcher.start(20);
    }
    void init() {
        QFile::remove(settingsFile);
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir().mkpath(path("program")));
        qputenv("HOME", path("home").toUtf8());
        qunsetenv("XDG_DATA_HOME");
        messages = answers = {};
        start();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    void cleanup() { form.reset(); }

    // What the reference picture of the window cannot show, each property on its own.
    void whatThePictureCannotShow_data() {
        columns<QString, QVariant>({"property", "expected"});
        const auto row = [](const char* name, const char* property, const QVariant& expected) {
            QTest::addRow("%s", name) << QString(property) << expected;
        };
        row("the menu bar", "menu bar", QStringList{"File", "Print ", "Options"});
        row("File menu with its shortcuts", "menu File",
            QStringList{"Open…|Ctrl+O", "Save|Ctrl+S", "Save As…|Ctrl+Shift+S", "Export as PDF…|",
                        "|", "Quit|Ctrl+Q"});
        row("Print menu, its caption with a trailing blank", "menu Print ",
            QStringList{"Print text|"});
        row("Options menu", "menu Options",
            QStringList{"Tone number after the syllable|", "Convert tone numbers|",
                        "Convert to tone numbers|", "Chinese characters to pinyin|",
                        "Find…|Ctrl+F"});
        row("Tab goes through the visible controls in design order", "tab order",
            QStringList{"Text2", "Text1", "pCol", "op(0)", "op(1)", "Check1"});
        row("twelve one-shot timers, none running: Timer1 100 ms, the others 20 ms", "timers",
            QStringList{"100", "20", "20", "20", "20", "20", "20", "20", "20", "20", "20", "20"});
        row("every glyph holder hidden, holding its row in the tone face at 15.75 points",
            "holders", 11);
        row("the help text's length", "help size", 773);
        row("the help text's first line", "help first line",
            "To write pinyin pinyin you just have to add a ");
        row("the caption, marked while modified", "title", "Tonquill from Marrowfen[*]");
        row("the editor has the focus", "focus", "Text2");
        row("the editor has no sideways scroll bar", "horizontal scroll bar",
            int(Qt::ScrollBarAlwaysOff));
    }
    void whatThePictureCannotShow() { QTEST(observed(cell<QString>("property")), "expected"); }
    // A screen reader can name every control a user reaches; the glyph holders, never shown, are
    // not in its tree, so only the other eleven controls are.
    void accessibleTree() {
        QAccessibleInterface* client = QAccessible::queryAccessibleInterface(form->centralWidget());
        QCOMPARE(client->childCount(), 11);
        for (int index = 0; index < client->childCount(); ++index) {
            QAccessibleInterface* child = client->child(index);
            const auto* widget = qobject_cast<QWidget*>(child->object());
            QCOMPARE(client->indexOfChild(child), index);
            QVERIFY2(widget->focusPolicy() == Qt::NoFocus ||
                         !child->text(QAccessible::Name).trimmed().isEmpty(),
                     qPrintable(widget->objectName()));
        }
    }
    // The editor reads as Unicode pinyin, a letter the tone font cannot draw composed again, and
    // the caret and a selection fall on the same letters as in the editor.
    void editorReadsAsUnicodePinyin() {
        Text2->setPlainText(QString::fromStdU16String(tone::fromUnicodePinyin(u"Nǐ hǎo, mañana")));
        QAccessibleInterface* editor = QAccessible::queryAccessibleInterface(Text2);
        QAccessibleTextInterface* text = editor->textInterface();
        QCOMPARE(text->text(0, text->characterCount()), u"Nǐ hǎo, mañana"_s);
        QCOMPARE(editor->text(QAccessible::Name), "Pinyin text");
        text->setSelection(0, 11, 14);
        QCOMPARE(Text2->textCursor().selectedText(), "ana");
        text->setCursorPosition(10);
        QCOMPARE(text->cursorPosition(), 10);
        QTest::keyClick(Text2, Qt::Key_End);
        QCOMPARE(text->cursorPosition(), 14);
        type(Text2, "a1", true);
        QTRY_COMPARE(text->text(14, text->characterCount()), u"ā"_s);
    }
    // Each caption, measured in the font its control really uses, lies whole inside its box.
    void captionsFitTheirBoxes() {
        for (const char* name : {"Label1", "Label2", "Check1", "op(0)", "op(1)"}) {
            auto* box = control(name);
            QRect caption;
            if (auto* label = qobject_cast<QLabel*>(box)) {
                caption = QRect(0, 0, label->width(), label->heightForWidth(label->width()));
            } else {
                auto* button = qobject_cast<QAbstractButton*>(box);
                QStyleOptionButton option;
                option.initFrom(button);
                const QRect room = button->style()->subElementRect(
                    qobject_cast<QRadioButton*>(button) ? QStyle::SE_RadioButtonContents
                                                        : QStyle::SE_CheckBoxContents,
                    &option, button);
                const QSize text = button->fontMetrics().size(0, button->text());
                QVERIFY2(text.height() <= room.height(), name);
                caption = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignLeft, text, room);
            }
            QVERIFY2(box->rect().contains(caption), name);
        }
    }
    // The keys, typed fast or not, an input method's commit after them; the text shown, the last
    // key the tracker saw and the vowel pending at once.
    void typing_data() {
        columns<QStringList, bool, QString, QString, int, int>(
            {"keys", "fast", "commit", "shown", "lastKey", "pending"});
        auto row = [](const char* name, const QStringList& keys, bool fast, const QString& commit,
                      const QString& shown, int lastKey, int pending) {
            QTest::newRow(name) << keys << fast << commit << shown << lastKey << pending;
        };
        row("ordinary speed", {"ma1 ma2 ma3 ma4"}, false, "", u"má mà mâ mä"_s, '4', 0);
        row("faster than the timer", {"a1e2"}, true, "", "a1e2", '2', 'e');
        row("keys that carry no character leave the vowel pending",
            {"xa", "<Left>", "<Right>", "<Del>", "<Home>", "<End>", "<F5>", "<PgUp>", "3"}, false,
            "", u"xâ"_s, '3', 0);
        row("backspace", {"a", "<Backspace>"}, false, "", "", 8, 0);
        row("return and control A", {"a", "<Return>", "<Ctrl+A>"}, false, "", "a\n", 1, 0);
        row("undo takes back the replacement alone", {"ni3", "<Ctrl+Z>", "<End>"}, false, "", "ni3",
            26, 0);
        row("input method", {}, false, "o4", u"ó"_s, '4', 'o');
        // A line break is CR LF to the tick: typed before it, the break is what goes.
        row("line break is two units", {"xyz", "<Return>", "<Up>", "<Home>", "a1"}, false, "",
            u"a1xyzá"_s, '1', 0);
        row("after a line break", {"x", "<Return>", "a1"}, false, "", u"x\ná"_s, '1', 0);
    }
    void typing() {
        type(Text2, cell<QStringList>("keys"), cell<bool>("fast"));
        commit(cell<QString>("commit"));
        QTEST(int(form->lastKey()), "lastKey");
        QTEST(int(form->pendingVowel()), "pending");
        QTRY_COMPARE(runningTimers(), 0);
        QTEST(Text2->toPlainText(), "shown");
        QCOMPARE(Text2->textCursor().position(), Text2->toPlainText().size());
        QCOMPARE(form->pendingVowel(), 0);
    }
    // The choice outlives the window, in the INI file the user can read. The vowel-and-digit rule
    // stays quiet then: it would make lǜ of ly4.
    void toneAfterSyllable() {
        afterSyllable()->trigger();
        QCOMPARE(readFile(settingsFile), "[typing]\ntoneAfterSyllable=true\n");
        Text2->setPlainText("Wo3 ai4  ma");
        select(8, 8);
        QTest::keyClicks(Text2, "Zhong1guo2");
        QCOMPARE(unicodeOf(Text2), u"Wo3 ai4 Zhōngguó ma"_s);
        QCOMPARE(Text2->textCursor().position(), 16);
        Text2->undo();
        QCOMPARE(unicodeOf(Text2), u"Wo3 ai4 Zhōngguo2 ma"_s);
        select(0, 0);
        type(Text2, "ly4 ");
        QCOMPARE(runningTimers(), 0);
        commit("lv4 ");
        QCOMPARE(unicodeOf(Text2), u"ly4 lǜ Wo3 ai4 Zhōngguo2 ma"_s);
        for (bool on : {true, false}) {
            form = std::make_unique<Form1>();
            QCOMPARE(form->toneAfterSyllable(), on);
            QCOMPARE(afterSyllable()->isChecked(), on);
            afterSyllable()->trigger();
        }
    }
    // Ctrl+F, a search text and Enter select each match, past the end from the start again; a
    // text that is not there is said calmly; F3 and Shift+F3 go on from the editor; while the
    // help is shown Find is off. The text never changes.
    void findThroughTheWindow() {
        const QString text = glyphsOf(u"Nǐ hǎo, hào hao"_s);
        Text2->setPlainText(text);
        QTest::keyClick(Text2, Qt::Key_F, Qt::ControlModifier);
        auto* find = form->findChild<QDialog*>("find");
        QVERIFY(find && find->isVisible());
        auto* box = find->findChild<QLineEdit*>("findText");
        auto* status = find->findChild<QLabel*>("findStatus");
        const auto selected = [this] { return Text2->textCursor().selectionStart(); };
        QTest::keyClicks(box, "hao4");
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(selected(), 8);
        QCOMPARE(status->text(), "");
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(selected(), 8);
        QCOMPARE(status->text(), "Passed the end; went on from the start.");
        box->setText("hai");
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(status->text(), "Not found");
        QCOMPARE(selected(), 8);
        box->setText("HAO");
        QTest::keyClick(find, Qt::Key_Escape);
        QVERIFY(!find->isVisible());
        QApplication::setActiveWindow(form.get());
        QTest::keyClick(Text2, Qt::Key_F3);
        QCOMPARE(selected(), 12);
        QTest::keyClick(Text2, Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(selected(), 8);
        control<QAbstractButton>("Check1")->click();
        QVERIFY(!box->isEnabled());
        QCOMPARE(status->text(), "Find is off while the help is shown.");
        QCOMPARE(EditorText::all(*Text2), text);
    }
    // Typed with the tone number after the syllable: ü beside the marked vowel, a capital Ü and
    // an interjection, which inside a word stays as typed.
    void newSyllablesTypedLive_data() {
        columns<QString, QString>({"keys", "shown"});
        QTest::addRow("ü beside the mark") << "lve4 nu:5" << u"lüè nü"_s;
        QTest::addRow("capital Ü") << "LV4" << u"LǛ"_s;
        QTest::addRow("interjections") << "m2 ng4 km2" << u"ḿ ǹg km2"_s;
    }
    void newSyllablesTypedLive() {
        afterSyllable()->trigger();
        QTest::keyClicks(Text2, cell<QString>("keys"));
        QTEST(unicodeOf(Text2), "shown");
    }
    // The text and its selection, a context menu item or a Ctrl+Shift key; the text then, in
    // Unicode, and the clipboard. A no-break space is copied as it is.
    void editorActions_data() {
        columns<QString, int, int, QString, QString, QString>(
            {"text", "from", "to", "way", "shown", "clipboard"});
        const QString course = "Zhong1guo2 ren2 xue2 Han4yu3 lu:e4", nihao = u"Ní\u00A0hâo"_s;
        const QString convert = "Convert tone numbers", pasted = u"lǜsè e\u0304 ê"_s;
        auto row = [&](const char* name, const QString& text, int from, int to, const QString& way,
                       const QString& shown, const QString& clipboard) {
            QTest::newRow(name) << text << from << to << way << shown << clipboard;
        };
        row("convert all", course, 0, 0, convert, u"Zhōngguó rén xué Hànyǔ lüè"_s, pasted);
        row("convert selection", course, 0, 16, convert, u"Zhōngguó rén xue2 Han4yu3 lu:e4"_s,
            pasted);
        row("nothing to convert", "mp3 2024 ly4", 0, 0, convert, "mp3 2024 ly4", pasted);
        const QString back = "Convert to tone numbers";
        row("to numbers", glyphsOf(u"Xī'ān lüè, mp3"_s), 0, 0, back, "Xi1'an1 lu:e4, mp3", pasted);
        row("selection to numbers", glyphsOf(u"Nǐ hǎo"_s), 0, 2, back, u"Ni3 hǎo"_s, pasted);
        row("nothing to number", "ni hao", 0, 0, back, "ni hao", pasted);
        row("copy", nihao, 0, 0, "Copy as Unicode pinyin", u"Nǐ hǎo"_s, u"Nǐ\u00A0hǎo"_s);
        row("copy key", nihao, 0, 2, "Ctrl+Shift+C", u"Nǐ hǎo"_s, u"Nǐ"_s);
        row("paste key", "x", 1, 1, "Ctrl+Shift+V", u"xlǜsè ē ê"_s, pasted);
    }
    void editorActions() {
        const QString text = cell<QString>("text"), way = cell<QString>("way");
        Text2->setPlainText(text);
        select(cell<int>("from"), cell<int>("to"));
        QApplication::clipboard()->setText(u"lǜsè e\u0304 ê"_s);
        if (way.startsWith("Ctrl+")) {
            const QKeyCombination key = QKeySequence(way)[0];
            QTest::keyClick(Text2, key.key(), key.keyboardModifiers());
        } else {
            chooseFromContextMenu(way);
        }
        QTEST(unicodeOf(Text2), "shown");
        QTEST(QApplication::clipboard()->text(), "clipboard");
        QCOMPARE(Text2->document()->isUndoAvailable(), EditorText::all(*Text2) != text);
        Text2->undo();
        QCOMPARE(EditorText::all(*Text2), text);
    }
    // Chinese through the Options menu or the context menu, each in one undo step; without its
    // table the text stays as it is and a message says why.
    void chineseToPinyin_data() {
        columns<QString, int, int, QString, bool, QString, QString>(
            {"text", "from", "to", "way", "tableThere", "shown", "message"});
        const QString convert = "Chinese characters to pinyin", paste = "Paste Chinese as pinyin";
        QTest::addRow("the whole text from the Options menu")
            << u"我们是朋友。"_s << 0 << 0 << "Options" << true << u"wǒmen shì péngyou."_s << "";
        QTest::addRow("the selection alone from the context menu")
            << u"长大 ni3 银行"_s << 0 << 2 << convert << true << u"zhǎngdà ni3 银行"_s << "";
        QTest::addRow("pasted as pinyin, a space typed before it kept by Undo")
            << "x" << 1 << 1 << paste << true << "x juéde"
            << "";
        QTest::addRow("no table: the text unchanged, and why")
            << u"银行"_s << 0 << 0 << convert << false << u"银行"_s
            << "Chinese characters to pinyin: The table of Chinese readings could not be read";
    }
    void chineseToPinyin() {
        const QString text = cell<QString>("text"), way = cell<QString>("way");
        if (cell<bool>("tableThere"))
            QVERIFY(
                QFile::copy(PROGRAM_DIR "/hanzi-readings.dat", path("program/hanzi-readings.dat")));
        start(doneMarker, builtFont);
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        Text2->setPlainText(text);
        select(cell<int>("from"), cell<int>("to"));
        QApplication::clipboard()->setText(u"觉得"_s);
        const QString typed = way == "Paste Chinese as pinyin" ? " " : "";
        QTest::keyClicks(Text2, typed);
        if (way == "Options")
            action(control("options"), "Chinese characters to pinyin")->trigger();
        else
            chooseFromContextMenu(way);
        QTEST(unicodeOf(Text2), "shown");
        const QString message = cell<QString>("message");
        QCOMPARE(messages.join("").left(message.size()), message);
        QCOMPARE(messages.size(), message.isEmpty() ? 0 : 1);
        Text2->undo();
        QCOMPARE(EditorText::all(*Text2), text + typed);
    }
    // A key that a shortcut of the window takes reaches the tracker as its control code, before
    // the action runs, while the editor has the focus; whether Qt gives it the control code or
    // the letter as text; a key with no control code (Alt+G) does not reach it. An action chosen
    // otherwise leaves the tracker alone.
    void shortcutKeysReachTheTracker_data() {
        columns<QKeySequence, QString, QString, QString, int>(
            {"key", "text", "focus", "shown", "lastKey"});
        QTest::addRow("Paste Unicode pinyin's key, as Ctrl+V")
            << QKeySequence("Ctrl+Shift+V") << "V"
            << "Text2"
            << "ax1" << 22;
        QTest::addRow("Copy as Unicode pinyin's key, as Ctrl+C")
            << QKeySequence("Ctrl+Shift+C") << "\x03"
            << "Text2"
            << "a1" << 3;
        QTest::addRow("a window menu's key, as Ctrl+G") << QKeySequence("Ctrl+G") << "g"
                                                        << "Text2"
                                                        << "a1" << 7;
        QTest::addRow("a window menu's key with the focus elsewhere leaves the tracker")
            << QKeySequence("Ctrl+G") << "g"
            << "Text1"
            << "á" << int('a');
        QTest::addRow("a key with printable text and no control code leaves the tracker")
            << QKeySequence("Alt+G") << "g"
            << "Text2"
            << "á" << int('a');
    }
    void shortcutKeysReachTheTracker() {
        const QKeyCombination key = cell<QKeySequence>("key")[0];
        QWidget* focus = control(cell<QString>("focus"));
        QAction* action = form->menuBar()->addMenu("Test")->addAction("Test action");
        action->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::Key_G), QKeySequence(Qt::ALT | Qt::Key_G)});
        int seenByAction = -1;
        connect(action, &QAction::triggered, this, [&] { seenByAction = form->lastKey(); });
        QApplication::clipboard()->setText("x");
        type(Text2, "a");
        focus->setFocus();
        QTest::sendKeyEvent(QTest::Click, focus, key.key(), cell<QString>("text"),
                            key.keyboardModifiers());
        Text2->setFocus();
        QTEST(int(form->lastKey()), "lastKey");
        QCOMPARE(seenByAction, key.key() == Qt::Key_G ? form->lastKey() : -1);
        type(Text2, "1");
        QTRY_COMPARE(runningTimers(), 0);
        QTEST(Text2->toPlainText(), "shown");
    }
    // The Unicode keys belong to the editor: from the size box they neither copy nor paste.
    void unicodeKeysActOnlyInTheEditor_data() {
        columns<QKeySequence>({"key"});
        QTest::addRow("Ctrl+Shift+C copies nothing") << QKeySequence("Ctrl+Shift+C");
        QTest::addRow("Ctrl+Shift+V pastes nothing") << QKeySequence("Ctrl+Shift+V");
    }
    void unicodeKeysActOnlyInTheEditor() {
        Text2->setPlainText("hao");
        QApplication::clipboard()->setText("x");
        auto* Text1 = control<QLineEdit>("Text1");
        Text1->setFocus();
        const QKeyCombination key = cell<QKeySequence>("key")[0];
        QTest::keyClick(Text1, key.key(), key.keyboardModifiers());
        QCOMPARE(QApplication::clipboard()->text(), "x");
        QCOMPARE(Text2->toPlainText(), "hao");
    }
    // A digit key that puts nothing in (Ctrl+3) is not typed: a tone number kept in the text stays.
    void keyThatPutsNothingInConvertsNothing() {
        afterSyllable()->trigger();
        Text2->setPlainText("hao3");
        Text2->moveCursor(QTextCursor::End);
        QTest::keyClick(Text2, Qt::Key_3, Qt::ControlModifier);
        QCOMPARE(Text2->toPlainText(), "hao3");
    }
    // The help box, colour and size controls act on the editor; the font tick gives every box
    // the held face and keeps its size and weight.
    void presentationControlsActOnTheEditor() {
        type(Text2, "a1", true);
        QTest::mouseClick(control<QAbstractButton>("Check1"), Qt::LeftButton, {}, QPoint(6, 8));
        const auto* Text14 = control<QPlainTextEdit>("Text14");
        QVERIFY(Text14->isVisible() && !Text2->isVisible());
        QCOMPARE(Text14->toPlainText(), QString(helpText()).replace("\r\n", "\n"));
        QCOMPARE(Text14->document()->defaultFont().family(), "Courier"); // laid out in its face
        QTRY_COMPARE(Text2->toPlainText(), u"á"_s); // the pending tick completes meanwhile
        QTest::mouseClick(control<QRadioButton>("op(1)"), Qt::LeftButton);
        QTest::mousePress(control("pCol"), Qt::LeftButton, {}, QPoint(1, 38));
        QTest::mouseClick(control<QRadioButton>("op(0)"), Qt::LeftButton);
        QTest::mousePress(control("pCol"), Qt::RightButton, {}, QPoint(49, 38));
        QCOMPARE(Text2->palette().color(QPalette::Text), QColor(0, 255, 0));
        QCOMPARE(Text2->palette().color(QPalette::Base), QColor(255, 0, 0));
        auto* Text1 = control<QLineEdit>("Text1");
        Text1->clear();
        QTest::keyClicks(Text1, "14\r");
        QCOMPARE(Text2->font().pointSizeF(), 14.0);
        QCOMPARE(form->c1().fontSize(), 14.0f);
        Text2->setFont(QFont("Courier", 14, QFont::Bold));
        control<QTimer>("Timer12")->start();
        QTRY_VERIFY(!control<QTimer>("Timer12")->isActive());
        QCOMPARE(Text2->font(), QFont(toneFace, 14, QFont::Bold));
        QVERIFY(Text1->font().family() != toneFace);
    }
    // A first start whose font cannot be added: both failures are shown, the marker is rewritten
    // and the font tick armed all the same; a corrupt picture leaves a plain background.
    void firstStartWithABadFontAndPicture() {
        start("nej", "not a font", QByteArray("GIF89a\x31\x00\xff\xff garbage", 18));
        QCOMPARE(readFile(path("program/font.log")), doneMarker);
        QVERIFY(control<QTimer>("Timer12")->isActive());
        QTRY_VERIFY(!control<QTimer>("Timer12")->isActive());
        QCOMPARE(messages, QStringList(2, "Tonquill: Error Occured Calling AddFontResource"));
        QVERIFY(control<QLabel>("Image15")->pixmap().isNull());
        QCOMPARE(control("Image15")->size(), QSize(49, 57));
        const QPalette colours = form->centralWidget()->palette();
        QCOMPARE(colours.brush(QPalette::Window), QBrush(colours.color(QPalette::Button)));
    }
    // Captions, colours, positions and fonts at once. To remake the picture after a change of the
    // design on purpose: TONQUILL_REMAKE_PICTURE=1 ctest -R tst_form1, then look at it.
    void windowLooksAsDesigned() {
        QApplication::setCursorFlashTime(0); // a caret that stays put
        start(doneMarker, builtFont, readFile(PROGRAM_DIR "/zhongwen.gif"));
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        QTest::qWait(150); // the font tick
        const QImage shown = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
        if (qEnvironmentVariableIsSet("TONQUILL_REMAKE_PICTURE"))
            QVERIFY(shown.save(REFERENCE_PICTURE));
        const QImage reference = QImage(REFERENCE_PICTURE).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), reference.size());
        int differing = 0;
        for (int i = 0; i < shown.width() * shown.height(); ++i) {
            const QRgb a = shown.pixel(i % shown.width(), i / shown.width());
            const QRgb b = reference.pixel(i % shown.width(), i / shown.width());
            differing +=
                qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b)) >
                48;
        }
        QVERIFY2(differing <= 4, qPrintable(QString("%1 pixels differ").arg(differing)));
    }
    // The print server test's printout: its text through "Print text" with the help shown, which
    // must still print the editor's text in the tone font.
    void printThroughTheWindow() {
        if (!qEnvironmentVariableIsSet("TONQUILL_PRINT_TEXT"))
            QSKIP("the print server test runs this");
        start(doneMarker, builtFont);
        Text2->setPlainText(
            QString::fromUtf8(readFile(qEnvironmentVariable("TONQUILL_PRINT_TEXT"))));
        control<QAbstractButton>("Check1")->click();
        form->findChild<QAction*>("print")->trigger();
    }
    // Closing with unsaved changes asks first; with the folder gone, saving fails.
    void closeGuard_data() {
        columns<QStringList, bool, QByteArray>({"replies", "closed", "onDisk"});
        QTest::addRow("Save writes and closes")
            << QStringList{"Save"} << true << QByteArray("Nǎ added");
        QTest::addRow("Discard closes without writing")
            << QStringList{"Discard"} << true << QByteArray("Nǎ");
        QTest::addRow("Cancel keeps the window")
            << QStringList{"Cancel"} << false << QByteArray("Nǎ");
        QTest::addRow("Escape keeps the window")
            << QStringList{"Escape"} << false << QByteArray("Nǎ");
        QTest::addRow("a save that fails keeps the window, after saying so")
            << QStringList{"Save", "OK"} << false << QByteArray("(none)");
    }
    void closeGuard() {
        const QByteArray onDisk = cell<QByteArray>("onDisk");
        QVERIFY(QDir().mkpath(path("notes")) && writeFile(path("notes/a.txt"), "Nǎ"));
        QVERIFY(form->document().openFile(path("notes/a.txt")));
        Text2->insertPlainText(" added");
        QVERIFY(onDisk != "(none)" || QDir(path("notes")).removeRecursively());
        answers = cell<QStringList>("replies");
        form->close();
        QCOMPARE(messages.value(0), "Tonquill from Marrowfen: Save changes to a.txt?");
        QTEST(!form->isVisible(), "closed");
        QCOMPARE(readFile(path("notes/a.txt")), onDisk);
        QCOMPARE(form->isWindowModified(), onDisk != "Nǎ added");
    }
    // Random edits of every kind, the mirror checked after each; its chunks are made small, so
    // that edits cross them, split them and empty them.
    void mirrorFollowsEveryEdit() {
        QPlainTextEdit edit;
        EditorMirror mirror(edit, 4);
        QRandomGenerator random(7);
        const QStringList pieces{"",
                                 "a",
                                 "b\nc",
                                 "\n",
                                 "a paste\nof two lines",
                                 u"Ní\nhâo zài"_s,
                                 u"\u00A0 x"_s,
                                 u"a\u2029b"_s};
        for (int step = 0; step < 400; ++step) {
            const int size = edit.document()->characterCount(), kind = random.bounded(8);
            const QString piece = pieces[random.bounded(pieces.size())];
            QTextCursor cursor(edit.document());
            cursor.setPosition(random.bounded(size));
            cursor.setPosition(random.bounded(size), QTextCursor::KeepAnchor);
            kind == 0   ? edit.setPlainText(piece)
            : kind == 1 ? mirror.setPlainText(piece)
            : kind == 2 ? edit.undo()
            : kind == 3 ? edit.redo()
                        : cursor.insertText(piece);
            QVERIFY2(mirror.text() == EditorText::all(edit), qPrintable(QString::number(step)));
        }
    }
    // A file's stray byte, line ends and byte order mark outlive typing after the byte, Undo
    // and Save; a copy gives U+FFFD for the byte, and a paste drops U+0000.
    void bytesKeptThroughTheWindow() {
        const QByteArray file = "\xEF\xBB\xBF\xC7\x90\r\nb\xFF";
        QVERIFY(writeFile(path("a.txt"), file) && form->document().openFile(path("a.txt")));
        QCOMPARE(messages, {"Tonquill from Marrowfen: a.txt holds 1 byte(s) that are not UTF-8. "
                            "Tonquill keeps them as they are and saves them back unchanged."});
        type(Text2, "a1");
        QTRY_COMPARE(runningTimers(), 0);
        QApplication::clipboard()->setText(u"\0x"_s);
        QTest::keyClick(Text2, Qt::Key_V, Qt::ControlModifier);
        QVERIFY(form->document().save());
        QCOMPARE(readFile(path("a.txt")), "\xEF\xBB\xBF\xC7\x90\r\nb\xFF\xC4\x81x");
        Text2->selectAll();
        QTest::keyClick(Text2, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), u"\u00ED\nb\uFFFD\u00E1x"_s);
        while (Text2->document()->isUndoAvailable())
            Text2->undo();
        QVERIFY(form->document().save());
        QCOMPARE(readFile(path("a.txt")), file);
    }
    // What the user hears of a file's name or bytes that the program cannot take as they are,
    // and of recovery that is off: once, after the window is shown.
    void saidOnce_data() {
        columns<QByteArray, bool, bool, QString>({"file", "nameKept", "stateLink", "message"});
        QTest::addRow("old tone-font file") << "N\xED h\xE2o"_ba << true << false
                                            << "a.txt is not UTF-8. Tonquill read it as an older";
        QTest::addRow("name not UTF-8")
            << "x"_ba << false << false << "its name holds bytes that are not UTF-8";
        QTest::addRow("recovery folder a link")
            << "x"_ba << true << true << "cannot keep a recovery copy of unsaved text";
    }
    void saidOnce() {
        QVERIFY(writeFile(path("a.txt"), cell<QByteArray>("file")));
        if (cell<bool>("stateLink")) {
            QVERIFY(QDir(path("state")).removeRecursively() &&
                    QFile::link(path(""), path("state")));
            start();
        }
        form->document().start(path("a.txt"), cell<bool>("nameKept"));
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].contains(cell<QString>("message")), qPrintable(messages[0]));
        QCOMPARE(form->document().path().isEmpty(), !cell<bool>("nameKept"));
    }
    // "Export as PDF…" writes the editor's text, the help shown or not; a write that fails names
    // the file and the reason.
    void exportAsPdf() {
        Text2->setPlainText(glyphsOf(u"nǐ hǎo"_s));
        control<QAbstractButton>("Check1")->click();
        QVERIFY(form->document().exportPdfTo(path("a.pdf")));
        QVERIFY(!form->document().exportPdfTo(path("missing/a.pdf")));
        QCOMPARE(messages, {"Tonquill from Marrowfen: Tonquill cannot export " +
                            path("missing/a.pdf") + ": No such file or directory."});
        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-enc", "UTF-8", path("a.pdf"), "-"});
        if (!pdftotext.waitForFinished(30000))
            QSKIP("pdftotext (poppler-utils) is not installed");
        QCOMPARE(QString::fromUtf8(pdftotext.readAllStandardOutput()).simplified(), u"nǐ hǎo"_s);
    }
    // A recovery write that fails is said at once, and only once.
    void failedRecoveryWriteIsSaid() {
        form->document().start({});
        QVERIFY(QDir(path("state")).removeRecursively());
        Text2->insertPlainText("typed");
        QTRY_COMPARE_WITH_TIMEOUT(messages.size(), 1, 4000);
        QVERIFY(messages[0].contains("No such file or directory. Until you save, a crash loses"));
        Text2->insertPlainText(" more");
        QTest::qWait(2500);
        QCOMPARE(messages.size(), 1);
    }
    // Typed text reaches a recovery file, which a later start offers before the command line file.
    void recovery_data() {
        columns<QString, QString, QString>({"reply", "shown", "title"});
        QTest::newRow("restored") << "Restore" << u"Ní hâo"_s << "kept.txt";
        QTest::newRow("discarded") << "Discard" << u"from the file"_s << "other.txt";
    }
    void recovery() {
        const bool restored = cell<QString>("reply") == "Restore";
        QVERIFY(writeFile(path("other.txt"), "from the file"));
        form->document().start(path("kept.txt"));
        Text2->insertPlainText(u"Ní hâo"_s);
        const auto kept = [this] { return QDir(path("state")).entryList({"*.txt"}).size(); };
        QTRY_COMPARE_WITH_TIMEOUT(kept(), 1, 4000);
        start(); // as after a crash: the text was never saved
        answers = {cell<QString>("reply")};
        form->document().start(path("other.txt"));
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].contains("found text that was not saved when it last stopped ("));
        QVERIFY(messages[0].endsWith(", 6 characters). Restore it?"));
        QTEST(Text2->toPlainText(), "shown");
        QCOMPARE(form->windowTitle(), cell<QString>("title") + "[*] – Tonquill from Marrowfen");
        QCOMPARE(form->isWindowModified(), restored);
        QCOMPARE(kept(), restored ? 1 : 0);
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
