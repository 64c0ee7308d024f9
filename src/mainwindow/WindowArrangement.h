#pragma once

#include <QList>
#include <QRect>

class QMdiArea;

namespace WindowArrangement {
enum class Arrangement { Cascade = 0, TileHorizontal = 1, TileVertical = 2, ArrangeIcons = 3 };

// Arranges the windows of the area, the one on top first: cascaded; in full-width strips one above
// the other; in full-height strips side by side (as many as keep three rows of their lists, the
// rest cascaded over them); or, for minimized windows, lined up along the bottom.
void arrange(QMdiArea &area, Arrangement arrangement);

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
