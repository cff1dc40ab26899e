#include "SimulatedWindows.h"

#include "install/InstallFields.h"
#include "install/InstallToneFont.h"
#include "install/IsNTPlatform.h"

#include <QTest>

using install::InstallFields;
using install::InstallToneFont;

namespace {

const std::string marker = "C:\\Tonquill\\font.log";
const std::string source = "C:\\Tonquill\\pyserif.ttf";
const std::string fontBytes = "tone font bytes";
const std::string rewrittenMarker("\x22\x4A\x61\x22\x0D\x0A", 6);
const QString addFailed = QStringLiteral("Error Occured Calling AddFontResource");

void shipProgram(SimulatedWindows& windows, const std::string& markerContent = "nej") {
    windows.files[marker] = markerContent;
    windows.files[source] = fontBytes;
}

InstallFields run(SimulatedWindows& windows) {
    InstallFields fields;
    InstallToneFont(windows, fields).run();
    return fields;
}

QStringList onlyReadTheMarker(int fileNo = 1) {
    return {QStringLiteral("freeFileNumber()"),
            QStringLiteral("readFirstField(C:\\Tonquill\\font.log, %1)").arg(fileNo)};
}

std::set<std::string> names(const QStringList& list) {
    std::set<std::string> result;
    for (const QString& name : list)
        result.insert(name.toStdString());
    return result;
}

} // namespace

class TestInstallToneFont : public QObject {
    Q_OBJECT

