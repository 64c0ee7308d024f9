#pragma once

#include <QTableView>

// A table whose first column stays in view while the others scroll sideways: a second view over
// the left edge shows that column, with the same model and the same selection. Clicking the first
// column's header sorts by it like any other.
class FrozenColumnTableView : public QTableView
{
    Q_OBJECT

public:
    explicit FrozenColumnTableView(QWidget *parent = nullptr);

    void setModel(QAbstractItemModel *model) override;
    // The view that shows the first column.
    QTableView *frozenView() const { return m_frozen; }

    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void updateGeometries() override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;

private:
    void updateFrozenGeometry();
    void hideScrollingColumns();

    QTableView *m_frozen;
};
