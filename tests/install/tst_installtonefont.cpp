#include "install/InstallFields.h"
#include "install/InstallPlatform.h"
#include "install/InstallToneFont.h"
#include "install/MarkerField.h"

#include <QMap>
#include <QTest>

#include <cstring>
#include <stdexcept>

namespace {

// A Windows-like system in memory: files by full path, a Windows directory and a platform id
// chosen by the test. Every call but programFolder() is recorded as one string, "name(arguments)".
class SimulatedWindows : public install::InstallPlatform {
  public:
    QString programDir = QStringLiteral("C:\\Tonquill");
    std::uint32_t platformId = 2;
    std::string windowsDir = "C:\\WINNT";
    QMap<QString, QByteArray> files;
    // "name" reports failure through its result (or throws, having none); "name!" throws; "*"
    // makes every operation throw.
    QStringList failing;
    QStringList calls;

    std::string pathSeparator() const override { return "\\"; }
    std::string fontsSubfolder() const override { return "Fonts"; }
    std::string programFolder() override {
        fails(nullptr, {});
        return programDir.toStdString();
    }
    std::int32_t freeFileNumber() override { return fails("freeFileNumber", {}, false) ? 0 : 7; }
    bool readFirstField(const std::string& path, std::int32_t fileNo, std::string& field) override {
        if (fails("readFirstField", {s(path), n(fileNo)}) || !files.contains(s(path)))
            return false;
        const auto first = install::firstDelimitedField(files[s(path)].toStdString(), true);
        field = first.value_or(field);
        return first.has_value();
    }
    std::int32_t GetVersionExA(install::OsVersionInfoA& info) override {
        if (fails("GetVersionExA", {n(info.dwOSVersionInfoSize)}))
            return 0;
        info.dwPlatformId = platformId;
        return 1;
    }
    std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size) override {
        const auto length = static_cast<std::uint32_t>(windowsDir.size());
        if (fails("GetWindowsDirectoryA", {n(size)}))
            return 0;
        if (length + 1 > size)
            return length + 1;
        std::memcpy(buffer, windowsDir.c_str(), length + 1);
        return length;
    }
    bool copyFile(const std::string& source, const std::string& target) override {
        if (fails("copyFile", {s(source), s(target)}) || !files.contains(s(source)))
            return false;
        files[s(target)] = files[s(source)];
        return true;
    }
    std::int32_t AddFontResourceA(const std::string& path) override {
        return !fails("AddFontResourceA", {s(path)}) && files.contains(s(path));
    }
    void messageBox(const std::string& text, std::int32_t buttons) override {
        fails("messageBox", {s(text), n(buttons)}, false);
    }
    std::int32_t RegOpenKeyA(std::uint32_t root, const std::string& subKey,
                             std::uint32_t& key) override {
        if (fails("RegOpenKeyA", {hex(root), s(subKey)}))
            return 2;
        key = 0x1F4;
        return 0;
    }
    std::int32_t RegSetValueExA(std::uint32_t key, const std::string& valueName,
                                std::uint32_t reserved, std::uint32_t type, const char* data,
                                std::uint32_t length) override {
        const std::string bytes(data, data ? length : 0);
        return fails("RegSetValueExA",
                     {hex(key), s(valueName), n(reserved), n(type), s(bytes), n(length)})
                   ? 6
                   : 0;
    }
    std::int32_t RegCloseKey(std::uint32_t key) override {
        return fails("RegCloseKey", {hex(key)}) ? 6 : 0;
    }
    bool deleteFile(const std::string& path) override {
        return !fails("deleteFile", {s(path)}) && files.remove(s(path)) == 1;
    }
    bool appendQuotedField(const std::string& path, std::int32_t fileNo,
                           const std::string& field) override {
        if (fails("appendQuotedField", {s(path), n(fileNo), s(field)}))
            return false;
        files[s(path)] += QByteArray::fromStdString(install::quotedFieldRecord(field));
        return true;
    }
    void armTimer12() override { fails("armTimer12", {}, false); }

