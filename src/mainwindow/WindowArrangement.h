#pragma once

#include <QList>
#include <QRect>

namespace WindowArrangement {
// Splits an area into count strips that fill it exactly: full-width strips one above the other
// (Qt::Vertical stacking) or full-height strips side by side (Qt::Horizontal). Earlier strips take
// the pixels that do not divide evenly.
QList<QRect> strips(const QRect &area, int count, Qt::Orientation stacking);

// How many strips of at least minimum pixels fit in length (at least one).
int stripsThatFit(int length, int minimum);

// Places for windows of the given sizes, each one step lower and to the right of the one before,
// each cut to the area so that its title bar and close box stay inside it. When the next step
// leaves less than minimum, the next window starts again at the top left.
QList<QRect> cascade(const QRect &area, const QList<QSize> &sizes, int step, const QSize &minimum);

// Places for minimized windows of the given size, left to right along the bottom of the area,
// starting a new row above when one is full.
QList<QRect> iconRow(const QRect &area, const QSize &iconSize, int count);
}
