#include "TiledBackground.h"

#include <QPainter>
#include <QPixmap>

// Composed over the base colour once, so that a picture's transparent pixels show that colour
// and not whatever lies under the window.
QBrush TiledBackground::brush(const QPixmap& picture, const QColor& base) {
    if (picture.isNull())
        return QBrush(base);
    QPixmap tile(picture.size());
    tile.fill(base);
    QPainter(&tile).drawPixmap(0, 0, picture);
    return QBrush(tile);
}
