#include "install/MarkerField.h"

#include <QTest>

class TestMarkerField : public QObject {
    Q_OBJECT

  private slots:
    void firstField_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("wholeFile");
        QTest::addColumn<QByteArray>("field");
        const QByteArray none("<none>");
        QTest::newRow("bare") << QByteArray("nej") << true << QByteArray("nej");
        QTest::newRow("CR LF") << QByteArray("nej\r\nJa") << true << QByteArray("nej");
        QTest::newRow("LF") << QByteArray("nej\nJa") << true << QByteArray("nej");
        QTest::newRow("comma") << QByteArray("nej,more") << true << QByteArray("nej");
        QTest::newRow("leading blanks") << QByteArray("\t nej") << true << QByteArray("nej");
        QTest::newRow("quoted") << QByteArray("  \"nej\",x") << true << QByteArray("nej");
        QTest::newRow("delimiters inside quotes")
            << QByteArray("\"n,e\r\nj\"") << true << QByteArray("n,e\r\nj");
        QTest::newRow("unclosed quote") << QByteArray("\"nej") << true << QByteArray("nej");
        QTest::newRow("trailing blank kept") << QByteArray("nej ,") << true << QByteArray("nej ");
        QTest::newRow("empty first field") << QByteArray(",nej") << true << QByteArray("");
        QTest::newRow("empty quotes") << QByteArray("\"\"") << true << QByteArray("");
        QTest::newRow("empty file") << QByteArray() << true << none;
        QTest::newRow("only blanks") << QByteArray("   \t") << true << none;
        QTest::newRow("cut off inside a field") << QByteArray("nej") << false << none;
        QTest::newRow("cut off inside quotes") << QByteArray("\"nej") << false << none;
        QTest::newRow("cut off after a comma") << QByteArray("nej,x") << false << QByteArray("nej");
        QTest::newRow("cut off after quotes")
            << QByteArray("\"nej\"x") << false << QByteArray("nej");
    }
    void firstField() {
        QFETCH(QByteArray, data);
        QFETCH(bool, wholeFile);
        QFETCH(QByteArray, field);
        const auto read = install::firstDelimitedField(
            std::string_view(data.constData(), data.size()), wholeFile);
        QCOMPARE(read ? QByteArray::fromStdString(*read) : QByteArray("<none>"), field);
    }
};

QTEST_GUILESS_MAIN(TestMarkerField)
#include "tst_markerfield.moc"
