#include "install/FileNumbers.h"

#include <QTest>

using install::FileNumbers;

class TestFileNumbers : public QObject {
    Q_OBJECT

  private slots:
    void lowestFreeNumberComesFirst() {
        FileNumbers numbers;
        QCOMPARE(numbers.freeNumber(), 1);
        QVERIFY(numbers.open(1));
        QVERIFY(numbers.open(3));
        QCOMPARE(numbers.freeNumber(), 2);
        numbers.close(1);
        QCOMPARE(numbers.freeNumber(), 1);
    }

    void heldOrInvalidNumbersDoNotOpen_data() {
        QTest::addColumn<int>("number");
        QTest::newRow("zero") << 0;
        QTest::newRow("negative") << -1;
        QTest::newRow("256") << 256;
        QTest::newRow("held") << 5;
    }
    void heldOrInvalidNumbersDoNotOpen() {
        QFETCH(int, number);
        FileNumbers numbers;
        QVERIFY(numbers.open(5));
        QVERIFY(!numbers.open(number));
        numbers.close(number == 5 ? 0 : number);
        QCOMPARE(numbers.freeNumber(), 1);
    }

    void allHeldLeavesNoneFree() {
        FileNumbers numbers;
        for (int number = FileNumbers::lowest; number <= FileNumbers::highest; ++number)
            QVERIFY(numbers.open(number));
        QCOMPARE(numbers.freeNumber(), 0);
        numbers.close(255);
        QCOMPARE(numbers.freeNumber(), 255);
        numbers.closeAll();
        QCOMPARE(numbers.freeNumber(), 1);
        QVERIFY(numbers.open(255));
    }
};

QTEST_GUILESS_MAIN(TestFileNumbers)
#include "tst_filenumbers.moc"
