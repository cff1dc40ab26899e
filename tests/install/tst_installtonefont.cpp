#include "TestSupport.h"
#include "install/InstallFields.h"
#include "install/InstallPlatform.h"
#include "install/InstallToneFont.h"
#include "install/MarkerField.h"

namespace {

using S = const std::string&;
// A Windows-like system in memory, each call but programFolder() recorded as "name(arguments)". A
// call named in `failing` fails through its result, one named in `throwing` throws.
struct SimulatedWindows : install::InstallPlatform {
    std::string programDir = R"(C:\Tonquill)", windowsDir;
    unsigned id = 0;
    QMap<std::string, std::string> files;
    QStringList failing, throwing, calls;

    std::string pathSeparator() const override { return "\\"; }
    std::string fontsSubfolder() const override { return "Fonts"; }
    std::string programFolder() override { return programDir; }
    int freeFileNumber() override { return call("freeFileNumber") ? 0 : 7; }
    bool readFirstField(S path, int no, std::string& field) override {
        if (!call("readFirstField", path, no))
            field = files[path].substr(0, files[path].find('\r'));
        return !field.empty();
    }
    int GetVersionExA(install::OsVersionInfoA& info) override {
        return call("GetVersionExA", info.dwOSVersionInfoSize) ? 0 : (info.dwPlatformId = id);
    }
    unsigned GetWindowsDirectoryA(char* buffer, unsigned size) override {
        if (call("GetWindowsDirectoryA", size))
            return 0;
        const auto length = static_cast<unsigned>(windowsDir.size());
        return length < size ? (qstrcpy(buffer, windowsDir.c_str()), length) : length + 1;
    }
    bool copyFile(S from, S to) override {
        return !call("copyFile", from, to) && (files[to] = files[from], true);
    }
    int AddFontResourceA(S path) override {
        return !call("AddFontResourceA", path) && files.contains(path);
    }
    void messageBox(S text, int buttons) override { call("messageBox", text, buttons); }
    int RegOpenKeyA(unsigned root, S subKey, unsigned& key) override {
        key = 500; // even on failure, so that the calls after it read the same in every row
        return call("RegOpenKeyA", root, subKey) ? 2 : 0;
    }
    int RegSetValueExA(unsigned key, S value, unsigned reserved, unsigned type, const char* data,
                       unsigned size) override {
        return call("RegSetValueExA", key, value, reserved, type, std::string(data, size)) ? 6 : 0;
    }
    int RegCloseKey(unsigned key) override { return call("RegCloseKey", key) ? 6 : 0; }
    bool deleteFile(S path) override { return !call("deleteFile", path) && files.remove(path); }
    bool appendQuotedField(S path, int no, S field) override {
        return !call("appendQuotedField", path, no, field) &&
               (files[path] += '"' + field + "\"\r\n", true);
    }
    void armTimer12() override { call("armTimer12"); }
    static QString str(S text) { return QString::fromStdString(text); }
    static QString str(std::int64_t number) { return QString::number(number); }
    template <typename... A> bool call(const QString& name, const A&... args) {
        calls << name + '(' + QStringList{str(args)...}.join(", ") + ')';
        if (throwing.contains(name))
            throw name; // as a system call may
        return failing.contains(name);
    }
};

const QString asks = "nej\r\n", done = "\"Ja\"\r\n", markerPath = R"(C:\Tonquill\font.log)";
const QString fontInX = R"(X\pyserif.ttf)"; // the font's place in a Windows folder named X
const QString notInstalled;                 // the marker read, nothing more done
// messageBox and armTimer12 return nothing, so only their throwing tells.
const QStringList none,
    afterMarker = {"GetVersionExA",     "GetWindowsDirectoryA", "copyFile",    "AddFontResourceA",
                   "RegOpenKeyA",       "RegSetValueExA",       "RegCloseKey", "deleteFile",
                   "appendQuotedField", "messageBox",           "armTimer12"},
    everyCall = QStringList{"freeFileNumber", "readFirstField"} + afterMarker;
// The calls of an installation that copies the font to `target`, the marker read as file `no`.
QStringList installation(const QString& target, int no, bool reportsFailures) {
    QStringList add{"AddFontResourceA(" + target + ')'};
    if (reportsFailures)
        add << "messageBox(Error Occured Calling AddFontResource, 0)";
    return QStringList{"freeFileNumber()",
                       QString("readFirstField(%1, %2)").arg(markerPath).arg(no),
                       "GetVersionExA(148)", "GetWindowsDirectoryA(260)",
                       R"(copyFile(C:\Tonquill\pyserif.ttf, )" + target + ')'}
           << add << R"(RegOpenKeyA(2147483650, software\microsoft\windows\currentversion\fonts))"
           << "RegSetValueExA(500, pyserif(TrueType), 0, 1, pyserif.ttf)"
           << "RegCloseKey(500)" << add << "deleteFile(" + markerPath + ')'
           << QString("appendQuotedField(%1, %2, Ja)").arg(markerPath).arg(no) << "armTimer12()";
}

} // namespace

