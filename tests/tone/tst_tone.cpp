#include "tone/GlyphTables.h"
#include "tone/KeyTracker.h"
#include "tone/NumberedPinyin.h"
#include "tone/ReplacementTick.h"
#include "tone/UnicodePinyin.h"

#include <QRandomGenerator>
#include <QTest>

using namespace tone;

namespace {

struct Row {
    const char* name;
    char16_t vowel;
    const char16_t* glyphs;
    const char16_t* letters;
};

// The letters as a pinyin reader writes them, each precomposed; the glyph codes as typed in.
const Row rows[] = {
    {"a", u'a', u"\u00E1\u00E0\u00E2\u00E4", u"āáǎà"},
    {"e", u'e', u"\u00E3\u00E5\u00E7\u00E9", u"ēéěè"},
    {"o", u'o', u"\u00EE\u00EF\u00F1\u00F3", u"ōóǒò"},
    {"i", u'i', u"\u00EA\u00EB\u00ED\u00EC", u"īíǐì"},
    {"u", u'u', u"\u00F2\u00F4\u00F6\u00F5", u"ūúǔù"},
    {"y", u'y', u"\u00FA\u00F9\u00FB\u00FC", u"ǖǘǚǜ"},
    {"A", u'A', u"\u00A2\u00C1\u00A7\u00C0", u"ĀÁǍÀ"},
    {"E", u'E', u"\u00B6\u00C9\u00AE\u00C8", u"ĒÉĚÈ"},
    {"I", u'I', u"\u00B4\u00CD\u00CF\u00CC", u"ĪÍǏÌ"},
    {"U", u'U', u"\u00AA\u00DA\u00B5\u00D9", u"ŪÚǓÙ"},
    {"O", u'O', u"\u00D8\u00D3\u00B1\u00D2", u"ŌÓǑÒ"},
};

QString toUnicode(const QString& text) {
    return QString::fromStdU16String(toUnicodePinyin(text.toStdU16String()));
}

QString fromUnicode(const QString& text) {
    return QString::fromStdU16String(fromUnicodePinyin(text.toStdU16String()));
}

QString allOf(const char16_t* Row::*column) {
    QString text;
    for (const Row& row : rows)
        text += QString::fromUtf16(row.*column);
    return text;
}

QString printableAscii() {
    QString text;
    for (char16_t c = 0x20; c < 0x7F; ++c)
        text += QChar(c);
    return text;
}

QString randomText(const QString& alphabet, int length) {
    QRandomGenerator random(7);
    QString text;
    text.reserve(length);
    for (int i = 0; i < length; ++i)
        text += alphabet[random.bounded(alphabet.size())];
    return text;
}

// Typed one character at a time, each digit acting on what is already there.
QString typed(const QString& keys) {
    std::u16string text;
    for (const QChar key : keys) {
        const auto edit = NumberedPinyin::toneDigit(text, key.unicode());
        if (edit) {
            const std::size_t start = text.size() - edit->syllableUnits;
            text.replace(start, edit->syllableUnits, edit->marked(text.substr(start)));
        } else {
            text.push_back(key.unicode());
        }
    }
    return QString::fromStdU16String(text);
}

QString converted(const QString& text) {
    return QString::fromStdU16String(NumberedPinyin::convert(text.toStdU16String()));
}

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

// The window-free core: key tracker, replacement tick, Unicode pinyin and tone numbers.
class TestTone : public QObject {
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

    void eachRowBothWays_data() {
        QTest::addColumn<QChar>("vowel");
        QTest::addColumn<QString>("glyphs");
        QTest::addColumn<QString>("letters");
        for (const Row& row : rows) {
            QTest::newRow(row.name) << QChar(row.vowel) << QString::fromUtf16(row.glyphs)
                                    << QString::fromUtf16(row.letters);
        }
    }

    void eachRowBothWays() {
        QFETCH(QChar, vowel);
        QFETCH(QString, glyphs);
        QFETCH(QString, letters);
        QCOMPARE(letters.size(), toneCount);
        QCOMPARE(toUnicode(glyphs), letters);
        QCOMPARE(fromUnicode(letters), glyphs);
        const int row = rowOfVowel(vowel.unicode());
        for (int tone = 1; tone <= toneCount; ++tone) {
            QCOMPARE(QChar(unicodeLetter(row, tone)), letters[tone - 1]);
            QCOMPARE(QChar(glyph(row, tone)), glyphs[tone - 1]);
        }
    }

