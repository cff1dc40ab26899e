#include "PinyinFormat.h"

#include "tone/UnicodePinyin.h"

#include <QByteArray>
#include <QStringDecoder>

#include <array>

namespace files {

namespace {

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

} // namespace

DecodedText PinyinFormat::decode(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString unicode = withLineFeeds(utf8(bytes));
    if (utf8.hasError())
        return {withLineFeeds(fromWindows1252(bytes)), {}, true};
    const std::u16string_view view(reinterpret_cast<const char16_t*>(unicode.utf16()),
                                   unicode.size());
    return {QString::fromStdU16String(tone::fromUnicodePinyin(view)),
            QString::fromStdU16String(tone::glyphLookalikeSigns(view)), false};
}

QByteArray PinyinFormat::encode(const QString& editorText) {
    const std::u16string_view view(reinterpret_cast<const char16_t*>(editorText.utf16()),
                                   editorText.size());
    return QString::fromStdU16String(tone::toUnicodePinyin(view)).toUtf8();
}

} // namespace files
