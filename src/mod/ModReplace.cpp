#include "mod/ModReplace.h"

#include "documents/FbiContent.h"
#include "mod/ModTable.h"

ModReplace::ModReplace(const Options &options)
    : m_options(options)
{
    if (options.regularExpression) {
        const QString pattern = options.wholeValue ? QRegularExpression::anchoredPattern(options.find) : options.find;
        m_expression = QRegularExpression(pattern, options.matchCase ? QRegularExpression::NoPatternOption
                                                                     : QRegularExpression::CaseInsensitiveOption);
        if (!m_expression.isValid())
            m_error = QStringLiteral("\"%1\" is not a regular expression: %2.").arg(options.find, m_expression.errorString());
        else if (options.find.isEmpty())
            m_error = QStringLiteral("Type what to find.");
    } else if (options.find.isEmpty() && !options.wholeValue) {
        // An empty text is in every value; as a whole value it finds the empty ones.
        m_error = QStringLiteral("Type what to find.");
    }
}

std::optional<QString> ModReplace::replaced(const QString &value) const
{
    if (!m_error.isEmpty())
        return std::nullopt;
    const Qt::CaseSensitivity sensitivity = m_options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    QString result = value;
    if (m_options.regularExpression) {
        if (!m_expression.match(value).hasMatch())
            return std::nullopt;
        result.replace(m_expression, m_options.replacement);
    } else if (m_options.wholeValue) {
        if (value.compare(m_options.find, sensitivity) != 0)
            return std::nullopt;
        result = m_options.replacement;
    } else {
        if (!value.contains(m_options.find, sensitivity))
            return std::nullopt;
        result.replace(m_options.find, m_options.replacement, sensitivity);
    }
    if (result == value)
        return std::nullopt;
    return result;
}

void ModReplace::add(QList<TableChange> &changes, const ModTable &table, int row, int column) const
{
    if (!table.isKeyColumn(column) || table.documentRow(row, column) < 0)
        return;
    const QByteArrayView bytes = table.valueBytes(row, column);
    // Most values hold no match: a plain text is looked for in the file's bytes first.
    if (!m_options.regularExpression && !m_options.wholeValue && !bytes.isEmpty()) {
        const QLatin1StringView text(bytes.data(), bytes.size());
        if (!text.contains(m_options.find, m_options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive))
            return;
    }
    if (const std::optional<QString> value = replaced(fromFileText(bytes)))
        changes.append(table.changeFor(row, table.key(column), *value));
}

QList<TableChange> ModReplace::changes(const QList<const ModTable *> &tables) const
{
    QList<TableChange> found;
    if (!m_error.isEmpty())
        return found;
    for (const ModTable *table : tables) {
        for (int row = 0; row < table->unitCount(); ++row) {
            for (int column = ModTable::FirstKeyColumn; column < table->keyColumnCount(); ++column)
                add(found, *table, row, column);
        }
    }
    return found;
}

QList<TableChange> ModReplace::changes(const QList<Cell> &cells) const
{
    QList<TableChange> found;
    if (!m_error.isEmpty())
        return found;
    for (const Cell &cell : cells) {
        if (cell.table && cell.row >= 0 && cell.row < cell.table->unitCount())
            add(found, *cell.table, cell.row, cell.column);
    }
    return found;
}