  private:
    // Records the call (none for a null name) and tells whether it is to fail, or throws.
    bool fails(const char* name, const QStringList& arguments, bool canReport = true) {
        const QLatin1String operation(name ? name : "");
        if (name)
            calls << QStringLiteral("%1(%2)").arg(operation, arguments.join(QStringLiteral(", ")));
        const bool fail = name && failing.contains(operation);
        if (failing.contains("*") || (name && failing.contains(operation + '!')) ||
            (fail && !canReport))
            throw std::runtime_error("raised by the test");
        return fail;
    }
    static QString s(const std::string& text) { return QString::fromLatin1(text); }
    static QString n(std::int64_t number) { return QString::number(number); }
    static QString hex(std::uint32_t number) { return QStringLiteral("0x%1").arg(number, 0, 16); }
};

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

    // Rows "program folder/platform id/Windows directory/target/failing call": the program folder
    // ends in a separator only at a drive root, where the separator then doubles; a platform check
    // that throws goes on as if it held; the separators overwrite the blanks after the path and
    // never lengthen it.
    void installsInOrder_data() {
        QTest::addColumn<QStringList>("row");
        const QString w253(253, 'W'), w254(254, 'W'), w259(259, 'W'), w260(260, 'W');
        const QString rows =
            "P/2/C:\\WINNT/C:\\WINNT\\pyserif.ttf|P/3/C:\\WINNT/C:\\WINNT\\pyserif.ttf|"
            "P/1/C:\\WINDOWS/C:\\WINDOWS\\Fonts\\pyserif.ttf|"
            "P/0/C:\\WINDOWS/C:\\WINDOWS\\Fonts\\pyserif.ttf|P/4/D:\\WIN/"
            "D:\\WIN\\Fonts\\pyserif.ttf|"
            "C:\\/2/C:\\WINNT/C:\\WINNT\\pyserif.ttf|"
            "P/2/C:\\WINNT/C:\\WINNT\\Fonts\\pyserif.ttf/GetVersionExA|"
            "P/1/C:\\WINDOWS/C:\\WINDOWS\\pyserif.ttf/GetVersionExA!|"
            "P/2/C:\\WINNT/pyserif.ttf/GetWindowsDirectoryA|P/1/" +
            w260 + "/pyserif.ttf|P/2/" + w259 + "/" + w259 + "\\pyserif.ttf|P/1/" + w253 + "/" +
            w253 + "\\Fonts\\pyserif.ttf|P/1/" + w254 + "/" + w254 + "\\Fontspyserif.ttf";
        for (const QString& row : rows.split(u'|'))
            QTest::newRow(qPrintable(row.left(60))) << row.split(u'/');
    }
    void installsInOrder() {
        QFETCH(QStringList, row);
        SimulatedWindows windows;
        windows.programDir = row[0] == "P" ? windows.programDir : row[0];
        windows.platformId = row[1].toUInt();
        windows.windowsDir = row[2].toStdString();
        windows.failing = row.mid(4);
        ship(windows);

        run(windows);

        const QString log = windows.programDir + "\\font.log", target = row[3];
        const QString expected =
            "freeFileNumber()|readFirstField(%1, 7)|GetVersionExA(148)|GetWindowsDirectoryA(260)|"
            "copyFile(%2\\pyserif.ttf, %3)|AddFontResourceA(%3)|"
            "RegOpenKeyA(0x80000002, software\\microsoft\\windows\\currentversion\\fonts)|"
            "RegSetValueExA(0x1f4, pyserif(TrueType), 0, 1, pyserif.ttf, 11)|RegCloseKey(0x1f4)|"
            "AddFontResourceA(%3)|deleteFile(%1)|appendQuotedField(%1, 7, Ja)|armTimer12()";
        QCOMPARE(windows.calls, expected.arg(log, windows.programDir, target).split(u'|'));
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
