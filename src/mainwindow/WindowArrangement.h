#pragma once

#include <QList>
#include <QRect>

namespace WindowArrangement {
// Splits an area into count strips that fill it exactly: full-width strips one above the other
// (Qt::Vertical stacking) or full-height strips side by side (Qt::Horizontal). Earlier strips take
// the pixels that do not divide evenly.
QList<QRect> strips(const QRect &area, int count, Qt::Orientation stacking);

// Places for minimized windows of the given size, left to right along the bottom of the area,
// starting a new row above when one is full.
QList<QRect> iconRow(const QRect &area, const QSize &iconSize, int count);
}
