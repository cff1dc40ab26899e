#include "tone/GlyphTables.h"
#include "tone/KeyTracker.h"
#include "tone/NumberedPinyin.h"
#include "tone/ReplacementTick.h"
#include "tone/UnicodePinyin.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

using namespace tone;
using namespace Qt::StringLiterals;

namespace {

// Per vowel: the glyph codes as typed in, the letters as a pinyin reader writes them.
const QString vowels = u"aeoiuyAEIUO"_s;
const QString glyphCodes = u"\u00E1\u00E0\u00E2\u00E4\u00E3\u00E5\u00E7\u00E9\u00EE\u00EF\u00F1"
                           "\u00F3\u00EA\u00EB\u00ED\u00EC\u00F2\u00F4\u00F6\u00F5\u00FA\u00F9"
                           "\u00FB\u00FC\u00A2\u00C1\u00A7\u00C0\u00B6\u00C9\u00AE\u00C8\u00B4"
                           "\u00CD\u00CF\u00CC\u00AA\u00DA\u00B5\u00D9\u00D8\u00D3\u00B1\u00D2"_s;
const QString toneLetters = u"āáǎàēéěèōóǒòīíǐìūúǔùǖǘǚǜĀÁǍÀĒÉĚÈĪÍǏÌŪÚǓÙŌÓǑÒ"_s;

QString toUnicode(const QString& text) {
    return QString::fromStdU16String(toUnicodePinyin(text.toStdU16String()));
}
QString fromUnicode(const QString& text) {
    return QString::fromStdU16String(fromUnicodePinyin(text.toStdU16String()));
}
QString converted(const QString& text) {
    return QString::fromStdU16String(NumberedPinyin::convert(text.toStdU16String()));
}

// Typed one character at a time, each digit acting on what is already there.
QString typed(const QString& keys) {
    std::u16string text;
    for (const QChar key : keys) {
        if (const auto edit = NumberedPinyin::toneDigit(text, key.unicode())) {
            const std::size_t start = text.size() - edit->syllableUnits;
            text.replace(start, edit->syllableUnits, edit->marked(text.substr(start)));
        } else {
            text.push_back(key.unicode());
        }
    }
    return QString::fromStdU16String(text);
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
        if (const auto edit = replacementTick(tracker, row, text.toStdU16String())) {
            text.chop(edit->removeUnits);
            text += QChar(edit->glyph);
        }
    }
};

// Rows of "keys/armed timers/pending vowel/last key". Characters beyond ASCII arrive as 16-bit
// codes, the upper half of them negative.
const QString sequences =
    u"a1e2o3i4u1y2A3E4I1U2O3/1,2,3,4,5,6,7,8,9,10,11/79/51|ae2/2/101/50|b1//0/49|a5//0/53|a0//0/48|"
    u"Y1//0/49|v1//0/49|a 1//0/49|a\b1//0/49|\u00E11//0/49|a12/1,1/97/50|Ni3 ha3o/4,1/111/111|"
    u"e6i7o8u9//0/57|a\uFFFF1//0/49|a\u80001//0/49|a\u26151//0/49"_s;

// Rows of "text before/bursts/text after": each burst typed faster than the timer, then ticked.
const QString typings =
    u"m/a1/m\u00E1|/y4,u4/\u00FC\u00F5|/a1b/a1b|/a1e/a1e|/a12/a\u00E0|/a1e2/a1e2|"
    u"/Ni3, ,ha3,o/N\u00ED h\u00E2o|ni\r\n/ma1/ni\r\nm\u00E1"_s;

// Data rows of the fields of rows written "field/field/...|field/...".
void table(const QString& text, std::initializer_list<const char*> columns) {
    for (const char* column : columns)
        QTest::addColumn<QString>(column);
    for (const QString& row : text.split(u'|')) {
        QTestData& data = QTest::newRow(qPrintable(row));
        for (const QString& field : row.split(u'/'))
            data << field;
    }
}

QList<int> numbers(const QString& list) {
    QList<int> result;
    for (const QString& number : list.split(u',', Qt::SkipEmptyParts))
        result << number.toInt();
    return result;
}

