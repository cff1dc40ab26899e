#include "TestSupport.h"
#include "install/DesktopInstallPlatform.h"
#include "install/FontFileCopy.h"
#include "install/InstallFields.h"
#include "install/InstallToneFont.h"
#include "install/ModalMessageBox.h"
#include "install/UserToneFont.h"

#include <QDirIterator>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>
#include <fontconfig/fontconfig.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString addFailed = "Error Occured Calling AddFontResource";
// Read once, so that a rebuild that rewrites the built font cannot change it under a row.
const QByteArray font = readFile(qEnvironmentVariable("TONQUILL_TEST_FONT"));

enum Place { Program, Marker, ProgramFont, Fonts, InstalledFont, OwnFont, Victim, Lock, DevZero };
enum Start { Installs, ReportsFailure, AsksAgain, IgnoresMarker, CopiesQuietly, KeepsOwnFont };

// A throw-away user for one row, its HOME and current folder the sandbox.
struct Sandbox {
    QTemporaryDir dir;
    QString root = dir.path(), data;
    bool modesChanged = false; // which root would not notice
    Sandbox() { QDir::setCurrent(root); }
    ~Sandbox() { ::chmod(qPrintable(at(Program)), 0700), ::chmod(qPrintable(at(Fonts)), 0700); }
    QString at(Place place) const {
        const QString program = root + "/p", fonts = data + "/fonts";
        return QStringList{program,     program + "/font.log",  program + "/pyserif.ttf",
                           fonts,       fonts + "/pyserif.ttf", fonts + "/mine.ttf",
                           root + "/v", root + "/locked",       "/dev/zero"}[place];
    }
    // Each entry by its link or content, but for the font folder and, unless `withMarker`, the
    // marker: what a start may write.
    QMap<QString, QByteArray> state(bool withMarker) const {
        QMap<QString, QByteArray> entries;
        QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo entry(it.next());
            const QString path = entry.filePath() + '/';
            if (!path.startsWith(at(Fonts) + '/') && (withMarker || path != at(Marker) + '/'))
                entries[path] = entry.isFile() && !entry.isSymLink()
                                    ? readFile(entry.filePath())
                                    : QFile::encodeName(entry.symLinkTarget());
        }
        return entries;
    }
};

using Step = std::function<bool(Sandbox&)>;
using SetUp = QList<Step>;
const auto folder = [](Place at) { return [=](auto& s) { return QDir().mkpath(s.at(at)); }; };
const auto linked = [](Place at, Place to) {
    return [=](auto& s) { return QFile::link(s.at(to), s.at(at)); };
};
const auto file = [](Place at, QByteArray bytes) {
    return [=](auto& s) { return writeFile(s.at(at), bytes); };
};
const auto missing = [](Place at) { return [=](auto& s) { return QFile::remove(s.at(at)); }; };
const auto fifo = [](Place at) {
    return [=](auto& s) { return ::mkfifo(qPrintable(s.at(at)), 0644) == 0; };
};
const auto mode = [](Place at, unsigned bits) {
    return [=](auto& s) { return s.modesChanged = true, ::chmod(qPrintable(s.at(at)), bits) == 0; };
};
const auto set = [](const char* name, QByteArray value) {
    return [=](auto&) { return qputenv(name, value); };
};
const auto unset = [](const char* name) { return [=](auto&) { return qunsetenv(name); }; };
// The font goes into an XDG_DATA_HOME in the sandbox.
const auto dataHome = [](QString relative) {
    return [=](Sandbox& s) {
        return QDir().mkpath(s.data = s.root + relative) &&
               qputenv("XDG_DATA_HOME", QFile::encodeName(s.data));
    };
};
const Step homeIsSandbox = [](Sandbox& s) { return qputenv("HOME", QFile::encodeName(s.root)); };
// Every row's first steps: the sandbox is HOME, the program has its font and the marker asks.
const SetUp defaults = {homeIsSandbox, dataHome("/.local/share"), folder(Program),
                        file(ProgramFont, font), file(Marker, "nej\r\n")};

// Cannot delete the marker while the lock exists: a program folder that even root cannot write.
struct RefusingPlatform : install::DesktopInstallPlatform {
    using DesktopInstallPlatform::DesktopInstallPlatform;
    bool deleteFile(const std::string& path) override {
        return !QFile::exists("locked") && DesktopInstallPlatform::deleteFile(path);
    }
};

enum Copy { LeavesNothing, LeavesEmptyFolder, Copies };
const rlim_t noLimit = RLIM_INFINITY;
const QString inNewFolder = "new/f"; // in a folder not there yet

} // namespace

Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(Start)
Q_DECLARE_METATYPE(Copy)

class TestDesktopInstall : public QObject {
    Q_OBJECT

