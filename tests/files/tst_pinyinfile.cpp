#include "files/PinyinFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using files::PinyinFile;

namespace {

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

void write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// The save in a child process whose file size limit is `limit` bytes: 0 when it reported the
// failure, 1 when it claimed success, a signal when the limit killed it.
int saveUnderSizeLimit(const QString& path, const QString& text, rlim_t limit) {
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit size{limit, limit};
        setrlimit(RLIMIT_FSIZE, &size);
        _exit(PinyinFile::save(path, text).isEmpty() ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

} // namespace

class TestPinyinFile : public QObject {
    Q_OBJECT

    QTemporaryDir folder;

  private slots:
    // What the editor shows for a file's bytes, and what saving it unedited writes.
    void openThenSave_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QByteArray>("saved");
        QTest::addColumn<QString>("signs");
        const QByteArray pinyin = QStringLiteral("Nǐ hǎo, Lǚ!\n").toUtf8();
        const QString glyphs = QStringLiteral("N\u00ED h\u00E2o, L\u00FB!\n");
        QTest::newRow("unicode pinyin") << pinyin << glyphs << pinyin << QString();
        QTest::newRow("empty") << QByteArray() << QString() << QByteArray() << QString();
        QTest::newRow("byte order mark skipped")
            << "\xEF\xBB\xBF" + pinyin << glyphs << pinyin << QString();
        QTest::newRow("CR LF and CR read as LF")
            << QByteArray("a\r\nb\rc\r\n\r") << QStringLiteral("a\nb\nc\n\n")
            << QByteArray("a\nb\nc\n\n") << QString();
        const QByteArray lookalikes = QStringLiteral("España, Lü, Noël, ê, Ïa1").toUtf8();
        QTest::newRow("lookalike letters unchanged")
            << lookalikes
            << QStringLiteral("Espan\u0303a, Lu\u0308, Noe\u0308l, e\u0302, I\u0308a1")
            << lookalikes << QString();
        QTest::newRow("signs shown as tone letters")
            << QStringLiteral("± 5 ¢").toUtf8() << QStringLiteral("\u00B1 5 \u00A2")
            << QStringLiteral("Ǒ 5 Ā").toUtf8() << QStringLiteral("¢±");
        QTest::newRow("windows-1252 glyph codes as they stand")
            << QByteArray("N\xED h\xE2o \x80\x96 caf\xE9\r\n")
            << QStringLiteral("N\u00ED h\u00E2o €– caf\u00E9\n")
            << QStringLiteral("Nǐ hǎo €– cafè\n").toUtf8() << QString();
        QTest::newRow("broken utf-8 read as windows-1252")
            << QByteArray("\xC3(\x81") << QStringLiteral("\u00C3(\u0081")
            << QStringLiteral("Ã(\u0081").toUtf8() << QString();
    }

    void openThenSave() {
        QFETCH(QByteArray, file);
        QFETCH(QString, shown);
        QFETCH(QByteArray, saved);
        QFETCH(QString, signs);
        const QString path = folder.filePath("file.txt");
        write(path, file);
        const files::OpenedFile opened = PinyinFile::open(path);
        QCOMPARE(opened.refusal, QString());
        QCOMPARE(opened.content.text, shown);
        QCOMPARE(opened.content.lookalikeSigns, signs);
        QCOMPARE(PinyinFile::save(path, opened.content.text), QString());
        QCOMPARE(contents(path), saved);
    }

    void refusals_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder") << "folder"
                                << "folder";
        QTest::newRow("missing") << "missing"
                                 << "no such file";
        QTest::newRow("unreadable") << "unreadable"
                                    << "ermission";
        QTest::newRow("NUL bytes") << "nul"
                                   << "not a text file";
        QTest::newRow("over 64 MiB") << "large"
                                     << "64 MiB";
    }

    void refusals() {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        const QString path = folder.filePath(kind);
        if (kind == "folder") {
            QVERIFY(QDir().mkpath(path));
        } else if (kind == "unreadable") {
            if (geteuid() == 0)
                QSKIP("root reads every file");
            write(path, "a");
            QFile::setPermissions(path, QFileDevice::WriteOwner);
        } else if (kind == "nul") {
            write(path, QByteArray("a\0b", 3));
        } else if (kind == "large") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(PinyinFile::sizeLimit + 1));
        }
        const files::OpenedFile opened = PinyinFile::open(path);
        QVERIFY2(opened.refusal.contains(reason), qPrintable(opened.refusal));
        QCOMPARE(opened.content.text, QString());
    }

    void failingSaveKeepsTheFile_data() {
        QTest::addColumn<bool>("sizeLimit");
        QTest::newRow("folder removed") << false;
        QTest::newRow("file size limit") << true;
    }

    void failingSaveKeepsTheFile() {
        QFETCH(bool, sizeLimit);
        QTemporaryDir place;
        const QString path = place.filePath("kept.txt");
        write(path, "old text\n");
        const QString text(100'000, u'a');
        if (sizeLimit) {
            QCOMPARE(saveUnderSizeLimit(path, text, 4096), 0);
            QCOMPARE(contents(path), QByteArray("old text\n"));
            QCOMPARE(QDir(place.path()).entryList(QDir::Files), QStringList{"kept.txt"});
        } else {
            QVERIFY(place.remove());
            QVERIFY(!PinyinFile::save(path, text).isEmpty());
            QVERIFY(!QFile::exists(path));
        }
    }
};

QTEST_GUILESS_MAIN(TestPinyinFile)
#include "tst_pinyinfile.moc"
