#include "tone/KeyTracker.h"

#include <QTest>

using tone::KeyTracker;

namespace {

// Feeds every UTF-16 unit of `keys` and returns the timers armed, in order.
QList<int> feed(KeyTracker& tracker, const QString& keys) {
    QList<int> armed;
    for (QChar key : keys) {
        const int timer = tracker.keyPress(static_cast<std::int16_t>(key.unicode()));
        if (timer != KeyTracker::noTimer)
            armed << timer;
    }
    return armed;
}

} // namespace

class TestKeyTracker : public QObject {
    Q_OBJECT

  private slots:
    void startsWithNothingPending() {
        KeyTracker tracker;
        QCOMPARE(tracker.pendingVowel(), 0);
        QCOMPARE(tracker.lastKey(), 0);
    }

    void sequences_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QList<int>>("armed");
        QTest::addColumn<int>("pendingVowel");
        QTest::addColumn<int>("lastKey");

        QTest::newRow("a1") << "a1" << QList<int>{1} << 97 << 49;
        QTest::newRow("A4") << "A4" << QList<int>{7} << 65 << 52;
        QTest::newRow("y3") << "y3" << QList<int>{6} << 121 << 51;
        QTest::newRow("O2") << "O2" << QList<int>{11} << 79 << 50;
        QTest::newRow("later vowel counts") << "ae2" << QList<int>{2} << 101 << 50;
        QTest::newRow("consonant then digit") << "b1" << QList<int>{} << 0 << 49;
        QTest::newRow("digit 5 clears") << "a5" << QList<int>{} << 0 << 53;
        QTest::newRow("digit 0 clears") << "a0" << QList<int>{} << 0 << 48;
        QTest::newRow("Y is no vowel") << "Y1" << QList<int>{} << 0 << 49;
        QTest::newRow("v is no vowel") << "v1" << QList<int>{} << 0 << 49;
        QTest::newRow("space clears") << "a 1" << QList<int>{} << 0 << 49;
        QTest::newRow("backspace clears") << "a\b1" << QList<int>{} << 0 << 49;
        QTest::newRow("enter clears") << "a\r1" << QList<int>{} << 0 << 49;
        QTest::newRow("ctrl+V clears") << QStringLiteral("a\x16"
                                                         "1")
                                       << QList<int>{} << 0 << 49;
        QTest::newRow("digit first") << "1" << QList<int>{} << 0 << 49;
        QTest::newRow("accented letter is no vowel")
            << QStringLiteral("\u00E11") << QList<int>{} << 0 << 49;
        QTest::newRow("second digit arms again") << "a12" << QList<int>{1, 1} << 97 << 50;
        QTest::newRow("pinyin word") << "Ni3 ha3o" << QList<int>{4, 1} << 111 << 111;
        QTest::newRow("capital rows") << "E1I2U3" << QList<int>{8, 9, 10} << 85 << 51;
        QTest::newRow("digits 6 to 9") << "e6i7o8u9" << QList<int>{} << 0 << 57;
    }

    void sequences() {
        QFETCH(QString, keys);
        KeyTracker tracker;
        QTEST(feed(tracker, keys), "armed");
        QTEST(int(tracker.pendingVowel()), "pendingVowel");
        QTEST(int(tracker.lastKey()), "lastKey");
    }

    void everyVowelAndToneArmsItsRowsTimer() {
        const QString vowels = "aeoiuyAEIUO";
        for (int row = 1; row <= vowels.size(); ++row) {
            for (QChar digit : QStringLiteral("1234")) {
                KeyTracker tracker;
                QCOMPARE(feed(tracker, QString(vowels[row - 1]) + digit), QList<int>{row});
            }
        }
    }

    // Characters beyond ASCII arrive as 16-bit codes, the upper half of them negative.
    void wideAndNegativeCodesNeverArm() {
        for (int code : {-32768, -1, 0x2615, 0x7FFF, 9749, 6549}) {
            KeyTracker tracker;
            tracker.keyPress(static_cast<std::int16_t>('a'));
            QCOMPARE(tracker.keyPress(static_cast<std::int16_t>(code)), KeyTracker::noTimer);
            QCOMPARE(tracker.pendingVowel(), 0);
            QCOMPARE(tracker.lastKey(), static_cast<std::int16_t>(code));
            QCOMPARE(tracker.keyPress('1'), KeyTracker::noTimer);
        }
    }

    void clearingForgetsTheVowelButNotTheLastKey() {
        KeyTracker tracker;
        feed(tracker, "u");
        tracker.clearPendingVowel();
        QCOMPARE(tracker.pendingVowel(), 0);
        QCOMPARE(tracker.lastKey(), 117);
        QCOMPARE(feed(tracker, "3"), QList<int>{});
    }
};

QTEST_GUILESS_MAIN(TestKeyTracker)
#include "tst_keytracker.moc"
