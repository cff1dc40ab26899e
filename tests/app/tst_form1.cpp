#include "app/DocumentFile.h"
#include "app/EditorMirror.h"
#include "app/EditorText.h"
#include "app/Form1.h"
#include "app/HelpText.h"
#include "app/TiledBackground.h"
#include "tone/GlyphTables.h"
#include "tone/ToneFont.h"
#include "tone/UnicodePinyin.h"

#include "TestSupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <fontconfig/fontconfig.h>

using namespace Qt::StringLiterals;

namespace {

const QString toneFace = QString::fromUtf8(tone::toneFontFace.data());
const QString settingsFile = qEnvironmentVariable("XDG_CONFIG_HOME") + "/tonquill/tonquill.conf";
const QString afterSyllable = "Tone number after the syllable";
const QByteArray doneMarker("\"Ja\"\r\n");
const QByteArray builtFont = [] {
    QFile file(PROGRAM_DIR "/pyserif.ttf");
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}();

// Each character as a key, slower than the replacement timers' 20 ms as a person types unless
// `fast`. Below U+0020 a control key with its code as text, as a keyboard sends it (QTest would
// give Ctrl+letter the letter); from U+E000 a key without text, Qt's key code less 0x1000000.
void type(QWidget* box, const QString& keys, bool fast = false) {
    for (QChar key : keys) {
        const int code = key.unicode();
        const bool plain = code == '\b' || code == '\r';
        if (code >= 0xE000)
            QTest::keyClick(box, Qt::Key(0x1000000 + code - 0xE000));
        else if (code < 0x20)
            QTest::sendKeyEvent(QTest::Click, box,
                                code == '\b' ? Qt::Key_Backspace
                                : plain      ? Qt::Key_Return
                                             : Qt::Key(Qt::Key_A + code - 1),
                                QString(key), plain ? Qt::NoModifier : Qt::ControlModifier);
        else
            QTest::keyClicks(box, QString(key));
        if (!fast)
            QTest::qWait(45);
    }
}

QString unicodeOf(const QPlainTextEdit* box) {
    return QString::fromStdU16String(tone::toUnicodePinyin(box->toPlainText().toStdU16String()));
}

QAction* action(QWidget* menu, const QString& text) {
    for (QAction* action : menu->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

} // namespace

// The window in a folder of its own (program files, home, recovery files), with every message
// box answered as it comes: with the next of `answers` (a button's text, or "Escape"), or its
// default; its title and text are noted in `messages`.
class TestForm1 : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<Form1> form;
    QPlainTextEdit* Text2 = nullptr;
    QStringList messages, answers;

    QString path(const QString& name) const { return folder->filePath(name); }

    template <typename T = QWidget> T* control(const char* name) {
        return form->findChild<T*>(QLatin1String(name));
    }

    void answer() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        messages << box->windowTitle() + ": " + box->text();
        const QString reply = answers.isEmpty() ? QString() : answers.takeFirst();
        for (QAbstractButton* button : box->buttons()) {
            if (button->text().remove('&') == reply)
                return button->click();
        }
        QTest::keyClick(box, reply == "Escape" ? Qt::Key_Escape : Qt::Key_Return);
    }

    // With a marker, Form_Load runs on a program folder holding it, the font file and, unless
    // empty, the picture.
    void start(const QByteArray& marker = {}, const QByteArray& font = builtFont,
               const QByteArray& gif = {}) {
        FcInitReinitialize(); // as a new process finds the user's fonts
        form = std::make_unique<Form1>(nullptr, path("state"));
        Text2 = control<QPlainTextEdit>("Text2");
        if (!marker.isEmpty()) {
            QVERIFY(writeFile(path("program/font.log"), marker));
            QVERIFY(writeFile(path("program/pyserif.ttf"), font));
            QVERIFY(gif.isEmpty() || writeFile(path("program/zhongwen.gif"), gif));
            form->Form_Load(path("program"));
        }
        form->show();
    }

