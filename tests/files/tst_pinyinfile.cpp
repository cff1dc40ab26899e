#include "TestSupport.h"
#include "files/PinyinFile.h"

#include <QDir>
#include <QTemporaryDir>

#include <csignal>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using files::PinyinFile;
using namespace Qt::StringLiterals;

namespace {

// Saved by a child process running as the user nobody: its failure, if any, in short.
QString saveAsNobody(const QString& path) {
    const passwd* nobody = getpwnam("nobody");
    if (fork() == 0) {
        if (setgid(nobody->pw_gid) != 0 || setuid(nobody->pw_uid) != 0)
            _exit(3);
        const QString failure = PinyinFile::save(path, QStringLiteral("Nǐ"));
        _exit(failure.isEmpty() ? 0 : failure.contains("no backup copy") ? 1 : 2);
    }
    int status = -1;
    wait(&status);
    const QStringList failures{"", "no backup copy", "another failure", "not nobody"};
    return WIFEXITED(status) ? failures.value(WEXITSTATUS(status), "crashed") : "crashed";
}

// The escapes that stand for bytes that are not UTF-8.
QString stray(std::initializer_list<char16_t> bytes) {
    QString escapes;
    for (char16_t byte : bytes)
        escapes += QChar(0xDC00 + byte);
    return escapes;
}

struct stat statusOf(const QString& path) {
    struct stat info {};
    stat(QFile::encodeName(path).constData(), &info);
    return info;
}

} // namespace

class TestPinyinFile : public QObject {
    Q_OBJECT

    QTemporaryDir folder;

  private slots:
    // What the editor shows for a file's bytes, the signs it warns of, what saving writes back.
    void openThenSave_data() {
        columns<QByteArray, QString, QByteArray, QString, bool, int>(
            {"file", "shown", "saved", "signs", "windows1252", "strayBytes"});
        const QByteArray pinyin = "Nǐ hǎo, Lǚ!\n", lookalikes = "España, Lü, Noël, ê, Ïa1";
        QTest::addRow("tone letters as glyph codes")
            << pinyin << u"N\u00ED h\u00E2o, L\u00FB!\n"_s << pinyin << "" << false << 0;
        QTest::addRow("byte order mark kept")
            << "\xEF\xBB\xBFNǐ\n"_ba << u"N\u00ED\n"_s << "\xEF\xBB\xBFNǐ\n"_ba
            << "" << false << 0;
        QTest::addRow("CR LF kept") << "a\r\nb\r\n"_ba << u"a\nb\n"_s << "a\r\nb\r\n"_ba
                                    << "" << false << 0;
        QTest::addRow("CR LF first kept") << "\r\na"_ba << u"\na"_s << "\r\na"_ba
                                          << "" << false << 0;
        QTest::addRow("CR kept") << "a\rb"_ba << u"a\nb"_s << "a\rb"_ba
                                 << "" << false << 0;
        QTest::addRow("mixed line ends become the first")
            << "a\r\nb\rc\n"_ba << u"a\nb\nc\n"_s << "a\r\nb\r\nc\r\n"_ba
            << "" << false << 0;
        QTest::addRow("lookalike letters kept")
            << lookalikes << u"Espan\u0303a, Lu\u0308, Noe\u0308l, e\u0302, I\u0308a1"_s
            << lookalikes << "" << false << 0;
        QTest::addRow("signs saved as tone letters")
            << "± 5 ¢"_ba << u"\u00B1 5 \u00A2"_s << "Ǒ 5 Ā"_ba << u"¢±"_s << false << 0;
        QTest::addRow("a stray byte kept")
            << "n\xC7\x90 h\xC7\x8Eo\xFF\n"_ba << u"n\u00ED h\u00E2o"_s + stray({0xFF}) + '\n'
            << "n\xC7\x90 h\xC7\x8Eo\xFF\n"_ba
            << "" << false << 1;
        QTest::addRow("a cut sequence, a surrogate, an overlong form kept")
            << "\xE2\x80 \xED\xA0\x80 \xC0\xAF —"_ba
            << stray({0xE2, 0x80}) + ' ' + stray({0xED, 0xA0, 0x80}) + ' ' + stray({0xC0, 0xAF}) +
                   u" —"_s
            << "\xE2\x80 \xED\xA0\x80 \xC0\xAF —"_ba
            << "" << false << 7;
        const QByteArray edges = "\xC2\x80\xC3\xBF\xE0\xA0\x80\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF";
        QTest::addRow("sequences at their edges kept beside stray bytes")
            << edges + "\xFF\xF0\x9F" << QString::fromUtf8(edges) + stray({0xFF, 0xF0, 0x9F})
            << edges + "\xFF\xF0\x9F"
            << "" << false << 3;
        QTest::addRow("a stray byte, then a character past the Basic Plane at the very end")
            << "\xFF\xF0\x9F\x98\x80"_ba << stray({0xFF}) + u"😀"_s << "\xFF\xF0\x9F\x98\x80"_ba
            << "" << false << 1;
        QTest::addRow("no valid UTF-8 at all: Windows-1252")
            << "N\xED h\xE2o \x80\x96 caf\xE9 \xC3(\x81\r\n"_ba
            << u"N\u00ED h\u00E2o €– caf\u00E9 Ã(\u0081\n"_s << "Nǐ hǎo €– cafè Ã(\u0081\r\n"_ba
            << "" << true << 0;
    }
    void openThenSave() {
        const QString path = folder.filePath("file.txt");
        QVERIFY(writeFile(path, cell<QByteArray>("file")));
        const files::OpenedFile opened = PinyinFile::open(path);
        QTEST(opened.content.text, "shown");
        QTEST(opened.content.lookalikeSigns, "signs");
        QTEST(opened.content.windows1252, "windows1252");
        QTEST(int(opened.content.strayBytes), "strayBytes");
        QCOMPARE(PinyinFile::save(path, opened.content.text, opened.content.format), QString());
        QTEST(readFile(path), "saved");
    }

