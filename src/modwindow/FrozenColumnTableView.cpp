#include "modwindow/FrozenColumnTableView.h"

#include <QHeaderView>
#include <QScrollBar>

FrozenColumnTableView::FrozenColumnTableView(QWidget *parent)
    : QTableView(parent)
    , m_frozen(new QTableView(this))
{
    m_frozen->setObjectName(QStringLiteral("tblFrozen"));
    // The keyboard stays in the main view; arrows move under the frozen column as anywhere else.
    m_frozen->setFocusPolicy(Qt::NoFocus);
    m_frozen->verticalHeader()->hide();
    m_frozen->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_frozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_frozen->setVerticalScrollMode(ScrollPerPixel);
    m_frozen->setFrameShape(QFrame::NoFrame);
    setHorizontalScrollMode(ScrollPerPixel);
    setVerticalScrollMode(ScrollPerPixel);
    viewport()->stackUnder(m_frozen);

    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column, int, int size) {
        if (column == 0) {
            m_frozen->setColumnWidth(0, size);
            updateFrozenGeometry();
        }
    });
    connect(verticalHeader(), &QHeaderView::sectionResized, this,
            [this](int row, int, int size) { m_frozen->setRowHeight(row, size); });
    connect(m_frozen->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(), &QAbstractSlider::setValue);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, m_frozen->verticalScrollBar(), &QAbstractSlider::setValue);

    // The frozen header sorts through the main one, which holds the one sort indicator.
    QHeaderView *frozenHeader = m_frozen->horizontalHeader();
    frozenHeader->setSectionsClickable(true);
    frozenHeader->setSortIndicatorShown(true);
    frozenHeader->setSortIndicator(-1, Qt::AscendingOrder);
    connect(frozenHeader, &QHeaderView::sectionClicked, this, [this](int column) {
        if (!isSortingEnabled() || column != 0)
            return;
        const QHeaderView *header = horizontalHeader();
        const bool ascending = header->sortIndicatorSection() == 0 && header->sortIndicatorOrder() == Qt::AscendingOrder;
        sortByColumn(0, ascending ? Qt::DescendingOrder : Qt::AscendingOrder);
    });
    connect(horizontalHeader(), &QHeaderView::sortIndicatorChanged, this, [this](int column, Qt::SortOrder order) {
        m_frozen->horizontalHeader()->setSortIndicator(column == 0 ? 0 : -1, order);
    });
}

void FrozenColumnTableView::setModel(QAbstractItemModel *model)
{
    QTableView::setModel(model);
    m_frozen->setModel(model);
    m_frozen->setSelectionModel(selectionModel());
    if (model) {
        connect(model, &QAbstractItemModel::columnsInserted, this, &FrozenColumnTableView::hideScrollingColumns);
        connect(model, &QAbstractItemModel::modelReset, this, &FrozenColumnTableView::hideScrollingColumns);
    }
    hideScrollingColumns();
}

void FrozenColumnTableView::hideScrollingColumns()
{
    const int columns = model() ? model()->columnCount() : 0;
    for (int column = 1; column < columns; ++column)
        m_frozen->setColumnHidden(column, true);
    m_frozen->setColumnWidth(0, columnWidth(0));
    updateFrozenGeometry();
}

void FrozenColumnTableView::updateFrozenGeometry()
{
    const int left = (verticalHeader()->isVisible() ? verticalHeader()->width() : 0) + frameWidth();
    m_frozen->setGeometry(left, frameWidth(), columnWidth(0), viewport()->height() + horizontalHeader()->height());
    m_frozen->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
}

void FrozenColumnTableView::resizeEvent(QResizeEvent *event)
{
    QTableView::resizeEvent(event);
    updateFrozenGeometry();
}

void FrozenColumnTableView::updateGeometries()
{
    QTableView::updateGeometries();
    updateFrozenGeometry();
}

// Moving left onto a column that the frozen one covers scrolls it out from under it.
QModelIndex FrozenColumnTableView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex current = QTableView::moveCursor(cursorAction, modifiers);
    if (cursorAction == MoveLeft && current.column() > 0 && visualRect(current).topLeft().x() < m_frozen->columnWidth(0)) {
        const int value = horizontalScrollBar()->value() + visualRect(current).topLeft().x() - m_frozen->columnWidth(0);
        horizontalScrollBar()->setValue(value);
    }
    return current;
}

// The first column is always in view; scrolling to it would only move the others away.
void FrozenColumnTableView::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (index.column() > 0) {
        QTableView::scrollTo(index, hint);
        return;
    }
    QTableView::scrollTo(index.sibling(index.row(), columnAt(m_frozen->columnWidth(0) + 1)), hint);
}
