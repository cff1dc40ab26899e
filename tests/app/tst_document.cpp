#include "app/DocumentFile.h"
#include "app/EditorMirror.h"
#include "app/EditorText.h"
#include "app/Form1.h"
#include "files/RecoveryStore.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTimer>

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

} // namespace

// The window's file handling, with its message boxes answered as they come.
class TestDocument : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<Form1> form;
    QPlainTextEdit* editor = nullptr;
    QStringList questions;
    QStringList answers; // a button's text, or "Escape"; a box beyond them gets its default

    QString recoveryFolder() const { return folder->filePath("state"); }

    void answer() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        questions << box->text();
        const QString reply = answers.isEmpty() ? QString() : answers.takeFirst();
        if (reply == "Escape") {
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        for (QAbstractButton* button : box->buttons()) {
            if (button->text().remove('&') == reply) {
                button->click();
                return;
            }
        }
        QTest::keyClick(box, Qt::Key_Return);
    }

    void makeForm() {
        form = std::make_unique<Form1>(nullptr, recoveryFolder());
        editor = form->findChild<QPlainTextEdit*>("Text2");
        form->show();
    }

  private slots:
    void init() {
        folder = std::make_unique<QTemporaryDir>();
        questions.clear();
        answers.clear();
        auto* watcher = new QTimer(this);
        connect(watcher, &QTimer::timeout, this, &TestDocument::answer);
        watcher->start(20);
        makeForm();
    }

    void cleanup() {
        form.reset();
        qDeleteAll(findChildren<QTimer*>());
    }

    void titleFollowsFileAndChanges() {
        QCOMPARE(form->windowTitle(), "Tonquill from Marrowfen[*]");
        const QString path = folder->filePath("notes.txt");
        form->document().start(path);
        QCOMPARE(form->windowTitle(), "notes.txt[*] – Tonquill from Marrowfen");
        QVERIFY(!form->isWindowModified());
        editor->insertPlainText("x");
        QVERIFY(form->isWindowModified());
        QVERIFY(form->document().save());
        QVERIFY(!form->isWindowModified());
        QCOMPARE(contents(path), "x");
    }

    void closeGuard_data() {
        QTest::addColumn<QStringList>("replies");
        QTest::addColumn<bool>("folderGone");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<QByteArray>("onDisk");
        QTest::addColumn<bool>("modified");
        QTest::newRow("save") << QStringList{"Save"} << false << true << QByteArray("Nǎ added")
                              << false;
        QTest::newRow("discard") << QStringList{"Discard"} << false << true << QByteArray("Nǎ")
                                 << true;
        QTest::newRow("cancel") << QStringList{"Cancel"} << false << false << QByteArray("Nǎ")
                                << true;
        QTest::newRow("escape") << QStringList{"Escape"} << false << false << QByteArray("Nǎ")
                                << true;
        QTest::newRow("save fails")
            << QStringList{"Save", "OK"} << true << false << QByteArray("(none)") << true;
    }

    void closeGuard() {
        QFETCH(QStringList, replies);
        QFETCH(bool, folderGone);
        QFETCH(bool, closed);
        QFETCH(QByteArray, onDisk);
        QFETCH(bool, modified);
        const QString path = folder->filePath("notes/a.txt");
        QVERIFY(QDir().mkpath(folder->filePath("notes")));
        write(path, "Nǎ");
        QVERIFY(form->document().openFile(path));
        editor->insertPlainText(" added");
        if (folderGone)
            QVERIFY(QDir(folder->filePath("notes")).removeRecursively());
        answers = replies;
        form->close();
        QCOMPARE(questions.value(0), "Save changes to a.txt?");
        QCOMPARE(form->isVisible(), !closed);
        QCOMPARE(contents(path), onDisk);
        QCOMPARE(editor->toPlainText(), QStringLiteral("N\u00E2 added"));
        QCOMPARE(form->isWindowModified(), modified);
    }

    // Steps: "=text" replaces everything, "#text" does so through the mirror, "+at:text" inserts
    // (at -1: the end), "-from:to" deletes, "u" undoes and "r" redoes.
    void mirrorFollowsEveryEdit_data() {
        QTest::addColumn<QStringList>("steps");
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
        QFETCH(QStringList, steps);
        QPlainTextEdit edit;
        EditorMirror mirror(edit);
        for (const QString& step : steps) {
            const QString rest = step.mid(1);
            const int colon = rest.indexOf(':');
            const int at = rest.left(colon).toInt();
            QTextCursor cursor(edit.document());
            if (step[0] == '=') {
                edit.setPlainText(rest);
            } else if (step[0] == '#') {
                mirror.setPlainText(rest);
            } else if (step[0] == '+') {
                cursor.setPosition(at < 0 ? edit.document()->characterCount() - 1 : at);
                cursor.insertText(rest.mid(colon + 1));
            } else if (step[0] == '-') {
                cursor.setPosition(at);
                cursor.setPosition(rest.mid(colon + 1).toInt(), QTextCursor::KeepAnchor);
                cursor.removeSelectedText();
            } else {
                step == "u" ? edit.undo() : edit.redo();
            }
            QCOMPARE(mirror.text(), EditorText::all(edit));
        }
    }

    // Typed text reaches a recovery file, which a later start offers before the command line file.
    void recovery_data() {
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("title");
        QTest::newRow("restored") << "Restore" << QStringLiteral("N\u00ED h\u00E2o")
                                  << "kept.txt[*] – Tonquill from Marrowfen";
        QTest::newRow("discarded") << "Discard"
                                   << "from the file"
                                   << "other.txt[*] – Tonquill from Marrowfen";
    }

    void recovery() {
        QFETCH(QString, reply);
        QFETCH(QString, shown);
        QFETCH(QString, title);
        const QString kept = folder->filePath("kept.txt");
        const QString other = folder->filePath("other.txt");
        write(other, "from the file");
        form->document().start(kept);
        editor->insertPlainText(QStringLiteral("N\u00ED h\u00E2o"));
        QTRY_COMPARE_WITH_TIMEOUT(QDir(recoveryFolder()).entryList({"*.txt"}, QDir::Files).size(),
                                  1, 4000);
        form.reset(); // as after a crash: the text was never saved

        makeForm();
        answers = {reply};
        form->document().start(other);
        QCOMPARE(questions.size(), 1);
        QVERIFY2(questions[0].startsWith("Tonquill found text that was not saved when it last "
                                         "stopped (") &&
                     questions[0].endsWith(", 6 characters). Restore it?"),
                 qPrintable(questions[0]));
        QCOMPARE(editor->toPlainText(), shown);
        QCOMPARE(form->windowTitle(), title);
        QCOMPARE(form->isWindowModified(), reply == "Restore");
        QCOMPARE(QDir(recoveryFolder()).entryList({"*.txt"}, QDir::Files).size(),
                 reply == "Restore" ? 1 : 0);
    }
};

QTEST_MAIN(TestDocument)
#include "tst_document.moc"
