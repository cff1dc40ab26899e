#include "install/DesktopInstallPlatform.h"
#include "install/FontFileCopy.h"
#include "install/InstallFields.h"
#include "install/InstallToneFont.h"
#include "install/ModalMessageBox.h"
#include "install/UserToneFont.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <fontconfig/fontconfig.h>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>

using install::DesktopInstallPlatform;

namespace {

const QByteArray rewritten("\"Ja\"\r\n");
const QString addFailed = QStringLiteral("Error Occured Calling AddFontResource");
const QString fallbackFont = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf");

// The tone font built beside the program, or DejaVu Serif while that is not there yet.
QString sourceFont() {
    const QString built = qEnvironmentVariable("TONQUILL_TEST_FONT");
    return QFileInfo::exists(built) ? built : fallbackFont;
}

// A throw-away user for one test: its own HOME, data, cache and current folder, a program folder
// and a folder "outside".
struct Sandbox {
    QTemporaryDir dir;
    QString root = dir.path(), program = root + "/program", outside = root + "/outside";
    // Where the font is expected: a test that moves XDG_DATA_HOME moves this with it.
    QString dataHome = root + "/home/.local/share";
    QString savedCwd = QDir::currentPath();

    // Every row sets the variables afresh, whatever the row before left.
    Sandbox() {
        for (const QString& folder : {program, outside, dataHome, root + "/cwd"})
            QDir().mkpath(folder);
        setVariable("HOME", QFile::encodeName(root + "/home").constData());
        setVariable("XDG_DATA_HOME", QFile::encodeName(dataHome).constData());
        setVariable("XDG_CACHE_HOME", QFile::encodeName(root + "/cache").constData());
        QDir::setCurrent(root + "/cwd");
    }
    ~Sandbox() {
        QDir::setCurrent(savedCwd);
        // Folders a test made read-only must not keep the temporary folder from going away.
        for (const QString& folder : {program, fonts()})
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString fonts() const { return dataHome + "/fonts"; }
    QString marker() const { return program + "/font.log"; }
    QString installedFont() const { return fonts() + "/pyserif.ttf"; }

    // Sets the variable, or unsets it for nullptr.
    static void setVariable(const char* name, const char* value) {
        value ? qputenv(name, value) : qunsetenv(name);
    }
    static void writeFile(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(bytes);
    }
    static QByteArray readFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The entry's kind and, for a file, a digest of its content.
    static QByteArray describe(const QString& path) {
        const QFileInfo entry(path);
        if (entry.isSymLink())
            return "link to " + QFile::encodeName(entry.symLinkTarget());
        if (!entry.exists() || entry.isDir() || !entry.isFile())
            return !entry.exists() ? "missing" : entry.isDir() ? "folder" : "special";
        return "file of " + QByteArray::number(entry.size()) + ", " +
               QCryptographicHash::hash(readFile(path), QCryptographicHash::Sha1).toHex();
    }
    // Every entry outside the program, font and cache folders, described, so that a comparison
    // shows anything written where it should not be.
    QMap<QString, QByteArray> untouchableState() const {
        QMap<QString, QByteArray> state;
        QDirIterator entries(root,
                             QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                             QDirIterator::Subdirectories);
        while (entries.hasNext()) {
            const QString path = entries.next();
            bool owned = false;
            for (const QString& folder : {program, fonts(), root + "/cache"})
                owned = owned || path == folder || path.startsWith(folder + '/');
            if (!owned)
                state.insert(path, describe(path));
        }
        return state;
    }
};

// Refuses on request to delete or append to the marker, as a read-only program folder does: the
// stand-in for that folder for a user, like root, whom no mode keeps out.
class TestPlatform : public DesktopInstallPlatform {
  public:
    using DesktopInstallPlatform::DesktopInstallPlatform;
    bool refuse = false;
    bool deleteFile(const std::string& path) override {
        return !refuse && DesktopInstallPlatform::deleteFile(path);
    }
    bool appendQuotedField(const std::string& path, std::int32_t no,
                           const std::string& field) override {
        return !refuse && DesktopInstallPlatform::appendQuotedField(path, no, field);
    }
};

} // namespace

class TestDesktopInstall : public QObject {
    Q_OBJECT

