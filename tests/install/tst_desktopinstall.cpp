#include "Sandbox.h"

#include "install/DesktopInstallPlatform.h"
#include "install/InstallFields.h"
#include "install/InstallToneFont.h"
#include "install/ModalMessageBox.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

using install::DesktopInstallPlatform;
using install::InstallFields;
using install::InstallToneFont;

namespace {

const QByteArray rewrittenMarker("\x22\x4A\x61\x22\x0D\x0A", 6);
const QString addFailed = QStringLiteral("Error Occured Calling AddFontResource");
const QString fallbackFont = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf");

// The tone font built beside the program, or DejaVu Serif while that is not there yet.
QString sourceFont() {
    const QString built = qEnvironmentVariable("TONQUILL_TEST_FONT");
    return QFileInfo::exists(built) ? built : fallbackFont;
}

QString expectedFamily() {
    return sourceFont() == fallbackFont ? QStringLiteral("DejaVu Serif")
                                        : QStringLiteral("Vantor's PinYin Serif");
}

// What the window sees of one start: how often Timer12 was armed, which messages were shown.
struct Start {
    InstallFields fields;
    int timer12Armed = 0;
    QStringList messages;
};

void runWith(DesktopInstallPlatform& platform, Start& start) {
    InstallToneFont(platform, start.fields).run();
}

Start startProgram(const Sandbox& sandbox) {
    Start start;
    DesktopInstallPlatform platform(
        QFile::encodeName(sandbox.program()).toStdString(), [&start] { ++start.timer12Armed; },
        [&start](const std::string& text) { start.messages << QString::fromStdString(text); });
    runWith(platform, start);
    return start;
}

void shipProgram(const Sandbox& sandbox, const QByteArray& marker = "nej\r\n") {
    Sandbox::writeFile(sandbox.marker(), marker);
    QFile::copy(sourceFont(), sandbox.program() + "/pyserif.ttf");
}

// The family and file of every font a new process of this user finds, one "family|file" a line.
QStringList fcList() {
    QProcess process;
    process.start(QStringLiteral("fc-list"),
                  {QStringLiteral("--format"), QStringLiteral("%{family[0]}|%{file}\\n")});
    if (!process.waitForFinished(30000))
        return {};
    return QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

// A 50 MB file beginning with `start`, made in an instant by leaving the rest of it a hole.
bool createSparse(const QString& path, const QByteArray& start) {
    Sandbox::writeFile(path, start);
    return QFile::resize(path, 50LL * 1024 * 1024);
}

// Root passes permission checks, so a mode alone cannot make a folder or file unusable for it.
bool modeIsEnforced(const QString& folder) {
    const QString probe = folder + "/.probe";
    QFile file(probe);
    const bool written = file.open(QIODevice::WriteOnly);
    file.remove();
    return !written;
}

// The desktop platform with a marker that can neither be deleted nor appended to, as in a
// program folder the user may not write.
class ReadOnlyMarkerPlatform : public DesktopInstallPlatform {
  public:
    using DesktopInstallPlatform::DesktopInstallPlatform;
    bool deleteFile(const std::string&) override { return false; }
    bool appendQuotedField(const std::string&, std::int32_t, const std::string&) override {
        return false;
    }
};

} // namespace

class TestDesktopInstall : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { qInfo() << "installing" << sourceFont(); }

    void firstRunInstallsForThisUser_data() {
        QTest::addColumn<QString>("dataHome");
        QTest::addColumn<bool>("fontconfigAgrees");
        QTest::newRow("XDG_DATA_HOME") << "xdg-data" << true;
        QTest::newRow("HOME alone") << "" << true;
        // Fontconfig takes a relative XDG_DATA_HOME from the current folder, where nothing of
        // ours may be written; the font goes under HOME, which that fontconfig does not scan.
        QTest::newRow("relative XDG_DATA_HOME ignored") << "relative" << false;
    }
    void firstRunInstallsForThisUser() {
        QFETCH(QString, dataHome);
        QFETCH(bool, fontconfigAgrees);
        Sandbox sandbox;
        QVERIFY(sandbox.isValid());
        if (!dataHome.isEmpty() && dataHome != "relative")
            sandbox.useDataHome(sandbox.root() + '/' + dataHome);
        if (dataHome == "relative") {
            sandbox.useDataHome({});
            sandbox.setVariable("XDG_DATA_HOME", "relative/share");
        }
        shipProgram(sandbox);
        const auto untouchable = sandbox.untouchableState();

        const Start start = startProgram(sandbox);

        QCOMPARE(QString::fromStdString(start.fields.fontDir), sandbox.fonts() + '/');
        QVERIFY(!QFileInfo(sandbox.installedFont()).isSymLink());
        QCOMPARE(Sandbox::readFile(sandbox.installedFont()), Sandbox::readFile(sourceFont()));
        QCOMPARE(Sandbox::readFile(sandbox.marker()), rewrittenMarker);
        QCOMPARE(start.timer12Armed, 1);
        QCOMPARE(start.messages, QStringList());
        if (fontconfigAgrees)
            QVERIFY(fcList().contains(expectedFamily() + '|' + sandbox.installedFont()));
        QCOMPARE(sandbox.untouchableState(), untouchable);
    }

