#pragma once

#include <QBrush>

class QColor;
class QPixmap;

// The window's background covered with a picture in tiles of its own size, from the client's
// top-left corner. Painted as a texture wherever the window is repainted, so the tiles stay
// without a client-sized copy of them.
class TiledBackground {
  public:
    // The picture over the `base` colour, which also shows where there is no picture.
    static QBrush brush(const QPixmap& picture, const QColor& base);
};
