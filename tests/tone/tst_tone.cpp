#include "tone/KeyTracker.h"
#include "tone/MarkedPinyin.h"
#include "tone/NumberedPinyin.h"
#include "tone/ReplacementTick.h"
#include "tone/ToneSearch.h"
#include "tone/UnicodePinyin.h"

#include "TestSupport.h"

#include <algorithm>

using namespace tone;
using namespace Qt::StringLiterals;

namespace {

// The glyph codes of the rows a e o i u y A E I U O, tones 1 to 4, and the letters they stand for.
const QString glyphCodes = u"áàâäãåçéîïñóêëíìòôöõúùûü¢Á§À¶É®È´ÍÏÌªÚµÙØÓ±Ò"_s;
const QString toneLetters = u"āáǎàēéěèōóǒòīíǐìūúǔùǖǘǚǜĀÁǍÀĒÉĚÈĪÍǏÌŪÚǓÙŌÓǑÒ"_s;

template <typename Convert> QString run(Convert convert, const QString& text) {
    return QString::fromStdU16String(convert(text.toStdU16String()));
}

// Typed one key at a time, each tone digit acting on the text before it.
QString typed(const QString& keys) {
    std::u16string text;
    for (const char16_t key : keys.toStdU16String()) {
        const auto edit = NumberedPinyin::toneDigit(text, key);
        const std::size_t start = text.size() - (edit ? edit->syllableUnits : 0);
        text.replace(start, text.npos, edit ? edit->marked : std::u16string{key});
    }
    return QString::fromStdU16String(text);
}

} // namespace

class TestTone : public QObject {
    Q_OBJECT

    // Letters on the stack below the caller: a read of scratch letters never filled in shows.
    [[gnu::noinline]] void litter() {
        volatile char stack[4096];
        std::fill_n(stack, 4096, 'e');
    }

  private slots:
    // A burst is keys typed faster than the timer, so its timers tick after its last key; the text
    // at the tick, where given, stands for edits the tracker never sees. Key codes over 0x7FFF
    // come negative.
    void typing_data() {
        columns<QStringList, QString, QString, QChar>({"bursts", "atTick", "after", "vowel"});
        QTest::addRow("every tone vowel, y for ü, becomes its glyph with a digit")
            << QStringList{"a1", "e2", "o3", "i4", "u1", "y2", "A3", "E4", "I1", "U2", "O3"}
            << QString() << u"áåñìòù§È´Ú±"_s << QChar();
        QTest::addRow("the digit marks the vowel right before it")
            << QStringList{"ma1"} << QString() << u"má"_s << QChar();
        QTest::addRow("of two vowels only the last is marked")
            << QStringList{"ae2"} << QString() << u"aå"_s << QChar();
        QTest::addRow("a second digit before the tick gives its tone")
            << QStringList{"a12"} << QString() << u"aà"_s << QChar();
        QTest::addRow("a letter between digit and tick cancels")
            << QStringList{"a1a"} << QString() << "a1a" << QChar();
        QTest::addRow("the tick forgets a vowel typed after the digit")
            << QStringList{"a1e", "2"} << QString() << "a1e2" << QChar();
        QTest::addRow("two vowel and digit pairs before one tick mark neither")
            << QStringList{"a1e2"} << QString() << "a1e2" << QChar();
        QTest::addRow("U+2615 after the digit cancels though its code spells 9749")
            << QStringList{u"a1\u2615"_s} << QString() << u"a1\u2615"_s << QChar();
        QTest::addRow("neither capital Y nor a glyph is a tone vowel")
            << QStringList{u"Y1á1"_s} << QString() << u"Y1á1"_s << QChar();
        QTest::addRow("0 is no tone digit") << QStringList{"a0"} << QString() << "a0" << QChar();
        QTest::addRow("5 is no tone digit") << QStringList{"a5"} << QString() << "a5" << QChar();
        QTest::addRow("syllables typed in turn are marked, the last vowel left pending")
            << QStringList{"Ni3", " ", "ha3", "o"} << QString() << u"Ní hâo"_s << QChar(u'o');
        QTest::addRow("the tick replaces the last two units, whatever they are")
            << QStringList{"a3"} << "abc" << u"aâ"_s << QChar();
        QTest::addRow("a space, U+FFFF or U+8000 between vowel and digit cancels")
            << QStringList{u"a 1a\uFFFF1a\u80001"_s} << QString() << u"a 1a\uFFFF1a\u80001"_s
            << QChar();
        QTest::addRow("a line break before the syllable stays")
            << QStringList{"ni\r\nma1"} << QString() << u"ni\r\nmá"_s << QChar();
        QTest::addRow("a CR LF that is the last two units is replaced")
            << QStringList{"a3"} << u"ab\r\n"_s << u"abâ"_s << QChar();
        QTest::addRow("a CR LF the cut would halve goes whole")
            << QStringList{"a3"} << "ab\r\nq" << u"abâ"_s << QChar();
        QTest::addRow("a surrogate pair the cut would halve goes whole")
            << QStringList{"a3"} << u"a\U0001F600q"_s << u"aâ"_s << QChar();
        QTest::addRow("a surrogate pair that is the last two units is replaced")
            << QStringList{"a3"} << u"a\U0001F600"_s << u"aâ"_s << QChar();
        QTest::addRow("U+10000 the cut would halve goes whole")
            << QStringList{"a3"} << u"a\U00010000q"_s << u"aâ"_s << QChar();
        QTest::addRow("U+10FFFF the cut would halve goes whole")
            << QStringList{"a3"} << u"a\U0010FFFFq"_s << u"aâ"_s << QChar();
        QTest::addRow("a single unit of text is left as it is")
            << QStringList{"a3"} << u"1"_s << u"1"_s << QChar();
    }
    void typing() {
        QFETCH(QStringList, bursts);
        QFETCH(QString, atTick);
        KeyTracker tracker;
        QString edited;
        for (const QString& burst : bursts) {
            QList<int> armed; // a timer armed twice ticks once
            for (const QChar key : burst) {
                const int timer = tracker.keyPress(std::int16_t(key.unicode()));
                if (timer && !armed.contains(timer))
                    armed << timer;
            }
            edited = atTick.isEmpty() ? edited + burst : atTick;
            for (const int row : armed) {
                if (const auto edit = replacementTick(tracker, row, edited.toStdU16String()))
                    edited = edited.chopped(edit->removeUnits) + QChar(edit->glyph);
            }
        }
        QTEST(edited, "after");
        QTEST(QChar(char16_t(tracker.pendingVowel())), "vowel");
    }

