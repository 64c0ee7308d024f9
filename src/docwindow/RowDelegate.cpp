#include "docwindow/RowDelegate.h"

#include "documents/Document.h"
#include "help/VariableHelp.h"

#include <QAbstractItemView>
#include <QPainter>

// The list with the keyboard shows its selection in full and a dotted frame around the row the keys
// move from; the other list of the pair shows the same rows paler, so the eye finds the keyboard.
void RowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyleOptionViewItem shown = option;
    const auto *view = qobject_cast<const QAbstractItemView *>(option.widget);
    const bool keyboardHere = view && view->hasFocus();
    if (!keyboardHere && (option.state & QStyle::State_Selected)) {
        const QColor highlight = option.palette.color(QPalette::Highlight);
        const QColor base = option.palette.color(QPalette::Base);
        const auto mix = [](int a, int b) { return (a * 45 + b * 55) / 100; };
        shown.palette.setColor(QPalette::Highlight, QColor(mix(highlight.red(), base.red()),
                                                           mix(highlight.green(), base.green()),
                                                           mix(highlight.blue(), base.blue())));
        shown.palette.setColor(QPalette::HighlightedText, option.palette.color(QPalette::Text));
    }
    QStyledItemDelegate::paint(painter, shown, index);
    if (keyboardHere && (option.state & QStyle::State_HasFocus)) {
        painter->save();
        const bool selected = option.state & QStyle::State_Selected;
        painter->setPen(QPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Highlight), 1, Qt::DotLine));
        painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
        painter->restore();
    }
}

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