    // Refused, and why; nothing waits on another process. A file of exactly 64 MiB is read to
    // its last byte, and refused only for what that byte holds.
    void refusals_data() {
        columns<QString, QString>({"name", "reason"});
        QTest::addRow("a folder") << "."
                                  << "it is a folder";
        QTest::addRow("a missing file") << "missing"
                                        << "there is no such file";
        QTest::addRow("NUL bytes") << "nul"
                                   << "NUL bytes";
        QTest::addRow("exactly 64 MiB") << "limit"
                                        << "NUL bytes";
        QTest::addRow("over 64 MiB") << "over"
                                     << "larger than 64 MiB";
        QTest::addRow("a FIFO") << "fifo"
                                << "named pipe (FIFO), not a file";
        QTest::addRow("a device") << "/dev/zero"
                                  << "a device, not a file";
        QTest::addRow("a read that fails") << "/proc/self/mem"
                                           << "Input/output error";
        if (geteuid() != 0) // root reads it all the same
            QTest::addRow("unreadable") << "unreadable"
                                        << "Permission denied";
    }
    void refusals() {
        const QString limit = folder.filePath("limit"), over = folder.filePath("over"),
                      unreadable = folder.filePath("unreadable");
        QVERIFY(writeFile(folder.filePath("nul"), {"a\0b", 3}) &&
                writeFile(limit, QByteArray(PinyinFile::sizeLimit - 1, 'a').append('\0')) &&
                writeFile(over, "") && QFile::resize(over, PinyinFile::sizeLimit + 1) &&
                writeFile(unreadable, "a") &&
                QFile::setPermissions(unreadable, QFileDevice::WriteOwner));
        mkfifo(QFile::encodeName(folder.filePath("fifo")).constData(), 0600);
        const files::OpenedFile opened =
            PinyinFile::open(QDir(folder.path()).filePath(cell<QString>("name")));
        QVERIFY2(opened.refusal.contains(cell<QString>("reason")), qPrintable(opened.refusal));
    }

