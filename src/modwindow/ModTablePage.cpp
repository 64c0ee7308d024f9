#include "modwindow/ModTablePage.h"

#include "documents/FbiContent.h"
#include "mod/ModTable.h"
#include "mod/ModTableSortFilter.h"
#include "modwindow/ColumnChooser.h"
#include "modwindow/FrozenColumnTableView.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int MinimumColumnWidth = 48;
constexpr int MaximumColumnWidth = 220;
constexpr int SampledRows = 200;    // the rows whose values set the columns' widths
const QString ChangedMark = QStringLiteral(" *");

// A row with unsaved changes shows its name in bold with a star; the computed columns are greyed,
// as they are never edited. The cell the keys move from has a dotted frame while the table has the
// keyboard.
class RowDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::paint(painter, option, index);
        const auto *view = qobject_cast<const QAbstractItemView *>(option.widget);
        if (view && view->hasFocus() && (option.state & QStyle::State_HasFocus)) {
            painter->save();
            const bool selected = option.state & QStyle::State_Selected;
            painter->setPen(QPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Highlight), 1, Qt::DotLine));
            painter->drawRect(option.rect.adjusted(1, 1, -2, -2));
            painter->restore();
        }
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() == ModTable::UnitColumn && index.data(ModTable::ModifiedRole).toBool()) {
            option->font.setBold(true);
            option->text += ChangedMark;
        }
        if (index.data(ModTable::ComputedRole).toBool() && !(option->state & QStyle::State_Selected))
            option->palette.setColor(QPalette::Text, option->palette.color(QPalette::Disabled, QPalette::Text));
    }
};
}

ModTablePage::ModTablePage(ModTable *table, QWidget *parent)
    : QWidget(parent)
    , m_table(table)
    , m_shown(new ModTableSortFilter(table, this))
    , m_view(new FrozenColumnTableView)
{
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setHighlightSections(false);
    // A delegate per view: a shared one would hand each view the other's editors.
    m_view->setItemDelegate(new RowDelegate(m_view));
    m_view->frozenView()->setItemDelegate(new RowDelegate(m_view->frozenView()));
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setWordWrap(false);
    m_view->setContextMenuPolicy(Qt::ActionsContextMenu);
    // Rows as tight as a list's, so that many fit on the screen.
    const int rowHeight = m_view->fontMetrics().height() + 6;
    m_view->verticalHeader()->setDefaultSectionSize(rowHeight);
    m_view->frozenView()->verticalHeader()->setDefaultSectionSize(rowHeight);
    m_view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    m_view->setModel(m_shown);
    m_view->setSortingEnabled(true);
    m_chooser = new ColumnChooser(m_shown, this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);

    connect(m_shown, &ModTableSortFilter::columnShownChanged, this,
            [this](int column, bool shown) { m_view->setColumnHidden(column, !shown); });
    auto activate = [this](const QModelIndex &index) {
        if (index.isValid() && index.column() == ModTable::UnitColumn)
            emit rowActivated(m_shown->mapToSource(index).row());
    };
    connect(m_view, &QAbstractItemView::activated, this, activate);
    connect(m_view->frozenView(), &QAbstractItemView::activated, this, activate);
    m_view->viewport()->installEventFilter(this);
    m_view->frozenView()->viewport()->installEventFilter(this);
}

// The views go before the table they show.
ModTablePage::~ModTablePage()
{
    delete m_view;
}

QString ModTablePage::filterText() const
{
    return m_shown->filterText();
}

void ModTablePage::setFilterText(const QString &text)
{
    m_shown->setFilterText(text);
}

