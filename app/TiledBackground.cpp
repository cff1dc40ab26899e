#include "TiledBackground.h"

#include "FormDesign.h"

#include <QPainter>

#include <cmath>
#include <limits>

int TiledBackground::lastTile(float edgeTwips, float tileTwips) {
    const float tiles = std::floor(edgeTwips / tileTwips);
    // A tile too small to count would turn the loops into an endless or overflowing walk.
    if (!std::isfinite(tiles) || tiles < 0 || tiles > std::numeric_limits<std::int16_t>::max())
        return -1;
    return static_cast<int>(tiles);
}

QPixmap TiledBackground::draw(const QPixmap& picture, QSizeF tileTwips, QSize clientPixels,
                              const QColor& base) {
    QPixmap background(clientPixels);
    background.fill(base);
    if (picture.isNull())
        return background;
    QPainter painter(&background);
    painter.scale(1.0 / FormDesign::twipsPerPixel, 1.0 / FormDesign::twipsPerPixel);
    const float width = clientPixels.width() * FormDesign::twipsPerPixel;
    const float height = clientPixels.height() * FormDesign::twipsPerPixel;
    const float tileW = tileTwips.width();
    const float tileH = tileTwips.height();
    const int lastColumn = lastTile(width, tileW);
    for (int tileX = 0; tileX <= lastColumn; ++tileX) {
        const int lastRow = lastTile(height, tileH);
        for (int tileY = 0; tileY <= lastRow; ++tileY)
            painter.drawPixmap(QRectF(tileX * tileW, tileY * tileH, tileW, tileH), picture,
                               picture.rect());
    }
    return background;
}
