#include "docwindow/PanelLayout.h"

namespace {
float offset(float scroller, float panel)
{
    return scroller > panel ? scroller / 2.0f - panel / 2.0f : 0.0f;
}
}

QPointF PanelLayout::place(QSizeF scroller, QSizeF panel)
{
    return {offset(float(scroller.width()), float(panel.width())),
            offset(float(scroller.height()), float(panel.height()))};
}
