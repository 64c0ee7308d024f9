#pragma once

#include <QStyledItemDelegate>

// Draws a document's rows in its lists: a row stands in by one step for each section it is in, and
// a section's header is set apart, bold on a shaded band in both lists, its value empty.
class RowDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // How far a row stands in for each section it is in, in pixels.
    static int indentStep(const QFontMetrics &metrics);

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};
