#include "SimulatedWindows.h"

#include "install/InstallFields.h"
#include "install/InstallToneFont.h"
#include "install/MarkerField.h"

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
    // Rows "content/whole file or cut off/field": the first field of the marker; only one that
    // asks installs.
    void firstField_data() {
        QTest::addColumn<QString>("data");
        QTest::addColumn<bool>("wholeFile");
        QTest::addColumn<QString>("field");
        const QString rows =
            "nej/W/nej|nej\r\nJa/W/nej|nej\nJa/W/nej|nej,more/W/nej|\t nej/W/nej|  \"nej\",x/W/nej|"
            "\"n,e\r\nj\"/W/n,e\r\nj|\"nej/W/nej|nej ,/W/nej |,nej/W/|\"\"/W/|/W/<none>|   "
            "\t/W/<none>|"
            "nej/C/<none>|\"nej/C/<none>|nej,x/C/nej|\"nej\"x/C/nej|";
        for (const QString& row : rows.split(u'|', Qt::SkipEmptyParts)) {
            const QStringList parts = row.split(u'/');
            QTest::newRow(qPrintable(row)) << parts[0] << (parts[1] == "W") << parts[2];
        }
    }
    void firstField() {
        QFETCH(QString, data);
        QFETCH(bool, wholeFile);
        const auto read = install::firstDelimitedField(data.toStdString(), wholeFile);
        QTEST(read ? QString::fromStdString(*read) : QString("<none>"), "field");
        SimulatedWindows windows;
        ship(windows, data.toLatin1());
        const bool installs = install::firstDelimitedField(data.toStdString(), true) == "nej";
        run(windows);
        QCOMPARE(windows.files.value(marker) == rewritten, installs);
        QCOMPARE(windows.calls.size(), installs ? 13 : 2);
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
        const QString all =
            "GetVersionExA,GetWindowsDirectoryA,copyFile,AddFontResourceA,messageBox,"
            "RegOpenKeyA,RegSetValueExA,RegCloseKey,deleteFile,appendQuotedField,"
            "armTimer12";
        // Rows "failing steps/reports/marker after": a(ddition), b(ox), marker n(ej), J(a), gone.
        const QString rows = "copyFile/abab/J|AddFontResourceA/abab/J|deleteFile/aa/nJ|"
                             "appendQuotedField/aa/-|deleteFile,appendQuotedField/aa/n|" +
                             all + "/abab/n|" + QString(all).replace(",", "!,") + "!/abab/n";
        for (const QString& row : rows.split(u'|')) {
            const QStringList parts = row.split(u'/');
            QByteArray after = parts[2].toLatin1();
            after.replace('n', asks).replace('J', rewritten).replace('-', "<missing>");
            QTest::newRow(qPrintable(parts[0].left(40)))
                << parts[0].split(u',') << parts[1] << after;
        }
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
                seen << "a";
            else if (call == "messageBox(Error Occured Calling AddFontResource, 0)")
                seen << "b";
        }
        QCOMPARE(seen.join(""), reports);
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