    void combiningSequences_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("glyphs");
        QTest::newRow("macron") << QStringLiteral("a\u0304") << QStringLiteral("\u00E1");
        QTest::newRow("acute") << QStringLiteral("a\u0301") << QStringLiteral("\u00E0");
        QTest::newRow("grave") << QStringLiteral("a\u0300") << QStringLiteral("\u00E4");
        QTest::newRow("u-umlaut and mark")
            << QStringLiteral("\u00FC\u0304") << QStringLiteral("\u00FA");
        QTest::newRow("u, diaeresis, mark")
            << QStringLiteral("u\u0308\u030C") << QStringLiteral("\u00FB");
        QTest::newRow("precomposed u-umlaut with tone")
            << QStringLiteral("ǘ") << QStringLiteral("\u00F9");
        QTest::newRow("second mark stays")
            << QStringLiteral("a\u0301\u0301") << QStringLiteral("\u00E0\u0301");
        QTest::newRow("macron before diaeresis")
            << QStringLiteral("u\u0304\u0308") << QStringLiteral("\u00F2\u0308");
        QTest::newRow("lüsè decomposed")
            << QStringLiteral("lu\u0308\u0300se\u0300") << QStringLiteral("l\u00FCs\u00E9");
    }

    void combiningSequences() {
        QFETCH(QString, input);
        QFETCH(QString, glyphs);
        QCOMPARE(fromUnicode(input), glyphs);
    }

