#pragma once

#include <QPixmap>

class QSize;

// The window's background covered with a picture in tiles of its own size, drawn once into a
// pixmap that the window keeps, so the tiles stay however often the window is repainted.
class TiledBackground {
  public:
    // The last tile index along an edge: the edge divided by the tile, rounded down, inclusive.
    static int lastTile(float edgeTwips, float tileTwips);

    // `tileTwips` is the picture's size in twips; a null picture leaves the plain `base` colour.
    static QPixmap draw(const QPixmap& picture, QSizeF tileTwips, QSize clientPixels,
                        const QColor& base);
};
