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
    // New columns may be the keys a filter names; a reset numbers the columns anew.
    connect(table, &QAbstractItemModel::columnsInserted, this, &ModTableSortFilter::resolveTerms);
    connect(table, &QAbstractItemModel::modelReset, this, &ModTableSortFilter::resolveTerms);
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
    if (column == ModTable::UnitColumn)
        return m_table->unitName(unit);
    if (column == ModTable::FileColumn)
        return m_table->fileName(unit);
    return fromFileText(m_table->valueBytes(unit, column));
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
    m_terms = TableFilter::parse(text);
    resolveTerms();
    refilter();
}

void ModTableSortFilter::resolveTerms()
{
    m_termColumns.clear();
    m_termBytes.clear();
    for (const TableFilter::Term &term : m_terms.terms()) {
        int column = -1;
        if (term.kind != TableFilter::Term::Kind::Word) {
            const QString &key = term.key;
            if (key.compare(m_table->headerData(ModTable::UnitColumn, Qt::Horizontal).toString(), Qt::CaseInsensitive) == 0)
                column = ModTable::UnitColumn;
            else if (key.compare(m_table->headerData(ModTable::FileColumn, Qt::Horizontal).toString(), Qt::CaseInsensitive) == 0)
                column = ModTable::FileColumn;
            else
                column = m_table->columnOfKey(key);
            if (column < 0)
                column = -2;
        }
        m_termColumns.append(column);
        // A value is Latin-1 text: one with a character beyond it can match no value.
        const QString &wanted = term.text;
        const bool latin1 = std::all_of(wanted.cbegin(), wanted.cend(), [](QChar c) { return c.unicode() <= 0xff; });
        m_termBytes.append(latin1 ? wanted.toLatin1() : QByteArray());
    }
}

// Rows the filter lets in again come back in the order of their units: they are sorted again, so
// that the order shown always follows the header.
void ModTableSortFilter::refilter()
{
    invalidateFilter();
    if (sortColumn() >= 0)
        QSortFilterProxyModel::sort(sortColumn(), sortOrder());
}

bool ModTableSortFilter::meets(int unit, const TableFilter::Term &term, int column, const QByteArray &bytes) const
{
    using Kind = TableFilter::Term::Kind;
    if (term.kind == Kind::Word) {
        if (m_table->unitName(unit).contains(term.text, Qt::CaseInsensitive) || m_table->fileName(unit).contains(term.text, Qt::CaseInsensitive))
            return true;
        if (bytes.isEmpty())
            return false;
        const QLatin1StringView wanted(bytes);
        for (int other = ModTable::FirstKeyColumn; other < m_table->columnCount(); ++other) {
            if (m_hidden.contains(other))
                continue;
            const QByteArrayView value = m_table->valueBytes(unit, other);
            if (value.size() >= wanted.size() && QLatin1StringView(value).contains(wanted, Qt::CaseInsensitive))
                return true;
        }
        return false;
    }
    if (column == -2)
        return false;
    const QString value = cellText(unit, column).trimmed();
    if (term.kind == Kind::Equals)
        return value.compare(term.text.trimmed(), Qt::CaseInsensitive) == 0;
    const std::optional<PlainNumber> number = plainNumber(value);
    if (!number)
        return false;
    return term.kind == Kind::Greater ? number->value > term.number : number->value < term.number;
}

bool ModTableSortFilter::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    Q_UNUSED(sourceParent);
    const QList<TableFilter::Term> &terms = m_terms.terms();
    for (qsizetype index = 0; index < terms.size(); ++index) {
        if (!meets(sourceRow, terms[index], m_termColumns.value(index, -2), m_termBytes.value(index)))
            return false;
    }
    return true;
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
        if (isColumnShown(column) || column == ModTable::FileColumn)
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
            fields.append(column == ModTable::FileColumn ? m_table->relativePath(unit) : cellText(unit, column));
        rows.append(fields);
    }
    return rows;
}
