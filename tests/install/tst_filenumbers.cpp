#include "install/FileNumbers.h"

#include <QTest>

class TestFileNumbers : public QObject {
    Q_OBJECT

  private slots:
    void numbersOneTo255() {
        install::FileNumbers numbers;
        QVERIFY(!numbers.open(0));
        QVERIFY(!numbers.open(256));
        for (int number = 1; number <= 255; ++number) {
            QCOMPARE(numbers.freeNumber(), number);
            QVERIFY(numbers.open(number));
        }
        QCOMPARE(numbers.freeNumber(), 0);
        QVERIFY(!numbers.open(7));
        numbers.close(7);
        QCOMPARE(numbers.freeNumber(), 7);
        QVERIFY(numbers.open(7));
        numbers.closeAll();
        QCOMPARE(numbers.freeNumber(), 1);
    }
};

QTEST_GUILESS_MAIN(TestFileNumbers)
#include "tst_filenumbers.moc"