    void secondRunDoesNothing() {
        Sandbox sandbox;
        shipProgram(sandbox);
        startProgram(sandbox);
        QFile::remove(sandbox.installedFont());

        const Start second = startProgram(sandbox);

        QVERIFY(!QFileInfo::exists(sandbox.installedFont()));
        QCOMPARE(Sandbox::readFile(sandbox.marker()), rewrittenMarker);
        QCOMPARE(second.timer12Armed, 0);
        QCOMPARE(second.messages, QStringList());
    }

    void badMarkerIsIgnored_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("binary bytes") << "binary";
        QTest::newRow("50 MB of zeros") << "huge";
        QTest::newRow("folder named font.log") << "folder";
        QTest::newRow("pipe named font.log") << "pipe";
        QTest::newRow("link to a device") << "device";
        QTest::newRow("missing") << "missing";
    }
    void badMarkerIsIgnored() {
        QFETCH(QString, kind);
        Sandbox sandbox;
        shipProgram(sandbox);
        QFile::remove(sandbox.marker());
        const QByteArray path = QFile::encodeName(sandbox.marker());
        if (kind == "binary")
            Sandbox::writeFile(sandbox.marker(), QByteArray("\x00\xff\x01nej\x00", 7));
        else if (kind == "huge")
            QVERIFY(createSparse(sandbox.marker(), {}));
        else if (kind == "folder")
            QVERIFY(QDir().mkdir(sandbox.marker()));
        else if (kind == "pipe")
            QCOMPARE(::mkfifo(path.constData(), 0644), 0);
        else if (kind == "device")
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), sandbox.marker()));
        const auto before = QFileInfo(sandbox.marker());

        const Start start = startProgram(sandbox);

        QCOMPARE(start.timer12Armed, 0);
        QCOMPARE(start.messages, QStringList());
        QVERIFY(!QFileInfo::exists(sandbox.fonts()));
        QFileInfo after(sandbox.marker());
        QCOMPARE(after.exists() || after.isSymLink(), before.exists() || before.isSymLink());
        QCOMPARE(after.isDir(), before.isDir());
        QCOMPARE(after.size(), before.size());
    }

    void hugeMarkerStartingWithNejInstalls() {
        Sandbox sandbox;
        shipProgram(sandbox);
        QVERIFY(createSparse(sandbox.marker(), "nej,"));

        const Start start = startProgram(sandbox);

        QCOMPARE(start.timer12Armed, 1);
        QVERIFY(QFileInfo::exists(sandbox.installedFont()));
        QCOMPARE(Sandbox::readFile(sandbox.marker()), rewrittenMarker);
    }

    void markerReadStopsAtItsBound_data() {
        QTest::addColumn<int>("blanks");
        QTest::addColumn<QByteArray>("tail");
        QTest::addColumn<bool>("read");
        // The marker is read 4096 bytes deep: the field must be seen to end within them.
        QTest::newRow("comma on the last byte read") << 4092 << QByteArray("nej,") << true;
        QTest::newRow("comma one byte beyond") << 4093 << QByteArray("nej,") << false;
        QTest::newRow("file ends on the last byte read") << 4093 << QByteArray("nej") << true;
        QTest::newRow("file ends one byte beyond") << 4094 << QByteArray("nej") << false;
    }
    void markerReadStopsAtItsBound() {
        QFETCH(int, blanks);
        QFETCH(QByteArray, tail);
        QFETCH(bool, read);
        Sandbox sandbox;
        Sandbox::writeFile(sandbox.marker(), QByteArray(blanks, ' ') + tail);
        DesktopInstallPlatform platform(QFile::encodeName(sandbox.program()).toStdString(), {}, {});

        std::string field = "untouched";
        const std::string marker = QFile::encodeName(sandbox.marker()).toStdString();
        QCOMPARE(platform.readFirstField(marker, 1, field), read);
        QCOMPARE(field, std::string(read ? "nej" : "untouched"));
    }

    void unreadableMarkerIsIgnored() {
        Sandbox sandbox;
        shipProgram(sandbox);
        QVERIFY(QFile::setPermissions(sandbox.marker(), {}));
        QFile probe(sandbox.marker());
        if (probe.open(QIODevice::ReadOnly))
            QSKIP("this user reads a file of mode 000 (root), so it cannot be made unreadable");

        const Start start = startProgram(sandbox);

        QCOMPARE(start.timer12Armed, 0);
        QVERIFY(!QFileInfo::exists(sandbox.fonts()));
    }

    void unusableFontIsReported_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing") << "missing";
        QTest::newRow("not a font") << "text";
        QTest::newRow("empty") << "empty";
        QTest::newRow("folder named pyserif.ttf") << "folder";
    }
    void unusableFontIsReported() {
        QFETCH(QString, kind);
        Sandbox sandbox;
        shipProgram(sandbox);
        const QString font = sandbox.program() + "/pyserif.ttf";
        QFile::remove(font);
        if (kind == "text")
            Sandbox::writeFile(font, "this is no font\n");
        else if (kind == "empty")
            Sandbox::writeFile(font, {});
        else if (kind == "folder")
            QDir().mkdir(font);
        const auto untouchable = sandbox.untouchableState();

        const Start start = startProgram(sandbox);

        QCOMPARE(start.messages, QStringList(2, addFailed));
        QCOMPARE(start.timer12Armed, 1);
        QCOMPARE(Sandbox::readFile(sandbox.marker()), rewrittenMarker);
        QCOMPARE(QFileInfo(sandbox.installedFont()).isFile(), kind == "text" || kind == "empty");
        QCOMPARE(sandbox.untouchableState(), untouchable);
    }

    void fileInPlaceOfTheFontFolder() {
        Sandbox sandbox;
        shipProgram(sandbox);
        Sandbox::writeFile(sandbox.fonts(), "the user's own file");

        const Start start = startProgram(sandbox);

        QCOMPARE(Sandbox::readFile(sandbox.fonts()), QByteArray("the user's own file"));
        QCOMPARE(start.messages, QStringList(2, addFailed));
        QCOMPARE(start.timer12Armed, 1);
        const auto leftovers =
            QDir(sandbox.dataHome())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        QCOMPARE(leftovers, QStringList{"fonts"});
    }

    void readOnlyFontFolder() {
        Sandbox sandbox;
        shipProgram(sandbox);
        QDir().mkpath(sandbox.fonts());
        QVERIFY(QFile::setPermissions(sandbox.fonts(), QFile::ReadOwner | QFile::ExeOwner));
        if (!modeIsEnforced(sandbox.fonts()))
            QSKIP("this user writes into a folder of mode 0500 (root), so it cannot be made "
                  "read-only");

        const Start start = startProgram(sandbox);

        QVERIFY(
            QDir(sandbox.fonts()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
        QCOMPARE(start.messages, QStringList(2, addFailed));
        QCOMPARE(Sandbox::readFile(sandbox.marker()), rewrittenMarker);
    }

    void linkAtTheTargetIsReplaced_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("to a file outside") << "file";
        QTest::newRow("dangling") << "dangling";
        QTest::newRow("to a folder outside") << "folder";
    }
    void linkAtTheTargetIsReplaced() {
        QFETCH(QString, kind);
        Sandbox sandbox;
        shipProgram(sandbox);
        const QString victim = sandbox.outside() + "/victim";
        if (kind == "file")
            Sandbox::writeFile(victim, "the user's data");
        else if (kind == "folder")
            QDir().mkdir(victim);
        QDir().mkpath(sandbox.fonts());
        QVERIFY(QFile::link(victim, sandbox.installedFont()));
        const auto untouchable = sandbox.untouchableState();

        const Start start = startProgram(sandbox);

        QCOMPARE(sandbox.untouchableState(), untouchable);
        QVERIFY(!QFileInfo(sandbox.installedFont()).isSymLink());
        QCOMPARE(Sandbox::readFile(sandbox.installedFont()), Sandbox::readFile(sourceFont()));
        QCOMPARE(start.messages, QStringList());
    }

    void noDataFolderWritesNothing_data() {
        QTest::addColumn<QString>("home");
        QTest::addColumn<QString>("dataHome");
        QTest::newRow("HOME unset") << "<unset>"
                                    << "<unset>";
        QTest::newRow("HOME empty") << ""
                                    << "<unset>";
        QTest::newRow("HOME relative") << "relative/home"
                                       << "";
        QTest::newRow("data folder too long for the buffer")
            << "<unset>" << QString(300, 'x').prepend('/');
    }
    void noDataFolderWritesNothing() {
        QFETCH(QString, home);
        QFETCH(QString, dataHome);
        Sandbox sandbox;
        shipProgram(sandbox);
        const auto value = [](const QString& text) {
            return text == "<unset>" ? std::nullopt : std::optional(QFile::encodeName(text));
        };
        sandbox.setVariable("HOME", value(home));
        sandbox.setVariable("XDG_DATA_HOME", value(dataHome));
        const auto untouchable = sandbox.untouchableState();

        const Start start = startProgram(sandbox);

        QVERIFY(start.fields.fontDir.empty());
        QCOMPARE(sandbox.untouchableState(), untouchable);
        QVERIFY(
            QDir(sandbox.cwd()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
        QCOMPARE(start.messages, QStringList(2, addFailed));
        QCOMPARE(start.timer12Armed, 1);
        QCOMPARE(Sandbox::readFile(sandbox.marker()), rewrittenMarker);
    }

    void markerThatCannotBeRewrittenInstallsAgain() {
        Sandbox sandbox;
        shipProgram(sandbox);
        for (int run = 1; run <= 2; ++run) {
            Start start;
            ReadOnlyMarkerPlatform platform(QFile::encodeName(sandbox.program()).toStdString(),
                                            [&start] { ++start.timer12Armed; }, {});
            runWith(platform, start);
            QCOMPARE(start.timer12Armed, 1);
            QCOMPARE(Sandbox::readFile(sandbox.marker()), QByteArray("nej\r\n"));
            QCOMPARE(Sandbox::readFile(sandbox.installedFont()), Sandbox::readFile(sourceFont()));
        }
    }

    void readOnlyProgramFolder_data() {
        QTest::addColumn<bool>("markerWritable");
        QTest::newRow("marker still writable") << true;
        QTest::newRow("marker read-only too") << false;
    }
    void readOnlyProgramFolder() {
        QFETCH(bool, markerWritable);
        Sandbox sandbox;
        shipProgram(sandbox);
        if (!markerWritable)
            QVERIFY(QFile::setPermissions(sandbox.marker(), QFile::ReadOwner));
        QVERIFY(QFile::setPermissions(sandbox.program(), QFile::ReadOwner | QFile::ExeOwner));
        if (!modeIsEnforced(sandbox.program()))
            QSKIP("this user writes into a folder of mode 0500 (root); "
                  "markerThatCannotBeRewrittenInstallsAgain stands in for this case");

        QByteArray marker("nej\r\n");
        for (int run = 1; run <= 2; ++run) {
            const Start start = startProgram(sandbox);
            // The record can only follow the old content, whose first field still asks.
            if (markerWritable)
                marker += rewrittenMarker;
            QCOMPARE(start.timer12Armed, 1);
            QCOMPARE(start.messages, QStringList());
            QCOMPARE(Sandbox::readFile(sandbox.marker()), marker);
            QCOMPARE(Sandbox::readFile(sandbox.installedFont()), Sandbox::readFile(sourceFont()));
        }
    }

    void messageBoxIsPlainAndModal() {
        QWidget parent;
        QString title;
        QString text;
        int buttons = 0;
        bool iconless = false;
        // Looks for the box until it is up, so that a box that never appears cannot hang the test.
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            poll.stop();
            title = box->windowTitle();
            text = box->text();
            buttons = static_cast<int>(box->buttons().size());
            iconless = box->icon() == QMessageBox::NoIcon && box->parentWidget() == &parent &&
                       box->standardButtons() == QMessageBox::Ok;
            box->accept();
        });
        poll.start(10);

        install::modalMessageBox (&parent)(addFailed.toStdString());

        QCOMPARE(title, QStringLiteral("Tonquill"));
        QCOMPARE(text, addFailed);
        QCOMPARE(buttons, 1);
        QVERIFY(iconless);
    }
};

QTEST_MAIN(TestDesktopInstall)
#include "tst_desktopinstall.moc"