  private slots:
    // What a start gives the user, nothing outside the font folder and the marker touched.
    void start_data() {
        columns<SetUp, Start>({"setUp", "outcome"});
        QTest::addRow("the font goes into XDG_DATA_HOME") << SetUp{dataHome("/xdg")} << Installs;
        QTest::addRow("no XDG_DATA_HOME: under HOME") << SetUp{unset("XDG_DATA_HOME")} << Installs;
        QTest::addRow("a relative XDG_DATA_HOME is not followed")
            << SetUp{set("XDG_DATA_HOME", "relative/share")} << Installs;
        QTest::addRow("a link in the font's place is replaced, the file it names kept")
            << SetUp{folder(Fonts), linked(InstalledFont, Victim), file(Victim, "mine")}
            << Installs;
        QTest::addRow("a dangling link in the font's place is replaced")
            << SetUp{folder(Fonts), linked(InstalledFont, Victim)} << Installs;
        QTest::addRow("a link to a folder in the font's place is replaced")
            << SetUp{folder(Fonts), folder(Victim), linked(InstalledFont, Victim)} << Installs;
        QTest::addRow("an unreadable marker is ignored") << SetUp{mode(Marker, 0)} << IgnoresMarker;
        QTest::addRow("no program font: reported") << SetUp{missing(ProgramFont)} << ReportsFailure;
        QTest::addRow("a program font that is no font is reported")
            << SetUp{file(ProgramFont, "text")} << ReportsFailure;
        QTest::addRow("a folder blocks the font") << SetUp{folder(InstalledFont)} << ReportsFailure;
        QTest::addRow("a read-only font folder is reported")
            << SetUp{folder(Fonts), mode(Fonts, 0500)} << ReportsFailure;
        QTest::addRow("neither HOME nor XDG_DATA_HOME: reported")
            << SetUp{unset("HOME"), unset("XDG_DATA_HOME")} << ReportsFailure;
        QTest::addRow("a relative HOME and an empty XDG_DATA_HOME: reported")
            << SetUp{set("HOME", "relative/home"), set("XDG_DATA_HOME", "")} << ReportsFailure;
        QTest::addRow("an undeletable marker asks again") << SetUp{file(Lock, "")} << AsksAgain;
        QTest::addRow("a read-only program folder keeps the marker asking")
            << SetUp{mode(Program, 0500)} << AsksAgain;
        QTest::addRow("a read-only marker in a read-only program folder keeps asking")
            << SetUp{mode(Marker, 0400), mode(Program, 0500)} << AsksAgain;
        QTest::addRow("a marker with binary bytes around its word is ignored")
            << SetUp{file(Marker, "\x01\xffnej\x02")} << IgnoresMarker;
        QTest::addRow("a field ended only after the first 4096 bytes is ignored")
            << SetUp{file(Marker, QByteArray(4093, ' ') + "nej,")} << IgnoresMarker;
        QTest::addRow("a marker of 4096 bytes is read whole")
            << SetUp{file(Marker, QByteArray(4093, ' ') + "nej")} << Installs;
        QTest::addRow("a missing marker is ignored") << SetUp{missing(Marker)} << IgnoresMarker;
        QTest::addRow("a fifo for a marker is ignored, not waited on")
            << SetUp{missing(Marker), fifo(Marker)} << IgnoresMarker;
        QTest::addRow("a marker linked to /dev/zero is ignored, not read on")
            << SetUp{missing(Marker), linked(Marker, DevZero)} << IgnoresMarker;
        QTest::addRow("a marker saying done copies the font quietly")
            << SetUp{file(Marker, "\"Ja\"")} << CopiesQuietly;
        QTest::addRow("a user with the face under another name gets no copy")
            << SetUp{file(Marker, "\"Ja\""), folder(Fonts), file(OwnFont, font)} << KeepsOwnFont;
        QTest::addRow("a data folder too long for the installation is reported")
            << SetUp{unset("HOME"), set("XDG_DATA_HOME", '/' + QByteArray(300, 'x'))}
            << ReportsFailure;
        QTest::addRow("an installation renews fontconfig's cache") << SetUp{} << Installs;
    }
    void start() {
        const Start outcome = cell<Start>("outcome");
        Sandbox sandbox;
        ::umask(022);
        for (const Step& step : defaults + cell<SetUp>("setUp"))
            QVERIFY(step(sandbox));
        if (sandbox.modesChanged && ::geteuid() == 0)
            QSKIP("no mode keeps root out");
        const bool kept = QList{IgnoresMarker, CopiesQuietly, KeepsOwnFont}.contains(outcome);
        const auto untouched = sandbox.state(kept);
        QStringList seen, loaded; // the messages shown and the arming of Timer12
        const auto startProgram = [&] {
            seen.clear();
            FcInitReinitialize(); // as a new process finds the font folder
            const std::string program = QFile::encodeName(sandbox.at(Program)).toStdString();
            const install::UserToneFont userFont(program);
            RefusingPlatform platform(
                program, [&] { seen << "Timer12"; },
                [&](const std::string& text) { seen << QString::fromStdString(text); });
            install::InstallFields fields;
            install::InstallToneFont(platform, fields).run();
            loaded = userFont.complete();
        };
        startProgram();
        QCOMPARE(seen, (outcome == ReportsFailure ? QStringList(2, addFailed) : QStringList()) +
                           (kept ? QStringList() : QStringList("Timer12")));
        QCOMPARE(sandbox.state(kept), untouched);
        const bool installed = QList{Installs, AsksAgain, CopiesQuietly}.contains(outcome);
        QCOMPARE(readFile(sandbox.at(InstalledFont)) == font, installed);
        if (installed) // so that every program finds the font without a scan of its own
            QVERIFY(
                FcDirCacheValid(reinterpret_cast<const FcChar8*>(qPrintable(sandbox.at(Fonts)))));
        if (outcome == Installs || outcome == ReportsFailure) { // rw-r--r--, 0x0f00: this user
            QCOMPARE(readFile(sandbox.at(Marker)), "\"Ja\"\r\n");
            QCOMPARE(QFileInfo(sandbox.at(Marker)).permissions() & ~QFile::Permissions(0x0f00),
                     QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        }
        const bool loads = readFile(sandbox.at(ProgramFont)) == font && outcome != KeepsOwnFont;
        QCOMPARE(loaded.contains("Vantor's PinYin Serif"), loads); // whatever the marker says
        startProgram();
        QCOMPARE(seen, outcome == AsksAgain ? QStringList("Timer12") : QStringList());
    }
    // A failed copy leaves nothing behind but a folder; /proc/self/mem is a regular file that
    // cannot be read.
    void copyFontFile_data() {
        columns<QString, rlim_t, QString, Copy>({"source", "writeLimit", "target", "result"});
        QTest::addRow("a font is copied, its folder made")
            << "font" << noLimit << inNewFolder << Copies;
        QTest::addRow("a missing source leaves nothing")
            << "missing" << noLimit << inNewFolder << LeavesNothing;
        QTest::addRow("a folder as source leaves nothing")
            << "." << noLimit << inNewFolder << LeavesNothing;
        QTest::addRow("a file of the size limit is copied")
            << "limit-sized" << noLimit << inNewFolder << Copies;
        QTest::addRow("a file beyond the size limit leaves nothing")
            << "over-limit" << noLimit << inNewFolder << LeavesNothing;
        QTest::addRow("a file in the place of the target's folder is kept")
            << "font" << noLimit << "font/f" << LeavesNothing;
        QTest::addRow("a folder in the target's place is kept")
            << "font" << noLimit << "folder" << LeavesNothing;
        QTest::addRow("a write cut short leaves no file")
            << "font" << rlim_t(4) << inNewFolder << LeavesEmptyFolder;
        QTest::addRow("an unreadable regular file leaves no file")
            << "/proc/self/mem" << noLimit << inNewFolder << LeavesEmptyFolder;
    }
    void copyFontFile() {
        const QString source = cell<QString>("source"), target = cell<QString>("target");
        const Copy result = cell<Copy>("result");
        const Sandbox sandbox;
        QVERIFY(QDir().mkdir("folder") && writeFile("font", "bytes"));
        const QMap<QString, qint64> sparse{{"limit-sized", install::fontFileSizeLimit},
                                           {"over-limit", install::fontFileSizeLimit + 1}};
        if (sparse.contains(source))
            QVERIFY(writeFile(source, "") && QFile::resize(source, sparse[source]));
        auto expected = sandbox.state(true);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit limited{std::min(cell<rlim_t>("writeLimit"), saved.rlim_cur), saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limited);
        const bool copied = install::copyFontFile(source.toStdString(), target.toStdString());
        setrlimit(RLIMIT_FSIZE, &saved);
        QCOMPARE(copied, result == Copies);
        if (result != LeavesNothing)
            expected[sandbox.root + "/new/"] = "";
        if (copied)
            expected[sandbox.root + "/new/f/"] = readFile(source);
        QCOMPARE(sandbox.state(true), expected);
    }
    void messageBoxIsPlainAndModal() {
        QWidget parent;
        QStringList seen;
        QTimer::singleShot(0, this, [&] { // runs only while the box waits for an answer
            auto* box = parent.findChild<QMessageBox*>();
            QVERIFY(box && box->isModal() && box->icon() == QMessageBox::NoIcon &&
                    box->buttons() == QList<QAbstractButton*>{box->button(QMessageBox::Ok)});
            seen << box->windowTitle() << box->text();
            box->accept();
        });
        install::modalMessageBox (&parent)(addFailed.toStdString());
        QCOMPARE(seen, QStringList({"Tonquill", addFailed}));
    }
};

QTEST_MAIN(TestDesktopInstall)
#include "tst_desktopinstall.moc"
