#include "FontSizeText.h"

#include <QLocale>
#include <QString>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

double roundHalfToEven(double value) {
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction < 0.5)
        return below;
    if (fraction > 0.5)
        return below + 1;
    return std::fmod(below, 2) == 0 ? below : below + 1;
}

bool fitsInt16(double value) {
    return value >= std::numeric_limits<std::int16_t>::min() &&
           value <= std::numeric_limits<std::int16_t>::max();
}

} // namespace

std::optional<std::int16_t> FontSizeText::toInteger(const QString& text, const QLocale& locale) {
    bool ok = false;
    const double number = locale.toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(number))
        return std::nullopt;
    const double whole = roundHalfToEven(number);
    if (!fitsInt16(whole))
        return std::nullopt;
    return static_cast<std::int16_t>(whole);
}

std::optional<int> FontSizeText::toPoints(const QString& text, const QLocale& locale) {
    const std::optional<std::int16_t> whole = toInteger(text, locale);
    if (!whole || *whole < 1)
        return std::nullopt;
    return std::min<int>(*whole, largestPoints);
}
