#include "tone/GlyphTables.h"
#include "tone/ToneFont.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QMap>
#include <QPainterPath>
#include <QRawFont>
#include <QScopeGuard>
#include <QSet>
#include <QTest>
#include <QtEndian>

namespace {

// The standard letter that each row draws for tones 1 to 4: macron, acute, caron, grave. Written
// out here rather than taken from the font's build script, so that a slip there shows up.
const QString vowels = QStringLiteral("aeoiuyAEIUO");
const QString toneLetters = QStringLiteral("āáǎàēéěèōóǒòīíǐìūúǔùǖǘǚǜĀÁǍÀĒÉĚÈĪÍǏÌŪÚǓÙŌÓǑÒ");

quint16 readU16(const QByteArray& data, qsizetype at) {
    if (at < 0 || at + 2 > data.size())
        return 0;
    return qFromBigEndian<quint16>(data.constData() + at);
}

// The Windows Unicode records (platform 3, encoding 1, US English) of a 'name' table, by name ID.
QMap<int, QString> windowsNames(const QByteArray& table) {
    QMap<int, QString> names;
    const int count = readU16(table, 2);
    const int strings = readU16(table, 4);
    for (int i = 0; i < count; ++i) {
        const qsizetype record = 6 + 12 * i;
        if (readU16(table, record) != 3 || readU16(table, record + 2) != 1 ||
            readU16(table, record + 4) != 0x409)
            continue;
        const int length = readU16(table, record + 8);
        const qsizetype offset = strings + readU16(table, record + 10);
        QString text;
        for (qsizetype at = offset; at + 1 < offset + length; at += 2)
            text += QChar(readU16(table, at));
        names.insert(readU16(table, record + 6), text);
    }
    return names;
}

quint32 glyphOf(const QRawFont& font, QChar character) {
    const auto indexes = font.glyphIndexesForString(QString(character));
    return indexes.size() == 1 ? indexes.first() : 0;
}

QString hex(QChar c) {
    return QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
}

} // namespace

class TestToneFont : public QObject {
    Q_OBJECT

    // One em of DejaVu Serif, so that outlines come out in whole font units.
    const QRawFont toneFont{QStringLiteral(TONE_FONT_PATH), 2048, QFont::PreferNoHinting};
    const QRawFont sourceFont{QStringLiteral(SOURCE_FONT_PATH), 2048, QFont::PreferNoHinting};

    // Fails the calling test unless `code` in the tone font is drawn exactly as `letter` is in
    // DejaVu Serif: same outline, same advance.
    void compareGlyph(QChar code, QChar letter) {
        const quint32 toneGlyph = glyphOf(toneFont, code),
                      sourceGlyph = glyphOf(sourceFont, letter);
        QVERIFY2(toneGlyph && sourceGlyph &&
                     toneFont.pathForGlyph(toneGlyph) == sourceFont.pathForGlyph(sourceGlyph) &&
                     toneFont.advancesForGlyphIndexes({toneGlyph}) ==
                         sourceFont.advancesForGlyphIndexes({sourceGlyph}),
                 qPrintable(hex(code) + " is not drawn as " + hex(letter)));
    }

  private slots:
    void initTestCase() {
        QVERIFY2(toneFont.isValid(), "cannot load " TONE_FONT_PATH);
        QVERIFY2(sourceFont.isValid(), "cannot load " SOURCE_FONT_PATH);
    }

    void applicationFontOffersTheFace() {
        const QString face = QString::fromUtf8(tone::toneFontFace);
        const int id = QFontDatabase::addApplicationFont(QString::fromUtf8(TONE_FONT_PATH));
        QVERIFY(id != -1);
        const auto removeLater = qScopeGuard([id] { QFontDatabase::removeApplicationFont(id); });
        QCOMPARE(QFontDatabase::applicationFontFamilies(id), QStringList{face});
        QFont font(face, 18);
        font.setStyleStrategy(QFont::NoFontMerging);
        QCOMPARE(QFontInfo(font).family(), face);
    }

    // Our own family, subfamily, unique id, full, PostScript, typographic and WWS names; the
    // licence notices kept. DejaVu's names guard against a reader that finds nothing.
    void names() {
        const auto dejaVu = windowsNames(sourceFont.fontTable("name"));
        QCOMPARE(dejaVu.value(1), QStringLiteral("DejaVu Serif"));
        QCOMPARE(dejaVu.value(6), QStringLiteral("DejaVuSerif"));
        const auto names = windowsNames(toneFont.fontTable("name"));
        for (int nameId : {1, 2, 3, 4, 6, 16, 17, 21, 22}) {
            for (const char* word : {"dejavu", "bitstream", "vera"})
                QVERIFY2(!names.value(nameId).contains(QLatin1String(word), Qt::CaseInsensitive),
                         qPrintable(names.value(nameId)));
        }
        const QString face = QString::fromUtf8(tone::toneFontFace);
        QCOMPARE(names.value(1), face);
        QCOMPARE(names.value(2), QStringLiteral("Regular"));
        QCOMPARE(names.value(4), face);
        QVERIFY(names.value(0).contains(QStringLiteral("Copyright (c) 2003 by Bitstream")));
        QVERIFY(names.value(13).contains(QStringLiteral("Bitstream Vera is a trademark")));
        QVERIFY(names.value(13).contains(QStringLiteral("Permission is hereby granted")));
    }

    // Each tone code is drawn as its letter, ASCII as itself; no other Latin-1 letter is left at
    // an unused code, where it would look like a tone vowel. Qt itself draws a no-break space with
    // the font's space, whatever the font.
    void glyphs() {
        QSet<char16_t> toneCodes;
        for (const auto& row : tone::glyphRows) {
            toneCodes.unite(QSet<char16_t>(row.glyphs.begin(), row.glyphs.end()));
            for (int tone = 1; tone <= tone::toneCount; ++tone)
                compareGlyph(QChar(row.glyphs[tone - 1]),
                             toneLetters.at(vowels.indexOf(QChar(row.vowel)) * 4 + tone - 1));
        }
        for (char16_t c = 0x20; c < 0x7F; ++c)
            compareGlyph(QChar(c), QChar(c));
        for (char16_t c = 0x7F; c <= 0xFF; ++c) {
            if (!toneCodes.contains(c) && c != 0xA0)
                QVERIFY2(!toneFont.supportsCharacter(QChar(c)), qPrintable(hex(QChar(c))));
        }
        const int glyphCount = readU16(toneFont.fontTable("maxp"), 4);
        QVERIFY2(glyphCount > 0 && glyphCount < 400, qPrintable(QString::number(glyphCount)));
    }
};

QTEST_MAIN(TestToneFont)
#include "tst_tonefont.moc"
