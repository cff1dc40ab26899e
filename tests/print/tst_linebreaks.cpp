#include "print/LineBreaks.h"

#include <QTest>

class TestLineBreaks : public QObject {
    Q_OBJECT

  private slots:
    void toCrLf_data() {
        QTest::addColumn<QString>("plain");
        QTest::addColumn<QString>("crLf");

        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("no break") << "ni hao"
                                  << "ni hao";
        QTest::newRow("LF") << "a\nb"
                            << "a\r\nb";
        QTest::newRow("two LF") << "a\n\nb"
                                << "a\r\n\r\nb";
        QTest::newRow("final LF") << "a\n"
                                  << "a\r\n";
        QTest::newRow("leading LF") << "\na"
                                    << "\r\na";
        QTest::newRow("paragraph separator") << QStringLiteral("a\u2029b") << "a\r\nb";
        QTest::newRow("line separator") << QStringLiteral("a\u2028b") << "a\r\nb";
        QTest::newRow("CR LF stays one break") << "a\r\nb"
                                               << "a\r\nb";
        QTest::newRow("lone CR stays") << "a\rb"
                                       << "a\rb";
        QTest::newRow("final lone CR stays") << "a\r"
                                             << "a\r";
        QTest::newRow("CR then CR LF") << "a\r\r\nb"
                                       << "a\r\r\nb";
        QTest::newRow("LF CR") << "a\n\rb"
                               << "a\r\n\rb";
        QTest::newRow("tone glyphs untouched")
            << QStringLiteral("n\u00ED h\u00E4o\n") << QStringLiteral("n\u00ED h\u00E4o\r\n");
    }

    void toCrLf() {
        QFETCH(QString, plain);
        QFETCH(QString, crLf);
        QCOMPARE(print::toCrLf(plain), crLf);
    }
};

QTEST_GUILESS_MAIN(TestLineBreaks)
#include "tst_linebreaks.moc"