    // Holder texts; table and ASCII both ways, a million characters in linear time (quadratic
    // would take hours); lookalike signs named once each, tone letters and lookalikes not.
    void glyphTables() {
        QString holders, ascii;
        for (int row = 1; row <= rowCount; ++row)
            holders += QString::fromStdU16String(glyphTable(row));
        QCOMPARE(holders, glyphCodes);
        for (char16_t c = 0x20; c < 0x7F; ++c)
            ascii += QChar(c);
        const QString letters = (toneLetters + ascii).repeated(7500);
        const QString glyphs = (glyphCodes + ascii).repeated(7500);
        QCOMPARE(run(fromUnicodePinyin, letters), glyphs);
        QCOMPARE(run(toUnicodePinyin, glyphs), letters);
        QCOMPARE(run(glyphLookalikeSigns, u"±5 µm, ¢ § ¶ ® ´ ª Ø ¢ é ñ ü"_s), u"¢§ª®±´µ¶Ø"_s);
    }

    // One way where the glyphs read back precomposed rather than as the letters were written.
    void conversion_data() {
        columns<QString, QString, bool>({"letters", "glyphs", "oneWay"});
        QTest::addRow("a with a combining mark becomes its glyph")
            << u"a\u0304a\u0301a\u0300"_s << u"áàä"_s << true;
        QTest::addRow("ü, or u and a diaeresis, with a mark becomes a ü glyph")
            << u"ü\u0304u\u0308\u030C"_s << u"úû"_s << true;
        QTest::addRow("a second mark stays beside the glyph")
            << u"a\u0301\u0301"_s << u"à\u0301"_s << true;
        QTest::addRow("Latin-1 letters that are no glyph codes pass")
            << u"æð÷øÿ¡"_s << u"æð÷øÿ¡"_s << false;
        QTest::addRow("a diaeresis after the tone mark makes no ü")
            << u"u\u0304\u0308"_s << u"ò\u0308"_s << true;
        QTest::addRow("marks inside words become glyphs")
            << u"lu\u0308\u0300se\u0300"_s << u"lüsé"_s << true;
        QTest::addRow("decomposed capital Ǖ has no glyph and keeps its marks")
            << u"U\u0308\u0304"_s << u"U\u0308\u0304"_s << true;
        QTest::addRow("ḿ has no glyph and stays") << u"ḿ"_s << u"ḿ"_s << false;
        QTest::addRow("precomposed Ǖ has no glyph and stays") << u"Ǖ"_s << u"Ǖ"_s << false;
        QTest::addRow("ü with no tone stays decomposed") << u"nu\u0308"_s << u"nu\u0308"_s << true;
        QTest::addRow("a mark before any letter stays") << u"\u0301a"_s << u"\u0301a"_s << false;
        QTest::addRow("a mark on a digit stays") << u"3\u0300"_s << u"3\u0300"_s << false;
        QTest::addRow("a surrogate pair and a lone high surrogate pass")
            << u"a\U0001F600b\xD800z"_s << u"a\U0001F600b\xD800z"_s << false;
        QTest::addRow("empty text stays empty") << QString() << QString() << false;
        QTest::addRow("a lone low surrogate parts a mark from its letter")
            << u"o\xDC00\u0301"_s << u"o\xDC00\u0301"_s << false;
        QTest::addRow("Latin-1 letters that are glyph codes come in decomposed")
            << u"âãäåçêëîïñôõöûüÏ"_s
            << u"a\u0302a\u0303a\u0308a\u030Ac\u0327e\u0302e\u0308i\u0302"
               u"i\u0308n\u0303o\u0302o\u0303o\u0308u\u0302u\u0308I\u0308"_s
            << false;
    }
    void conversion() {
        QFETCH(QString, letters);
        QFETCH(QString, glyphs);
        QFETCH(bool, oneWay);
        QCOMPARE(run(fromUnicodePinyin, letters), glyphs);
        if (!oneWay)
            QCOMPARE(run(toUnicodePinyin, glyphs), letters);
    }

