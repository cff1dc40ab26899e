#include "TestSupport.h"
#include "files/RecoveryStore.h"
#include "files/RecoveryWriter.h"

#include <QDir>
#include <QTemporaryDir>

#include <csignal>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using files::RecoveryStore;
using namespace Qt::StringLiterals;

namespace {

// The name under which the store writes `bytes` to `name` before renaming it: the length and
// an FNV-1a checksum, so that a start after a crash can tell a whole write from a cut one.
QString writingName(const QString& name, const QByteArray& bytes) {
    quint64 hash = 14695981039346656037ull;
    for (const char byte : bytes)
        hash = (hash ^ static_cast<unsigned char>(byte)) * 1099511628211ull;
    return name + '.' + QString::number(bytes.size()) + '.' +
           QString::number(hash, 16).rightJustified(16, '0');
}

void giveToNobody(const QString& path) {
    const passwd* nobody = getpwnam("nobody");
    QVERIFY(lchown(QFile::encodeName(path).constData(), nobody->pw_uid, nobody->pw_gid) == 0);
}

} // namespace

class TestRecoveryStore : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> state;
    QString folder;

    // An instance that wrote `text` and died, its lock file left behind; its id.
    QString crash(const QString& text, const QString& document = {}) {
        const QStringList before = names(); // before the fork: the child may claim at once
        RecoveryStore store(folder);
        if (fork() == 0)
            _exit(store.claim() && (text.isNull() || store.write(text, document).isEmpty()) ? 0
                                                                                            : 1);
        wait(nullptr);
        for (const QString& name : names()) {
            if (name.endsWith(".lock") && !before.contains(name))
                return name.chopped(5);
        }
        return {};
    }
    QStringList names() const { return QDir(folder).entryList(QDir::Files | QDir::System); }

  private slots:
    void init() {
        state = std::make_unique<QTemporaryDir>();
        folder = state->filePath("tonquill");
    }

    // The text in the file format, readable by its owner alone, and gone once removed; neither a
    // text that cannot be written nor a folder that cannot be made passes for done.
    void ownText() {
        RecoveryStore store(folder);
        QVERIFY(store.claim());
        files::RecoveryWriter writer(store);
        QStringList failures;
        connect(&writer, &files::RecoveryWriter::failed, this, [&](auto why) { failures << why; });
        writer.write(QStringLiteral("N\u00ED h\u00E2o"), {});
        writer.finish();
        QCOMPARE(readFile(store.textFile()), QStringLiteral("Nǐ hǎo").toUtf8());
        QVERIFY(!(QFile::permissions(store.textFile()) & 0x77) &&
                !(QFile::permissions(folder) & 0x77));
        writer.remove();
        writer.finish();
        QVERIFY(!QFile::exists(store.textFile()));
        QVERIFY(QDir(folder).removeRecursively());
        writer.write("text", {});
        QTRY_COMPARE(failures, QStringList("No such file or directory"));
        QVERIFY(writeFile(state->filePath("file"), "") &&
                !RecoveryStore(state->filePath("file/x")).claim());
        QVERIFY(RecoveryStore(state->filePath("no/such/state/tonquill")).claim());
    }

    // A running instance's text is never offered; a dead one's is, newest first, one at a time,
    // to be taken over or discarded, with its file and that file's line ends.
    void orphansOfferedNewestFirst() {
        crash("written first");
        QTest::qWait(20);
        QFile datedBack(folder + '/' + crash("dated back") + ".txt");
        QVERIFY(datedBack.open(QIODevice::ReadWrite) &&
                datedBack.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                      QFileDevice::FileModificationTime));
        datedBack.close();
        QTest::qWait(20);
        RecoveryStore dead(folder);
        if (fork() == 0)
            _exit(dead.claim() && dead.write(u"newer \U0001F600\u00E1"_s, "/notes/a.txt",
                                             {files::LineEnd::crLf, true})
                                      .isEmpty()
                      ? 0
                      : 1);
        wait(nullptr);
        RecoveryStore running(folder), second(folder), third(folder);
        QVERIFY(running.claim() && running.write("running", {}).isEmpty() && second.claim() &&
                third.claim());
        const auto newest = second.takeOrphan();
        QVERIFY(newest);
        QCOMPARE(newest->text, u"newer \U0001F600\u00E1"_s);
        QCOMPARE(newest->documentPath, "/notes/a.txt");
        QVERIFY(newest->format == files::FileFormat({files::LineEnd::crLf, true}));
        QCOMPARE(newest->characters, 8);
        QVERIFY(qAbs(newest->time.secsTo(QDateTime::currentDateTime())) < 60);
        second.adopt(*newest);
        QVERIFY(QFile::exists(second.textFile()));
        for (const char* text : {"written first", "dated back"}) {
            const auto older = third.takeOrphan();
            QVERIFY(older);
            QCOMPARE(older->text, text);
            third.discard(*older);
        }
        QVERIFY(!third.takeOrphan());
    }

    // Whatever the user typed is offered: no limit of Open's applies.
    void orphansWhateverTheirContent_data() {
        columns<QString, int>({"text", "characters"});
        QTest::addRow("over 64 MiB") << QString((64 << 20) + 1, u'a') << (64 << 20) + 1;
        QTest::addRow("U+0000") << u"a\0b"_s << 3;
        QTest::addRow("a kept stray byte") << u"a"_s + QChar(0xDCFF) + u"\u00E1"_s << 3;
    }
    void orphansWhateverTheirContent() {
        crash(cell<QString>("text"));
        RecoveryStore store(folder);
        QVERIFY(store.claim());
        const auto orphan = store.takeOrphan();
        QVERIFY(orphan);
        QTEST(orphan->text, "text");
        QTEST(int(orphan->characters), "characters");
    }

    // Recovery is off in a folder it cannot trust, and that folder and what it leads to stay as
    // they were.
    void untrustedFolders_data() {
        columns<bool, int, bool>({"link", "mode", "nobodys"});
        QTest::addRow("a link to another folder") << true << 0700 << false;
        QTest::addRow("writable by others") << false << 0777 << false;
        QTest::addRow("writable by the group") << false << 0770 << false;
        QTest::addRow("another user's") << false << 0700 << true;
    }
    void untrustedFolders() {
        if (cell<bool>("nobodys") && geteuid() != 0)
            QSKIP("giving a folder to another user needs root");
        const QString real = cell<bool>("link") ? state->filePath("Documents") : folder;
        QVERIFY(QDir().mkpath(real) && writeFile(real + "/report.txt", "report"));
        chmod(QFile::encodeName(real).constData(), cell<int>("mode"));
        QVERIFY(!cell<bool>("link") || QFile::link(real, folder));
        if (cell<bool>("nobodys"))
            giveToNobody(real);
        RecoveryStore store(folder);
        QVERIFY(!store.claim());
        QVERIFY(!store.failure().isEmpty());
        QVERIFY(!store.takeOrphan());
        QVERIFY(!store.write("text", {}).isEmpty());
        QCOMPARE(QDir(real).entryList(QDir::Files), QStringList("report.txt"));
        struct stat info {};
        QVERIFY(stat(QFile::encodeName(real).constData(), &info) == 0);
        QCOMPARE(int(info.st_mode & 0777), cell<int>("mode"));
    }

    // In a folder of its own, only files of its own names, kinds and owner are read, offered,
    // renamed or deleted; a link at its own name is replaced, never followed.
    void plantedFiles_data() {
        columns<QString, bool, bool>({"name", "link", "nobodys"});
        QTest::addRow("another name") << "report.txt" << false << false;
        QTest::addRow("a letter before the digits") << "x1-2-3.txt" << false << false;
        QTest::addRow("another separator") << "1_2-3.txt" << false << false;
        QTest::addRow("a link at an orphan's name") << "1-2-3.txt" << true << false;
        QTest::addRow("another user's orphan") << "1-2-3.txt" << false << true;
    }
    void plantedFiles() {
        if (cell<bool>("nobodys") && geteuid() != 0)
            QSKIP("giving a file to another user needs root");
        RecoveryStore store(folder);
        QVERIFY(store.claim());
        const QString planted = folder + '/' + cell<QString>("name"),
                      outside = state->filePath("bashrc");
        QVERIFY(writeFile(outside, "mine") && writeFile(folder + "/1-2-3.path", outside.toUtf8()));
        QVERIFY(cell<bool>("link") ? QFile::link(outside, planted) : writeFile(planted, "theirs"));
        if (cell<bool>("nobodys"))
            giveToNobody(planted);
        const QStringList before = names();
        QVERIFY(!store.takeOrphan());
        QCOMPARE(names(), before);
        QVERIFY(QFile::link(outside, store.textFile()));
        QVERIFY(store.write("typed", {}).isEmpty());
        QCOMPARE(readFile(outside), "mine");
        QVERIFY(!QFileInfo(store.textFile()).isSymLink());
    }

    // A write that a crash interrupted is offered when whole, and removed when cut short, the
    // text before it offered instead; a stopped instance's lock without text goes once the next
    // start clears stale locks, a running one's stays.
    void interruptedWrites_data() {
        columns<bool, QString>({"whole", "offered"});
        QTest::addRow("whole: only its rename missed") << true << "newest";
        QTest::addRow("cut short") << false << "before";
    }
    void interruptedWrites() {
        const QString id = crash("before");
        const QString writing = folder + '/' + writingName(id + ".txt", "newest");
        QVERIFY(writeFile(writing, cell<bool>("whole") ? "newest" : "new"));
        const QString stopped = crash({});
        RecoveryStore alive(folder), store(folder);
        QVERIFY(alive.claim() && store.claim());
        store.clearStaleLocks();
        QVERIFY(!QFile::exists(folder + '/' + stopped + ".lock"));
        QVERIFY(QFile::exists(alive.textFile().replace(".txt", ".lock")));
        const auto orphan = store.takeOrphan();
        QVERIFY(orphan);
        QTEST(orphan->text, "offered");
        QVERIFY(!QFile::exists(writing));
    }
};

QTEST_GUILESS_MAIN(TestRecoveryStore)
#include "tst_recoverystore.moc"
