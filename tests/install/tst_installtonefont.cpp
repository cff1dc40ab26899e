#include "SimulatedWindows.h"

#include "install/InstallFields.h"
#include "install/InstallToneFont.h"

#include <QTest>

namespace {

const QString marker = QStringLiteral("C:\\Tonquill\\font.log");
const QByteArray fontBytes = "tone font bytes";
const QByteArray rewritten = "\"Ja\"\r\n";
const QByteArray asks = "nej\r\n";

void ship(SimulatedWindows& windows, const QByteArray& content = asks) {
    windows.files[windows.programDir + "\\font.log"] = content;
    windows.files[windows.programDir + "\\pyserif.ttf"] = fontBytes;
}

void run(SimulatedWindows& windows) {
    install::InstallFields fields;
    install::InstallToneFont(windows, fields).run();
}

} // namespace

class TestInstallToneFont : public QObject {
    Q_OBJECT

  private slots:
    // Only a marker that asks installs; its parsing is tst_markerfield's.
    void markerDecides_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("installs");
        QTest::newRow("nej") << QByteArray("nej") << true;
        QTest::newRow("rewritten record") << rewritten << false;
        QTest::newRow("missing") << QByteArray() << false;
    }
    void markerDecides() {
        QFETCH(QByteArray, content);
        QFETCH(bool, installs);
        SimulatedWindows windows;
        ship(windows, content);
        if (content.isNull())
            windows.files.remove(marker);
        const auto before = windows.files;

        run(windows);

        if (installs) {
            QCOMPARE(windows.files.value(marker), rewritten);
            QCOMPARE(windows.files.value("C:\\WINNT\\pyserif.ttf"), fontBytes);
            QCOMPARE(windows.calls.count("armTimer12()"), 1);
        } else {
            QCOMPARE(windows.calls,
                     QStringList({"freeFileNumber()", "readFirstField(" + marker + ", 7)"}));
            QVERIFY(windows.files == before);
        }
    }

    void installsInOrder_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<uint>("platformId");
        QTest::addColumn<QString>("windowsDir");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QStringList>("failing");
        const auto row = [](const char* name, const QString& program, uint platformId,
                            const QString& windowsDir, const QString& target,
                            const QStringList& failing = {}) {
            QTest::newRow(name) << program << platformId << windowsDir << target << failing;
        };
        const QString p = QStringLiteral("C:\\Tonquill");
        const QString w253(253, 'W'), w254(254, 'W'), w259(259, 'W');
        row("NT", p, 2, "C:\\WINNT", "C:\\WINNT\\pyserif.ttf");
        row("id 3 has the NT bit", p, 3, "C:\\WINNT", "C:\\WINNT\\pyserif.ttf");
        row("9x", p, 1, "C:\\WINDOWS", "C:\\WINDOWS\\Fonts\\pyserif.ttf");
        row("Win32s", p, 0, "C:\\WINDOWS", "C:\\WINDOWS\\Fonts\\pyserif.ttf");
        row("unknown id 4", p, 4, "D:\\WIN", "D:\\WIN\\Fonts\\pyserif.ttf");
        // The program folder ends in a separator only at a drive root; the separator then doubles.
        row("drive root", "C:\\", 2, "C:\\WINNT", "C:\\WINNT\\pyserif.ttf");
        row("version call fails", p, 2, "C:\\WINNT", "C:\\WINNT\\Fonts\\pyserif.ttf",
            {"GetVersionExA"});
        // A platform check that throws goes on as if it held.
        row("version call throws", p, 1, "C:\\WINDOWS", "C:\\WINDOWS\\pyserif.ttf",
            {"GetVersionExA!"});
        row("no Windows directory", p, 2, "C:\\WINNT", "pyserif.ttf", {"GetWindowsDirectoryA"});
        row("Windows directory too long", p, 1, QString(260, 'W'), "pyserif.ttf");
        // The separators overwrite the blanks after the path and never lengthen it.
        row("NT, last position", p, 2, w259, w259 + "\\pyserif.ttf");
        row("9x, exact room", p, 1, w253, w253 + "\\Fonts\\pyserif.ttf");
        row("9x, one short", p, 1, w254, w254 + "\\Fontspyserif.ttf");
    }
    void installsInOrder() {
        QFETCH(QString, program);
        QFETCH(uint, platformId);
        QFETCH(QString, windowsDir);
        QFETCH(QString, target);
        QFETCH(QStringList, failing);
        SimulatedWindows windows;
        windows.programDir = program;
        windows.platformId = platformId;
        windows.windowsDir = windowsDir.toStdString();
        windows.failing = failing;
        ship(windows);

        run(windows);

        const QString log = program + "\\font.log";
        const QStringList expected = {
            "freeFileNumber()",
            "readFirstField(" + log + ", 7)",
            "GetVersionExA(148)",
            "GetWindowsDirectoryA(260)",
            "copyFile(" + program + "\\pyserif.ttf, " + target + ")",
            "AddFontResourceA(" + target + ")",
            "RegOpenKeyA(0x80000002, software\\microsoft\\windows\\currentversion\\fonts)",
            "RegSetValueExA(0x1f4, pyserif(TrueType), 0, 1, pyserif.ttf, 11)",
            "RegCloseKey(0x1f4)",
            "AddFontResourceA(" + target + ")",
            "deleteFile(" + log + ")",
            "appendQuotedField(" + log + ", 7, Ja)",
            "armTimer12()",
        };
        QCOMPARE(windows.calls, expected);
        QCOMPARE(windows.files.value(target), fontBytes);
        QCOMPARE(windows.files.value(log), rewritten);
    }

    // Whatever fails, the installation runs to its end and arms Timer12; each failed addition is
    // reported right after it; a marker that still asks makes the next start install again.
    void failedStepsAreSkipped_data() {
        QTest::addColumn<QStringList>("failing");
        QTest::addColumn<QString>("reports");
        QTest::addColumn<QByteArray>("markerAfter");
        const QStringList all = {
            "GetVersionExA", "GetWindowsDirectoryA", "copyFile",       "AddFontResourceA",
            "messageBox",    "RegOpenKeyA",          "RegSetValueExA", "RegCloseKey",
            "deleteFile",    "appendQuotedField",    "armTimer12"};
        QStringList allThrow;
        for (const QString& name : all)
            allThrow << name + '!';
        const QString added = "add add", failed = "add box add box";
        QTest::newRow("copy fails") << QStringList{"copyFile"} << failed << rewritten;
        QTest::newRow("additions fail") << QStringList{"AddFontResourceA"} << failed << rewritten;
        QTest::newRow("delete fails") << QStringList{"deleteFile"} << added << asks + rewritten;
        QTest::newRow("append fails")
            << QStringList{"appendQuotedField"} << added << QByteArray("<missing>");
        QTest::newRow("delete and append fail")
            << QStringList{"deleteFile", "appendQuotedField"} << added << asks;
        QTest::newRow("everything after the read fails") << all << failed << asks;
        QTest::newRow("everything after the read throws") << allThrow << failed << asks;
    }
    void failedStepsAreSkipped() {
        QFETCH(QStringList, failing);
        QFETCH(QString, reports);
        QFETCH(QByteArray, markerAfter);
        SimulatedWindows windows;
        ship(windows);
        windows.failing = failing;

        QVERIFY_THROWS_NO_EXCEPTION(run(windows));

        QCOMPARE(windows.calls.last(), QStringLiteral("armTimer12()"));
        QStringList seen;
        for (const QString& call : windows.calls) {
            if (call.startsWith("AddFontResourceA("))
                seen << "add";
            else if (call == "messageBox(Error Occured Calling AddFontResource, 0)")
                seen << "box";
        }
        QCOMPARE(seen.join(' '), reports);
        QCOMPARE(windows.files.value(marker, "<missing>"), markerAfter);

        windows.failing.clear();
        windows.calls.clear();
        run(windows);
        QCOMPARE(windows.calls.count("armTimer12()"), markerAfter.startsWith("nej") ? 1 : 0);
    }

    void nothingEscapesWhenEverythingThrows() {
        SimulatedWindows windows;
        ship(windows);
        windows.failing = {"*"};

        QVERIFY_THROWS_NO_EXCEPTION(run(windows));
        QCOMPARE(windows.calls, QStringList{"freeFileNumber()"});
    }
};

QTEST_GUILESS_MAIN(TestInstallToneFont)
#include "tst_installtonefont.moc"
