#include "tone/GlyphTables.h"
#include "tone/KeyTracker.h"
#include "tone/ReplacementTick.h"

#include <QTest>

using namespace tone;

namespace {

// The editor as the core sees it: keys typed at the end arm timers, ticks edit the end.
struct Editor {
    KeyTracker tracker;
    QString text;
    QList<int> armed;

    void type(const QString& keys) {
        for (QChar key : keys) {
            if (int timer = tracker.keyPress(static_cast<std::int16_t>(key.unicode())))
                armed << timer;
            text += key;
        }
    }

    void tick(int row) {
        armed.removeAll(row);
        const std::u16string whole = text.toStdU16String();
        if (const auto edit = replacementTick(tracker, row, whole)) {
            text.chop(edit->removeUnits);
            text += QChar(edit->glyph);
        }
    }

    void tickAll() {
        while (!armed.isEmpty())
            tick(armed.first());
    }
};

} // namespace

class TestReplacementTick : public QObject {
    Q_OBJECT

  private slots:
    void typing_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QStringList>("bursts");
        QTest::addColumn<QString>("after");

        // Each burst is typed faster than the timer; the ticks come after it.
        QTest::newRow("m then a1") << "m" << QStringList{"a1"} << QStringLiteral("m\u00E1");
        QTest::newRow("y4 differs from u4")
            << "" << QStringList{"y4", "u4"} << QStringLiteral("\u00FC\u00F5");
        QTest::newRow("consonant before tick") << "" << QStringList{"a1b"} << "a1b";
        QTest::newRow("vowel before tick") << "" << QStringList{"a1e"} << "a1e";
        QTest::newRow("second digit before tick")
            << "" << QStringList{"a12"} << QStringLiteral("a\u00E0");
        QTest::newRow("fast pair is one tick late") << "" << QStringList{"a1e2"} << "a1e2";
        QTest::newRow("pinyin") << "" << QStringList{"Ni3", " ", "ha3", "o"}
                                << QStringLiteral("N\u00ED h\u00E2o");
        QTest::newRow("after a line break")
            << "ni\r\n"
            << QStringList{"ma1"} << QStringLiteral("ni\r\nm\u00E1");
    }

    void typing() {
        QFETCH(QString, before);
        Editor editor;
        editor.text = before;
        QFETCH(QStringList, bursts);
        for (const QString& burst : bursts) {
            editor.type(burst);
            editor.tickAll();
        }
        QTEST(editor.text, "after");
    }

    // The tick takes the last two characters of the whole text, wherever the caret was.
    void caretInsideTextStillEditsTheEnd() {
        Editor editor;
        editor.text = "xyz";
        editor.tracker.keyPress('a');
        QCOMPARE(editor.tracker.keyPress('1'), 1);
        editor.text = "xa1yz";
        editor.tick(1);
        QCOMPARE(editor.text, QStringLiteral("xa1\u00E1"));
    }

    void tickForgetsVowelEvenWithoutReplacing() {
        Editor editor;
        editor.type("a1e");
        editor.tick(1);
        QCOMPARE(editor.tracker.pendingVowel(), 0);
        editor.type("2");
        QVERIFY(editor.armed.isEmpty());
        QCOMPARE(editor.text, "a1e2");
    }

    void onlyAVowelAndDigitReplace_data() {
        QTest::addColumn<int>("lastKey");
        QTest::newRow("negative") << -1;
        QTest::newRow("code of a1 as a character") << 9749;
        QTest::newRow("digit zero") << int('0');
    }

    // With nothing pending, U+2615 would read as the pair code 9749 of a1.
    void onlyAVowelAndDigitReplace() {
        QFETCH(int, lastKey);
        for (QString first : {"a", "O", ""}) {
            Editor editor;
            editor.type(first + "1");
            editor.tracker.keyPress(static_cast<std::int16_t>(lastKey));
            editor.text += "?";
            editor.tick(1);
            editor.tick(11);
            QCOMPARE(editor.text, first + "1?");
        }
    }

    void halfPairsAreNeverLeft_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("removed");
        QTest::newRow("plain") << "abc" << 2;
        QTest::newRow("ends in line break") << "ab\r\n" << 2;
        QTest::newRow("cut inside line break") << "ab\r\nq" << 3;
        QTest::newRow("cut inside surrogate pair") << QStringLiteral("a\U0001F600q") << 3;
        QTest::newRow("ends in surrogate pair") << QStringLiteral("a\U0001F600") << 2;
        QTest::newRow("exactly two") << "a1" << 2;
        QTest::newRow("too short") << "1" << 0;
        QTest::newRow("empty") << "" << 0;
    }

    void halfPairsAreNeverLeft() {
        QFETCH(QString, text);
        KeyTracker tracker;
        tracker.keyPress('a');
        tracker.keyPress('3');
        const auto edit = replacementTick(tracker, 1, text.toStdU16String());
        QCOMPARE(tracker.pendingVowel(), 0);
        QTEST(edit ? edit->removeUnits : 0, "removed");
        QVERIFY(!edit || edit->glyph == u'\u00E2');
    }

    // The window hands over only the end of a long text; the answer must not depend on the rest.
    void endOfTextSuffices() {
        const QString tail = "xa1";
        KeyTracker whole, end;
        for (auto* tracker : {&whole, &end}) {
            tracker->keyPress('a');
            tracker->keyPress('1');
        }
        const auto fromWhole =
            replacementTick(whole, 1, (QString(100000, 'z') + tail).toStdU16String());
        const auto fromEnd = replacementTick(end, 1, tail.toStdU16String());
        QVERIFY(fromWhole && fromEnd);
        QCOMPARE(fromWhole->removeUnits, fromEnd->removeUnits);
        QCOMPARE(fromWhole->glyph, fromEnd->glyph);
    }
};

QTEST_GUILESS_MAIN(TestReplacementTick)
#include "tst_replacementtick.moc"
