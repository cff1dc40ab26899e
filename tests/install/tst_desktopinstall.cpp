#include "TestSupport.h"
#include "install/DesktopInstallPlatform.h"
#include "install/FontFileCopy.h"
#include "install/InstallFields.h"
#include "install/InstallToneFont.h"
#include "install/ModalMessageBox.h"
#include "install/UserToneFont.h"

#include <QDirIterator>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>
#include <fontconfig/fontconfig.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString addFailed = "Error Occured Calling AddFontResource";
const QString sourceFont = qEnvironmentVariable("TONQUILL_TEST_FONT");

// A throw-away user for one row: its own HOME, data, cache and current folder, a program folder
// holding the tone font, and a folder "outside".
struct Sandbox {
    QTemporaryDir dir;
    QString root = dir.path(), data, cwd = QDir::currentPath();

    Sandbox() {
        for (const char* step :
             {"HOME=~/home", "XDG_DATA_HOME=~/home/.local/share", "XDG_CACHE_HOME=~/cache", "dir:P",
              "dir:~/outside", "font:F", "put:M:nej"})
            apply(step);
        QDir::setCurrent(root);
    }
    ~Sandbox() {
        QDir::setCurrent(cwd);
        for (const QString& folder : {at("P"), at("D")}) // so that the folder can go
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // A path, its first part possibly one of the names in `heads`.
    QString at(const QString& path) const {
        const QString program = root + "/program", fonts = data + "/fonts", heads = "~PMFDTV";
        const QStringList names{root,
                                program,
                                program + "/font.log",
                                program + "/pyserif.ttf",
                                fonts,
                                fonts + "/pyserif.ttf",
                                root + "/outside/victim"};
        const qsizetype i = path.section(u'/', 0, 0).size() == 1 ? heads.indexOf(path[0]) : -1;
        return i < 0 ? path : names[i] + path.mid(1);
    }
    // One step of a row's set-up, "verb:path[:argument]", or "NAME=value" and "-NAME" to set and
    // unset an environment variable; a data folder in the sandbox is then where the font goes.
    bool apply(const QString& step) {
        const QStringList w = step.split(u':');
        const QString path = at(w.value(1)), value = at(step.section(u'=', 1));
        const QMap<QString, std::function<bool()>> verbs{
            {"dir", [&] { return QDir().mkpath(path); }},
            {"ln", [&] { return QFile::link(at(w[2]), path); }},
            {"put", [&] { return writeFile(path, w[2].toUtf8()); }},
            {"pad", [&] { return writeFile(path, QByteArray(w[2].toInt(), ' ') + w[3].toUtf8()); }},
            {"font", [&] { return QFile::copy(sourceFont, path); }},
            {"rm", [&] { return QFile::remove(path); }},
            {"fifo", [&] { return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0; }},
            {"chmod",
             [&] { return ::chmod(QFile::encodeName(path), w[2].toUInt(nullptr, 8)) == 0; }},
            {"refuse", [] { return true; }}};
        if (verbs.contains(w[0]))
            return verbs[w[0]]();
        if (step.startsWith('-'))
            return qunsetenv(qPrintable(step.mid(1)));
        if (step.startsWith("XDG_DATA_HOME=~"))
            QDir().mkpath(data = value);
        return qputenv(qPrintable(step.section(u'=', 0, 0)), QFile::encodeName(value));
    }
    // Every entry but those a start may write: the font folder, fontconfig's cache and, unless
    // `withMarker`, the marker; each by its link or content.
    QMap<QString, QByteArray> state(bool withMarker) const {
        QMap<QString, QByteArray> entries;
        QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo entry(it.next());
            const QString path = entry.filePath() + '/';
            if (!path.startsWith(at("D/")) && !path.startsWith(at("~/cache/")) &&
                (withMarker || path != at("M/")))
                entries[path] = entry.isSymLink() ? QFile::encodeName(entry.symLinkTarget())
                                : entry.isFile()  ? readFile(entry.filePath())
                                                  : "";
        }
        return entries;
    }
};

// Refuses to delete or append to the marker, as a read-only program folder does: the stand-in for
// that folder for a user, like root, whom no mode keeps out.
struct RefusingPlatform : install::DesktopInstallPlatform {
    using DesktopInstallPlatform::DesktopInstallPlatform;
    bool refuse = false;
    bool deleteFile(const std::string& path) override {
        return !refuse && DesktopInstallPlatform::deleteFile(path);
    }
    bool appendQuotedField(const std::string& path, int no, const std::string& field) override {
        return !refuse && DesktopInstallPlatform::appendQuotedField(path, no, field);
    }
};

} // namespace

class TestDesktopInstall : public QObject {
    Q_OBJECT

