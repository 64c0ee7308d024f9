#pragma once

#include <QPointF>
#include <QSizeF>

namespace PanelLayout {
// Where a fixed-size panel goes inside its scroller, in twips: centred in each direction in which
// the scroller is larger than the panel, at 0 in each direction in which it is not (the scroller
// then scrolls). Computed in single precision, as the window designs are.
QPointF place(QSizeF scroller, QSizeF panel);
}