// Rows of "letters=glyph codes" convert both ways, "letters>glyph codes" only from Unicode.
const QString conversions =
    u"a\u0304>\u00E1|a\u0301>\u00E0|a\u0300>\u00E4|\u00FC\u0304>\u00FA|u\u0308\u030C>\u00FB|"
    u"a\u0301\u0301>\u00E0\u0301|u\u0304\u0308>\u00F2\u0308|lu\u0308\u0300se\u0300>l\u00FCs\u00E9|"
    u"U\u0308\u0304>U\u0308\u0304|nu\u0308>nu\u0308|ǘ=\u00F9|ḿ=ḿ|Ǖ=Ǖ|\u0301a=\u0301a|3\u0300="
    u"3\u0300|=|"
    u"\u00E6\u00F0\u00F7\u00F8\u00FF\u00A1=\u00E6\u00F0\u00F7\u00F8\u00FF\u00A1|"
    u"a\U0001F600b=a\U0001F600b|\xD800"
    u"a=\xD800"
    u"a|o\xDC00\u0301=o\xDC00\u0301|ā=\u00E1|"
    u"ǜ=\u00FC|Nǐ hǎo=N\u00ED h\u00E2o|"
    // Letters that share their code with a glyph are held decomposed and leave composed again.
    u"España=Espan\u0303a|ê\u0304=e\u0302\u0304|âãäåçêëîïñôõöûüÏ=a\u0302a\u0303a\u0308a\u030A"
    u"c\u0327e\u0302e\u0308i\u0302i\u0308n\u0303o\u0302o\u0303o\u0308u\u0302u\u0308I\u0308"_s;

// Rows of "numbered=Unicode pinyin", or numbered pinyin left as it stands.
const QString numbered =
    u"ni3 hao3 Zhong1guo2 lv4 ma5 mp3=nǐ hǎo Zhōngguó lǜ ma mp3|xiao3=xiǎo|xue2 mei2=xué méi|"
    u"lou2 you3=lóu yǒu|liu2 gui4 duo1=liú guì duō|a1a2a3a4=āáǎà|xian1 er2=xiān ér|"
    u"qqqqqqqzhuang1=qqqqqqqzhuāng|ni\nhao3=ni\nhǎo|Zh\u00EEngguo2=Zhōngguó|lv4 nv3=lǜ nǚ|"
    u"lu:4 Nu:3=lǜ Nǚ|HAO3 Hao3 An4 OU1 hEI1=HǍO Hǎo Àn ŌU hĒI|ma5 MA5 r5 er5=ma MA r er|r1 r4|"
    u"lve4 nu:e4|LV4 LU:3|lv5|mp3 abc3 2024 x1 ly4|m2 n3 ng4 hm1 hng2|ma0 ma6 ma9|la:3 :3|ma 3"_s;

// Data rows (first, second, whether `=` joined them) from rows written "first=second".
void pairs(const QString& table, const char* first, const char* second) {
    QTest::addColumn<QString>(first);
    QTest::addColumn<QString>(second);
    QTest::addColumn<bool>("both");
    for (const QString& row : table.split(u'|')) {
        const QStringList parts = row.split(QRegularExpression(u"[=>]"_s));
        QTest::newRow(qPrintable(row)) << parts.first() << parts.last() << !row.contains(u'>');
    }
}

} // namespace

// The window-free core: key tracker, replacement tick, Unicode pinyin and tone numbers.
class TestTone : public QObject {
    Q_OBJECT

  private slots:
    void keys_data() { table(sequences, {"keys", "armed", "vowel", "last"}); }
    void keys() {
        QFETCH(QString, keys);
        QFETCH(QString, armed);
        QFETCH(QString, last);
        Editor editor;
        editor.type(keys);
        QCOMPARE(editor.armed, numbers(armed));
        QTEST(QString::number(editor.tracker.pendingVowel()), "vowel");
        QCOMPARE(QString::number(editor.tracker.lastKey()), last);
        editor.tracker.clearPendingVowel();
        QCOMPARE(QString::number(editor.tracker.lastKey()), last);
        QCOMPARE(editor.tracker.keyPress('3'), KeyTracker::noTimer);
    }

    void typing_data() { table(typings, {"before", "bursts", "after"}); }
    void typing() {
        QFETCH(QString, before);
        QFETCH(QString, bursts);
        Editor editor{{}, before, {}};
        for (const QString& burst : bursts.split(u',')) {
            editor.type(burst);
            while (!editor.armed.isEmpty())
                editor.tick(editor.armed.first());
        }
        QTEST(editor.text, "after");
    }

