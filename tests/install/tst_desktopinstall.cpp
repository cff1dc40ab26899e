#include "TestSupport.h"
#include "install/DesktopInstallPlatform.h"
#include "install/FontFileCopy.h"
#include "install/InstallFields.h"
#include "install/InstallToneFont.h"
#include "install/ModalMessageBox.h"
#include "install/UserToneFont.h"

#include <QApplication>
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
    QString root = dir.path(), data = root + "/home/.local/share", savedCwd = QDir::currentPath();

    Sandbox() {
        for (const char* folder : {"/program", "/outside", "/home/.local/share", "/cwd"})
            QDir().mkpath(root + folder);
        qputenv("HOME", QFile::encodeName(root + "/home"));
        qputenv("XDG_DATA_HOME", QFile::encodeName(data));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(root + "/cache"));
        QDir::setCurrent(root + "/cwd");
        QFile::copy(sourceFont, at("F"));
    }
    ~Sandbox() {
        QDir::setCurrent(savedCwd);
        for (const QString& folder : {at("P"), at("D")}) // so that the folder can go
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // A path, its first part possibly one of the names below.
    QString at(const QString& path) const {
        const QMap<QString, QString> names{{"~", root},
                                           {"P", root + "/program"},
                                           {"M", root + "/program/font.log"},
                                           {"F", root + "/program/pyserif.ttf"},
                                           {"D", data + "/fonts"},
                                           {"T", data + "/fonts/pyserif.ttf"},
                                           {"V", root + "/outside/victim"}};
        const QString head = path.section(u'/', 0, 0);
        return names.contains(head) ? names[head] + path.mid(head.size()) : path;
    }
    // One step of a row's set-up, "verb:path[:argument]", or "NAME=value" and "-NAME" to set and
    // unset an environment variable; a data folder in the sandbox is then where the font goes.
    bool apply(const QString& step) {
        const QStringList w = step.split(u':');
        const QString path = at(w.value(1)), name = step.section(u'=', 0, 0);
        if (w[0] == "dir")
            return QDir().mkpath(path);
        if (w[0] == "ln")
            return QFile::link(at(w[2]), path);
        if (w[0] == "put")
            return writeFile(path, w[2].toUtf8());
        if (w[0] == "font")
            return QFile::copy(sourceFont, path);
        if (w[0] == "rm")
            return QFile::remove(path);
        if (w[0] == "fifo")
            return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
        if (w[0] == "chmod")
            return QFile::setPermissions(path,
                                         QFile::Permissions::fromInt(w[2].toInt(nullptr, 16)));
        if (step.startsWith('-'))
            return qunsetenv(qPrintable(step.mid(1)));
        const QString value = at(step.section(u'=', 1));
        if (value.startsWith(root))
            QDir().mkpath(data = value);
        return name == "refuse" || qputenv(qPrintable(name), QFile::encodeName(value));
    }
    // Every entry but those a start may write: the font folder, fontconfig's cache and, unless
    // `withMarker`, the marker; each by its kind and content.
    QMap<QString, QByteArray> state(bool withMarker) const {
        QMap<QString, QByteArray> entries;
        QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo entry(it.next());
            const QString path = entry.filePath() + '/';
            if (path.startsWith(at("D/")) || path.startsWith(at("~/cache/")) ||
                (!withMarker && path == at("M/")))
                continue;
            entries[path] = entry.isSymLink()
                                ? "link to " + QFile::encodeName(entry.symLinkTarget())
                            : entry.isFile() ? readFile(entry.filePath())
                                             : QByteArray(entry.isDir() ? "folder" : "special");
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
    // Rows "set-up steps>outcome" with the marker asking, then rows of other markers: what a start
    // of the program gives the user. The font "installs"; the start "ignores" the marker; it
    // "reports" two failed additions; the marker cannot be rewritten and "asks again" at the next
    // start; with the marker saying done, the start "copies quietly" a font the user lacks, or
    // "keeps" what fontconfig already knows. Fontconfig takes a relative XDG_DATA_HOME from the
    // current folder, where nothing of ours may go: the font goes under HOME. Only 4096 bytes of
    // the marker are read, and its field must be seen to end within them.
    void start_data() {
        columns<QString, QByteArray, QString>({"steps", "marker", "outcome"});
        const auto row = [](const QString& name, const QString& steps, const QByteArray& marker,
                            const char* outcome) {
            QTest::newRow(qPrintable(name.left(60))) << steps << marker << QString(outcome);
        };
        const QString rows =
            "XDG_DATA_HOME=~/xdg>installs|-XDG_DATA_HOME>installs|XDG_DATA_HOME=relative/share>"
            "installs|dir:D ln:T:V put:V:mine>installs|dir:D ln:T:V>installs|dir:D dir:V "
            "ln:T:V>installs|chmod:M:0>ignores|rm:F>reports|put:F:text>reports|dir:T>reports|dir:D "
            "chmod:D:5000>reports|-HOME -XDG_DATA_HOME>reports|HOME= -XDG_DATA_HOME>reports|"
            "HOME=relative/home XDG_DATA_HOME=>reports|refuse>asks again|chmod:P:5000>asks again|"
            "chmod:M:4000 chmod:P:5000>asks again|-HOME XDG_DATA_HOME=/" +
            QString(300, 'x') + ">reports";
        for (const QString& setup : rows.split(u'|'))
            row(setup, setup.section(u'>', 0, 0), "nej\r\n", qPrintable(setup.section(u'>', 1)));
        row("binary", "", QByteArray("\x00\xff\x01nej\x00", 7), "ignores");
        row("4097 bytes, field ended after", "", QByteArray(4093, ' ') + "nej,", "ignores");
        row("4096 bytes", "", QByteArray(4093, ' ') + "nej", "installs");
        row("4097 bytes", "", QByteArray(4094, ' ') + "nej", "ignores");
        for (const char* steps : {"fifo:M", "ln:M:/dev/zero", ""})
            row(QString("no marker ") + steps, steps, QByteArray(), "ignores");
        row("done", "", "\"Ja\"\r\n", "copies quietly");
        row("done and known", "dir:D font:D/mine.ttf", "\"Ja\"\r\n", "keeps");
    }
    void start() {
        const QString steps = cell<QString>("steps"), outcome = cell<QString>("outcome");
        const QByteArray marker = cell<QByteArray>("marker");
        if (steps.contains("chmod") && ::geteuid() == 0)
            QSKIP("no mode keeps root out");
        Sandbox sandbox;
        if (!marker.isNull())
            QVERIFY(writeFile(sandbox.at("M"), marker));
        for (const QString& step : steps.split(u' ', Qt::SkipEmptyParts))
            QVERIFY2(sandbox.apply(step), qPrintable(step));
        const bool kept = outcome == "ignores" || outcome == "copies quietly" || outcome == "keeps";
        const auto untouched = sandbox.state(kept);
        int armed = 0;
        QStringList messages, loaded;
        const auto startProgram = [&] {
            armed = 0;
            messages.clear();
            FcInitReinitialize(); // as a new process finds the font folder
            const install::UserToneFont userFont(QFile::encodeName(sandbox.at("P")).toStdString());
            RefusingPlatform platform(
                QFile::encodeName(sandbox.at("P")).toStdString(), [&] { ++armed; },
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
        QVERIFY(!QFileInfo(sandbox.at("T")).isSymLink());
        QCOMPARE(readFile(sandbox.at("T")) == readFile(sourceFont),
                 outcome == "installs" || outcome == "asks again" || outcome == "copies quietly");
        if (!kept)
            QCOMPARE(readFile(sandbox.at("M")).startsWith(marker), outcome == "asks again");
        if (outcome == "installs" || outcome == "reports")
            QCOMPARE(readFile(sandbox.at("M")), "\"Ja\"\r\n");
        if (outcome == "ignores")
            QVERIFY(!QFileInfo::exists(sandbox.at("D")));
        const auto hidden = QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot;
        QCOMPARE(QDir(sandbox.at("D")).entryList({".*"}, hidden), QStringList()); // no leftovers
        // The program's own font is used whatever the marker says.
        QCOMPARE(loaded.contains("Vantor's PinYin Serif"),
                 readFile(sandbox.at("F")) == readFile(sourceFont));
        if ((outcome == "installs" || outcome == "copies quietly") && !steps.contains("relative")) {
            QProcess fcList; // what a new process of this user finds
            fcList.start("fc-list", {"--format", "%{family[0]}|%{file}\\n"});
            QVERIFY(fcList.waitForFinished(30000));
            QVERIFY(fcList.readAllStandardOutput().split('\n').contains(
                QFile::encodeName("Vantor's PinYin Serif|" + sandbox.at("T"))));
        }

        startProgram();
        QCOMPARE(armed, outcome == "asks again" ? 1 : 0);
    }

    // Rows "source target outcome [file size limit]": a copy that fails says so and leaves nothing
    // behind but the folder it got as far as making; a font of exactly the size limit copies, and
    // /proc/self/mem is a regular file that cannot be read.
    void copyFontFile() {
        const QString rows = "font new/f copied|missing new/f none|. new/f none|limit new/f copied|"
                             "huge new/f none|font font/f none|font folder none|font new/f made 4|"
                             "/proc/self/mem new/f made";
        std::signal(SIGXFSZ, SIG_IGN);
        for (const QString& row : rows.split(u'|')) {
            const QStringList w = row.split(u' ');
            QTemporaryDir dir;
            QDir().mkdir(dir.filePath("folder"));
            writeFile(dir.filePath("font"), "font bytes");
            for (const char* name : {"limit", "huge"}) {
                writeFile(dir.filePath(name), "");
                QFile::resize(dir.filePath(name), install::fontFileSizeLimit + (name[0] == 'h'));
            }
            const auto entries = [&](const QString& folder) {
                return QDir(dir.filePath(folder))
                    .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
            };
            const QStringList before = entries(".");
            const QString source = w[0].startsWith('/') ? w[0] : dir.filePath(w[0]);
            rlimit saved{};
            getrlimit(RLIMIT_FSIZE, &saved);
            const rlimit limited{w.size() > 3 ? w[3].toULongLong() : saved.rlim_cur,
                                 saved.rlim_max};
            setrlimit(RLIMIT_FSIZE, &limited);
            const bool copied =
                install::copyFontFile(source.toStdString(), dir.filePath(w[1]).toStdString());
            setrlimit(RLIMIT_FSIZE, &saved);
            QVERIFY2(copied == (w[2] == "copied"), qPrintable(row));
            QVERIFY2(entries(".") == (w[2] == "none" ? before : before + QStringList("new")),
                     qPrintable(row));
            QVERIFY2(entries("new") == (copied ? QStringList("f") : QStringList()),
                     qPrintable(row));
            QVERIFY2(!copied || readFile(dir.filePath(w[1])) == readFile(source), qPrintable(row));
        }
    }

    void messageBoxIsPlainAndModal() {
        QWidget parent;
        QStringList seen;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            seen << box->windowTitle() << box->text();
            QVERIFY(box->icon() == QMessageBox::NoIcon && box->parentWidget() == &parent &&
                    box->buttons() == QList<QAbstractButton*>{box->button(QMessageBox::Ok)});
            box->accept();
        });
        install::modalMessageBox (&parent)(addFailed.toStdString());
        QCOMPARE(seen, QStringList({"Tonquill", addFailed}));
    }
};

QTEST_MAIN(TestDesktopInstall)
#include "tst_desktopinstall.moc"
