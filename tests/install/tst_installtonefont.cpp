#include "TestSupport.h"
#include "install/InstallFields.h"
#include "install/InstallPlatform.h"
#include "install/InstallToneFont.h"
#include "install/MarkerField.h"

namespace {

using S = const std::string&;
// A Windows-like system in memory, each call but programFolder() recorded as "name(arguments)". A
// call named in `failing` fails through its result, one named with a "!" throws, all with "*".
struct SimulatedWindows : install::InstallPlatform {
    std::string programDir = R"(C:\Tonquill)", windowsDir;
    unsigned id = 0;
    QMap<std::string, std::string> files;
    QStringList failing, calls;

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
        if (failing.contains("*") || failing.contains(name + '!'))
            throw name; // as a system call may
        return failing.contains(name);
    }
};

// The marker's bytes by letters: n asks for the font, J says it is installed.
QString marker(const QString& letters) {
    return QString(letters).replace("n", "nej\r\n").replace("J", "\"Ja\"\r\n");
}
// The calls of an installation, each addition followed by %4, the marker read as file %5.
const QString box = "|messageBox(Error Occured Calling AddFontResource, 0)";
const QString sequence =
    R"(freeFileNumber()|readFirstField(%1, %5)|GetVersionExA(148)|GetWindowsDirectoryA(260)|)"
    R"(copyFile(%2\pyserif.ttf, %3)|AddFontResourceA(%3)%4|)"
    R"(RegOpenKeyA(2147483650, software\microsoft\windows\currentversion\fonts)|)"
    R"(RegSetValueExA(500, pyserif(TrueType), 0, 1, pyserif.ttf)|RegCloseKey(500)|)"
    R"(AddFontResourceA(%3)%4|deleteFile(%1)|appendQuotedField(%1, %5, Ja)|armTimer12())";

} // namespace

class TestInstallToneFont : public QObject {
    Q_OBJECT

  private slots:
    // Rows "content/whole file or cut off/field": the first field of the marker.
    void firstField_data() {
        columns<QStringList>({"row"});
        const QString rows =
            "nej/W/nej|nej\r\nJa/W/nej|nej\nJa/W/nej|nej,more/W/nej|\t nej/W/nej|  \"nej\",x/W/nej|"
            "\"n,e\r\nj\"/W/n,e\r\nj|\"nej/W/nej|nej ,/W/nej |,nej/W/|\"\"/W/|/W/<none>|"
            "   \t/W/<none>|nej/C/<none>|\"nej/C/<none>|nej,x/C/nej|\"nej\"x/C/nej";
        for (const QString& row : rows.split(u'|'))
            QTest::newRow(qPrintable(row)) << row.split(u'/');
    }
    void firstField() {
        const QStringList row = cell<QStringList>("row");
        const auto read = install::firstDelimitedField(row[0].toStdString(), row[1] == "W");
        QCOMPARE(read ? QString::fromStdString(*read) : QString("<none>"), row[2]);
    }
    // Rows "platform id, Windows directory/failing calls/marker before>after/target/b(oxes)":
    // whatever fails, the installation runs to its end and reports each failed addition after it;
    // the separators overwrite the path's blanks and never lengthen it.
    void installs_data() {
        columns<QStringList>({"row"});
        const QString all = "GetVersionExA,GetWindowsDirectoryA,copyFile,AddFontResourceA,"
                            "RegOpenKeyA,RegSetValueExA,RegCloseKey,deleteFile,appendQuotedField";
        const QString thrown = QString(all).replace(",", "!,") + "!,messageBox!,armTimer12!";
        QString rows =
            R"(2 C:\WINNT///C:\WINNT\pyserif.ttf/|3 C:\WINNT///C:\WINNT\pyserif.ttf/|)"
            R"(1 C:\WINDOWS///C:\WINDOWS\Fonts\pyserif.ttf/|4 D:\WIN///D:\WIN\Fonts\pyserif.ttf/|)"
            R"(1 W260///pyserif.ttf/|2 W259///W259\pyserif.ttf/|1 W253///W253\Fonts\pyserif.ttf/|)"
            R"(1 W254///W254\Fontspyserif.ttf/|2 X/GetVersionExA//X\Fonts\pyserif.ttf/|)"
            R"(1 X/GetVersionExA!//X\pyserif.ttf/|2 X/GetWindowsDirectoryA//pyserif.ttf/|)"
            R"(2 X/copyFile//X\p.ttf/b|2 X/AddFontResourceA//X\p.ttf/b|2 X/*/n>n//|2 X//J>J//|)"
            R"(2 X/deleteFile/n>nJ/X\p.ttf/|2 X/appendQuotedField/n>/X\p.ttf/|2 X//>//|)"
            R"(2 X/deleteFile,appendQuotedField/n>n/X\p.ttf/|)";
        rows += "2 X/" + all + "/n>n/pyserif.ttf/b|2 X/" + thrown + "/n>n/pyserif.ttf/b";
        for (const QString& row : rows.split(u'|')) {
            QString expanded = QString(row).replace(R"(\p.ttf)", R"(\pyserif.ttf)");
            for (int length : {253, 254, 259, 260})
                expanded.replace(QString("W%1").arg(length), QString(length, 'W'));
            QTest::newRow(qPrintable(row.left(60))) << expanded.split(u'/');
        }
    }
    void installs() {
        const QStringList row = cell<QStringList>("row"), system = row[0].split(u' ');
        const QStringList markers = (row[2].isEmpty() ? "n>J" : row[2]).split(u'>');
        SimulatedWindows windows;
        windows.id = system[0].toUInt();
        windows.windowsDir = system[1].toStdString();
        windows.failing = row[1].split(u',', Qt::SkipEmptyParts);
        const QString log = QString::fromStdString(windows.programDir) + R"(\font.log)";
        windows.files[log.toStdString()] = marker(markers[0]).toStdString();
        install::InstallFields fields;
        QVERIFY_THROWS_NO_EXCEPTION(install::InstallToneFont(windows, fields).run());
        const QString boxes = row[4].isEmpty() ? "" : box, no = row[1] == "*" ? "0" : "7";
        const auto expected = sequence.arg(log, log.chopped(9), row[3], boxes, no).split('|');
        QCOMPARE(windows.calls, row[3].isEmpty() ? expected.mid(0, 2) : expected);
        QCOMPARE(QString::fromStdString(windows.files[log.toStdString()]), marker(markers[1]));
    }
};

QTEST_GUILESS_MAIN(TestInstallToneFont)
#include "tst_installtonefont.moc"