class TestInstallToneFont : public QObject {
    Q_OBJECT

  private slots:
    void firstField_data() {
        columns<QString, bool, bool, QString>({"data", "wholeFile", "found", "field"});
        QTest::addRow("a bare field runs to the end of the file") << "nej" << true << true << "nej";
        QTest::addRow("a bare field ends at CR LF") << "nej\r\nJa" << true << true << "nej";
        QTest::addRow("a bare field ends at LF") << "nej\nJa" << true << true << "nej";
        QTest::addRow("a bare field ends at a comma") << "nej,more" << true << true << "nej";
        QTest::addRow("leading tabs and blanks are skipped") << "\t nej" << true << true << "nej";
        QTest::addRow("a quoted field loses its quotes") << "  \"nej\",x" << true << true << "nej";
        QTest::addRow("quotes span commas, CR LF") << "\"n,e\r\nj\"" << true << true << "n,e\r\nj";
        QTest::addRow("an unclosed quote runs to the end") << "\"nej" << true << true << "nej";
        QTest::addRow("blanks before the comma stay") << "nej ," << true << true << "nej ";
        QTest::addRow("a leading comma ends an empty field") << ",nej" << true << true << "";
        QTest::addRow("two quotes are an empty field") << "\"\"" << true << true << "";
        QTest::addRow("an empty file has no field") << "" << true << false << "";
        QTest::addRow("blanks alone are no field") << "   \t" << true << false << "";
        QTest::addRow("an unended field may go on past a cut-off") << "nej" << false << false << "";
        QTest::addRow("an open quote may go on past a cut-off") << "\"nej" << false << false << "";
        QTest::addRow("a comma ends a field before a cut-off") << "nej,x" << false << true << "nej";
        QTest::addRow("a closing quote before a cut-off") << "\"nej\"x" << false << true << "nej";
    }
    void firstField() {
        const auto read = install::firstDelimitedField(cell<QString>("data").toStdString(),
                                                       cell<bool>("wholeFile"));
        QCOMPARE(read.has_value(), cell<bool>("found"));
        QCOMPARE(QString::fromStdString(read.value_or("")), cell<QString>("field"));
    }
    // Whatever fails, the installation runs to its end and reports each failed addition after it;
    // the separators overwrite the path's blanks and never lengthen it.
    void installs_data() {
        columns<int, QString, QStringList, QStringList, QString, QString, QString, bool>(
            {"platformId", "windowsFolder", "failing", "throwing", "markerBefore", "markerAfter",
             "fontTarget", "reportsFailures"});
        QTest::addRow("NT: the font goes into the Windows folder")
            << 2 << "C:\\WINNT" << none << none << asks << done << "C:\\WINNT\\pyserif.ttf"
            << false;
        QTest::addRow("any platform id with the NT bit is NT")
            << 3 << "C:\\WINNT" << none << none << asks << done << "C:\\WINNT\\pyserif.ttf"
            << false;
        QTest::addRow("Windows 9x: the font goes into the Fonts subfolder")
            << 1 << "C:\\WINDOWS" << none << none << asks << done
            << "C:\\WINDOWS\\Fonts\\pyserif.ttf" << false;
        QTest::addRow("any platform id without the NT bit is Windows 9x")
            << 4 << "D:\\WIN" << none << none << asks << done << "D:\\WIN\\Fonts\\pyserif.ttf"
            << false;
        QTest::addRow("a Windows folder of 260 characters does not fit: a bare file name")
            << 1 << QString(260, 'W') << none << none << asks << done << "pyserif.ttf" << false;
        QTest::addRow("a Windows folder of 259 characters fits with its separator")
            << 2 << QString(259, 'W') << none << none << asks << done
            << QString(259, 'W') + "\\pyserif.ttf" << false;
        QTest::addRow("a Windows folder of 253 characters fits with Fonts")
            << 1 << QString(253, 'W') << none << none << asks << done
            << QString(253, 'W') + "\\Fonts\\pyserif.ttf" << false;
        QTest::addRow("a Windows folder of 254 characters loses the separator after Fonts")
            << 1 << QString(254, 'W') << none << none << asks << done
            << QString(254, 'W') + "\\Fontspyserif.ttf" << false;
        QTest::addRow("a failed version query counts as Windows 9x")
            << 2 << "X" << QStringList{"GetVersionExA"} << none << asks << done
            << "X\\Fonts\\pyserif.ttf" << false;
        QTest::addRow("a thrown version query leaves the system counted as NT")
            << 1 << "X" << none << QStringList{"GetVersionExA"} << asks << done << fontInX << false;
        QTest::addRow("a failed Windows folder query leaves a bare file name")
            << 2 << "X" << QStringList{"GetWindowsDirectoryA"} << none << asks << done
            << "pyserif.ttf" << false;
        QTest::addRow("a failed copy: both additions fail and are reported")
            << 2 << "X" << QStringList{"copyFile"} << none << asks << done << fontInX << true;
        QTest::addRow("each failed addition is reported")
            << 2 << "X" << QStringList{"AddFontResourceA"} << none << asks << done << fontInX
            << true;
        QTest::addRow("a marker that cannot be read asks for nothing")
            << 2 << "X" << none << everyCall << asks << asks << notInstalled << false;
        QTest::addRow("a marker saying done asks for nothing")
            << 2 << "X" << none << none << done << done << notInstalled << false;
        QTest::addRow("an empty marker asks for nothing")
            << 2 << "X" << none << none << QString() << QString() << notInstalled << false;
        QTest::addRow("a marker that cannot be deleted gets the answer appended")
            << 2 << "X" << QStringList{"deleteFile"} << none << asks << asks + done << fontInX
            << false;
        QTest::addRow("a marker that cannot be rewritten stays deleted")
            << 2 << "X" << QStringList{"appendQuotedField"} << none << asks << "" << fontInX
            << false;
        QTest::addRow("a marker that can be neither deleted nor rewritten still asks")
            << 2 << "X" << QStringList{"deleteFile", "appendQuotedField"} << none << asks << asks
            << fontInX << false;
        QTest::addRow("every call after the marker failing")
            << 2 << "X" << afterMarker << none << asks << asks << "pyserif.ttf" << true;
        QTest::addRow("every call after the marker throwing")
            << 2 << "X" << none << afterMarker << asks << asks << "pyserif.ttf" << true;
    }
    void installs() {
        SimulatedWindows windows;
        windows.id = cell<int>("platformId");
        windows.windowsDir = cell<QString>("windowsFolder").toStdString();
        windows.failing = cell<QStringList>("failing");
        windows.throwing = cell<QStringList>("throwing");
        windows.files[markerPath.toStdString()] = cell<QString>("markerBefore").toStdString();
        install::InstallFields fields;
        QVERIFY_THROWS_NO_EXCEPTION(install::InstallToneFont(windows, fields).run());
        const QString target = cell<QString>("fontTarget");
        const bool numbered = !(windows.failing + windows.throwing).contains("freeFileNumber");
        const auto calls = installation(target, numbered ? 7 : 0, cell<bool>("reportsFailures"));
        QCOMPARE(windows.calls, target.isNull() ? calls.mid(0, 2) : calls);
        QCOMPARE(QString::fromStdString(windows.files[markerPath.toStdString()]),
                 cell<QString>("markerAfter"));
    }
};

QTEST_GUILESS_MAIN(TestInstallToneFont)
#include "tst_installtonefont.moc"
