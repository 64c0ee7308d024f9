#include "documents/Document.h"

#include <QDir>

QString fileNameOfPath(const QString &path)
{
    const qsizetype separator = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QDir::separator()));
    if (separator < 0)
        return {};
    return path.mid(separator + 1);
}

Document::Document(int number, QObject *parent)
    : QAbstractTableModel(parent)
    , m_number(number)
    , m_title(QStringLiteral("Default%1.fbi").arg(number))
{
}

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

void Document::setFile(const QString &path)
{
    m_filePath = path;
    // A path without a separator keeps the title the document had.
    const QString title = fileNameOfPath(path);
    if (!title.isNull() && title != m_title) {
        m_title = title;
        emit titleChanged(m_title);
    }
}

bool Document::fileChangedOnDisk(const QString &path) const
{
    Q_UNUSED(path);
    return false;
}

void Document::setModified(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

void Document::appendRow(const QString &name, const QString &value)
{
    const int row = rowCount();
    beginInsertRows({}, row, row);
    m_content.appendRow(name, value);
    endInsertRows();
    setModified(true);
}

void Document::setValue(int row, const QString &value)
{
    if (m_content.value(row) == value)
        return;
    m_content.setValue(row, value);
    const QModelIndex changed = index(row, ValueColumn);
    emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
    setModified(true);
}

void Document::removeRow(int row)
{
    beginRemoveRows({}, row, row);
    m_content.removeRow(row);
    endRemoveRows();
    setModified(true);
}
