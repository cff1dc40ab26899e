#include "Sandbox.h"

#include "install/DesktopInstallPlatform.h"
#include "install/FontFileCopy.h"
#include "install/InstallFields.h"
#include "install/InstallToneFont.h"
#include "install/ModalMessageBox.h"
#include "install/UserToneFont.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <fontconfig/fontconfig.h>
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
        const auto row = [](const char* name, const char* setup, const char* outcome,
                            const QByteArray& marker = "nej\r\n") {
            QTest::newRow(name) << QString(setup) << marker << QString(outcome);
        };
        const QByteArray none;
        row("XDG_DATA_HOME", "xdg", "installs");
        row("HOME alone", "no xdg", "installs");
        // Fontconfig takes a relative XDG_DATA_HOME from the current folder, where nothing of
        // ours may go; the font goes under HOME, which that fontconfig does not scan.
        row("relative XDG_DATA_HOME ignored", "relative xdg", "installs");
        row("link at the target to a file outside", "link file", "installs");
        row("dangling link at the target", "link", "installs");
        row("link at the target to a folder outside", "link folder", "installs");

        row("binary marker", "", "ignores", QByteArray("\x00\xff\x01nej\x00", 7));
        row("50 MB marker of zeros", "huge", "ignores", "");
        row("50 MB marker starting with nej,", "huge", "installs", "nej,");
        // Only 4096 bytes are read, and the field must be seen to end within them.
        row("comma on the last byte read", "", "installs", QByteArray(4092, ' ') + "nej,");
        row("comma one byte beyond", "", "ignores", QByteArray(4093, ' ') + "nej,");
        row("marker ends on the last byte read", "", "installs", QByteArray(4093, ' ') + "nej");
        row("marker ends one byte beyond", "", "ignores", QByteArray(4094, ' ') + "nej");
        row("folder named font.log", "marker folder", "ignores", none);
        row("pipe named font.log", "pipe", "ignores", none);
        row("font.log linked to a device", "device", "ignores", none);
        row("marker missing", "no marker", "ignores", none);
        row("marker unreadable", "unreadable marker", "ignores");

        row("font missing", "no font", "reports");
        row("font not a font", "text font", "reports");
        row("font empty", "empty font", "reports");
        row("folder named pyserif.ttf", "font folder", "reports");
        row("file in place of the font folder", "fonts file", "reports");
        // The rename after the copy fails: the stand-in for a read-only font folder under root.
        row("folder at the target", "target folder", "reports");
        row("read-only font folder", "read-only fonts", "reports");
        row("HOME unset", "HOME unset", "reports");
        row("HOME empty", "HOME empty", "reports");
        row("HOME relative", "HOME relative", "reports");
        row("data folder too long", "too long", "reports");

        // The first row stands in for the others under root.
        row("delete and append refused", "refused", "asks again");
        row("read-only program folder", "read-only program", "asks again");
        row("read-only program folder and marker", "read-only marker", "asks again");

        row("done, empty font folder", "empty fonts", "copies quietly", rewritten);
        row("done, face known to fontconfig", "known", "keeps", rewritten);
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
        if (setup.startsWith("link")) {
            QDir().mkpath(sandbox.fonts());
            QVERIFY(QFile::link(victim, sandbox.installedFont()));
        }
        if (setup == "xdg") {
            sandbox.dataHome = sandbox.root + "/xdg-data";
            QDir().mkpath(sandbox.dataHome);
            Sandbox::setVariable("XDG_DATA_HOME", QFile::encodeName(sandbox.dataHome).constData());
        } else if (setup == "no xdg" || setup == "relative xdg") {
            Sandbox::setVariable("XDG_DATA_HOME", setup == "no xdg" ? nullptr : "relative/share");
        } else if (setup == "link file") {
            Sandbox::writeFile(victim, "the user's data");
        } else if (setup == "link folder") {
            QVERIFY(QDir().mkdir(victim));
        } else if (setup == "huge") {
            QVERIFY(QFile::resize(log, 50LL * 1024 * 1024)); // a hole, made in an instant
        } else if (setup == "marker folder") {
            QVERIFY(QDir().mkdir(log));
        } else if (setup == "pipe") {
            QCOMPARE(::mkfifo(QFile::encodeName(log).constData(), 0644), 0);
        } else if (setup == "device") {
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), log));
        } else if (setup == "unreadable marker") {
            QVERIFY(QFile::setPermissions(log, {}));
            if (QFile(log).open(QIODevice::ReadOnly)) // root reads anything
                QSKIP("this user reads a file of mode 000");
        } else if (setup == "font folder") {
            QVERIFY(QDir().mkdir(font));
        } else if (setup == "text font" || setup == "empty font") {
            Sandbox::writeFile(font, setup == "text font" ? "this is no font\n" : "");
        } else if (setup == "empty fonts" || setup == "known") {
            QVERIFY(QDir().mkpath(sandbox.fonts()));
            if (setup == "known")
                QVERIFY(QFile::copy(sourceFont(), sandbox.fonts() + "/mine.ttf"));
        } else if (setup == "fonts file") {
            Sandbox::writeFile(sandbox.fonts(), "mine");
        } else if (setup == "target folder") {
            QVERIFY(QDir().mkpath(sandbox.installedFont()));
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
            FcInitReinitialize(); // as a new process finds the fonts
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
    // instead of a font that is not there.
    void copyFontFile_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("copied");
        QTest::newRow("copies into a new folder") << "font"
                                                  << "new/pyserif.ttf" << true;
        QTest::newRow("source missing") << "missing"
                                        << "new/pyserif.ttf" << false;
        QTest::newRow("source a folder") << "."
                                         << "new/pyserif.ttf" << false;
        QTest::newRow("source too big") << "huge"
                                        << "new/pyserif.ttf" << false;
        QTest::newRow("target folder a file") << "font"
                                              << "font/pyserif.ttf" << false;
        QTest::newRow("target a folder") << "font"
                                         << "folder" << false;
        QTest::newRow("file size limit") << "font"
                                         << "new/pyserif.ttf" << false;
    }
    void copyFontFile() {
        QFETCH(QString, source);
        QFETCH(QString, target);
        QTemporaryDir dir;
        QDir().mkdir(dir.filePath("folder"));
        Sandbox::writeFile(dir.filePath("font"), "font bytes");
        Sandbox::writeFile(dir.filePath("huge"), "");
        QVERIFY(QFile::resize(dir.filePath("huge"), install::fontFileSizeLimit + 1));
        const auto entries = [&] {
            return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
        };
        const QStringList before = entries();
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        if (QByteArray(QTest::currentDataTag()) == "file size limit") {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit small{4, saved.rlim_max};
            setrlimit(RLIMIT_FSIZE, &small);
        }
        const bool copied = install::copyFontFile(dir.filePath(source).toStdString(),
                                                  dir.filePath(target).toStdString());
        setrlimit(RLIMIT_FSIZE, &saved);
        QTEST(copied, "copied");
        const bool folderMade = source == "font" && target.startsWith("new/");
        QCOMPARE(entries(), folderMade ? before + QStringList("new") : before);
        QVERIFY(copied || QDir(dir.filePath("new"))
                              .isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
        if (copied)
            QCOMPARE(Sandbox::readFile(dir.filePath(target)), "font bytes");
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
