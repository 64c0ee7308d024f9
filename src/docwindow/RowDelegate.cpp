#include "docwindow/RowDelegate.h"

#include "documents/Document.h"


int RowDelegate::indentStep(const QFontMetrics &metrics)
{
    return 2 * metrics.horizontalAdvance(QLatin1Char('0'));
}

void RowDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const int depth = index.data(Document::DepthRole).toInt();
    if (depth > 0 && index.column() == Document::NameColumn)
        option->rect.adjust(depth * indentStep(option->fontMetrics), 0, 0, 0);
    if (index.data(Document::SectionRole).toBool()) {
        option->font.setBold(true);
        option->backgroundBrush = option->palette.brush(QPalette::AlternateBase);
        if (option->backgroundBrush.color() == option->palette.color(QPalette::Base))
            option->backgroundBrush = option->palette.brush(QPalette::Button);
    }
}
