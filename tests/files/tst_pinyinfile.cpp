#include "TestSupport.h"
#include "files/PinyinFile.h"

#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using files::PinyinFile;

class TestPinyinFile : public QObject {
    Q_OBJECT

    QTemporaryDir folder;

  private slots:
    // What the editor shows for a file's bytes, the signs it warns of, what saving writes: no byte
    // order mark, LF alone, lookalikes kept, signs as tone letters, not UTF-8 read as Windows-1252.
    void openThenSave() {
        const char *pinyin = "Nǐ hǎo, Lǚ!\n", *glyphs = "N\u00ED h\u00E2o, L\u00FB!\n",
                   *lookalikes = "España, Lü, Noël, ê, Ïa1";
        const char* rows[][4] = {
            {pinyin, glyphs, pinyin, ""},
            {"\uFEFFNǐ hǎo, Lǚ!\n", glyphs, pinyin, ""},
            {"a\r\nb\rc\r\n\r", "a\nb\nc\n\n", "a\nb\nc\n\n", ""},
            {lookalikes, "Espan\u0303a, Lu\u0308, Noe\u0308l, e\u0302, I\u0308a1", lookalikes, ""},
            {"± 5 ¢", "\u00B1 5 \u00A2", "Ǒ 5 Ā", "¢±"},
            {"N\xED h\xE2o \x80\x96 caf\xE9 \xC3(\x81\r\n",
             "N\u00ED h\u00E2o €– caf\u00E9 Ã(\u0081\n", "Nǐ hǎo €– cafè Ã(\u0081\n", ""}};
        const QString path = folder.filePath("file.txt");
        for (const auto& [file, shown, saved, signs] : rows) {
            QVERIFY(writeFile(path, file));
            const files::OpenedFile opened = PinyinFile::open(path);
            QCOMPARE(opened.content.text, QString::fromUtf8(shown));
            QCOMPARE(opened.content.lookalikeSigns, QString::fromUtf8(signs));
            QCOMPARE(opened.content.windows1252, QByteArray(file).contains('\x80'));
            QCOMPARE(PinyinFile::save(path, opened.content.text), QString());
            QCOMPARE(readFile(path), QByteArray(saved));
        }
    }

    // A folder, a missing file, an unreadable one, NUL bytes, over 64 MiB: refused, and why. A
    // file of exactly 64 MiB is read to its last byte, and refused only for what that byte holds.
    void refusals() {
        const QString limit = folder.filePath("limit"), over = folder.filePath("over"),
                      unreadable = folder.filePath("unreadable");
        QVERIFY(writeFile(folder.filePath("nul"), {"a\0b", 3}) &&
                writeFile(limit, QByteArray(PinyinFile::sizeLimit - 1, 'a').append('\0')) &&
                writeFile(over, "") && QFile::resize(over, PinyinFile::sizeLimit + 1) &&
                writeFile(unreadable, "a") &&
                QFile::setPermissions(unreadable, QFileDevice::WriteOwner));
        // Root reads the unreadable file all the same.
        for (const QString row :
             {".=folder", "missing=no such file", "nul=not a text", "limit=not a text",
              "over=64 MiB", geteuid() ? "unreadable=ermission" : "nul=NUL"}) {
            const files::OpenedFile opened =
                PinyinFile::open(folder.filePath(row.section(u'=', 0, 0)));
            QVERIFY2(opened.refusal.contains(row.section(u'=', 1)), qPrintable(opened.refusal));
        }
    }

    // A save that fails, as the file size limit cuts it or its folder is missing, keeps the file.
    void failingSaveKeepsTheFile() {
        const QString path = folder.filePath("kept.txt"), text(100'000, u'a');
        QVERIFY(writeFile(path, "old text\n"));
        if (fork() == 0) { // a child whose file size limit is 4096 bytes
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit size{4096, 4096};
            setrlimit(RLIMIT_FSIZE, &size);
            _exit(PinyinFile::save(path, text).isEmpty() ? 1 : 0);
        }
        int status = -1;
        QVERIFY(wait(&status) > 0 && status == 0);
        QCOMPARE(readFile(path), QByteArray("old text\n"));
        QVERIFY(!PinyinFile::save(folder.filePath("missing/kept.txt"), text).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPinyinFile)
#include "tst_pinyinfile.moc"
