#include "mainwindow/WindowArrangement.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

#include <algorithm>

QList<QRect> WindowArrangement::strips(const QRect &area, int count, Qt::Orientation stacking)
{
    QList<QRect> result;
    if (count <= 0)
        return result;
    const bool sideBySide = stacking == Qt::Horizontal;
    const int length = sideBySide ? area.width() : area.height();
    int start = sideBySide ? area.left() : area.top();
    for (int index = 0; index < count; ++index) {
        const int size = length / count + (index < length % count ? 1 : 0);
        result.append(sideBySide ? QRect(start, area.top(), size, area.height())
                                 : QRect(area.left(), start, area.width(), size));
        start += size;
    }
    return result;
}

int WindowArrangement::stripsThatFit(int length, int minimum)
{
    return std::max(1, length / std::max(1, minimum));
}

QList<QRect> WindowArrangement::cascade(const QRect &area, const QList<QSize> &sizes, int step, const QSize &minimum)
{
    QList<QRect> result;
    int offset = 0;
    for (const QSize &size : sizes) {
        if (area.width() - offset < minimum.width() || area.height() - offset < minimum.height())
            offset = 0;
        const QPoint topLeft = area.topLeft() + QPoint(offset, offset);
        result.append(QRect(topLeft, size.boundedTo(QSize(area.width() - offset, area.height() - offset))));
        offset += step;
    }
    return result;
}

QList<QRect> WindowArrangement::iconRow(const QRect &area, const QSize &iconSize, int count)
{
    QList<QRect> result;
    const int perRow = std::max(1, area.width() / std::max(1, iconSize.width()));
    for (int index = 0; index < count; ++index) {
        const int column = index % perRow;
        const int row = index / perRow;
        result.append(QRect(QPoint(area.left() + column * iconSize.width(),
                                   area.bottom() + 1 - (row + 1) * iconSize.height()),
                            iconSize));
    }
    return result;
}

void WindowArrangement::arrange(QMdiArea &area, Arrangement arrangement)
{
    QList<QMdiSubWindow *> open;
    QList<QMdiSubWindow *> minimized;
    const QList<QMdiSubWindow *> stacked = area.subWindowList(QMdiArea::StackingOrder);
    for (auto window = stacked.crbegin(); window != stacked.crend(); ++window) {
        if ((*window)->isHidden())
            continue;
        ((*window)->isMinimized() ? minimized : open).append(*window);
    }
    const QRect room = area.viewport()->rect();
    if (arrangement == Arrangement::ArrangeIcons) {
        if (minimized.isEmpty())
            return;
        const QList<QRect> places = iconRow(room, minimized.constFirst()->size(), int(minimized.size()));
        for (int index = 0; index < minimized.size(); ++index)
            minimized[index]->move(places[index].topLeft());
        return;
    }
    for (QMdiSubWindow *window : std::as_const(open)) {
        if (window->isMaximized())
            window->showNormal();
    }
    // A window keeps at least its title bar and three rows of its lists.
    const QStyle *style = area.style();
    const int titleBar = style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &area);
    const int smallest = titleBar + 3 * area.fontMetrics().height() + 4 * style->pixelMetric(QStyle::PM_DefaultFrameWidth);
    qsizetype tiled = 0;
    if (arrangement != Arrangement::Cascade) {
        const Qt::Orientation stacking = arrangement == Arrangement::TileVertical ? Qt::Horizontal : Qt::Vertical;
        const int length = stacking == Qt::Vertical ? room.height() : room.width();
        tiled = std::min<qsizetype>(open.size(), stripsThatFit(length, smallest));
        const QList<QRect> places = strips(room, int(tiled), stacking);
        for (qsizetype index = 0; index < tiled; ++index)
            open[index]->setGeometry(places[index]);
    }
    // Windows beyond those that tile are cascaded over them, the one on top last.
    const QList<QMdiSubWindow *> rest(open.crbegin(), open.crend() - tiled);
    QList<QSize> sizes;
    for (QMdiSubWindow *window : rest)
        sizes.append(window->sizeHint());
    const QList<QRect> places = cascade(room, sizes, titleBar, QSize(4 * titleBar, smallest));
    for (qsizetype index = 0; index < rest.size(); ++index) {
        rest[index]->setGeometry(places[index]);
        rest[index]->raise();
    }
}
