#include "tone/GlyphTables.h"
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

} // namespace

class TestUnicodePinyin : public QObject {
    Q_OBJECT

  private slots:
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
};

QTEST_GUILESS_MAIN(TestUnicodePinyin)
#include "tst_unicodepinyin.moc"
