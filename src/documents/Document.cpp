#include "documents/Document.h"

int Document::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_content.rowCount());
}

int Document::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant Document::data(const QModelIndex &index, int role) const
{
    // The tooltip shows a long name or value whole, where the list cuts it short.
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)
        || (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::ToolTipRole))
        return {};
    return index.column() == NameColumn ? m_content.name(index.row()) : m_content.value(index.row());
}

void Document::setContent(FbiContent content)
{
    beginResetModel();
    m_content = std::move(content);
    endResetModel();
}

void Document::appendRow(const QString &name, const QString &value)
{
    const int row = rowCount();
    beginInsertRows({}, row, row);
    m_content.appendRow(name, value);
    endInsertRows();
}

void Document::setValue(int row, const QString &value)
{
    m_content.setValue(row, value);
    const QModelIndex changed = index(row, ValueColumn);
    emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

void Document::removeRow(int row)
{
    beginRemoveRows({}, row, row);
    m_content.removeRow(row);
    endRemoveRows();
}
