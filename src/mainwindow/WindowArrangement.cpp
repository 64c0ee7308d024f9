#include "mainwindow/WindowArrangement.h"

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
