#include "tone/HanziPinyin.h"
#include "tone/UnicodePinyin.h"

#include "TestSupport.h"

#include <QtEndian>

using namespace Qt::StringLiterals;

namespace {

const QByteArray builtTable = readFile(PROGRAM_DIR "/hanzi-readings.dat");

std::optional<tone::HanziTable> parsed(const QByteArray& bytes) {
    return tone::HanziTable::parse(std::string(bytes.constData(), bytes.size()));
}

enum class Damage { CutShort, OneByteMore, NotATable, ToneZero, UnknownSyllable, OutOfOrder };

// Where the table's single characters begin: past the header, the counts and the syllables.
qsizetype firstRecord(const QByteArray& table) {
    const auto word = [&](int at) { return qFromLittleEndian<quint32>(table.constData() + at); };
    return 20 + 4 * word(16) + word(12);
}

QByteArray damaged(QByteArray table, Damage damage) {
    const qsizetype record = firstRecord(table);
    switch (damage) {
    case Damage::CutShort:
        return table.chopped(1);
    case Damage::OneByteMore:
        return table + '\0';
    case Damage::NotATable:
        return table.replace(0, 4, "GIF8");
    case Damage::ToneZero: // the first syllable, a1, becomes a0
        return table.replace(
            firstRecord(table) - qFromLittleEndian<quint32>(table.constData() + 12) + 1, 1, "0");
    case Damage::UnknownSyllable:
        return table.replace(record + 4, 2, "\xFF\xFF");
    case Damage::OutOfOrder: {
        const QByteArray first = table.mid(record, 8);
        return table.replace(record, 8, table.mid(record + 8, 8)).replace(record + 8, 8, first);
    }
    }
    return table;
}

} // namespace

class TestHanziPinyin : public QObject {
    Q_OBJECT

    std::optional<tone::HanziTable> table = parsed(builtTable);

  private slots:
    void conversion_data() {
        columns<QString, QString>({"chinese", "pinyin"});
        QTest::addRow("a sentence: words together, words apart")
            << u"我们是朋友"_s << u"wǒmen shì péngyou"_s;
        QTest::addRow("银行 is not read as its characters alone") << u"银行"_s << u"yínháng"_s;
        QTest::addRow("长大 takes the rarer reading of 长") << u"长大"_s << u"zhǎngdà"_s;
        QTest::addRow("长城 takes the common one") << u"长城"_s << u"chángchéng"_s;
        QTest::addRow("觉得 ends in a neutral tone") << u"觉得"_s << u"juéde"_s;
        QTest::addRow("a place name, 重 not read zhòng") << u"重庆"_s << u"chóngqìng"_s;
        QTest::addRow("traditional characters") << u"銀行長大"_s << u"yínháng zhǎngdà"_s;
        QTest::addRow("an apostrophe before a, o, e inside a word") << u"西安"_s << u"xī'ān"_s;
        QTest::addRow("the suffix 儿 as r") << u"一会儿"_s << u"yīhuìr"_s;
        QTest::addRow("Chinese punctuation, a space after it before a word")
            << u"你好，再见。好吗？"_s << u"nǐhǎo, zàijiàn. hǎo ma?"_s;
        QTest::addRow("quotes beside Chinese") << u"他说：“走吧！”"_s << u"tā shuō: \"zǒu ba!\""_s;
        QTest::addRow("Latin words and numbers kept, with a space beside pinyin")
            << u"我用Qt写了3个程序"_s << u"wǒ yòng Qt xiě le 3 gè chéngxù"_s;
        QTest::addRow("curly quotes of an English text are left alone")
            << u"“Hi,” she said. 好"_s << u"“Hi,” she said. hǎo"_s;
        QTest::addRow("U+20000, past the Basic Plane and last in the text, is read")
            << u"好\U00020000"_s << u"hǎo hē"_s;
        QTest::addRow("a character outside the table stays as it is")
            << u"好\U0002A6D6好"_s << u"hǎo \U0002A6D6 hǎo"_s;
        QTest::addRow("tone numbers and lines of other text are not touched")
            << u"ni3 hao3\n好"_s << u"ni3 hao3\nhǎo"_s;
    }
    void conversion() {
        QVERIFY(table);
        const std::u16string chinese = cell<QString>("chinese").toStdU16String();
        const auto written = tone::HanziPinyin::convert(chinese, *table);
        QTEST(QString::fromStdU16String(tone::toUnicodePinyin(written)), "pinyin");
    }
    // A damaged file is refused whole, never read past its end or searched astray.
    void damagedTable_data() {
        columns<Damage>({"damage"});
        QTest::addRow("cut short") << Damage::CutShort;
        QTest::addRow("a byte more than its parts") << Damage::OneByteMore;
        QTest::addRow("another kind of file") << Damage::NotATable;
        QTest::addRow("a syllable with no tone 1 to 5") << Damage::ToneZero;
        QTest::addRow("a syllable number past the syllables") << Damage::UnknownSyllable;
        QTest::addRow("characters out of order") << Damage::OutOfOrder;
    }
    void damagedTable() {
        QVERIFY(table);
        QVERIFY(!parsed(damaged(builtTable, cell<Damage>("damage"))));
    }
};

QTEST_GUILESS_MAIN(TestHanziPinyin)
#include "tst_hanzipinyin.moc"