    // Numbered pinyin, typed live and converted alike, and the Unicode pinyin it becomes.
    void numbered_data() {
        columns<QString, QString>({"text", "pinyin"});
        QTest::addRow("the mark goes on a, e, the o of ou, else the last vowel")
            << "ni3 hao3 xue2 lou2 liu2 gui4 Zhong1guo2" << u"nǐ hǎo xué lóu liú guì Zhōngguó"_s;
        QTest::addRow("a syllable ends at a tone glyph") << u"Zhîngguo2"_s << u"Zhōngguó"_s;
        QTest::addRow("each digit ends a syllable") << "a1a2a3a4" << u"āáǎà"_s;
        QTest::addRow("a syllable starts after a line break") << "ni\nhao3" << u"ni\nhǎo"_s;
        QTest::addRow("a syllable ending a long run of letters is marked")
            << "qqqqqqqzhuang1" << u"qqqqqqqzhuāng"_s;
        QTest::addRow("capitals take marks and keep their case")
            << "HAO3 An4 OU1 hEI1" << u"HǍO Àn ŌU hĒI"_s;
        QTest::addRow("tone 5 drops the digit and marks nothing")
            << "ma5 MA5 r5 er5" << u"ma MA r er"_s;
        QTest::addRow("ü written v or u: takes the mark") << "lv4 lu:4 Nu:3" << u"lǜ lǜ Nǚ"_s;
        QTest::addRow("ü beside the marked vowel is written ü")
            << "lve4 lu:e4 nu:e4" << u"lüè lüè nüè"_s;
        QTest::addRow("ü in the neutral tone is written ü") << "nu:5 nv5" << u"nü nü"_s;
        QTest::addRow("capital Ü is marked, or written Ü beside the marked vowel")
            << "Lu:e4 LV4 NU:E4 LU:3" << u"Lüè LǛ NÜÈ LǙ"_s;
        QTest::addRow("m, n, ng, hm and hng take marks as words")
            << "m2 n3 ng4 ng2 m1 hm5 hng5 hng2" << u"ḿ ň ǹg ńg m\u0304 hm hng hńg"_s;
        QTest::addRow("m and n inside words take no mark")
            << u"km2 20m2 cm3 xn1"_s << u"km2 20m2 cm3 xn1"_s;
        QTest::addRow("a digit after no syllable, and 0 or 6 anywhere, stays")
            << u"mp3 2024 x1 ly4 ma0 ma6 la:3 :3 ma 3"_s
            << u"mp3 2024 x1 ly4 ma0 ma6 la:3 :3 ma 3"_s;
    }
    void numbered() {
        const QString text = cell<QString>("text"), expected = cell<QString>("pinyin");
        QCOMPARE(run(toUnicodePinyin, typed(text)), expected);
        const QString converted = run(NumberedPinyin::convert, text);
        QCOMPARE(run(toUnicodePinyin, converted), expected);
        litter();
        QCOMPARE(NumberedPinyin::changes(text.toStdU16String()), converted != text);
    }

