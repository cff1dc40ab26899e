#include "PalettePicture.h"

#include <QImage>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int fieldRight = PalettePicture::width - 2;
constexpr int maxLevel = 31;
constexpr int greyLevel = 16;

// Corners of the hue circle in five-bit levels. Yellow and magenta hold for three columns, and the
// last stretch back to red ends beyond the picture, so its right edge stays a little short of red.
struct HueCorner {
    int x;
    std::array<double, 3> rgb;
};
constexpr std::array<HueCorner, 9> hueCorners{{
    {0, {1, 0, 0}},
    {23, {1, 1, 0}},
    {25, {1, 1, 0}},
    {48, {0, 1, 0}},
    {72, {0, 1, 1}},
    {97, {0, 0, 1}},
    {120, {1, 0, 1}},
    {122, {1, 0, 1}},
    {145, {1, 0, 0}},
}};

// The tints reach white two rows below the grey line and the shades reach black on the last row;
// the pure hue sits on the middle row and rounds to itself one row either side.
constexpr double tintStart = 36.5;
constexpr double tintSpan = 34.25;
constexpr double shadeStart = 37.5;
constexpr double shadeSpan = 35.25;

std::array<double, 3> hueAt(int x) {
    auto next =
        std::upper_bound(hueCorners.begin(), hueCorners.end(), x,
                         [](int value, const HueCorner& corner) { return value < corner.x; });
    const HueCorner& from = *(next - 1);
    const double along = double(x - from.x) / (next->x - from.x);
    std::array<double, 3> rgb{};
    for (std::size_t c = 0; c < rgb.size(); ++c)
        rgb[c] = from.rgb[c] + (next->rgb[c] - from.rgb[c]) * along;
    return rgb;
}

double clampedRamp(double distance, double span) {
    return std::clamp(distance / span, 0.0, 1.0);
}

int widened(int level) {
    return level << 3 | level >> 2;
}

int channel(double hue, int y) {
    const double white = clampedRamp(tintStart - y, tintSpan);
    const double black = clampedRamp(y - shadeStart, shadeSpan);
    const double value = (hue + (1 - hue) * white) * (1 - black);
    return widened(static_cast<int>(std::lround(value * maxLevel)));
}

using Hues = std::array<std::array<double, 3>, fieldRight + 1>;

// Written into the rows directly: the picture is made at every start, and a pixel set at a time
// costs more than the rest of the palette box.
void paintRow(uchar* row, int y, const Hues& hues) {
    for (const auto& hue : hues)
        for (double level : hue)
            *row++ = uchar(channel(level, y));
}

} // namespace

QImage PalettePicture::image() {
    QImage image(width, height, QImage::Format_RGB888);
    const int grey = widened(greyLevel);
    image.fill(QColor(grey, grey, grey));
    Hues hues;
    for (int x = 0; x <= fieldRight; ++x)
        hues[x] = hueAt(x);
    for (int y = 1; y < height; ++y)
        paintRow(image.scanLine(y), y, hues);
    return image;
}