    void chooseFromContextMenu(const QString& text) {
        const QPoint at(20, 20);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, Text2->viewport()->mapToGlobal(at));
        QApplication::sendEvent(Text2->viewport(), &event);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QTest::mouseClick(menu, Qt::LeftButton, {},
                          menu->actionGeometry(action(menu, text)).center());
    }

    void select(int from, int to) {
        QTextCursor cursor(Text2->document());
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        Text2->setTextCursor(cursor);
    }

    int runningTimers() {
        const QList<QTimer*> timers = form->findChildren<QTimer*>();
        return std::count_if(timers.begin(), timers.end(), [](QTimer* t) { return t->isActive(); });
    }

    // What the reference picture of the window cannot show.
    QString hidden() {
        QStringList parts;
        for (QAction* menu : form->menuBar()->actions()) {
            parts << menu->text() + ":";
            for (QAction* item : menu->menu()->actions())
                parts << item->text() + "|" + item->shortcut().toString();
        }
        parts << "\ntabs";
        QWidget* widget = Text2;
        do {
            if (widget->parentWidget() == form->centralWidget() && widget->isVisible() &&
                (widget->focusPolicy() & Qt::TabFocus))
                parts << widget->objectName();
        } while ((widget = widget->nextInFocusChain()) != Text2);
        QStringList timers;
        for (QTimer* timer : form->findChildren<QTimer*>())
            timers << QString::number(timer->interval()) + (timer->isSingleShot() ? "" : "!") +
                          (timer->isActive() ? "+" : "");
        timers.sort();
        parts << "\ntimers" << timers << "\nholders";
        for (int row = 1; row <= tone::rowCount; ++row) {
            auto* holder = control<QLineEdit>(qPrintable(QString("Text%1").arg(row + 2)));
            parts << QString("%1%2%3%4")
                         .arg(holder->text() == QString::fromStdU16String(tone::glyphTable(row)))
                         .arg(holder->isVisible())
                         .arg(holder->font().pointSizeF())
                         .arg(holder->font().family() == toneFace);
        }
        const QString help = helpText();
        parts << "\nhelp" << QString::number(help.size()) << QString::number(help.count("\r\n"))
              << help.section("\r\n", 0, 0)
              << QString::number(control<QPlainTextEdit>("Text14")->toPlainText() ==
                                 QString(help).replace("\r\n", "\n"))
              << "\n" + form->windowTitle() << QApplication::focusWidget()->objectName()
              << QString::number(form->isWindowModified()) << control<QLineEdit>("Text1")->text()
              << QString::number(Text2->horizontalScrollBarPolicy())
              << QString::number(action(control("options"), afterSyllable)->isChecked());
        return parts.join(" ");
    }

  private slots:
    void initTestCase() {
        auto* watcher = new QTimer(this);
        connect(watcher, &QTimer::timeout, this, &TestForm1::answer);
        watcher->start(20);
    }

    void init() {
        QFile::remove(settingsFile);
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir().mkpath(path("program")));
        qputenv("HOME", path("home").toUtf8());
        qunsetenv("XDG_DATA_HOME");
        messages.clear();
        answers.clear();
        start();
        QApplication::setActiveWindow(form.get());
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }

    void cleanup() { form.reset(); }

    void whatThePictureCannotShow() {
        QCOMPARE(hidden(), "File: Open…|Ctrl+O Save|Ctrl+S Save As…|Ctrl+Shift+S | Quit|Ctrl+Q "
                           "Print : Print text| Options: Tone number after the syllable| "
                           "Convert tone numbers| \ntabs Text2 Text1 pCol op(0) op(1) Check1 "
                           "\ntimers 100 20 20 20 20 20 20 20 20 20 20 20 \nholders 1015.751 "
                           "1015.751 1015.751 1015.751 1015.751 1015.751 1015.751 1015.751 "
                           "1015.751 1015.751 1015.751 \nhelp 773 24 To write pinyin pinyin you "
                           "just have to add a  1 \nTonquill from Marrowfen[*] Text2 0   1 0");
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
                const auto contents = qobject_cast<QRadioButton*>(button)
                                          ? QStyle::SE_RadioButtonContents
                                          : QStyle::SE_CheckBoxContents;
                const QRect room = button->style()->subElementRect(contents, &option, button);
                const QSize text = button->fontMetrics().size(0, button->text());
                QVERIFY2(text.height() <= room.height(), name);
                caption = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignLeft, text, room);
            }
            QVERIFY2(box->rect().contains(caption), name);
        }
    }

    // The text before (caret at its start), the keys, typed fast or not, an input method's commit
    // after them; the text shown, the last key the tracker saw and the vowel pending at once.
    void typing_data() {
        columns<QString, QString, bool, QString, QString, int, int>(
            {"before", "keys", "fast", "commit", "shown", "lastKey", "pending"});
        auto row = [](const char* name, const QString& before, const QString& keys, bool fast,
                      const QString& commit, const QString& shown, int lastKey, int pending) {
            QTest::newRow(name) << before << keys << fast << commit << shown << lastKey << pending;
        };
        row("ordinary speed", "", "ma1 ma2 ma3 ma4", false, "",
            u"m\u00E1 m\u00E0 m\u00E2 m\u00E4"_s, '4', 0);
        row("faster than the timer", "", "a1e2", true, "", "a1e2", '2', 'e');
        // Arrows, Delete, Home, End, F5 and Page Up carry no character.
        row("keys without a character", "", u"xa\uE012\uE014\uE007\uE010\uE011\uE034\uE0163"_s,
            false, "", u"x\u00E2"_s, '3', 0);
        row("backspace", "", "a\b", false, "", "", 8, 0);
        row("return and control A", "", "a\r\x01", false, "", "a\n", 1, 0);
        row("input method", "", "", false, "o4", u"\u00F3"_s, '4', 'o');
        // A line break is CR LF to the tick: with the caret before it, the break is what goes.
        row("line break is two units", "xyz\n", "a1", false, "", u"a1xyz\u00E1"_s, '1', 0);
        row("after a line break", "", "x\ra1", false, "", u"x\n\u00E1"_s, '1', 0);
    }

    void typing() {
        Text2->setPlainText(cell<QString>("before"));
        select(0, 0);
        type(Text2, cell<QString>("keys"), cell<bool>("fast"));
        QInputMethodEvent commit;
        commit.setCommitString(cell<QString>("commit"));
        QApplication::sendEvent(Text2, &commit);
        QTEST(int(form->lastKey()), "lastKey");
        QTEST(int(form->pendingVowel()), "pending");
        QTRY_COMPARE(runningTimers(), 0);
        QTEST(Text2->toPlainText(), "shown");
        QCOMPARE(Text2->textCursor().position(), Text2->toPlainText().size());
        QCOMPARE(form->pendingVowel(), 0);
    }

    void undoTakesBackTheReplacementAlone() {
        type(Text2, "ni3");
        Text2->undo();
        QCOMPARE(Text2->toPlainText(), "ni3");
        Text2->redo();
        QCOMPARE(Text2->toPlainText(), u"n\u00ED"_s);
    }

    void pendingTickCompletesWhileHelpIsShown() {
        type(Text2, "a1", true);
        QTest::mouseClick(control<QCheckBox>("Check1"), Qt::LeftButton, {}, QPoint(6, 8));
        QVERIFY(control("Text14")->isVisible() && !Text2->isVisible());
        QTRY_COMPARE(Text2->toPlainText(), u"\u00E1"_s);
    }

    // The choice outlives the window, in the INI file the user can read.
    void toneAfterSyllableIsRemembered() {
        action(control("options"), afterSyllable)->trigger();
        QCOMPARE(readFile(settingsFile), "[typing]\ntoneAfterSyllable=true\n");
        for (bool on : {true, false}) {
            form = std::make_unique<Form1>();
            QCOMPARE(form->toneAfterSyllable(), on);
            QCOMPARE(action(control("options"), afterSyllable)->isChecked(), on);
            action(control("options"), afterSyllable)->trigger();
        }
    }

    void toneAfterTheSyllableInTheMiddleOfTheText() {
        action(control("options"), afterSyllable)->trigger();
        Text2->setPlainText("Wo3 ai4  ma");
        select(8, 8);
        QTest::keyClicks(Text2, "Zhong1guo2");
        QCOMPARE(unicodeOf(Text2), u"Wo3 ai4 Zhōngguó ma"_s);
        QCOMPARE(Text2->textCursor().position(), 16);
        Text2->undo();
        QCOMPARE(unicodeOf(Text2), u"Wo3 ai4 Zhōngguo2 ma"_s);
        Text2->redo();
        select(16, 16);
        QTest::keyClicks(Text2, " x");
        Text2->undo();
        QCOMPARE(unicodeOf(Text2), u"Wo3 ai4 Zhōngguó ma"_s);
        // The vowel-and-digit rule stays quiet: it would make lǜ of ly4.
        select(0, 0);
        type(Text2, "ly4 ");
        QCOMPARE(runningTimers(), 0);
        QInputMethodEvent commit;
        commit.setCommitString("lv4 ");
        QApplication::sendEvent(Text2, &commit);
        QCOMPARE(unicodeOf(Text2), u"ly4 lǜ Wo3 ai4 Zhōngguó ma"_s);
    }

    void convertToneNumbers_data() {
        columns<QString, int, QString>({"text", "selectionEnd", "pinyin"});
        const QString course = "Zhong1guo2 ren2 xue2 Han4yu3 lu:e4";
        QTest::newRow("whole text") << course << 0 << u"Zhōngguó rén xué Hànyǔ lu:e4"_s;
        QTest::newRow("selection") << course << 16 << u"Zhōngguó rén xue2 Han4yu3 lu:e4"_s;
        QTest::newRow("nothing to convert") << "mp3 2024 lve4" << 0 << "mp3 2024 lve4";
    }

    void convertToneNumbers() {
        const QString text = cell<QString>("text");
        Text2->setPlainText(text);
        select(0, cell<int>("selectionEnd"));
        chooseFromContextMenu("Convert tone numbers");
        QTEST(unicodeOf(Text2), "pinyin");
        QCOMPARE(Text2->document()->isUndoAvailable(), Text2->toPlainText() != text);
        Text2->undo();
        QCOMPARE(Text2->toPlainText(), text);
    }

    // A no-break space leaves as it is, where Qt's plain text would make it a plain one.
    void unicodePinyinThroughTheClipboard() {
        type(Text2, "Ni3");
        Text2->insertPlainText(u"\u00A0"_s);
        type(Text2, "ha3o");
        chooseFromContextMenu("Copy as Unicode pinyin");
        QCOMPARE(QApplication::clipboard()->text(), u"N\u01D0\u00A0h\u01CEo"_s);
        QCOMPARE(Text2->toPlainText(), u"N\u00ED h\u00E2o"_s);
        select(0, 2);
        QTest::keyClick(Text2, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(QApplication::clipboard()->text(), u"N\u01D0"_s);
        Text2->setPlainText("x");
        select(1, 1);
        QApplication::clipboard()->setText(u"l\u01DCs\u00E8 e\u0304 \u00EA"_s);
        QTest::keyClick(Text2, Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(Text2->toPlainText(), u"xl\u00FCs\u00E9 \u00E3 e\u0302"_s);
        Text2->undo();
        QCOMPARE(Text2->toPlainText(), "x");
    }

    // A key that a shortcut of the window takes reaches the tracker as its control code, before
    // the action runs, while the editor has the focus; whether Qt gives it the control code or
    // the letter as text. An action chosen otherwise leaves the tracker alone.
    void shortcutKeysReachTheTracker_data() {
        columns<int, QString, QString, QString, int>({"key", "keyText", "way", "shown", "lastKey"});
        auto row = [](const char* name, int key, const QString& text, const char* way,
                      const QString& shown, int lastKey) {
            QTest::newRow(name) << key << text << QString(way) << shown << lastKey;
        };
        row("paste Unicode pinyin", Qt::Key_V, "V", "editor", "ax1", 22);
        row("copy as Unicode pinyin", Qt::Key_C, "\x03", "editor", "a1", 3);
        row("window menu", Qt::Key_G, "g", "editor", "a1", 7);
        row("window menu, focus elsewhere", Qt::Key_G, "g", "Text1", u"\u00E1"_s, 'a');
        row("window menu by mouse", Qt::Key_G, "", "mouse", u"\u00E1"_s, 'a');
    }

    void shortcutKeysReachTheTracker() {
        const int key = cell<int>("key"), lastKey = cell<int>("lastKey");
        QAction* action = form->menuBar()->addMenu("Test")->addAction("Test action");
        action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
        int seenByAction = -1;
        connect(action, &QAction::triggered, this, [&] { seenByAction = form->lastKey(); });
        QApplication::clipboard()->setText("x");
        type(Text2, "a");
        if (cell<QString>("way") == "mouse") {
            action->trigger();
        } else {
            QWidget* focus = cell<QString>("way") == "editor" ? Text2 : control("Text1");
            focus->setFocus();
            QTest::sendKeyEvent(QTest::Click, focus, Qt::Key(key), cell<QString>("keyText"),
                                key == Qt::Key_G ? Qt::ControlModifier
                                                 : Qt::ControlModifier | Qt::ShiftModifier);
            Text2->setFocus();
        }
        QCOMPARE(form->lastKey(), lastKey);
        QCOMPARE(seenByAction, key == Qt::Key_G ? lastKey : -1);
        type(Text2, "1");
        QTRY_COMPARE(runningTimers(), 0);
        QTEST(Text2->toPlainText(), "shown");
    }

    void presentationControlsActOnTheEditor() {
        QTest::mouseClick(control<QRadioButton>("op(1)"), Qt::LeftButton);
        QTest::mousePress(control("pCol"), Qt::LeftButton, {}, QPoint(1, 38));
        QTest::mouseClick(control<QRadioButton>("op(0)"), Qt::LeftButton);
        QTest::mousePress(control("pCol"), Qt::RightButton, {}, QPoint(49, 38));
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
        QCOMPARE(control("Text3")->font().pointSizeF(), 15.75);
    }

    void fontTickGivesEveryBoxTheHeldFaceAndKeepsSizes() {
        for (const char* name : {"Text2", "Text13"}) {
            QFont other("Courier");
            other.setPointSizeF(control(name)->font().pointSizeF());
            other.setBold(true);
            control(name)->setFont(other);
        }
        control<QTimer>("Timer12")->start();
        QTRY_VERIFY(!control<QTimer>("Timer12")->isActive());
        for (auto [name, size] : {std::pair{"Text2", 18.0}, std::pair{"Text13", 15.75}}) {
            QCOMPARE(control(name)->font().family(), toneFace);
            QCOMPARE(control(name)->font().pointSizeF(), size);
            QVERIFY(control(name)->font().bold());
        }
        QVERIFY(control("Text1")->font().family() != toneFace);
    }

    // The marker and the font file; whether the user already has the face under a name of their
    // own; the face copied into the home, the font tick armed and the messages shown.
    void firstStart_data() {
        columns<QByteArray, QByteArray, bool, bool, bool, int>(
            {"marker", "font", "hasFace", "installed", "armed", "messages"});
        QTest::newRow("installs") << QByteArray("nej\r\n") << builtFont << false << true << true
                                  << 0;
        QTest::newRow("second start") << doneMarker << builtFont << true << false << false << 0;
        QTest::newRow("no font") << QByteArray("nej") << QByteArray("not a font") << false << true
                                 << true << 2;
    }

    void firstStart() {
        const QString target = path("home/.local/share/fonts/pyserif.ttf");
        QVERIFY(!cell<bool>("hasFace") ||
                (QDir().mkpath(path("home/.local/share/fonts")) &&
                 writeFile(path("home/.local/share/fonts/mine.ttf"), builtFont)));
        start(cell<QByteArray>("marker"), cell<QByteArray>("font"));
        QTEST(QFile::exists(target), "installed");
        QVERIFY(!QFile::exists(target) || readFile(target) == cell<QByteArray>("font"));
        QCOMPARE(readFile(path("program/font.log")), doneMarker);
        QTEST(control<QTimer>("Timer12")->isActive(), "armed");
        QTRY_VERIFY(!control<QTimer>("Timer12")->isActive());
        QCOMPARE(messages, QStringList(cell<int>("messages"),
                                       "Tonquill: Error Occured Calling AddFontResource"));
        QVERIFY(form->isVisible());
    }

    void aBadPictureLeavesAPlainBackground_data() {
        columns<QByteArray>({"gif"});
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("corrupt") << QByteArray("GIF89a\x31\x00\xff\xff garbage", 18);
    }

    void aBadPictureLeavesAPlainBackground() {
        QVERIFY(cell<QByteArray>("gif").isNull() ||
                writeFile(path("program/zhongwen.gif"), cell<QByteArray>("gif")));
        start(doneMarker);
        QVERIFY(control<QLabel>("Image15")->pixmap().isNull());
        QCOMPARE(control("Image15")->size(), QSize(49, 57));
        const QImage background =
            form->centralWidget()->palette().brush(QPalette::Window).texture().toImage();
        const QColor face = form->centralWidget()->palette().color(QPalette::Button);
        QCOMPARE(background.pixelColor(10, 10), face);
        QCOMPARE(background.pixelColor(500, 250), face);
        QVERIFY(messages.isEmpty());
    }

    // Captions, colours, positions and fonts at once. To remake the picture after a change of the
    // design on purpose: TONQUILL_REMAKE_PICTURE=1 ctest -R tst_formload, then look at it.
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
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                const QRgb a = shown.pixel(x, y), b = reference.pixel(x, y);
                differing += qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) +
                                 qAbs(qBlue(a) - qBlue(b)) >
                             48;
            }
        }
        QVERIFY2(differing <= 4, qPrintable(QString("%1 pixels differ").arg(differing)));
    }

    // The last tile index for an edge and a tile width: an exact quotient is inclusive.
    void tileBounds() {
        QCOMPARE(TiledBackground::lastTile(8280.f, 735.f), 11);
        QCOMPARE(TiledBackground::lastTile(8280.f, 690.f), 12);
        QCOMPARE(TiledBackground::lastTile(8280.f, 9000.f), 0);
        QCOMPARE(TiledBackground::lastTile(8280.f, 0.f), -1);
        QCOMPARE(TiledBackground::lastTile(0.f, 0.f), -1);
    }

    // Closing with unsaved changes asks first; with the folder gone, saving fails.
    void closeGuard_data() {
        columns<QStringList, bool, QByteArray>({"replies", "closed", "onDisk"});
        QTest::newRow("save") << QStringList{"Save"} << true << QByteArray("Nǎ added");
        QTest::newRow("discard") << QStringList{"Discard"} << true << QByteArray("Nǎ");
        QTest::newRow("cancel") << QStringList{"Cancel"} << false << QByteArray("Nǎ");
        QTest::newRow("escape") << QStringList{"Escape"} << false << QByteArray("Nǎ");
        QTest::newRow("save fails") << QStringList{"Save", "OK"} << false << QByteArray("(none)");
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
        QCOMPARE(Text2->toPlainText(), u"N\u00E2 added"_s);
        QCOMPARE(form->isWindowModified(), onDisk != "Nǎ added");
    }

    // Steps: "=text" replaces everything, "#text" does so through the mirror, "+at:text" inserts
    // (at -1: the end), "-from:to" deletes, "u" undoes and "r" redoes.
    void mirrorFollowsEveryEdit_data() {
        columns<QStringList>({"steps"});
        QTest::newRow("typing and a paste") << QStringList{"+-1:a", "+-1:b\nc", "+-1:\n", "+-1:d",
                                                           "+1:a longer paste\nof two lines"};
        QTest::newRow("start and middle")
            << QStringList{"=N\u00ED\nh\u00E2o\n\nz\u00E0i", "+0:X", "-1:4", "+3:\n\n", "-0:1"};
        QTest::newRow("undo and redo") << QStringList{"+-1:abc", "+0:\nq", "u", "u", "r", "u"};
        QTest::newRow("replace everything") << QStringList{"=long\ntext", "=", "=a", "+-1:\n"};
        QTest::newRow("set through the mirror")
            << QStringList{"#a\u2029b\nc\u00A0", "+-1:d", "#", "+0:\n"};
        QTest::newRow("across lines") << QStringList{"=a\nb\nc\n", "-0:6", "+0:\u00A0 x"};
    }

    void mirrorFollowsEveryEdit() {
        QPlainTextEdit edit;
        EditorMirror mirror(edit);
        for (const QString& step : cell<QStringList>("steps")) {
            const QString rest = step.mid(1), text = rest.section(':', 1);
            const int at = rest.section(':', 0, 0).toInt();
            QTextCursor cursor(edit.document());
            cursor.setPosition(at < 0 ? edit.document()->characterCount() - 1 : at);
            if (step[0] == '=') {
                edit.setPlainText(rest);
            } else if (step[0] == '#') {
                mirror.setPlainText(rest);
            } else if (step[0] == '+' || step[0] == '-') {
                if (step[0] == '-')
                    cursor.setPosition(text.toInt(), QTextCursor::KeepAnchor);
                cursor.insertText(step[0] == '+' ? text : QString());
            } else {
                step == "u" ? edit.undo() : edit.redo();
            }
            QCOMPARE(mirror.text(), EditorText::all(edit));
        }
    }

    // Typed text reaches a recovery file, which a later start offers before the command line file.
    void recovery_data() {
        columns<QString, QString, QString>({"reply", "shown", "title"});
        QTest::newRow("restored") << "Restore" << u"N\u00ED h\u00E2o"_s << "kept.txt";
        QTest::newRow("discarded") << "Discard"
                                   << "from the file"
                                   << "other.txt";
    }

    void recovery() {
        const bool restored = cell<QString>("reply") == "Restore";
        QVERIFY(writeFile(path("other.txt"), "from the file"));
        form->document().start(path("kept.txt"));
        QCOMPARE(form->windowTitle(), "kept.txt[*] – Tonquill from Marrowfen");
        Text2->insertPlainText(u"N\u00ED h\u00E2o"_s);
        QVERIFY(form->isWindowModified());
        const auto kept = [this] { return QDir(path("state")).entryList({"*.txt"}).size(); };
        QTRY_COMPARE_WITH_TIMEOUT(kept(), 1, 4000);
        start(); // as after a crash: the text was never saved
        answers = {cell<QString>("reply")};
        form->document().start(path("other.txt"));
        QCOMPARE(messages.size(), 1);
        QVERIFY2(messages[0].contains(
                     ": Tonquill found text that was not saved when it last stopped (") &&
                     messages[0].endsWith(", 6 characters). Restore it?"),
                 qPrintable(messages[0]));
        QTEST(Text2->toPlainText(), "shown");
        QTEST(form->windowTitle().section("[*]", 0, 0), "title");
        QCOMPARE(form->isWindowModified(), restored);
        QCOMPARE(kept(), restored ? 1 : 0);
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
