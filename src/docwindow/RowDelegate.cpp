#include "docwindow/RowDelegate.h"

#include "documents/Document.h"
#include "help/VariableHelp.h"

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
    // A row that a later row of the same key overrides has no effect: struck through and greyed.
    if (index.data(Document::OverriddenByRole).toInt() >= 0) {
        option->font.setStrikeOut(true);
        option->palette.setBrush(QPalette::Text, option->palette.brush(QPalette::Disabled, QPalette::Text));
    }
    // A value still the placeholder of a new row is not set yet: greyed and slanted.
    if (index.column() == Document::ValueColumn && Help::isPlaceholder(option->text)) {
        option->font.setItalic(true);
        option->palette.setBrush(QPalette::Text, option->palette.brush(QPalette::PlaceholderText));
    }
    if (index.data(Document::SectionRole).toBool()) {
        option->font.setBold(true);
        option->backgroundBrush = option->palette.brush(QPalette::AlternateBase);
        if (option->backgroundBrush.color() == option->palette.color(QPalette::Base))
            option->backgroundBrush = option->palette.brush(QPalette::Button);
    }
}