    // A save cut short by the file size limit keeps the file and says why; so does one into a
    // folder that is gone. A name whose bytes are not UTF-8 cannot be kept.
    void failingSaveKeepsTheFile() {
        const QString path = folder.filePath("kept.txt"), text(100'000, u'a');
        QVERIFY(writeFile(path, "old text\n"));
        if (fork() == 0) { // a child whose file size limit is 4096 bytes
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit size{4096, 4096};
            setrlimit(RLIMIT_FSIZE, &size);
            _exit(PinyinFile::save(path, text).contains("File too large") ? 0 : 1);
        }
        int status = -1;
        QVERIFY(wait(&status) > 0 && status == 0);
        QCOMPARE(readFile(path), QByteArray("old text\n"));
        QVERIFY(!PinyinFile::save(folder.filePath("missing/kept.txt"), text).isEmpty());
        QVERIFY(PinyinFile::keepsName("caf\xC3\xA9.txt") && !PinyinFile::keepsName("caf\xE9.txt"));
    }

    // Saving keeps the owner, group and mode of a file and its other names; a file whose owner
    // the saver cannot give is written in place after a backup, which goes after success and
    // without which nothing is written.
    void savingKeepsWhatOthersRelyOn_data() {
        columns<bool, int, bool, bool, bool, QString>(
            {"nobodysFile", "mode", "secondName", "savedByNobody", "folderOpen", "failure"});
        QTest::addRow("mode 0640 kept") << false << 0640 << false << false << true << "";
        QTest::addRow("a second name sees the text")
            << false << 0644 << true << false << true << "";
        QTest::addRow("another user's file keeps its owner")
            << true << 0664 << false << false << true << "";
        QTest::addRow("another's file in a shared group, in place")
            << false << 0666 << false << true << true << "";
        QTest::addRow("no room for a backup: nothing written")
            << false << 0666 << true << true << false << "no backup copy";
    }
    void savingKeepsWhatOthersRelyOn() {
        const bool secondName = cell<bool>("secondName"), byNobody = cell<bool>("savedByNobody");
        if (geteuid() != 0 && (cell<bool>("nobodysFile") || byNobody))
            QSKIP("giving a file to another user, or saving as one, needs root");
        const QString shared = folder.filePath("shared"), path = shared + "/notes.txt";
        const QByteArray name = QFile::encodeName(path), other = name + ".other";
        QVERIFY(QDir(shared).removeRecursively() && QDir().mkpath(shared) &&
                writeFile(path, "old text\n"));
        chmod(QFile::encodeName(folder.path()).constData(), 0711);
        chmod(QFile::encodeName(shared).constData(), cell<bool>("folderOpen") ? 0777 : 0755);
        chmod(name.constData(), cell<int>("mode"));
        const passwd* nobody = getpwnam("nobody");
        QVERIFY(!cell<bool>("nobodysFile") ||
                chown(name.constData(), nobody->pw_uid, nobody->pw_gid) == 0);
        QVERIFY(!secondName || link(name.constData(), other.constData()) == 0);
        const struct stat before = statusOf(path);
        const QString failure = byNobody ? saveAsNobody(path) : PinyinFile::save(path, u"Nǐ"_s);
        const QString expected = cell<QString>("failure");
        QVERIFY2(failure.contains(expected) && failure.isEmpty() == expected.isEmpty(),
                 qPrintable(failure));
        const QByteArray text = expected.isEmpty() ? "Nǐ"_ba : "old text\n"_ba;
        QCOMPARE(readFile(path), text);
        QVERIFY(!secondName || readFile(QFile::decodeName(other)) == text);
        const struct stat after = statusOf(path);
        QCOMPARE(QList({after.st_uid, after.st_gid, after.st_mode}),
                 QList({before.st_uid, before.st_gid, before.st_mode}));
        QCOMPARE(after.st_ino == before.st_ino, secondName || byNobody);
        QCOMPARE(QDir(shared).entryList(QDir::Files | QDir::Hidden).size(), secondName ? 2 : 1);
    }
};

QTEST_GUILESS_MAIN(TestPinyinFile)
#include "tst_pinyinfile.moc"
