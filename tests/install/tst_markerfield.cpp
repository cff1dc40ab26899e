#include "install/MarkerField.h"

#include <QTest>

using install::firstDelimitedField;

namespace {

// No field is told apart from an empty one by a null QByteArray.
QByteArray asBytes(const std::optional<std::string>& field) {
    return field ? QByteArray::fromStdString(*field) : QByteArray();
}

} // namespace

class TestMarkerField : public QObject {
    Q_OBJECT

  private slots:
    void firstField_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("wholeFile");
        QTest::addColumn<QByteArray>("field");
        const QByteArray none;
        const QByteArray empty("");
        QTest::newRow("bare") << QByteArray("nej") << true << QByteArray("nej");
        QTest::newRow("CR LF") << QByteArray("nej\r\nJa") << true << QByteArray("nej");
        QTest::newRow("LF") << QByteArray("nej\nJa") << true << QByteArray("nej");
        QTest::newRow("lone CR") << QByteArray("nej\rJa") << true << QByteArray("nej");
        QTest::newRow("comma") << QByteArray("nej,more") << true << QByteArray("nej");
        QTest::newRow("quoted") << QByteArray("\"nej\"") << true << QByteArray("nej");
        QTest::newRow("quoted record") << QByteArray("\"Ja\"\r\n") << true << QByteArray("Ja");
        QTest::newRow("leading blanks") << QByteArray("   nej") << true << QByteArray("nej");
        QTest::newRow("leading tab") << QByteArray("\t nej") << true << QByteArray("nej");
        QTest::newRow("blanks then quote")
            << QByteArray("  \"nej\",x") << true << QByteArray("nej");
        QTest::newRow("comma inside quotes")
            << QByteArray("\"ne,j\"") << true << QByteArray("ne,j");
        QTest::newRow("line end inside quotes")
            << QByteArray("\"ne\r\nj\"") << true << QByteArray("ne\r\nj");
        QTest::newRow("text after closing quote")
            << QByteArray("\"nej\"xyz") << true << QByteArray("nej");
        QTest::newRow("unclosed quote") << QByteArray("\"nej") << true << QByteArray("nej");
        QTest::newRow("trailing blank kept") << QByteArray("nej ,") << true << QByteArray("nej ");
        QTest::newRow("case kept") << QByteArray("NEJ") << true << QByteArray("NEJ");
        QTest::newRow("empty first line") << QByteArray("\r\nnej") << true << empty;
        QTest::newRow("empty first field") << QByteArray(",nej") << true << empty;
        QTest::newRow("empty quotes") << QByteArray("\"\"") << true << empty;
        QTest::newRow("empty file") << QByteArray() << true << none;
        QTest::newRow("only blanks") << QByteArray("   \t") << true << none;
        QTest::newRow("binary") << QByteArray("\x00\xffnej", 5) << true
                                << QByteArray("\x00\xffnej", 5);
        QTest::newRow("cut off inside a field") << QByteArray("nej") << false << none;
        QTest::newRow("cut off inside quotes") << QByteArray("\"nej") << false << none;
        QTest::newRow("cut off among blanks") << QByteArray("    ") << false << none;
        QTest::newRow("cut off after a comma")
            << QByteArray("nej,xxxx") << false << QByteArray("nej");
        QTest::newRow("cut off after the quotes")
            << QByteArray("\"nej\"xx") << false << QByteArray("nej");
    }
    void firstField() {
        QFETCH(QByteArray, data);
        QFETCH(bool, wholeFile);
        QFETCH(QByteArray, field);

        const auto read =
            firstDelimitedField(std::string_view(data.constData(), data.size()), wholeFile);

        QCOMPARE(read.has_value(), !field.isNull());
        QCOMPARE(asBytes(read), field);
    }

    void quotedRecord_data() {
        QTest::addColumn<QByteArray>("field");
        QTest::addColumn<QByteArray>("record");
        QTest::newRow("Ja") << QByteArray("Ja") << QByteArray("\x22\x4A\x61\x22\x0D\x0A");
        QTest::newRow("empty") << QByteArray("") << QByteArray("\"\"\r\n");
    }
    void quotedRecord() {
        QFETCH(QByteArray, field);
        QFETCH(QByteArray, record);
        QCOMPARE(QByteArray::fromStdString(install::quotedFieldRecord(field.toStdString())),
                 record);
    }

    void recordReadsBackAsItsField() {
        const std::string record = install::quotedFieldRecord("Ja");
        QCOMPARE(firstDelimitedField(record, true), std::optional<std::string>("Ja"));
        QCOMPARE(firstDelimitedField("nej\r\n" + record, true), std::optional<std::string>("nej"));
    }
};

QTEST_GUILESS_MAIN(TestMarkerField)
#include "tst_markerfield.moc"
