#include "tone/ToneFont.h"

#include <QFontDatabase>
#include <QPainterPath>
#include <QRawFont>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTest>
#include <QtEndian>

namespace {

// Glyph codes of rows a e o i u y A E I U O, tones 1 to 4, and their letters: not the build's copy.
const QString glyphCodes = QStringLiteral("áàâäãåçéîïñóêëíìòôöõúùûü¢Á§À¶É®È´ÍÏÌªÚµÙØÓ±Ò");
const QString toneLetters = QStringLiteral("āáǎàēéěèōóǒòīíǐìūúǔùǖǘǚǜĀÁǍÀĒÉĚÈĪÍǏÌŪÚǓÙŌÓǑÒ");

// The Windows Unicode records (platform 3, encoding 1, US English) of a 'name' table, by name ID.
QMap<int, QString> windowsNames(const QByteArray& table) {
    const auto u16 = [&table](qsizetype at) -> int {
        return at + 2 <= table.size() ? qFromBigEndian<quint16>(table.data() + at) : 0;
    };
    QMap<int, QString> names;
    for (int record = 6; record < 6 + 12 * u16(2); record += 12) {
        if (u16(record) == 3 && u16(record + 2) == 1 && u16(record + 4) == 0x409)
            names[u16(record + 6)] = QStringDecoder(QStringDecoder::Utf16BE)(
                table.mid(u16(4) + u16(record + 10), u16(record + 8)));
    }
    return names;
}

} // namespace

class TestToneFont : public QObject {
    Q_OBJECT

    // One em of DejaVu Serif, so that outlines come out in whole font units.
    const QRawFont toneFont{QStringLiteral(TONE_FONT_PATH), 2048, QFont::PreferNoHinting};
    const QRawFont sourceFont{QStringLiteral(SOURCE_FONT_PATH), 2048, QFont::PreferNoHinting};

  private slots:
    // Found by its own face; DejaVu's licence asks for new names on a changed font, notices kept.
    void faceAndNames() {
        const QString face = QString::fromUtf8(tone::toneFontFace);
        const int id = QFontDatabase::addApplicationFont(QStringLiteral(TONE_FONT_PATH));
        QCOMPARE(QFontDatabase::applicationFontFamilies(id), QStringList{face});
        const auto names = windowsNames(toneFont.fontTable("name"));
        QCOMPARE(QStringList({names.value(1), names.value(2), names.value(4)}),
                 QStringList({face, "Regular", face}));
        for (int nameId : {3, 6, 16, 17, 21, 22})
            QVERIFY2(!names.value(nameId).contains(QRegularExpression("(?i)dejavu|bitstream|vera")),
                     qPrintable(names.value(nameId)));
        QVERIFY(names.value(0).contains("Copyright (c) 2003 by Bitstream"));
        QVERIFY(names.value(13).contains("Permission is hereby granted"));
    }

    // Tone codes drawn as DejaVu Serif draws the letters they stand for, ASCII as itself, no other
    // Latin-1 letter (Qt draws a no-break space with the space); not thousands of DejaVu's glyphs.
    void glyphs() {
        for (char16_t code = 0x20; code <= 0xFF; ++code) {
            const qsizetype tone = glyphCodes.indexOf(QChar(code));
            const QString letter = tone >= 0 ? toneLetters.mid(tone, 1) : QString(QChar(code));
            const QByteArray where = QByteArray::number(code, 16);
            const auto mine = toneFont.glyphIndexesForString(QString(QChar(code)));
            const auto source = sourceFont.glyphIndexesForString(letter);
            if (code >= 0x7F && tone < 0)
                QVERIFY2(code == 0xA0 || !toneFont.supportsCharacter(QChar(code)), where);
            else
                QVERIFY2(mine.size() == 1 && mine[0] && source.size() == 1 &&
                             toneFont.pathForGlyph(mine[0]) == sourceFont.pathForGlyph(source[0]) &&
                             toneFont.advancesForGlyphIndexes(mine) ==
                                 sourceFont.advancesForGlyphIndexes(source),
                         where);
        }
        const QByteArray maxp = toneFont.fontTable("maxp");
        QVERIFY(maxp.size() >= 6 && qFromBigEndian<quint16>(maxp.data() + 4) < 400);
    }
};

QTEST_MAIN(TestToneFont)
#include "tst_tonefont.moc"
