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
// What the first letters "~PMFDTV" of a path stand for: the sandbox, the program folder, the
// marker, the program's font, the font folder, the font installed there and a victim.
const auto names = QString("~ ~/p P/font.log P/pyserif.ttf @/fonts D/pyserif.ttf ~/v").split(u' ');
// Every row's first steps: the sandbox is HOME, the program has its font and the marker asks.
const QString defaults = "HOME=~ XDG_DATA_HOME=~/.local/share dir:P font:F put:M:nej\r\n";

// A throw-away user for one row, its HOME and current folder the sandbox.
struct Sandbox {
    QTemporaryDir dir;
    QString root = dir.path(), data;
    Sandbox() { QDir::setCurrent(root); }
    ~Sandbox() { apply("chmod:P:700") && apply("chmod:D:700"); } // so that they can go
    QString at(const QString& path) const {
        const auto i = path.isEmpty() ? -1 : QString("~PMFDTV").indexOf(path.section(u'/', 0, 0));
        return i > 0 ? at(names[i] + path.mid(1))
                     : QString(path).replace(u'@', data).replace(u'~', root);
    }
    // A step of a row's set-up: "verb:path[:argument...]", or "NAME=value" and "-NAME" to set and
    // unset an environment variable; an XDG_DATA_HOME in the sandbox is where the font then goes.
    bool apply(const QString& step) {
        const QStringList w = step.split(u':');
        const QString path = at(w.value(1)), value = at(step.section(u'=', 1));
        const QMap<QString, std::function<bool()>> verbs{
            {"dir", [&] { return QDir().mkpath(path); }},
            {"ln", [&] { return QFile::link(at(w[2]), path); }},
            {"put", [&] { return writeFile(path, w[2].toUtf8()); }},
            {"pad", [&] { return writeFile(path, QByteArray(w[2].toInt(), ' ') + w[3].toUtf8()); }},
            {"font", [&] { return writeFile(path, font); }},
            {"rm", [&] { return QFile::remove(path); }},
            {"fifo", [&] { return ::mkfifo(qPrintable(path), 0644) == 0; }},
            {"chmod", [&] { return ::chmod(qPrintable(path), w[2].toUInt(nullptr, 8)) == 0; }}};
        if (verbs.contains(w[0]))
            return verbs[w[0]]();
        if (step.startsWith('-'))
            return qunsetenv(qPrintable(step.mid(1)));
        if (step.startsWith("XDG_DATA_HOME=~"))
            QDir().mkpath(data = value);
        return qputenv(qPrintable(step.section(u'=', 0, 0)), QFile::encodeName(value));
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
            if (!path.startsWith(at("D/")) && (withMarker || path != at("M/")))
                entries[path] = entry.isFile() && !entry.isSymLink()
                                    ? readFile(entry.filePath())
                                    : QFile::encodeName(entry.symLinkTarget());
        }
        return entries;
    }
};

// Cannot delete the marker while ~/locked exists: a program folder that even root cannot write.
struct RefusingPlatform : install::DesktopInstallPlatform {
    using DesktopInstallPlatform::DesktopInstallPlatform;
    bool deleteFile(const std::string& path) override {
        return !QFile::exists("locked") && DesktopInstallPlatform::deleteFile(path);
    }
};

} // namespace

class TestDesktopInstall : public QObject {
    Q_OBJECT