    // The tick takes the last characters of the whole text, wherever the caret was, forgets the
    // vowel even when it replaces nothing, and needs only the end of a long text.
    void tickEditsTheEnd() {
        Editor editor;
        editor.type(u"a1"_s);
        editor.text = u"xa1yz"_s;
        editor.tick(1);
        QCOMPARE(editor.text, u"xa1\u00E1"_s);
        editor.type(u"a1e"_s);
        editor.tick(1);
        editor.type(u"2"_s);
        QVERIFY(editor.armed.isEmpty());
        Editor whole{{}, QString(100000, u'z'), {}};
        whole.type(u"xa1"_s);
        whole.tick(1);
        QCOMPARE(whole.text.right(2), u"x\u00E1"_s);
    }

    // With nothing pending, U+2615 would read as the pair code 9749 of a1.
    void onlyAVowelAndDigitReplace() {
        for (int lastKey : {-1, 9749, int('0')}) {
            for (QString first : {u"a"_s, u"O"_s, QString()}) {
                Editor editor;
                editor.type(first + u"1"_s);
                editor.tracker.keyPress(static_cast<std::int16_t>(lastKey));
                editor.text += u"?"_s;
                editor.tick(1);
                editor.tick(11);
                QCOMPARE(editor.text, first + u"1?"_s);
            }
        }
    }

    // The tick of a3 removes the last two characters, never half a pair, and forgets the vowel.
    void halfPairsAreNeverLeft() {
        const QString ends =
            u"abc/2|ab\r\n/2|ab\r\nq/3|a\U0001F600q/3|a\U0001F600/2|a\U00010000q/3|"
            u"a\U0010FFFFq/3|a1/2|1/0|/0"_s;
        for (const QString& row : ends.split(u'|')) {
            const QString text = row.section(u'/', 0, 0);
            const int removed = row.section(u'/', 1).toInt();
            KeyTracker tracker;
            tracker.keyPress('a');
            tracker.keyPress('3');
            const auto edit = replacementTick(tracker, 1, text.toStdU16String());
            QCOMPARE(int(tracker.pendingVowel()), 0);
            QCOMPARE(edit ? edit->removeUnits : 0, removed);
            QVERIFY(!edit || edit->glyph == u'\u00E2');
        }
    }

    void eachRowBothWays() {
        QCOMPARE(toUnicode(glyphCodes), toneLetters);
        QCOMPARE(fromUnicode(toneLetters), glyphCodes);
        for (int row = 0; row < vowels.size(); ++row) {
            for (int tone = 1; tone <= toneCount; ++tone) {
                const int at = row * toneCount + tone - 1, held = rowOfVowel(vowels[row].unicode());
                QCOMPARE(QChar(unicodeLetter(held, tone)), toneLetters[at]);
                QCOMPARE(QChar(glyph(held, tone)), glyphCodes[at]);
                QCOMPARE(QChar(glyphTable(held).at(tone - 1)), glyphCodes[at]);
            }
        }
    }

    void conversion_data() { pairs(conversions, "letters", "glyphs"); }
    void conversion() {
        QFETCH(QString, letters);
        QFETCH(QString, glyphs);
        QFETCH(bool, both);
        QCOMPARE(fromUnicode(letters), glyphs);
        if (both)
            QCOMPARE(toUnicode(glyphs), letters);
    }

    void asciiAndLookalikeSigns() {
        QString ascii;
        for (char16_t c = 0x20; c < 0x7F; ++c)
            ascii += QChar(c);
        QCOMPARE(fromUnicode(ascii), ascii);
        QCOMPARE(toUnicode(ascii), ascii);
        const auto signs = [](const QString& text) {
            return QString::fromStdU16String(glyphLookalikeSigns(text.toStdU16String()));
        };
        QCOMPARE(signs(u"Nǐ hǎo, España ü"_s), QString());
        QCOMPARE(signs(u"±5 µm, ¢ § ¶ ® ´ ª Ø ¢"_s), u"¢§ª®±´µ¶Ø"_s);
        // A million characters would take hours if either direction were quadratic.
        QRandomGenerator random(7);
        const QString alphabet = toneLetters + ascii;
        QString letters;
        for (int n = 0; n < 1'000'000; ++n)
            letters += alphabet[random.bounded(alphabet.size())];
        const QString glyphs = fromUnicode(letters);
        QCOMPARE(glyphs.size(), letters.size());
        QCOMPARE(toUnicode(glyphs), letters);
    }

    // Typed live and converted in bulk alike.
    void toneAfterTheSyllable_data() { pairs(numbered, "text", "pinyin"); }
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
