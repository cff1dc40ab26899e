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

const QString& write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
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
    // What the editor shows for a file's bytes, the signs it warns of, and what saving it unedited
    // writes: a byte order mark skipped, CR LF and CR read as LF, lookalike letters unchanged,
    // signs shown as tone letters, Windows-1252 glyph codes as they stand, broken UTF-8 read as
    // Windows-1252.
    void openThenSave() {
        const QByteArray pinyin = QStringLiteral("Nǐ hǎo, Lǚ!\n").toUtf8();
        const QString glyphs = QStringLiteral("N\u00ED h\u00E2o, L\u00FB!\n");
        const QByteArray lookalikes = QStringLiteral("España, Lü, Noël, ê, Ïa1").toUtf8();
        const std::tuple<QByteArray, QString, QByteArray, QString> rows[] = {
            {pinyin, glyphs, pinyin, {}},
            {{}, {}, {}, {}},
            {"\xEF\xBB\xBF" + pinyin, glyphs, pinyin, {}},
            {"a\r\nb\rc\r\n\r", "a\nb\nc\n\n", "a\nb\nc\n\n", {}},
            {lookalikes,
             QStringLiteral("Espan\u0303a, Lu\u0308, Noe\u0308l, e\u0302, I\u0308a1"),
             lookalikes,
             {}},
            {QStringLiteral("± 5 ¢").toUtf8(), QStringLiteral("\u00B1 5 \u00A2"),
             QStringLiteral("Ǒ 5 Ā").toUtf8(), QStringLiteral("¢±")},
            {"N\xED h\xE2o \x80\x96 caf\xE9\r\n",
             QStringLiteral("N\u00ED h\u00E2o €– caf\u00E9\n"),
             QStringLiteral("Nǐ hǎo €– cafè\n").toUtf8(),
             {}},
            {"\xC3(\x81",
             QStringLiteral("\u00C3(\u0081"),
             QStringLiteral("Ã(\u0081").toUtf8(),
             {}}};
        for (const auto& [file, shown, saved, signs] : rows) {
            const QString path = folder.filePath("file.txt");
            write(path, file);
            const files::OpenedFile opened = PinyinFile::open(path);
            QCOMPARE(opened.refusal, QString());
            QCOMPARE(opened.content.text, shown);
            QCOMPARE(opened.content.lookalikeSigns, signs);
            QCOMPARE(opened.content.windows1252,
                     QString::fromUtf8(file).contains(QChar::ReplacementCharacter));
            QCOMPARE(PinyinFile::save(path, opened.content.text), QString());
            QCOMPARE(contents(path), saved);
        }
    }

    // A folder, a missing file, an unreadable one, NUL bytes, over 64 MiB: refused, and why. A
    // file of exactly 64 MiB is read, and refused only for what it holds.
    void refusals() {
        for (const QString kind : {"folder", "missing", "unreadable", "nul", "large", "limit"}) {
            const QString path = folder.filePath(kind);
            if (kind == "folder")
                QVERIFY(QDir().mkpath(path));
            else if (kind == "unreadable" && geteuid() != 0)
                QFile::setPermissions(write(path, "a"), QFileDevice::WriteOwner);
            else if (kind == "nul")
                write(path, QByteArray("a\0b", 3));
            else if (kind == "large" || kind == "limit")
                QVERIFY(QFile::resize(write(path, ""),
                                      PinyinFile::sizeLimit + (kind == "large" ? 1 : 0)));
            const files::OpenedFile opened = PinyinFile::open(path);
            const QString reason = kind == "folder"                   ? "folder"
                                   : kind == "missing"                ? "no such file"
                                   : kind == "nul" || kind == "limit" ? "not a text file"
                                   : kind == "large"                  ? "64 MiB"
                                                                      : "ermission";
            QVERIFY2(opened.refusal.contains(reason) || (kind == "unreadable" && geteuid() == 0),
                     qPrintable(opened.refusal));
            QCOMPARE(opened.content.text, QString());
        }
    }

    // A save that fails, as its folder is gone or the file size limit cuts it, keeps the file.
    void failingSaveKeepsTheFile() {
        QTemporaryDir place;
        const QString path = place.filePath("kept.txt"), text(100'000, u'a');
        write(path, "old text\n");
        QCOMPARE(saveUnderSizeLimit(path, text, 4096), 0);
        QCOMPARE(contents(path), QByteArray("old text\n"));
        QCOMPARE(QDir(place.path()).entryList(QDir::Files), QStringList{"kept.txt"});
        QVERIFY(place.remove());
        QVERIFY(!PinyinFile::save(path, text).isEmpty());
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_GUILESS_MAIN(TestPinyinFile)
#include "tst_pinyinfile.moc"