  private slots:
    // Rows "set-up steps>outcome", the marker asking unless a step changes it: what a start gives
    // the user, nothing outside the font folder and the marker touched; only 4096 bytes of the
    // marker are read, and a relative XDG_DATA_HOME is not followed.
    void start_data() {
        columns<QStringList>({"row"});
        const QString rows =
            "XDG_DATA_HOME=~/xdg>installs|-XDG_DATA_HOME>installs|XDG_DATA_HOME=relative/share>"
            "installs|dir:D ln:T:V put:V:mine>installs|dir:D ln:T:V>installs|dir:D dir:V ln:T:V>"
            "installs|chmod:M:0>ignores|rm:F>reports|put:F:text>reports|dir:T>reports|dir:D "
            "chmod:D:500>reports|-HOME -XDG_DATA_HOME>reports|HOME=relative/home XDG_DATA_HOME=>"
            "reports|put:~/locked:>asks again|chmod:P:500>asks again|chmod:M:400 chmod:P:500>asks "
            "again|"
            "put:M:\x01\xffnej\x02>ignores|pad:M:4093:nej,>ignores|pad:M:4093:nej>installs|rm:M>"
            "ignores|rm:M fifo:M>ignores|rm:M ln:M:/dev/zero>ignores|put:M:\"Ja\">copies quietly|"
            "put:M:\"Ja\" dir:D font:D/mine.ttf>keeps|-HOME XDG_DATA_HOME=/" +
            QString(300, 'x') + ">reports";
        for (const QString& row : rows.split(u'|'))
            QTest::newRow(qPrintable(row.left(60))) << row.split(u'>');
    }
    void start() {
        const QString steps = cell<QStringList>("row")[0], outcome = cell<QStringList>("row")[1];
        if (steps.contains("chmod") && ::geteuid() == 0)
            QSKIP("no mode keeps root out");
        Sandbox sandbox;
        for (const QString& step : (defaults + ' ' + steps).split(u' ', Qt::SkipEmptyParts))
            QVERIFY2(sandbox.apply(step), qPrintable(step));
        const bool kept = QStringList{"ignores", "copies quietly", "keeps"}.contains(outcome);
        const auto untouched = sandbox.state(kept);
        QStringList seen, loaded; // the messages shown and the arming of Timer12
        const auto startProgram = [&] {
            seen.clear();
            FcInitReinitialize(); // as a new process finds the font folder
            const std::string program = QFile::encodeName(sandbox.at("P")).toStdString();
            const install::UserToneFont userFont(program);
            RefusingPlatform platform(
                program, [&] { seen << "Timer12"; },
                [&](const std::string& text) { seen << QString::fromStdString(text); });
            install::InstallFields fields;
            install::InstallToneFont(platform, fields).run();
            loaded = userFont.complete();
        };
        startProgram();
        QCOMPARE(seen, (outcome == "reports" ? QStringList(2, addFailed) : QStringList()) +
                           (kept ? QStringList() : QStringList("Timer12")));
        QCOMPARE(sandbox.state(kept), untouched);
        QCOMPARE(readFile(sandbox.at("T")) == font,
                 QStringList({"installs", "asks again", "copies quietly"}).contains(outcome));
        if (outcome == "installs" || outcome == "reports") // rewritten, not lost
            QCOMPARE(readFile(sandbox.at("M")), "\"Ja\"\r\n");
        QCOMPARE(loaded.contains("Vantor's PinYin Serif"), // whatever the marker says, unless
                 readFile(sandbox.at("F")) == font && outcome != "keeps"); // the user has it
        startProgram();
        QCOMPARE(seen, outcome == "asks again" ? QStringList("Timer12") : QStringList());
    }
    // Rows "source target outcome [file size limit]": a failed copy says so and leaves nothing
    // behind but a folder; /proc/self/mem is a regular file that cannot be read.
    void copyFontFile_data() {
        columns<QStringList>({"row"});
        const QString rows = "font new/f copied|missing new/f none|. new/f none|+0 new/f copied|"
                             "+1 new/f none|font font/f none|font folder none|font new/f made 4|"
                             "/proc/self/mem new/f made";
        for (const QString& row : rows.split(u'|'))
            QTest::newRow(qPrintable(row)) << row.split(u' ');
    }
    void copyFontFile() {
        const QStringList w = cell<QStringList>("row");
        const Sandbox sandbox;
        QVERIFY(QDir().mkdir("folder") && writeFile("font", "bytes"));
        if (w[0].startsWith('+')) // a file of the size limit and more
            QVERIFY(writeFile(w[0], "") &&
                    QFile::resize(w[0], install::fontFileSizeLimit + w[0].toInt()));
        auto expected = sandbox.state(true);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit limited{w.size() > 3 ? w[3].toULongLong() : saved.rlim_cur, saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limited);
        const bool copied = install::copyFontFile(w[0].toStdString(), w[1].toStdString());
        setrlimit(RLIMIT_FSIZE, &saved);
        QCOMPARE(copied, w[2] == "copied");
        if (w[2] != "none")
            expected[sandbox.at("~/new/")] = "";
        if (copied)
            expected[sandbox.at("~/new/f/")] = readFile(w[0]);
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