    // Marked pinyin back to numbered pinyin, and numbered pinyin converted again gives the text.
    void toNumbers_data() {
        columns<QString, QString>({"pinyin", "numbered"});
        QTest::addRow("syllables of a word")
            << u"Zhōngguó rén Nǐ hǎo"_s << "Zhong1guo2 ren2 Ni3 hao3";
        QTest::addRow("ü as u:") << u"lǜ lüè LǛ"_s << "lu:4 lu:e4 LU:4";
        QTest::addRow("apostrophe starts a syllable") << u"Xī'ān fāng'àn"_s << "Xi1'an1 fang1'an4";
        QTest::addRow("a, o, e start no syllable inside a word")
            << u"fāngàn Xīnán"_s << "fan1gan4 Xi1nan2";
        QTest::addRow("decomposed marks") << u"ha\u030Co m\u0304"_s << "hao3 m1";
        QTest::addRow("erhua and neutral tone stay unnumbered") << u"nǎr māma"_s << "na3r ma1ma";
        QTest::addRow("interjections as words") << u"ḿ, ǹg hḿ"_s << "m2, ng4 hm2";
        QTest::addRow("not pinyin stays") << u"café Noël kḿ Xīān"_s << u"café Noël kḿ Xīān"_s;
    }
    void toNumbers() {
        const QString editor = run(fromUnicodePinyin, cell<QString>("pinyin"));
        const QString numbered = run(MarkedPinyin::toNumbers, editor);
        QTEST(run(toUnicodePinyin, numbered), "numbered");
        QCOMPARE(run(NumberedPinyin::convert, numbered), editor);
    }

    // What a search finds, one match after another, in text as the editor holds it.
    void search_data() {
        columns<QString, QString, bool, QStringList>({"text", "search", "matchTones", "found"});
        const QString tones = u"hāo háo hǎo hào hao"_s;
        QTest::addRow("tones ignored")
            << tones << "hao" << false
            << QStringList{u"hāo"_s, u"háo"_s, u"hǎo"_s, u"hào"_s, u"hao"_s};
        QTest::addRow("capitals ignored")
            << u"HǍO Hao hAo"_s << "hao" << false << QStringList{u"HǍO"_s, "Hao", "hAo"};
        QTest::addRow("a mark finds its tone")
            << tones << u"HǍO"_s << false << QStringList{u"hǎo"_s};
        QTest::addRow("so does a tone number") << tones << "hao3" << false << QStringList{u"hǎo"_s};
        QTest::addRow("match tones: none is a tone")
            << tones << "hao" << true << QStringList{"hao"};
        QTest::addRow("u is not ü") << u"lǜ lu lüè"_s << "lu" << false << QStringList{"lu"};
        QTest::addRow("ü written lü, lv, lu:")
            << u"lǜ lu LǛ"_s << "lv" << false << QStringList{u"lǜ"_s, u"LǛ"_s};
        QTest::addRow("u: for ü, beside a mark")
            << u"lüè lue"_s << "lu:e" << false << QStringList{u"lüè"_s};
        QTest::addRow("inside words") << u"hǎokàn"_s << "kan" << false << QStringList{u"kàn"_s};
        QTest::addRow("decomposed marks") << u"m\u0304 ḿ m"_s << "m" << true << QStringList{"m"};
        QTest::addRow("a digit after no syllable is a digit")
            << u"mp3 mp4 ma3"_s << "mp3" << false << QStringList{"mp3"};
        QTest::addRow("other characters as they are")
            << u"a@b a`b"_s << "A`B" << false << QStringList{"a`b"};
        QTest::addRow("nothing found") << tones << "hai" << false << QStringList{};
    }
    void search() {
        const QString text = run(fromUnicodePinyin, cell<QString>("text"));
        const std::u16string units = text.toStdU16String();
        const ToneSearch search(cell<QString>("search").toStdU16String(), cell<bool>("matchTones"));
        QStringList found;
        for (auto match = search.next(units, 0); match; match = search.next(units, match->at + 1))
            found << run(toUnicodePinyin, text.mid(qsizetype(match->at), qsizetype(match->units)));
        QTEST(found, "found");
        const auto last = search.previous(units, units.size());
        QCOMPARE(last ? run(toUnicodePinyin, text.mid(qsizetype(last->at), qsizetype(last->units)))
                      : QString(),
                 found.value(found.size() - 1));
    }
};

QTEST_GUILESS_MAIN(TestTone)
#include "tst_tone.moc"
