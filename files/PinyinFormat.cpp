#include "PinyinFormat.h"

#include "Utf8Escapes.h"
#include "tone/UnicodePinyin.h"

#include <QByteArray>

#include <array>

namespace files {

namespace {

constexpr QByteArrayView byteOrderMark("\xEF\xBB\xBF");

// Windows-1252 at 0x80 to 0x9F; the five bytes it leaves undefined keep their own code, as
// browsers read them.
constexpr std::array<char16_t, 32> windows1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString fromWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        *out++ = QChar(code >= 0x80 && code < 0xA0 ? windows1252High[code - 0x80] : code);
    }
    return text;
}

QString withLineFeeds(QString text) {
    if (!text.contains(u'\r'))
        return text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

LineEnd firstLineEnd(QByteArrayView bytes) {
    for (qsizetype at = 0; at < bytes.size(); ++at) {
        if (bytes[at] == '\n')
            return LineEnd::lf;
        if (bytes[at] == '\r')
            return at + 1 < bytes.size() && bytes[at + 1] == '\n' ? LineEnd::crLf : LineEnd::cr;
    }
    return LineEnd::lf;
}

std::u16string_view view(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size())};
}

} // namespace

DecodedText PinyinFormat::decode(QByteArrayView bytes, Origin origin) {
    DecodedText decoded;
    decoded.format = {firstLineEnd(bytes), bytes.startsWith(byteOrderMark)};
    if (decoded.format.byteOrderMark)
        bytes = bytes.sliced(byteOrderMark.size());
    const EscapedText utf8 = Utf8Escapes::decode(bytes);
    if (origin == Origin::anyFile && utf8.strayBytes > 0 && utf8.multiByteCharacters == 0) {
        decoded.text = withLineFeeds(fromWindows1252(bytes));
        decoded.windows1252 = true;
        return decoded;
    }
    const QString unicode = withLineFeeds(utf8.text);
    decoded.text = QString::fromStdU16String(tone::fromUnicodePinyin(view(unicode)));
    decoded.lookalikeSigns = QString::fromStdU16String(tone::glyphLookalikeSigns(view(unicode)));
    decoded.strayBytes = utf8.strayBytes;
    return decoded;
}

QByteArray PinyinFormat::encode(const QString& editorText, FileFormat format) {
    QString unicode = QString::fromStdU16String(tone::toUnicodePinyin(view(editorText)));
    if (format.lineEnd != LineEnd::lf)
        unicode.replace(u'\n', format.lineEnd == LineEnd::crLf ? QStringLiteral("\r\n")
                                                               : QStringLiteral("\r"));
    QByteArray bytes = Utf8Escapes::encode(unicode);
    return format.byteOrderMark ? bytes.prepend(byteOrderMark) : bytes;
}

QByteArray PinyinFormat::formatName(FileFormat format) {
    const QByteArray lineEnd = format.lineEnd == LineEnd::crLf ? "crlf"
                               : format.lineEnd == LineEnd::cr ? "cr"
                                                               : "lf";
    return format.byteOrderMark ? lineEnd + "+bom" : lineEnd;
}

FileFormat PinyinFormat::formatNamed(QByteArrayView name) {
    const bool mark = name.endsWith("+bom");
    const QByteArrayView lineEnd = mark ? name.chopped(4) : name;
    return {lineEnd == "crlf" ? LineEnd::crLf : lineEnd == "cr" ? LineEnd::cr : LineEnd::lf, mark};
}

} // namespace files
