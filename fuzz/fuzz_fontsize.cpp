// Any text, as UTF-8 or UTF-16, converted to a font size under several locales.
#include "FuzzInput.h"
#include "ui/FontSizeText.h"

#include <QLocale>
#include <QString>

#include <algorithm>
#include <array>
#include <optional>

namespace {

const std::array<QLocale, 5>& locales() {
    static const std::array<QLocale, 5> all{QLocale::c(), QLocale("en_US"), QLocale("de_DE"),
                                            QLocale("fr_FR"), QLocale("ar_EG")};
    return all;
}

QString textOf(std::string_view bytes, bool utf16) {
    if (!utf16)
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.data()),
                              qsizetype(bytes.size() / 2));
}

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The value of a text made of white space, an optional minus sign, up to six ASCII digits and
// white space; nothing for any other text.
std::optional<long> plainInteger(const QString& text, const QLocale& locale) {
    QStringView rest = QStringView(text).trimmed();
    const bool negative = locale.negativeSign() == u"-" && rest.startsWith(u'-');
    if (negative)
        rest = rest.sliced(1);
    if (rest.isEmpty() || rest.size() > 6 || !std::all_of(rest.begin(), rest.end(), isAsciiDigit))
        return std::nullopt;
    const long value = rest.toLong();
    return negative ? -value : value;
}

void checkConversions(const QString& text, const QLocale& locale) {
    const std::optional<std::int16_t> whole = FontSizeText::toInteger(text, locale);
    const std::optional<int> points = FontSizeText::toPoints(text, locale);
    if (points)
        fuzz::require(*points >= 1 && *points <= FontSizeText::largestPoints, "sizes 1 to 400");
    const bool applies = whole && *whole >= 1;
    fuzz::require(applies == points.has_value(), "a size applies exactly when it is 1 or more");
    if (applies)
        fuzz::require(*points == std::min<int>(*whole, FontSizeText::largestPoints),
                      "large sizes come down to the largest");
    if (const auto plain = plainInteger(text, locale)) {
        const bool fits = *plain >= -32768 && *plain <= 32767;
        fuzz::require(whole.has_value() == fits, "a plain integer converts when it fits");
        fuzz::require(!whole || *whole == *plain, "a plain integer converts to itself");
    }
}

// The locale's own writing of a number, group separators included, reads back as that number.
// Qt 6.4 cannot read back a minus sign of more than one character (ar_EG writes U+061C before the
// hyphen), so such negatives are left out: the box refuses every negative size anyway.
void checkRoundTrip(std::int16_t number, const QLocale& locale) {
    if (number < 0 && locale.negativeSign().size() != 1)
        return;
    const auto back = FontSizeText::toInteger(locale.toString(number), locale);
    fuzz::require(back && *back == number, "the locale's own notation reads back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::ByteReader input(data, size);
    const std::uint8_t how = input.byte();
    const QLocale& locale = locales()[how % locales().size()];
    checkRoundTrip(std::int16_t(input.u16()), locale);
    checkConversions(textOf(input.rest(), how & 0x80), locale);
    return 0;
}
