#include "files/RecoveryStore.h"
#include "files/RecoveryWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using files::RecoveryStore;

namespace {

// Group and others: no access at all.
const QFileDevice::Permissions othersAccess = QFileDevice::Permissions::fromInt(0x0077);

QStringList texts(const QString& folder) {
    return QDir(folder).entryList({"*.txt"}, QDir::Files);
}

// An instance that wrote `text` and stopped without removing it.
void leaveBehind(const QString& folder, const QString& text, const QString& document = {}) {
    RecoveryStore gone(folder);
    QVERIFY(gone.claim());
    QVERIFY(gone.write(text, document));
}

} // namespace

class TestRecoveryStore : public QObject {
    Q_OBJECT

  private slots:
    void writtenPrivatelyInTheFileFormat() {
        QTemporaryDir state;
        const QString folder = state.filePath("tonquill");
        RecoveryStore store(folder);
        QVERIFY(store.claim());
        files::RecoveryWriter writer(store);
        writer.write(QStringLiteral("N\u00ED h\u00E2o"), {});
        writer.finish();
        QFile file(store.textFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(file.readAll()), QStringLiteral("Nǐ hǎo"));
        QCOMPARE(file.permissions() & othersAccess, QFileDevice::Permissions{});
        QCOMPARE(QFile::permissions(folder) & othersAccess, QFileDevice::Permissions{});
        writer.remove();
        writer.finish();
        QCOMPARE(texts(folder), QStringList());
    }

    // Neither a folder that cannot be made nor a text that cannot be written passes for done.
    void failuresAreReported() {
        QTemporaryDir state;
        QFile notAFolder(state.filePath("file"));
        QVERIFY(notAFolder.open(QIODevice::WriteOnly));
        QVERIFY(!RecoveryStore(state.filePath("file/tonquill")).claim());
        RecoveryStore store(state.filePath("tonquill"));
        QVERIFY(store.claim());
        QVERIFY(QDir(state.filePath("tonquill")).removeRecursively());
        QVERIFY(!store.write("text", {}));
    }

    // A running instance's text is never offered; a stopped one's is, newest first, one at a time.
    void orphansOfferedNewestFirst() {
        QTemporaryDir state;
        leaveBehind(state.path(), "older");
        QTest::qWait(20);
        leaveBehind(state.path(), QStringLiteral("newer \U0001F600\u00E1"), "/notes/a.txt");
        RecoveryStore running(state.path()), second(state.path()), third(state.path());
        QVERIFY(running.claim() && running.write("running", {}) && second.claim());
        auto newest = second.takeOrphan();
        QVERIFY(newest);
        QCOMPARE(newest->text, QStringLiteral("newer \U0001F600\u00E1"));
        QCOMPARE(newest->documentPath, "/notes/a.txt");
        QCOMPARE(newest->characters, 8);
        QVERIFY(qAbs(newest->time.secsTo(QDateTime::currentDateTime())) < 60);
        second.adopt(*newest);
        QCOMPARE(texts(state.path()).size(), 3);
        QVERIFY(third.claim());
        auto older = third.takeOrphan();
        QVERIFY(older);
        QCOMPARE(older->text, "older");
        third.discard(*older);
        QVERIFY(!third.takeOrphan());
        QCOMPARE(texts(state.path()).size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestRecoveryStore)
#include "tst_recoverystore.moc"