bool ModTablePage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && (mouse->modifiers() & Qt::ControlModifier)) {
            QTableView *view = watched == m_view->viewport() ? static_cast<QTableView *>(m_view) : m_view->frozenView();
            const QModelIndex shown = view->indexAt(mouse->position().toPoint());
            bool taken = false;
            if (shown.isValid())
                emit cellCtrlClicked(m_shown->mapToSource(shown), &taken);
            if (taken) {
                m_view->selectionModel()->setCurrentIndex(shown, QItemSelectionModel::ClearAndSelect);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

QModelIndexList ModTablePage::selectedCells() const
{
    QModelIndexList cells;
    for (const QModelIndex &index : m_view->selectionModel()->selectedIndexes()) {
        if (m_table->isKeyColumn(index.column()) && !m_view->isColumnHidden(index.column()))
            cells.append(m_shown->mapToSource(index));
    }
    return cells;
}

QList<int> ModTablePage::selectedRows() const
{
    QList<int> shownRows;
    for (const QModelIndex &index : m_view->selectionModel()->selectedIndexes())
        shownRows.append(index.row());
    std::sort(shownRows.begin(), shownRows.end());
    shownRows.erase(std::unique(shownRows.begin(), shownRows.end()), shownRows.end());
    QList<int> rows;
    rows.reserve(shownRows.size());
    for (int shown : std::as_const(shownRows))
        rows.append(m_shown->mapToSource(m_shown->index(shown, 0)).row());
    return rows;
}

QModelIndex ModTablePage::currentCell() const
{
    const QModelIndex current = m_view->currentIndex();
    return current.isValid() ? m_shown->mapToSource(current) : QModelIndex();
}

void ModTablePage::selectTableRow(int row)
{
    if (row < 0 || row >= m_table->rowCount())
        return;
    QModelIndex shown = m_shown->mapFromSource(m_table->index(row, ModTable::UnitColumn));
    if (!shown.isValid()) {
        m_shown->setFilterText(QString());
        shown = m_shown->mapFromSource(m_table->index(row, ModTable::UnitColumn));
    }
    m_view->selectionModel()->setCurrentIndex(shown, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_view->scrollTo(shown);
}

QString ModTablePage::selectionText() const
{
    const QModelIndexList selected = m_view->selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return {};
    int top = selected.first().row();
    int bottom = top;
    int left = selected.first().column();
    int right = left;
    for (const QModelIndex &index : selected) {
        top = std::min(top, index.row());
        bottom = std::max(bottom, index.row());
        left = std::min(left, index.column());
        right = std::max(right, index.column());
    }
    QString text;
    for (int row = top; row <= bottom; ++row) {
        QStringList fields;
        for (int column = left; column <= right; ++column) {
            if (!m_view->isColumnHidden(column))
                fields.append(m_shown->index(row, column).data().toString());
        }
        text += fields.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

// Measuring every cell through the view would take longer than reading the mod: a sample of the
// rows sets the width, within limits; the name column measures every row.
void ModTablePage::fitColumns()
{
    QHeaderView *header = m_view->horizontalHeader();
    const QFontMetrics headerMetrics(header->font());
    const QFontMetrics cellMetrics(m_view->font());
    // A changed row's name is bold and starred, and should still fit.
    QFont bold = m_view->font();
    bold.setBold(true);
    const QFontMetrics nameMetrics(bold);
    const int headerPadding = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin) + 16;
    const int cellPadding = 2 * m_view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 8;
    const int rows = m_table->unitCount();
    for (int column = 0; column < m_shown->columnCount(); ++column) {
        const bool byName = column == ModTable::UnitColumn || column == ModTable::FileColumn;
        const int step = byName ? 1 : std::max(1, rows / SampledRows);
        QString longest;
        for (int row = 0; row < rows; row += step) {
            if (column == ModTable::UnitColumn) {
                if (const QString name = m_table->unitName(row); name.size() > longest.size())
                    longest = name;
            } else if (column == ModTable::FileColumn) {
                if (const QString name = m_table->fileName(row); name.size() > longest.size())
                    longest = name;
            } else if (const QByteArrayView value = m_table->valueBytes(row, column); value.size() > longest.size()) {
                longest = fromFileText(value);
            }
        }
        const int width = std::max(headerMetrics.horizontalAdvance(m_shown->headerData(column, Qt::Horizontal).toString()) + headerPadding,
                                   column == ModTable::UnitColumn
                                       ? nameMetrics.horizontalAdvance(longest + ChangedMark) + cellPadding
                                       : cellMetrics.horizontalAdvance(longest) + cellPadding);
        header->resizeSection(column, std::clamp(width, MinimumColumnWidth, MaximumColumnWidth));
    }
}
