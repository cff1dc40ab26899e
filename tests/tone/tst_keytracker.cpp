#include "tone/KeyTracker.h"

#include <QTest>

using tone::KeyTracker;

class TestKeyTracker : public QObject {
    Q_OBJECT

  private slots:
    // Characters beyond ASCII arrive as 16-bit codes, the upper half of them negative.
    void sequences_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QList<int>>("armed");
        QTest::addColumn<int>("pendingVowel");
        QTest::addColumn<int>("lastKey");

        QTest::newRow("every row") << "a1e2o3i4u1y2A3E4I1U2O3"
                                   << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11} << 79 << 51;
        QTest::newRow("later vowel counts") << "ae2" << QList<int>{2} << 101 << 50;
        QTest::newRow("consonant then digit") << "b1" << QList<int>{} << 0 << 49;
        QTest::newRow("digit 5 clears") << "a5" << QList<int>{} << 0 << 53;
        QTest::newRow("digit 0 clears") << "a0" << QList<int>{} << 0 << 48;
        QTest::newRow("Y is no vowel") << "Y1" << QList<int>{} << 0 << 49;
        QTest::newRow("v is no vowel") << "v1" << QList<int>{} << 0 << 49;
        QTest::newRow("space clears") << "a 1" << QList<int>{} << 0 << 49;
        QTest::newRow("backspace clears") << "a\b1" << QList<int>{} << 0 << 49;
        QTest::newRow("accented letter is no vowel")
            << QStringLiteral("\u00E11") << QList<int>{} << 0 << 49;
        QTest::newRow("second digit arms again") << "a12" << QList<int>{1, 1} << 97 << 50;
        QTest::newRow("pinyin word") << "Ni3 ha3o" << QList<int>{4, 1} << 111 << 111;
        QTest::newRow("digits 6 to 9") << "e6i7o8u9" << QList<int>{} << 0 << 57;
        QTest::newRow("negative code") << QStringLiteral("a\uFFFF1") << QList<int>{} << 0 << 49;
        QTest::newRow("most negative code")
            << QStringLiteral("a\u80001") << QList<int>{} << 0 << 49;
        QTest::newRow("code of a1") << QStringLiteral("a\u26151") << QList<int>{} << 0 << 49;
    }

    void sequences() {
        QFETCH(QString, keys);
        KeyTracker tracker;
        QList<int> armed;
        for (QChar key : keys) {
            const int timer = tracker.keyPress(static_cast<std::int16_t>(key.unicode()));
            if (timer != KeyTracker::noTimer)
                armed << timer;
        }
        QTEST(armed, "armed");
        QTEST(int(tracker.pendingVowel()), "pendingVowel");
        QTEST(int(tracker.lastKey()), "lastKey");
    }

    void clearingForgetsTheVowelButNotTheLastKey() {
        KeyTracker tracker;
        tracker.keyPress('u');
        tracker.clearPendingVowel();
        QCOMPARE(tracker.lastKey(), 117);
        QCOMPARE(tracker.keyPress('3'), KeyTracker::noTimer);
    }
};

QTEST_GUILESS_MAIN(TestKeyTracker)
#include "tst_keytracker.moc"