  private slots:
    // Rows "set-up steps>outcome", the marker asking unless a step changes it: the font "installs";
    // the start "ignores" the marker; it "reports" two failed additions; the marker cannot be
    // rewritten and "asks again" at the next start; with the marker saying done, the start
    // "copies quietly" a font the user lacks, or "keeps" what fontconfig knows. A relative
    // XDG_DATA_HOME is not followed; only 4096 bytes of the marker are read.
    void start_data() {
        columns<QString, QString>({"steps", "outcome"});
        const QString rows =
            "XDG_DATA_HOME=~/xdg>installs|-XDG_DATA_HOME>installs|XDG_DATA_HOME=relative/share>"
            "installs|dir:D ln:T:V put:V:mine>installs|dir:D ln:T:V>installs|dir:D dir:V ln:T:V>"
            "installs|chmod:M:0>ignores|rm:F>reports|put:F:text>reports|dir:T>reports|dir:D "
            "chmod:D:500>reports|-HOME -XDG_DATA_HOME>reports|HOME= -XDG_DATA_HOME>reports|"
            "HOME=relative/home XDG_DATA_HOME=>reports|refuse>asks again|chmod:P:500>asks again|"
            "chmod:M:400 chmod:P:500>asks again|put:M:\x01\xffnej\x02>ignores|pad:M:4093:nej,>"
            "ignores|pad:M:4093:nej>installs|pad:M:4094:nej>ignores|rm:M>ignores|rm:M fifo:M>"
            "ignores|rm:M ln:M:/dev/zero>ignores|put:M:\"Ja\">copies quietly|put:M:\"Ja\" dir:D "
            "font:D/mine.ttf>keeps|-HOME XDG_DATA_HOME=/" +
            QString(300, 'x') + ">reports";
        for (const QString& row : rows.split(u'|'))
            QTest::newRow(qPrintable(row.left(60)))
                << row.section(u'>', 0, 0) << row.section(u'>', 1);
    }
    void start() {
        const QString steps = cell<QString>("steps"), outcome = cell<QString>("outcome");
        if (steps.contains("chmod") && ::geteuid() == 0)
            QSKIP("no mode keeps root out");
        Sandbox sandbox;
        for (const QString& step : steps.split(u' ', Qt::SkipEmptyParts))
            QVERIFY2(sandbox.apply(step), qPrintable(step));
        const bool kept = QStringList{"ignores", "copies quietly", "keeps"}.contains(outcome);
        const auto untouched = sandbox.state(kept);
        int armed = 0;
        QStringList messages, loaded;
        const auto startProgram = [&] {
            armed = 0;
            FcInitReinitialize(); // as a new process finds the font folder
            const std::string program = QFile::encodeName(sandbox.at("P")).toStdString();
            const install::UserToneFont userFont(program);
            RefusingPlatform platform(
                program, [&] { ++armed; },
                [&](const std::string& text) { messages << QString::fromStdString(text); });
            platform.refuse = steps == "refuse";
            install::InstallFields fields;
            install::InstallToneFont(platform, fields).run();
            loaded = userFont.complete();
        };

        startProgram();

        QCOMPARE(armed, kept ? 0 : 1);
        QCOMPARE(messages, outcome == "reports" ? QStringList(2, addFailed) : QStringList());
        QCOMPARE(sandbox.state(kept), untouched);
        const bool installed =
            QStringList{"installs", "asks again", "copies quietly"}.contains(outcome);
        QCOMPARE(readFile(sandbox.at("T")) == readFile(sourceFont), installed);
        if (!kept)
            QCOMPARE(readFile(sandbox.at("M")).startsWith("nej"), outcome == "asks again");
        if (outcome == "installs" || outcome == "reports")
            QCOMPARE(readFile(sandbox.at("M")), "\"Ja\"\r\n");
        QVERIFY(outcome != "ignores" || !QFileInfo::exists(sandbox.at("D")));
        const auto hidden = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;
        QCOMPARE(QDir(sandbox.at("D")).entryList({".*"}, hidden), QStringList()); // no leftovers
        // The program's own font is used whatever the marker says.
        QCOMPARE(loaded.contains("Vantor's PinYin Serif"),
                 readFile(sandbox.at("F")) == readFile(sourceFont));
        QProcess fcList; // what a new process of this user finds
        fcList.start("fc-list", {"--format", "%{file}\\n", "Vantor's PinYin Serif"});
        QVERIFY(fcList.waitForFinished(30000));
        QCOMPARE(fcList.readAll().split('\n').contains(QFile::encodeName(sandbox.at("T"))),
                 installed && !steps.contains("relative"));

        startProgram();
        QCOMPARE(armed, outcome == "asks again" ? 1 : 0);
    }

    // Rows "source target outcome [file size limit]": a copy that fails says so and leaves nothing
    // behind but the folder it got as far as making; a font of exactly the size limit copies, and
    // /proc/self/mem is a regular file that cannot be read.
    void copyFontFile_data() {
        columns<QStringList>({"row"});
        for (const QString& row : QString("font new/f copied|missing new/f none|. new/f none|"
                                          "limit new/f copied|huge new/f none|font font/f none|"
                                          "font folder none|font new/f made 4|"
                                          "/proc/self/mem new/f made")
                                      .split(u'|'))
            QTest::newRow(qPrintable(row)) << row.split(u' ');
    }
    void copyFontFile() {
        const QStringList w = cell<QStringList>("row");
        QTemporaryDir dir;
        const auto entries = [&](const QString& folder) {
            return QDir(dir.filePath(folder))
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        };
        QDir().mkdir(dir.filePath("folder"));
        writeFile(dir.filePath("font"), "font bytes");
        for (const QString name : {"limit", "huge"})
            QVERIFY(
                writeFile(dir.filePath(name), "") &&
                QFile::resize(dir.filePath(name), install::fontFileSizeLimit + (name == "huge")));
        const QStringList before = entries(".");
        const QString source = w[0].startsWith('/') ? w[0] : dir.filePath(w[0]);
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit limited{w.size() > 3 ? w[3].toULongLong() : saved.rlim_cur, saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limited);
        const bool copied =
            install::copyFontFile(source.toStdString(), dir.filePath(w[1]).toStdString());
        setrlimit(RLIMIT_FSIZE, &saved);
        QCOMPARE(copied, w[2] == "copied");
        const QString made = w[2] == "none" ? "" : w[2] == "made" ? "new" : "new f";
        QCOMPARE(entries(".") + entries("new"), before + made.split(u' ', Qt::SkipEmptyParts));
        QVERIFY(!copied || readFile(dir.filePath(w[1])) == readFile(source));
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
