#include "documents/ModTableSortFilter.h"


#include "documents/FbiContent.h"
#include "documents/ModTable.h"

#include <QLatin1StringView>

#include <charconv>
#include <cmath>
#include <optional>

namespace {
bool needsQuotes(QStringView field)
{
    for (const QChar c : field) {
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return true;
    }
    return !field.isEmpty() && (field.front().isSpace() || field.back().isSpace());
}

// The whole text, blanks aside, as a number: "12", "-0.5", ".5", "1e3"; not "inf", "0x10" or "28 45".
std::optional<double> numberOf(QStringView text)
{
    const QByteArray bytes = text.trimmed().toLatin1();
    const char *begin = bytes.constData();
    const char *end = begin + bytes.size();
    if (begin != end && *begin == '+')
        ++begin;
    if (begin == end || !(std::isdigit(static_cast<unsigned char>(*begin)) || *begin == '.' || *begin == '-'))
        return std::nullopt;
    double number = 0;
    const auto [stop, error] = std::from_chars(begin, end, number);
    if (error != std::errc() || stop != end || !std::isfinite(number))
        return std::nullopt;
    return number;
}

// A spreadsheet runs a field that starts like a formula; a unit file from elsewhere must not be able
// to make it do so. A quote in front keeps such text as text; numbers stay numbers.
QString guardedField(const QString &field)
{
    static const QString FormulaStarts = QStringLiteral("=+-@\t\r");
    if (!field.isEmpty() && FormulaStarts.contains(field.front()) && !numberOf(field))
        return QLatin1Char('\'') + field;
    return field;
}

void appendField(QString &line, const QString &text)
{
    const QString field = guardedField(text);
    if (!needsQuotes(field)) {
        line += field;
        return;
    }
    line += QLatin1Char('"');
    line += QString(field).replace(QLatin1Char('"'), QLatin1String("\"\""));
    line += QLatin1Char('"');
}
}

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
    if (const std::optional<double> number = numberOf(text)) {
        key.kind = SortKey::Number;
        key.number = *number;
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
    invalidateFilter();
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
        invalidateFilter();
}

QByteArray ModTableSortFilter::toCsv() const
{
    QList<int> columns;
    for (int column = 0; column < m_table->columnCount(); ++column) {
        if (isColumnShown(column))
            columns.append(column);
    }
    QString text;
    auto appendLine = [&](auto fieldOf) {
        QString line;
        for (qsizetype index = 0; index < columns.size(); ++index) {
            if (index > 0)
                line += QLatin1Char(',');
            appendField(line, fieldOf(columns[index]));
        }
        text += line + QLatin1String("\r\n");
    };
    appendLine([this](int column) { return m_table->headerData(column, Qt::Horizontal).toString(); });
    for (int row = 0; row < rowCount(); ++row) {
        const int unit = mapToSource(index(row, 0)).row();
        appendLine([this, unit](int column) { return cellText(unit, column); });
    }
    // UTF-8 with its mark: the spreadsheets then read letters beyond ASCII as they are.
    return QByteArrayLiteral("\xEF\xBB\xBF") + text.toUtf8();
}

ModTableSortFilter::ExportResult ModTableSortFilter::exportCsv(const QString &path) const
{
    return writeFileSafely(path, toCsv());
}