  private slots:
    // One situation per row, and what a start of the program in it gives the user: the font
    // "installs", the start "ignores" the marker, it "reports" two failed additions, or the marker
    // cannot be rewritten and "asks again" at the next start. With the marker saying done, the
    // start "copies quietly" a font the user lacks, or "keeps" what fontconfig already knows.
    void start_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QByteArray>("marker");
        QTest::addColumn<QString>("outcome");
        const auto row = [](const QString& setup, const char* outcome, const QByteArray& marker) {
            QTest::newRow(qPrintable(setup + ' ' + marker.left(12))) << setup << marker << outcome;
        };
        // Fontconfig takes a relative XDG_DATA_HOME from the current folder, where nothing of ours
        // may go; the font goes under HOME, which that fontconfig does not scan. A folder at the
        // target stands in for a read-only font folder under root, "refused" for the others.
        const QString rows =
            "xdg/installs|no xdg/installs|relative xdg/installs|link file/installs|link/installs|"
            "link folder/installs|unreadable marker/ignores|no font/reports|text font/reports|"
            "empty font/reports|font folder/reports|fonts file/reports|target folder/reports|"
            "read-only fonts/reports|HOME unset/reports|HOME empty/reports|HOME relative/reports|"
            "too long/reports|refused/asks again|read-only program/asks again|"
            "read-only marker/asks again";
        for (const QString& setup : rows.split(u'|')) {
            const QStringList parts = setup.split(u'/');
            row(parts[0], qPrintable(parts[1]), "nej\r\n");
        }
        // Only 4096 bytes are read, and the field must be seen to end within them.
        row("", "ignores", QByteArray("\x00\xff\x01nej\x00", 7));
        row("huge", "ignores", "");
        row("huge", "installs", "nej,");
        row("", "installs", QByteArray(4092, ' ') + "nej,");
        row("", "ignores", QByteArray(4093, ' ') + "nej,");
        row("", "installs", QByteArray(4093, ' ') + "nej");
        row("", "ignores", QByteArray(4094, ' ') + "nej");
        for (const char* setup : {"marker folder", "pipe", "device", "no marker"})
            row(setup, "ignores", QByteArray());
        row("empty fonts", "copies quietly", rewritten);
        row("known", "keeps", rewritten);
    }
    void start() {
        QFETCH(QString, setup);
        QFETCH(QByteArray, marker);
        QFETCH(QString, outcome);
        Sandbox sandbox;
        const QString log = sandbox.marker(), font = sandbox.program + "/pyserif.ttf";
        const QString victim = sandbox.outside + "/victim";
        const QByteArray tooLong = '/' + QByteArray(300, 'x');
        if (!marker.isNull())
            Sandbox::writeFile(log, marker);
        if (setup != "no font" && setup != "font folder")
            QVERIFY(QFile::copy(sourceFont(), font));
        if (setup.startsWith("link"))
            QVERIFY(QDir().mkpath(sandbox.fonts()) && QFile::link(victim, sandbox.installedFont()));
        if (setup == "xdg") {
            sandbox.dataHome = sandbox.root + "/xdg-data";
            QDir().mkpath(sandbox.dataHome);
            Sandbox::setVariable("XDG_DATA_HOME", QFile::encodeName(sandbox.dataHome).constData());
        } else if (setup == "no xdg" || setup == "relative xdg") {
            Sandbox::setVariable("XDG_DATA_HOME", setup == "no xdg" ? nullptr : "relative/share");
        } else if (setup == "link file" || setup == "text font" || setup == "empty font") {
            Sandbox::writeFile(setup == "link file" ? victim : font,
                               setup == "link file"   ? "the user's data"
                               : setup == "text font" ? "this is no font\n"
                                                      : "");
        } else if (setup == "link folder" || setup == "marker folder" || setup == "font folder") {
            QVERIFY(QDir().mkdir(setup == "link folder"   ? victim
                                 : setup == "font folder" ? font
                                                          : log));
        } else if (setup == "huge") {
            QVERIFY(QFile::resize(log, 50LL * 1024 * 1024)); // a hole, made in an instant
        } else if (setup == "pipe") {
            QCOMPARE(::mkfifo(QFile::encodeName(log).constData(), 0644), 0);
        } else if (setup == "device") {
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), log));
        } else if (setup == "unreadable marker") {
            QVERIFY(QFile::setPermissions(log, {}));
            if (QFile(log).open(QIODevice::ReadOnly)) // root reads anything
                QSKIP("this user reads a file of mode 000");
        } else if (setup == "empty fonts" || setup == "known" || setup == "target folder") {
            QVERIFY(QDir().mkpath(setup == "target folder" ? sandbox.installedFont()
                                                           : sandbox.fonts()));
            if (setup == "known")
                QVERIFY(QFile::copy(sourceFont(), sandbox.fonts() + "/mine.ttf"));
        } else if (setup == "fonts file") {
            Sandbox::writeFile(sandbox.fonts(), "mine");
        } else if (setup.startsWith("HOME") || setup == "too long") {
            Sandbox::setVariable("HOME", setup == "HOME empty"      ? ""
                                         : setup == "HOME relative" ? "relative/home"
                                                                    : nullptr);
            Sandbox::setVariable("XDG_DATA_HOME", setup == "too long"        ? tooLong.constData()
                                                  : setup == "HOME relative" ? ""
                                                                             : nullptr);
        } else if (setup.startsWith("read-only")) {
            const QString folder = setup == "read-only fonts" ? sandbox.fonts() : sandbox.program;
            QDir().mkpath(folder);
            if (setup == "read-only marker")
                QVERIFY(QFile::setPermissions(log, QFile::ReadOwner));
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
            QFile probe(folder + "/.probe");
            if (probe.open(QIODevice::WriteOnly) && probe.remove()) // root writes anywhere
                QSKIP("this user writes into a folder of mode 0500");
        }
        const auto untouchable = sandbox.untouchableState();
        const QByteArray markerBefore = Sandbox::describe(log);
        int timer12Armed = 0;
        QStringList messages, loaded;
        const auto startProgram = [&] {
            timer12Armed = 0;
            messages.clear();
            FcInitReinitialize(); // as a new process finds the sandbox.fonts()
            const install::UserToneFont userFont(QFile::encodeName(sandbox.program).toStdString());
            TestPlatform platform(
                QFile::encodeName(sandbox.program).toStdString(), [&] { ++timer12Armed; },
                [&](const std::string& text) { messages << QString::fromStdString(text); });
            platform.refuse = setup == "refused";
            install::InstallFields fields;
            install::InstallToneFont(platform, fields).run();
            loaded = userFont.complete();
        };

        startProgram();

        const bool installs = outcome == "installs" || outcome == "asks again";
        const bool markerKept =
            outcome == "ignores" || outcome == "copies quietly" || outcome == "keeps";
        QCOMPARE(timer12Armed, markerKept ? 0 : 1);
        QCOMPARE(messages, outcome == "reports" ? QStringList(2, addFailed) : QStringList());
        QCOMPARE(sandbox.untouchableState(), untouchable);
        QVERIFY(!QFileInfo(sandbox.installedFont()).isSymLink());
        QCOMPARE(Sandbox::readFile(sandbox.installedFont()) == Sandbox::readFile(sourceFont()),
                 installs || outcome == "copies quietly");
        if (markerKept)
            QCOMPARE(Sandbox::describe(log), markerBefore);
        else if (outcome == "asks again") // appending is all a writable marker allows
            QCOMPARE(Sandbox::readFile(log),
                     setup == "read-only program" ? marker + rewritten : marker);
        else
            QCOMPARE(Sandbox::readFile(log), rewritten);
        if (outcome == "ignores")
            QVERIFY(!QFileInfo::exists(sandbox.fonts()));
        const auto hidden = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;
        QCOMPARE(QDir(sandbox.fonts()).entryList({".*"}, hidden), QStringList()); // no leftovers
        if (setup == "fonts file")
            QCOMPARE(Sandbox::readFile(sandbox.fonts()), QByteArray("mine"));
        const QString family =
            sourceFont() == fallbackFont ? "DejaVu Serif" : "Vantor's PinYin Serif";
        const bool fontInProgram =
            !QStringList{"no font", "font folder", "text font", "empty font"}.contains(setup);
        QCOMPARE(loaded.contains(family), fontInProgram); // whatever the marker says
        if ((outcome == "installs" || outcome == "copies quietly") && setup != "relative xdg") {
            QProcess fcList; // what a new process of this user finds
            fcList.start("fc-list", {"--format", "%{family[0]}|%{file}\\n"});
            QVERIFY(fcList.waitForFinished(30000));
            const QList<QByteArray> found = fcList.readAllStandardOutput().split('\n');
            QVERIFY(found.contains((family + '|' + sandbox.installedFont()).toUtf8()));
        }

        startProgram();
        QCOMPARE(timer12Armed, outcome == "asks again" ? 1 : 0);
    }

    // A copy that fails says so and leaves nothing behind: the start reports what went wrong
    // instead of a font that is not there. A font of exactly the size limit still copies; the
    // last row copies under a file size limit of the process.
    void copyFontFile() {
        const auto check = [](const QString& source, const QString& target, bool copied,
                              rlim_t sizeLimit = RLIM_INFINITY) {
            QTemporaryDir dir;
            QDir().mkdir(dir.filePath("folder"));
            Sandbox::writeFile(dir.filePath("font"), "font bytes");
            for (const char* name : {"limit", "huge"}) {
                Sandbox::writeFile(dir.filePath(name), "");
                QVERIFY(QFile::resize(dir.filePath(name),
                                      install::fontFileSizeLimit + (name[0] == 'h')));
            }
            const auto entries = [&] {
                return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
            };
            const QStringList before = entries();
            rlimit saved{};
            getrlimit(RLIMIT_FSIZE, &saved);
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limited{std::min(sizeLimit, saved.rlim_max), saved.rlim_max};
            setrlimit(RLIMIT_FSIZE, &limited);
            const bool done = install::copyFontFile(dir.filePath(source).toStdString(),
                                                    dir.filePath(target).toStdString());
            setrlimit(RLIMIT_FSIZE, &saved);
            QCOMPARE(done, copied);
            const bool folderMade = copied || (source == "font" && target.startsWith("new/"));
            QCOMPARE(entries(), folderMade ? before + QStringList("new") : before);
            QVERIFY(copied || QDir(dir.filePath("new"))
                                  .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
            if (copied)
                QVERIFY(Sandbox::readFile(dir.filePath(target)) ==
                        Sandbox::readFile(dir.filePath(source)));
        };
        check("font", "new/pyserif.ttf", true);
        check("missing", "new/pyserif.ttf", false);
        check(".", "new/pyserif.ttf", false);
        check("limit", "new/pyserif.ttf", true);
        check("huge", "new/pyserif.ttf", false);
        check("font", "font/pyserif.ttf", false);
        check("font", "folder", false);
        check("font", "new/pyserif.ttf", false, 4);
    }

    void messageBoxIsPlainAndModal() {
        QWidget parent;
        QStringList seen;
        bool plain = false;
        // Looks for the box until it is up, so that a box that never appears cannot hang the test.
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            poll.stop();
            seen << box->windowTitle() << box->text();
            plain = box->icon() == QMessageBox::NoIcon && box->parentWidget() == &parent &&
                    box->standardButtons() == QMessageBox::Ok && box->buttons().size() == 1;
            box->accept();
        });
        poll.start(10);

        install::modalMessageBox (&parent)(addFailed.toStdString());

        QCOMPARE(seen, QStringList({"Tonquill", addFailed}));
        QVERIFY(plain);
    }
};

QTEST_MAIN(TestDesktopInstall)
#include "tst_desktopinstall.moc"
