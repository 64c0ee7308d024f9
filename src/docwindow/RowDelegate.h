#pragma once

#include <QStyledItemDelegate>

// Draws a document's rows in its lists: a row stands in by one step for each section it is in, and
// a section's header is set apart, bold on a shaded band in both lists, its value empty. A row whose
// key a later row of its section sets again is struck through, and a value not yet set is greyed
// and slanted.
class RowDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // How far a row stands in for each section it is in, in pixels.
    static int indentStep(const QFontMetrics &metrics);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};
