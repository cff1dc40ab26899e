#include "tone/GlyphTables.h"

#include <QSet>
#include <QTest>

using namespace tone;

class TestGlyphTables : public QObject {
    Q_OBJECT

  private slots:
    void lookups_data() {
        QTest::addColumn<QChar>("vowel");
        QTest::addColumn<QString>("glyphs");
        QTest::newRow("a") << QChar('a') << QStringLiteral("\u00E1\u00E0\u00E2\u00E4");
        QTest::newRow("e") << QChar('e') << QStringLiteral("\u00E3\u00E5\u00E7\u00E9");
        QTest::newRow("o") << QChar('o') << QStringLiteral("\u00EE\u00EF\u00F1\u00F3");
        QTest::newRow("i") << QChar('i') << QStringLiteral("\u00EA\u00EB\u00ED\u00EC");
        QTest::newRow("u") << QChar('u') << QStringLiteral("\u00F2\u00F4\u00F6\u00F5");
        QTest::newRow("y") << QChar('y') << QStringLiteral("\u00FA\u00F9\u00FB\u00FC");
        QTest::newRow("A") << QChar('A') << QStringLiteral("\u00A2\u00C1\u00A7\u00C0");
        QTest::newRow("E") << QChar('E') << QStringLiteral("\u00B6\u00C9\u00AE\u00C8");
        QTest::newRow("I") << QChar('I') << QStringLiteral("\u00B4\u00CD\u00CF\u00CC");
        QTest::newRow("U") << QChar('U') << QStringLiteral("\u00AA\u00DA\u00B5\u00D9");
        QTest::newRow("O") << QChar('O') << QStringLiteral("\u00D8\u00D3\u00B1\u00D2");
    }

    void lookups() {
        QFETCH(QChar, vowel);
        QFETCH(QString, glyphs);
        const int row = rowOfVowel(vowel.unicode());
        QVERIFY(row != 0);
        QCOMPARE(QString::fromStdU16String(glyphTable(row)), glyphs);
        for (int tone = 1; tone <= toneCount; ++tone) {
            QCOMPARE(QChar(glyph(row, tone)), glyphs[tone - 1]);
            QCOMPARE(rowCode(row, tone), vowel.unicode() * 100 + 48 + tone);
        }
    }

    void rowsInTrackerOrder() {
        QString order;
        for (const auto& row : glyphRows)
            order += QChar(row.vowel);
        QCOMPARE(order, QStringLiteral("aeoiuyAEIUO"));
    }

    void allCodesAndPairCodesDistinct() {
        QSet<char16_t> glyphs;
        QSet<int> codes;
        for (int row = 1; row <= rowCount; ++row) {
            for (int tone = 1; tone <= toneCount; ++tone) {
                glyphs.insert(glyph(row, tone));
                codes.insert(rowCode(row, tone));
            }
        }
        QCOMPARE(glyphs.size(), 44);
        QCOMPARE(codes.size(), 44);
    }

    void lowerCaseRowsLeaveFiveCodesUnused() {
        QSet<int> unused;
        for (int code = 0xE0; code <= 0xFC; ++code)
            unused.insert(code);
        for (int row = 1; row <= 6; ++row) {
            for (int tone = 1; tone <= toneCount; ++tone)
                QVERIFY(unused.remove(glyph(row, tone)));
        }
        QCOMPARE(unused, (QSet<int>{0xE6, 0xE8, 0xF0, 0xF7, 0xF8}));
    }

    // Tones 2 and 4 of the capitals are the code page's own acute and grave capitals.
    void capitalsCarryAcuteAndGrave() {
        for (int row = 7; row <= rowCount; ++row) {
            const QChar vowel(glyphRows[row - 1].vowel);
            QCOMPARE(QString(QChar(glyph(row, 2))).normalized(QString::NormalizationForm_D),
                     QString(vowel) + QChar(0x0301));
            QCOMPARE(QString(QChar(glyph(row, 4))).normalized(QString::NormalizationForm_D),
                     QString(vowel) + QChar(0x0300));
        }
    }

    void yAndUDiffer() {
        QCOMPARE(glyph(rowOfVowel('y'), 4), u'\u00FC');
        QCOMPARE(glyph(rowOfVowel('u'), 4), u'\u00F5');
        QCOMPARE(glyph(rowOfVowel('e'), 2), u'\u00E5');
        QCOMPARE(glyph(rowOfVowel('E'), 2), u'\u00C9');
    }

    void onlyElevenVowels() {
        int vowels = 0;
        for (int code = -1; code <= 0xFFFF; ++code)
            vowels += rowOfVowel(code) != 0;
        QCOMPARE(vowels, 11);
        QCOMPARE(rowOfVowel('Y'), 0);
        QCOMPARE(rowOfVowel('v'), 0);
    }

    void pairCodes_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<qint64>("code");
        QTest::newRow("a1") << 97 << 49 << qint64(9749);
        QTest::newRow("y4") << 121 << 52 << qint64(12152);
        QTest::newRow("A4") << 65 << 52 << qint64(6552);
        QTest::newRow("nothing pending") << 0 << 98 << qint64(98);
        QTest::newRow("second zero") << 97 << 0 << qint64(970);
        QTest::newRow("second of three digits") << 97 << 100 << qint64(97100);
        QTest::newRow("widest") << 32767 << 32767 << qint64(3276732767);
    }

    void pairCodes() {
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(qint64, code);
        QCOMPARE(pairCode(first, second), std::optional<std::int64_t>(code));
    }

    void negativeCodesHaveNoPairCode() {
        QVERIFY(!pairCode(-1, 49));
        QVERIFY(!pairCode(97, -32768));
    }
};

QTEST_GUILESS_MAIN(TestGlyphTables)
#include "tst_glyphtables.moc"