    void lettersWithoutGlyphStay_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("m-acute") << QStringLiteral("ḿ");
        QTest::newRow("capital u-umlaut with macron") << QStringLiteral("Ǖ");
        QTest::newRow("capital U, diaeresis, mark") << QStringLiteral("U\u0308\u0304");
        QTest::newRow("u, diaeresis, no tone") << QStringLiteral("nu\u0308");
        QTest::newRow("mark first") << QStringLiteral("\u0301a");
        QTest::newRow("mark on a digit") << QStringLiteral("3\u0300");
    }

    void lettersWithoutGlyphStay() {
        QFETCH(QString, text);
        QCOMPARE(fromUnicode(text), text);
    }

    // Either direction leaves text alone when it holds nothing to convert.
    void textWithoutToneLetters_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("ascii") << printableAscii();
        QTest::newRow("latin-1 outside the table")
            << QStringLiteral("\u00E6\u00F0\u00F7\u00F8\u00FF\u00A1");
        QTest::newRow("surrogate pair") << QStringLiteral("a\U0001F600b");
        QTest::newRow("lone high surrogate") << QString(QChar(0xD800)) + "a";
        QTest::newRow("lone low surrogate") << "o" + QString(QChar(0xDC00)) + "\u0301";
    }

    void textWithoutToneLetters() {
        QFETCH(QString, text);
        QCOMPARE(fromUnicode(text), text);
        QCOMPARE(toUnicode(text), text);
    }

    // Glyph codes and tone letters share part of Latin-1, with different meanings.
    void bothWays_data() {
        QTest::addColumn<QString>("glyphs");
        QTest::addColumn<QString>("letters");
        QTest::newRow("a1 sits on a-acute") << QStringLiteral("\u00E1") << QStringLiteral("ā");
        QTest::newRow("y4 sits on u-umlaut") << QStringLiteral("\u00FC") << QStringLiteral("ǜ");
        QTest::newRow("typed Ni3 ha3o")
            << QStringLiteral("N\u00ED h\u00E2o") << QStringLiteral("Nǐ hǎo");
    }

    void bothWays() {
        QFETCH(QString, glyphs);
        QFETCH(QString, letters);
        QCOMPARE(toUnicode(glyphs), letters);
        QCOMPARE(fromUnicode(letters), glyphs);
    }

    // Letters that share their code with a glyph are held decomposed and leave composed again.
    void lookalikeLetters_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("held");
        QTest::newRow("España") << QStringLiteral("España") << QStringLiteral("Espan\u0303a");
        QTest::newRow("ê with macron stays a mark")
            << QStringLiteral("ê\u0304") << QStringLiteral("e\u0302\u0304");
        QTest::newRow("every lookalike")
            << QStringLiteral("âãäåçêëîïñôõöûüÏ")
            << QStringLiteral("a\u0302a\u0303a\u0308a\u030Ac\u0327e\u0302e\u0308i\u0302i\u0308"
                              "n\u0303o\u0302o\u0303o\u0308u\u0302u\u0308I\u0308");
    }

    void lookalikeLetters() {
        QFETCH(QString, text);
        QFETCH(QString, held);
        QCOMPARE(fromUnicode(text), held);
        QCOMPARE(toUnicode(held), text);
    }

    void lookalikeSigns_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("signs");
        QTest::newRow("none") << QStringLiteral("Nǐ hǎo, España ü") << QString();
        QTest::newRow("each once, in order")
            << QStringLiteral("±5 µm, ¢ § ¶ ® ´ ª Ø ¢") << QStringLiteral("¢§ª®±´µ¶Ø");
    }

    void lookalikeSigns() {
        QFETCH(QString, text);
        QFETCH(QString, signs);
        QCOMPARE(QString::fromStdU16String(glyphLookalikeSigns(text.toStdU16String())), signs);
    }

    // A million characters would take hours if either direction were quadratic.
    void longTextRoundTrips() {
        const QString letters = randomText(allOf(&Row::letters) + printableAscii(), 1'000'000);
        const QString glyphs = fromUnicode(letters);
        QCOMPARE(glyphs.size(), letters.size());
        QCOMPARE(toUnicode(glyphs), letters);
    }

    // Expected text in Unicode pinyin; typed live and converted in bulk alike.
    void toneAfterTheSyllable_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pinyin");
        QTest::newRow("sentence") << "ni3 hao3 Zhong1guo2 lv4 ma5 mp3"
                                  << QStringLiteral("nǐ hǎo Zhōngguó lǜ ma mp3");
        QTest::newRow("on a") << "xiao3" << QStringLiteral("xiǎo");
        QTest::newRow("on e") << "xue2 mei2" << QStringLiteral("xué méi");
        QTest::newRow("on the o of ou") << "lou2 you3" << QStringLiteral("lóu yǒu");
        QTest::newRow("on the last vowel") << "liu2 gui4 duo1" << QStringLiteral("liú guì duō");
        QTest::newRow("each tone") << "a1a2a3a4" << QStringLiteral("āáǎà");
        QTest::newRow("longest ending") << "xian1 er2" << QStringLiteral("xiān ér");
        QTest::newRow("reach past a long run")
            << "qqqqqqqzhuang1" << QStringLiteral("qqqqqqqzhuāng");
        QTest::newRow("after a line break") << "ni\nhao3" << QStringLiteral("ni\nhǎo");
        QTest::newRow("glyph before the syllable")
            << QStringLiteral("Zh\u00EEngguo2") << QStringLiteral("Zhōngguó");
        QTest::newRow("u-umlaut as v") << "lv4 nv3" << QStringLiteral("lǜ nǚ");
        QTest::newRow("u-umlaut as u:") << "lu:4 Nu:3" << QStringLiteral("lǜ Nǚ");
        QTest::newRow("capitals") << "HAO3 Hao3 An4 OU1 hEI1"
                                  << QStringLiteral("HǍO Hǎo Àn ŌU hĒI");
        QTest::newRow("neutral tone") << "ma5 MA5 r5 er5"
                                      << "ma MA r er";
        QTest::newRow("erhua keeps 1 to 4") << "r1 r4"
                                            << "r1 r4";
        QTest::newRow("unmarked u-umlaut") << "lve4 nu:e4"
                                           << "lve4 nu:e4";
        QTest::newRow("capital u-umlaut") << "LV4 LU:3"
                                          << "LV4 LU:3";
        QTest::newRow("neutral u-umlaut") << "lv5"
                                          << "lv5";
        QTest::newRow("no syllable") << "mp3 abc3 2024 x1 ly4"
                                     << "mp3 abc3 2024 x1 ly4";
        QTest::newRow("interjections") << "m2 n3 ng4 hm1 hng2"
                                       << "m2 n3 ng4 hm1 hng2";
        QTest::newRow("not a tone digit") << "ma0 ma6 ma9"
                                          << "ma0 ma6 ma9";
        QTest::newRow("colon without u") << "la:3 :3"
                                         << "la:3 :3";
        QTest::newRow("digit after a blank") << "ma 3"
                                             << "ma 3";
    }

    void toneAfterTheSyllable() {
        QFETCH(QString, text);
        QFETCH(QString, pinyin);
        QCOMPARE(toUnicode(typed(text)), pinyin);
        QCOMPARE(toUnicode(converted(text)), pinyin);
        QCOMPARE(NumberedPinyin::changes(text.toStdU16String()), converted(text) != text);
    }
};

QTEST_GUILESS_MAIN(TestTone)
#include "tst_tone.moc"
