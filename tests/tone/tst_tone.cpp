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

// Text columns from rows written "field/field/...|field/...", missing fields empty.
void table(const QString& rows, std::initializer_list<const char*> columns) {
    for (const char* column : columns)
        QTest::addColumn<QString>(column);
    for (const QString& row : rows.split(u'|')) {
        const QStringList fields = row.split(u'/');
        QTestData& data = QTest::newRow(qPrintable(row));
        for (qsizetype field = 0; field < qsizetype(columns.size()); ++field)
            data << fields.value(field);
    }
}

// Rows of "bursts/text at the tick/after/vowel left pending", each burst ticked once typed: the
// tick takes the last two units or a pair they would halve. Key codes over 0x7FFF come negative.
const QString typingRows =
    u"a1,e2,o3,i4,u1,y2,A3,E4,I1,U2,O3//áåñìòù§È´Ú±|ma1//má|ae2//aå|a12//aà|a1a//a1a|a1e,2//a1e2|"
    u"a1e2//a1e2|a1\u2615//a1\u2615|Y1á1//Y1á1|a0//a0|a5//a5|Ni3, ,ha3,o//Ní hâo/o|a3/abc/aâ|"
    u"a 1a\uFFFF1a\u80001//a 1a\uFFFF1a\u80001|ni\r\nma1//ni\r\nmá|a3/ab\r\n/abâ|a3/ab\r\nq/abâ|"
    u"a3/a\U0001F600q/aâ|a3/a\U0001F600/aâ|a3/a\U00010000q/aâ|a3/a\U0010FFFFq/aâ|a3/1/1"_s;

// Rows of "letters/glyph codes/>", > where the codes read back precomposed; lookalikes decomposed.
const QString conversionRows =
    u"a\u0304a\u0301a\u0300/áàä/>|ü\u0304u\u0308\u030C/úû/>|a\u0301\u0301/à\u0301/>|æð÷øÿ¡/æð÷øÿ¡|"
    u"u\u0304\u0308/ò\u0308/>|lu\u0308\u0300se\u0300/lüsé/>|U\u0308\u0304/U\u0308\u0304/>|ḿ/ḿ|Ǖ/Ǖ|"
    u"nu\u0308/nu\u0308/>|\u0301a/\u0301a|3\u0300/3\u0300|a\U0001F600b\xD800z/a\U0001F600b\xD800z|"
    u"/|o\xDC00\u0301/o\xDC00\u0301|âãäåçêëîïñôõöûüÏ/a\u0302a\u0303a\u0308a\u030Ac\u0327e\u0302"
    u"e\u0308i\u0302i\u0308n\u0303o\u0302o\u0303o\u0308u\u0302u\u0308I\u0308"_s;

} // namespace

class TestTone : public QObject {
    Q_OBJECT

    // Letters on the stack below the caller: a read of scratch letters never filled in shows.
    [[gnu::noinline]] void litter() {
        volatile char stack[4096];
        std::fill_n(stack, 4096, 'e');
    }

  private slots:
    void typing_data() { table(typingRows, {"bursts", "text", "after", "vowel"}); }
    void typing() {
        QFETCH(QString, bursts);
        QFETCH(QString, text);
        KeyTracker tracker;
        QString edited;
        for (const QString& burst : bursts.split(u',')) {
            QList<int> armed; // a timer armed twice ticks once
            for (const QChar key : burst) {
                const int timer = tracker.keyPress(std::int16_t(key.unicode()));
                if (timer && !armed.contains(timer))
                    armed << timer;
            }
            edited = text.isEmpty() ? edited + burst : text;
            for (const int row : armed) {
                if (const auto edit = replacementTick(tracker, row, edited.toStdU16String()))
                    edited = edited.chopped(edit->removeUnits) + QChar(edit->glyph);
            }
        }
        QTEST(edited, "after");
        const QChar vowel(tracker.pendingVowel());
        QTEST(vowel.isNull() ? QString() : QString(vowel), "vowel");
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

    void conversion_data() { table(conversionRows, {"letters", "glyphs", "oneWay"}); }
    void conversion() {
        QFETCH(QString, letters);
        QFETCH(QString, glyphs);
        QFETCH(QString, oneWay);
        QCOMPARE(run(fromUnicodePinyin, letters), glyphs);
        if (oneWay.isEmpty())
            QCOMPARE(run(toUnicodePinyin, glyphs), letters);
    }

    // Numbered pinyin, typed live and converted alike, and the Unicode pinyin it becomes; an
    // empty one where the text stays.
    void numbered_data() {
        columns<QString, QString>({"text", "pinyin"});
        QTest::addRow("mark on a, e, the o of ou, else the last vowel")
            << "ni3 hao3 xue2 lou2 liu2 gui4 Zhong1guo2" << u"nǐ hǎo xué lóu liú guì Zhōngguó"_s;
        QTest::addRow("a syllable ends at a tone glyph") << u"Zhîngguo2"_s << u"Zhōngguó"_s;
        QTest::addRow("each digit ends a syllable") << "a1a2a3a4" << u"āáǎà"_s;
        QTest::addRow("only the syllable right before") << "ni\nhao3" << u"ni\nhǎo"_s;
        QTest::addRow("a long run of letters") << "qqqqqqqzhuang1" << u"qqqqqqqzhuāng"_s;
        QTest::addRow("capitals") << "HAO3 An4 OU1 hEI1" << u"HǍO Àn ŌU hĒI"_s;
        QTest::addRow("neutral tone") << "ma5 MA5 r5 er5" << u"ma MA r er"_s;
        QTest::addRow("ü as v and u:, marked") << "lv4 lu:4 Nu:3" << u"lǜ lǜ Nǚ"_s;
        QTest::addRow("ü beside the marked vowel") << "lve4 lu:e4 nu:e4" << u"lüè lüè nüè"_s;
        QTest::addRow("neutral ü") << "nu:5 nv5" << u"nü nü"_s;
        QTest::addRow("capital Ü") << "Lu:e4 LV4 NU:E4 LU:3" << u"Lüè LǛ NÜÈ LǙ"_s;
        QTest::addRow("interjections as words")
            << "m2 n3 ng4 ng2 m1 hm5 hng5 hng2" << u"ḿ ň ǹg ńg m\u0304 hm hng hńg"_s;
        QTest::addRow("interjections inside words stay") << "km2 20m2 cm3 xn1"
                                                         << "";
        QTest::addRow("no syllable, no tone") << "mp3 2024 x1 ly4 ma0 ma6 la:3 :3 ma 3"
                                              << "";
    }
    void numbered() {
        const QString text = cell<QString>("text"), pinyin = cell<QString>("pinyin");
        const QString expected = pinyin.isEmpty() ? text : pinyin;
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
