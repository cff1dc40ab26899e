#include "TestSupport.h"
#include "files/RecoveryStore.h"
#include "files/RecoveryWriter.h"

#include <QDir>
#include <QTemporaryDir>

#include <sys/wait.h>
#include <unistd.h>

using files::RecoveryStore;

class TestRecoveryStore : public QObject {
    Q_OBJECT

    QTemporaryDir state;
    const QString folder = state.filePath("tonquill");

    // An instance that wrote `text` and died, its lock file left behind.
    void crash(const QString& text, const QString& document = {}) {
        RecoveryStore store(folder);
        if (fork() == 0)
            _exit(store.claim() && store.write(text, document) ? 0 : 1);
        wait(nullptr);
    }

  private slots:
    // The text in the file format, readable by its owner alone, and gone once removed; neither a
    // text that cannot be written nor a folder that cannot be made passes for done.
    void ownText() {
        RecoveryStore store(folder);
        QVERIFY(store.claim());
        files::RecoveryWriter writer(store);
        writer.write(QStringLiteral("N\u00ED h\u00E2o"), {});
        writer.finish();
        QCOMPARE(readFile(store.textFile()), QStringLiteral("Nǐ hǎo").toUtf8());
        QVERIFY(!(QFile::permissions(store.textFile()) & 0x77) &&
                !(QFile::permissions(folder) & 0x77));
        writer.remove();
        writer.finish();
        QVERIFY(!QFile::exists(store.textFile()));
        QVERIFY(QDir(folder).removeRecursively() && !store.write("text", {}));
        QVERIFY(writeFile(state.filePath("file"), "") &&
                !RecoveryStore(state.filePath("file/x")).claim());
    }

    // A running instance's text is never offered; a dead one's is, newest first, one at a time,
    // to be taken over or discarded.
    void orphansOfferedNewestFirst() {
        crash("older");
        QTest::qWait(20);
        crash(QStringLiteral("newer \U0001F600\u00E1"), "/notes/a.txt");
        RecoveryStore running(folder), second(folder), third(folder);
        QVERIFY(running.claim() && running.write("running", {}) && second.claim() && third.claim());
        const auto newest = second.takeOrphan();
        QVERIFY(newest);
        QCOMPARE(
            QStringList({newest->text, newest->documentPath, QString::number(newest->characters)}),
            QStringList({QStringLiteral("newer \U0001F600\u00E1"), "/notes/a.txt", "8"}));
        second.adopt(*newest);
        QVERIFY(QFile::exists(second.textFile()));
        const auto older = third.takeOrphan();
        QVERIFY(older);
        QCOMPARE(older->text, "older");
        third.discard(*older);
        QVERIFY(!third.takeOrphan());
    }
};

QTEST_GUILESS_MAIN(TestRecoveryStore)
#include "tst_recoverystore.moc"
