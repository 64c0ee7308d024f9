#include "mod/ModTableSortFilter.h"

#include "documents/FbiContent.h"
#include "documents/Numbers.h"
#include "mod/ModTable.h"

#include <QLatin1StringView>

ModTableSortFilter::ModTableSortFilter(ModTable *table, QObject *parent)
    : QSortFilterProxyModel(parent)
    , m_table(table)
{
    setDynamicSortFilter(false);
    setSourceModel(table);
    // Before the base class hears of a reset: it may sort the new rows at once.
    auto invalidateKeys = [this] { m_sortKeysValid = false; };
    connect(table, &QAbstractItemModel::modelAboutToBeReset, this, invalidateKeys);
    connect(table, &QAbstractItemModel::dataChanged, this, invalidateKeys);
}

ModTableSortFilter::SortKey ModTableSortFilter::sortKey(const QString &value)
{
    SortKey key;
    const QStringView text = QStringView(value).trimmed();
    if (text.isEmpty())
        return key;
    if (const std::optional<PlainNumber> number = plainNumber(text)) {
        key.kind = SortKey::Number;
        key.number = number->value;
        return key;
    }
    key.kind = SortKey::Text;
    key.text = value;
    return key;
}

QString ModTableSortFilter::cellText(int unit, int column) const
{
    return column == ModTable::UnitColumn ? m_table->unitName(unit) : fromFileText(m_table->valueBytes(unit, column));
}

void ModTableSortFilter::updateSortKeys() const
{
    if (m_sortKeysValid && m_sortKeys.size() == size_t(m_table->unitCount()))
        return;
    m_sortKeys.assign(size_t(m_table->unitCount()), SortKey());
    const int column = sortColumn();
    if (column >= 0 && column < m_table->columnCount()) {
        for (int unit = 0; unit < m_table->unitCount(); ++unit)
            m_sortKeys[size_t(unit)] = sortKey(cellText(unit, column));
    }
    m_sortKeysValid = true;
}

void ModTableSortFilter::sort(int column, Qt::SortOrder order)
{
    m_sortKeysValid = false;
    QSortFilterProxyModel::sort(column, order);
}

// In a descending sort the base class asks lessThan(right, left); empty cells still go last.
bool ModTableSortFilter::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    updateSortKeys();
    const SortKey &a = m_sortKeys[size_t(left.row())];
    const SortKey &b = m_sortKeys[size_t(right.row())];
    if ((a.kind == SortKey::Empty) != (b.kind == SortKey::Empty))
        return (a.kind == SortKey::Empty) == (sortOrder() == Qt::DescendingOrder);
    if (a.kind != b.kind)
        return a.kind < b.kind;
    if (a.kind == SortKey::Number)
        return a.number < b.number;
    if (a.kind == SortKey::Text) {
        const int order = a.text.compare(b.text, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a.text < b.text;
    }
    return false;
}

void ModTableSortFilter::setFilterText(const QString &text)
{
    if (text == m_filter)
        return;
    m_filter = text;
    // A value is Latin-1 text: one with a character beyond it can match no value.
    const bool latin1 = std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() <= 0xff; });
    m_filterBytes = latin1 ? text.toLatin1() : QByteArray();
    refilter();
}

// Rows the filter lets in again come back in the order of their units: they are sorted again, so
// that the order shown always follows the header.
void ModTableSortFilter::refilter()
{
    invalidateFilter();
    if (sortColumn() >= 0)
        QSortFilterProxyModel::sort(sortColumn(), sortOrder());
}

bool ModTableSortFilter::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    Q_UNUSED(sourceParent);
    if (m_filter.isEmpty())
        return true;
    if (m_table->unitName(sourceRow).contains(m_filter, Qt::CaseInsensitive)
        || m_table->fileName(sourceRow).contains(m_filter, Qt::CaseInsensitive))
        return true;
    if (m_filterBytes.isEmpty())
        return false;
    const QLatin1StringView wanted(m_filterBytes);
    for (int column = 1; column < m_table->columnCount(); ++column) {
        if (m_hidden.contains(column))
            continue;
        const QByteArrayView value = m_table->valueBytes(sourceRow, column);
        if (value.size() >= wanted.size() && QLatin1StringView(value).contains(wanted, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

void ModTableSortFilter::setColumnShown(int column, bool shown)
{
    if (column == ModTable::UnitColumn || isColumnShown(column) == shown)
        return;
    if (shown)
        m_hidden.remove(column);
    else
        m_hidden.insert(column);
    emit columnShownChanged(column, shown);
    // The filter looks at the shown values only.
    if (!m_filter.isEmpty())
        refilter();
}

QList<QStringList> ModTableSortFilter::shownRows() const
{
    QList<int> columns;
    for (int column = 0; column < m_table->columnCount(); ++column) {
        if (isColumnShown(column))
            columns.append(column);
    }
    QList<QStringList> rows;
    rows.reserve(rowCount() + 1);
    QStringList header;
    for (int column : std::as_const(columns))
        header.append(m_table->headerData(column, Qt::Horizontal).toString());
    rows.append(header);
    for (int row = 0; row < rowCount(); ++row) {
        const int unit = mapToSource(index(row, 0)).row();
        QStringList fields;
        fields.reserve(columns.size());
        for (int column : std::as_const(columns))
            fields.append(cellText(unit, column));
        rows.append(fields);
    }
    return rows;
}
