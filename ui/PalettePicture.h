#pragma once

class QImage;

// The colour palette that the picture box `pCol` shows: the hue turns once round the colour circle
// from left to right, and every column runs from white through its pure hue down to black. A grey
// line closes the top and the right edge. Every channel holds a five-bit level widened to eight
// bits, as on the 16-bit displays the palette was first drawn for.
class PalettePicture {
  public:
    static constexpr int width = 143;
    static constexpr int height = 74;

    static QImage image();
};