  private slots:
    void markerDecides_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("installs");
        QTest::newRow("nej") << QByteArray("nej") << true;
        QTest::newRow("nej line") << QByteArray("nej\r\n") << true;
        QTest::newRow("quoted nej") << QByteArray("\"nej\"") << true;
        QTest::newRow("nej,more") << QByteArray("nej,more") << true;
        QTest::newRow("leading blanks") << QByteArray("   nej\r\n") << true;
        QTest::newRow("Nej") << QByteArray("Nej") << false;
        QTest::newRow("NEJ") << QByteArray("NEJ") << false;
        QTest::newRow("rewritten record") << QByteArray("\"Ja\"\r\n") << false;
        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("blank line first") << QByteArray("\r\nnej") << false;
        QTest::newRow("nejnej") << QByteArray("nejnej") << false;
    }
    void markerDecides() {
        QFETCH(QByteArray, content);
        QFETCH(bool, installs);
        SimulatedWindows windows;
        shipProgram(windows, content.toStdString());

        run(windows);

        QCOMPARE(windows.timer12Armed, installs ? 1 : 0);
        QCOMPARE(windows.files.count("C:\\WINNT\\pyserif.ttf"), installs ? 1u : 0u);
        if (installs) {
            QCOMPARE(windows.files[marker], rewrittenMarker);
        } else {
            QCOMPARE(windows.files[marker], content.toStdString());
            QCOMPARE(windows.effectCalls(), onlyReadTheMarker());
        }
        QVERIFY(windows.messages.isEmpty());
    }

    void missingOrUnreadableMarkerDoesNothing_data() {
        QTest::addColumn<bool>("present");
        QTest::newRow("missing") << false;
        QTest::newRow("unreadable") << true;
    }
    void missingOrUnreadableMarkerDoesNothing() {
        QFETCH(bool, present);
        SimulatedWindows windows;
        shipProgram(windows);
        if (present)
            windows.failing.insert("readFirstField");
        else
            windows.files.erase(marker);

        const InstallFields fields = run(windows);

        QCOMPARE(windows.effectCalls(), onlyReadTheMarker());
        QCOMPARE(windows.files.count(marker), present ? 1u : 0u);
        QVERIFY(fields.installMarker.empty());
        QCOMPARE(windows.timer12Armed, 0);
    }

    void fontTargetFollowsPlatform_data() {
        QTest::addColumn<uint>("platformId");
        QTest::addColumn<QString>("windowsDir");
        QTest::addColumn<QString>("fontDir");
        QTest::newRow("NT") << 2u << "C:\\WINNT"
                            << "C:\\WINNT\\";
        QTest::newRow("id 3 has the NT bit") << 3u << "C:\\WINNT"
                                             << "C:\\WINNT\\";
        QTest::newRow("Windows 9x") << 1u << "C:\\WINDOWS"
                                    << "C:\\WINDOWS\\Fonts\\";
        QTest::newRow("Win32s") << 0u << "C:\\WINDOWS"
                                << "C:\\WINDOWS\\Fonts\\";
        QTest::newRow("9x on another drive") << 1u << "D:\\WIN"
                                             << "D:\\WIN\\Fonts\\";
    }
    void fontTargetFollowsPlatform() {
        QFETCH(uint, platformId);
        QFETCH(QString, windowsDir);
        QFETCH(QString, fontDir);
        SimulatedWindows windows;
        shipProgram(windows);
        windows.platformId = platformId;
        windows.windowsDir = windowsDir.toStdString();

        const InstallFields fields = run(windows);

        const QString target = fontDir + QStringLiteral("pyserif.ttf");
        QCOMPARE(QString::fromStdString(fields.fontDir), fontDir);
        QCOMPARE(windows.files[target.toStdString()], fontBytes);
        QVERIFY(windows.calls.contains(
            QStringLiteral("copyFile(C:\\Tonquill\\pyserif.ttf, %1)").arg(target)));
        QCOMPARE(windows.calls.count(QStringLiteral("AddFontResourceA(%1)").arg(target)), 2);
    }

    void firstRunCallsInOrder() {
        SimulatedWindows windows;
        shipProgram(windows);

        run(windows);

        const QStringList expected = {
            "freeFileNumber()",
            "programFolder()",
            "readFirstField(C:\\Tonquill\\font.log, 1)",
            "GetVersionExA(148, zeroed)",
            "GetWindowsDirectoryA(260)",
            "programFolder()",
            "copyFile(C:\\Tonquill\\pyserif.ttf, C:\\WINNT\\pyserif.ttf)",
            "AddFontResourceA(C:\\WINNT\\pyserif.ttf)",
            "RegOpenKeyA(0x80000002, software\\microsoft\\windows\\currentversion\\fonts)",
            "RegSetValueExA(0x1f4, pyserif(TrueType), 0, 1, pyserif.ttf, 11)",
            "RegCloseKey(0x1f4)",
            "AddFontResourceA(C:\\WINNT\\pyserif.ttf)",
            "programFolder()",
            "deleteFile(C:\\Tonquill\\font.log)",
            "programFolder()",
            "appendQuotedField(C:\\Tonquill\\font.log, 1, Ja)",
            "armTimer12()",
        };
        QCOMPARE(windows.calls, expected);
    }

    void fieldsHoldTheLastResults() {
        SimulatedWindows windows;
        shipProgram(windows);
        windows.nextFileNumber = 7;
        windows.addFontResults = {2, 3};

        const InstallFields fields = run(windows);

        QCOMPARE(fields.markerFileNo, 7);
        QCOMPARE(fields.installMarker, std::string("nej"));
        QCOMPARE(fields.hFontsKey, SimulatedWindows::fontsKeyHandle);
        QCOMPARE(fields.apiResult, 3);
        QVERIFY(windows.calls.contains("appendQuotedField(C:\\Tonquill\\font.log, 7, Ja)"));
        QCOMPARE(windows.files[marker], rewrittenMarker);
    }

    void registryValueNamesTheFile() {
        SimulatedWindows windows;
        shipProgram(windows);

        run(windows);

        QCOMPARE(windows.fontsKeyValues.size(), 1u);
        const auto& [name, data] = *windows.fontsKeyValues.begin();
        QCOMPARE(name, std::string("pyserif(TrueType)"));
        QCOMPARE(name.size(), 17u);
        QCOMPARE(data, std::string("pyserif.ttf"));
    }

    void missingRegistryKeyLeavesHandleZero() {
        SimulatedWindows windows;
        shipProgram(windows);
        windows.fontsKeyExists = false;

        const InstallFields fields = run(windows);

        QCOMPARE(fields.hFontsKey, 0u);
        QVERIFY(windows.fontsKeyValues.empty());
        QVERIFY(windows.calls.contains(
            "RegSetValueExA(0x0, pyserif(TrueType), 0, 1, pyserif.ttf, 11)"));
        QVERIFY(windows.calls.contains("RegCloseKey(0x0)"));
        QCOMPARE(windows.files[marker], rewrittenMarker);
        QCOMPARE(windows.timer12Armed, 1);
    }

    void driveRootDoublesTheSeparator() {
        SimulatedWindows windows;
        windows.programDir = "C:\\";
        windows.files["C:\\\\font.log"] = "nej";
        windows.files["C:\\\\pyserif.ttf"] = fontBytes;

        run(windows);

        QVERIFY(windows.calls.contains("readFirstField(C:\\\\font.log, 1)"));
        QVERIFY(windows.calls.contains("copyFile(C:\\\\pyserif.ttf, C:\\WINNT\\pyserif.ttf)"));
        QVERIFY(windows.calls.contains("deleteFile(C:\\\\font.log)"));
        QCOMPARE(windows.files["C:\\\\font.log"], rewrittenMarker);
        QCOMPARE(windows.files["C:\\WINNT\\pyserif.ttf"], fontBytes);
    }

    void failedAdditionsShowTheMessage_data() {
        QTest::addColumn<QList<int>>("results");
        QTest::addColumn<int>("boxes");
        QTest::newRow("both fail") << QList<int>{0, 0} << 2;
        QTest::newRow("first fails") << QList<int>{0, 1} << 1;
        QTest::newRow("second fails") << QList<int>{4, 0} << 1;
        QTest::newRow("both add") << QList<int>{1, 1} << 0;
    }
    void failedAdditionsShowTheMessage() {
        QFETCH(QList<int>, results);
        QFETCH(int, boxes);
        SimulatedWindows windows;
        shipProgram(windows);
        windows.addFontResults.assign(results.begin(), results.end());

        run(windows);

        QCOMPARE(windows.messages, QStringList(boxes, addFailed));
        QCOMPARE(windows.calls.count("messageBox(" + addFailed + ", 0)"), boxes);
        QCOMPARE(windows.files[marker], rewrittenMarker);
        QCOMPARE(windows.timer12Armed, 1);

        // Marked as done however it went: the next start leaves everything alone.
        windows.calls.clear();
        run(windows);
        QCOMPARE(windows.effectCalls(), onlyReadTheMarker());
        QCOMPARE(windows.messages.size(), boxes);
    }

    void noWindowsDirectoryGivesTheBareFileName_data() {
        QTest::addColumn<uint>("platformId");
        QTest::addColumn<QString>("windowsDir");
        QTest::addColumn<int>("forcedResult");
        QTest::newRow("NT, call fails") << 2u << "C:\\WINNT" << 0;
        QTest::newRow("9x, call fails") << 1u << "C:\\WINDOWS" << 0;
        QTest::newRow("path needs the whole buffer") << 2u << QString(260, 'W') << -1;
        QTest::newRow("path far too long") << 1u << QString(300, 'W') << -1;
    }
    void noWindowsDirectoryGivesTheBareFileName() {
        QFETCH(uint, platformId);
        QFETCH(QString, windowsDir);
        QFETCH(int, forcedResult);
        SimulatedWindows windows;
        shipProgram(windows);
        windows.platformId = platformId;
        windows.windowsDir = windowsDir.toStdString();
        if (forcedResult >= 0)
            windows.windowsDirResult = static_cast<std::uint32_t>(forcedResult);

        const InstallFields fields = run(windows);

        QVERIFY(fields.fontDir.empty());
        QVERIFY(windows.calls.contains("copyFile(C:\\Tonquill\\pyserif.ttf, pyserif.ttf)"));
        QCOMPARE(windows.calls.count("AddFontResourceA(pyserif.ttf)"), 2);
        QCOMPARE(windows.timer12Armed, 1);
    }

    void fontDirKeepsItsLength_data() {
        QTest::addColumn<uint>("platformId");
        QTest::addColumn<int>("dirLength");
        QTest::addColumn<QString>("tail");
        QTest::newRow("NT, last position") << 2u << 259 << "\\";
        QTest::newRow("9x, exact room") << 1u << 253 << "\\Fonts\\";
        QTest::newRow("9x, one short") << 1u << 254 << "\\Fonts";
    }
    void fontDirKeepsItsLength() {
        QFETCH(uint, platformId);
        QFETCH(int, dirLength);
        QFETCH(QString, tail);
        SimulatedWindows windows;
        shipProgram(windows);
        windows.platformId = platformId;
        windows.windowsDir = std::string(static_cast<std::size_t>(dirLength), 'W');

        const InstallFields fields = run(windows);

        QCOMPARE(QString::fromStdString(fields.fontDir), QString(dirLength, 'W') + tail);
    }

    void timer12ArmedWhateverFails_data() {
        QTest::addColumn<QStringList>("failing");
        QTest::addColumn<QStringList>("throwing");
        QTest::newRow("copy") << QStringList{"copyFile"} << QStringList{};
        QTest::newRow("delete") << QStringList{"deleteFile"} << QStringList{};
        QTest::newRow("append") << QStringList{"appendQuotedField"} << QStringList{};
        QTest::newRow("registry open") << QStringList{"RegOpenKeyA"} << QStringList{};
        QTest::newRow("registry set and close")
            << QStringList{"RegSetValueExA", "RegCloseKey"} << QStringList{};
        QTest::newRow("windows directory") << QStringList{"GetWindowsDirectoryA"} << QStringList{};
        QTest::newRow("font additions") << QStringList{"AddFontResourceA"} << QStringList{};
        QTest::newRow("copy throws") << QStringList{} << QStringList{"copyFile"};
        QTest::newRow("delete and append throw")
            << QStringList{} << QStringList{"deleteFile", "appendQuotedField"};
        QTest::newRow("everything between")
            << QStringList{"GetVersionExA",    "GetWindowsDirectoryA", "copyFile",
                           "AddFontResourceA", "messageBox",           "RegOpenKeyA",
                           "RegSetValueExA",   "RegCloseKey",          "deleteFile",
                           "appendQuotedField"}
            << QStringList{};
    }
    void timer12ArmedWhateverFails() {
        QFETCH(QStringList, failing);
        QFETCH(QStringList, throwing);
        SimulatedWindows windows;
        shipProgram(windows);
        windows.failing = names(failing);
        windows.throwing = names(throwing);

        QVERIFY_THROWS_NO_EXCEPTION(run(windows));

        QCOMPARE(windows.timer12Armed, 1);
        QCOMPARE(windows.calls.last(), QStringLiteral("armTimer12()"));
    }

    void failedVersionTestTakesTheNtBranch() {
        SimulatedWindows windows;
        shipProgram(windows);
        windows.platformId = 1;
        windows.windowsDir = "C:\\WINDOWS";
        windows.throwing.insert("GetVersionExA");

        const InstallFields fields = run(windows);

        QCOMPARE(fields.fontDir, std::string("C:\\WINDOWS\\"));
    }

    void keptMarkerInstallsAgain_data() {
        QTest::addColumn<QStringList>("failing");
        QTest::addColumn<QByteArray>("leftBehind");
        QTest::newRow("delete fails")
            << QStringList{"deleteFile"} << QByteArray("nej\r\n\"Ja\"\r\n");
        QTest::newRow("delete and append fail")
            << QStringList{"deleteFile", "appendQuotedField"} << QByteArray("nej\r\n");
    }
    void keptMarkerInstallsAgain() {
        QFETCH(QStringList, failing);
        QFETCH(QByteArray, leftBehind);
        SimulatedWindows windows;
        shipProgram(windows, "nej\r\n");
        windows.failing = names(failing);

        run(windows);
        QCOMPARE(windows.files[marker], leftBehind.toStdString());

        windows.failing.clear();
        windows.files.erase("C:\\WINNT\\pyserif.ttf");
        run(windows);
        QCOMPARE(windows.files[marker], rewrittenMarker);
        QCOMPARE(windows.files["C:\\WINNT\\pyserif.ttf"], fontBytes);
        QCOMPARE(windows.timer12Armed, 2);
    }

    void copyFailureUsesAFontAlreadyThere_data() {
        QTest::addColumn<bool>("alreadyThere");
        QTest::newRow("font already there") << true;
        QTest::newRow("no font there") << false;
    }
    void copyFailureUsesAFontAlreadyThere() {
        QFETCH(bool, alreadyThere);
        SimulatedWindows windows;
        shipProgram(windows);
        windows.failing.insert("copyFile");
        if (alreadyThere)
            windows.files["C:\\WINNT\\pyserif.ttf"] = "older font";

        run(windows);

        QCOMPARE(windows.messages.size(), alreadyThere ? 0 : 2);
        QCOMPARE(windows.files[marker], rewrittenMarker);
    }

    void noExceptionEscapes_data() {
        QTest::addColumn<QStringList>("throwing");
        QTest::newRow("everything") << QStringList{
            "programFolder",        "freeFileNumber", "readFirstField",   "GetVersionExA",
            "GetWindowsDirectoryA", "copyFile",       "AddFontResourceA", "messageBox",
            "RegOpenKeyA",          "RegSetValueExA", "RegCloseKey",      "deleteFile",
            "appendQuotedField",    "armTimer12"};
        QTest::newRow("all but the read") << QStringList{
            "GetVersionExA", "GetWindowsDirectoryA", "copyFile",       "AddFontResourceA",
            "messageBox",    "RegOpenKeyA",          "RegSetValueExA", "RegCloseKey",
            "deleteFile",    "appendQuotedField",    "armTimer12"};
    }
    void noExceptionEscapes() {
        QFETCH(QStringList, throwing);
        SimulatedWindows windows;
        shipProgram(windows);
        windows.throwing = names(throwing);

        QVERIFY_THROWS_NO_EXCEPTION(run(windows));
        QCOMPARE(windows.files[marker], std::string("nej"));
    }

    void isNtPlatform_data() {
        QTest::addColumn<uint>("platformId");
        QTest::addColumn<bool>("nt");
        QTest::newRow("Win32s") << 0u << false;
        QTest::newRow("Windows 9x") << 1u << false;
        QTest::newRow("NT") << 2u << true;
        QTest::newRow("CE") << 3u << true;
        QTest::newRow("unknown id 4") << 4u << false;
    }
    void isNtPlatform() {
        QFETCH(uint, platformId);
        QFETCH(bool, nt);
        SimulatedWindows windows;
        windows.platformId = platformId;

        QCOMPARE(install::IsNTPlatform(windows), nt);
        QCOMPARE(windows.calls, QStringList{"GetVersionExA(148, zeroed)"});
    }
};

QTEST_GUILESS_MAIN(TestInstallToneFont)
#include "tst_installtonefont.moc"
