#include "tone/NumberedPinyin.h"
#include "tone/UnicodePinyin.h"

#include <QTest>

using namespace tone;

namespace {

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

QString unicode(const QString& glyphs) {
    return QString::fromStdU16String(toUnicodePinyin(glyphs.toStdU16String()));
}

} // namespace

class TestNumberedPinyin : public QObject {
    Q_OBJECT

  private slots:
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
        QCOMPARE(unicode(typed(text)), pinyin);
        QCOMPARE(unicode(converted(text)), pinyin);
        QCOMPARE(NumberedPinyin::changes(text.toStdU16String()), converted(text) != text);
    }
};

QTEST_GUILESS_MAIN(TestNumberedPinyin)
#include "tst_numberedpinyin.moc"
