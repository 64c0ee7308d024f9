#include "documents/Document.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {
// A step of the history as the two things it does.
class Step final : public QUndoCommand
{
public:
    Step(const QString &text, std::function<void()> redo, std::function<void()> undo)
        : QUndoCommand(text)
        , m_redo(std::move(redo))
        , m_undo(std::move(undo))
    {
    }
    void redo() override { m_redo(); }
    void undo() override { m_undo(); }

private:
    std::function<void()> m_redo;
    std::function<void()> m_undo;
};

const QString ChangeValueStep = QStringLiteral("Change Value");
const QString AddVariableStep = QStringLiteral("Add Variable");
}

QString fileNameOfPath(const QString &path)
{
    const qsizetype separator = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QDir::separator()));
    if (separator < 0)
        return {};
    return path.mid(separator + 1);
}

QString unitFileLines(const QList<FbiRow> &rows)
{
    QString text;
    for (const FbiRow &row : rows)
        text += row.name + QLatin1Char('=') + row.value + QStringLiteral(";\r\n");
    return text;
}

Document::Document(int number, QObject *parent)
    : QAbstractTableModel(parent)
    , m_number(number)
    , m_title(QStringLiteral("Default%1.fbi").arg(number))
{
    connect(&m_history, &QUndoStack::cleanChanged, this, &Document::updateModified);
}

void Document::setNumber(int number)
{
    m_number = number;
    if (m_filePath.isEmpty()) {
        m_title = QStringLiteral("Default%1.fbi").arg(number);
        emit titleChanged(m_title);
    }
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

QList<FbiRow> Document::rows(const QList<int> &rows) const
{
    QList<FbiRow> result;
    for (int row : rows)
        result.append(FbiRow{name(row), value(row)});
    return result;
}

void Document::setContent(FbiContent content)
{
    beginResetModel();
    m_content = std::move(content);
    endResetModel();
    m_history.clear();
    m_markedModified = false;
    updateModified();
}

void Document::load(const QString &path, FbiReadResult read)
{
    setContent(std::move(read.content));
    if (read.error == FbiReadResult::Error::None)
        setFile(path, read.stamp);
}

void Document::setFile(const QString &path, const FileStamp &stamp)
{
    m_filePath = path;
    m_stamp = stamp;
    m_history.setClean();
    m_markedModified = false;
    updateModified();
    // A path without a separator keeps the title the document had.
    const QString title = fileNameOfPath(path);
    if (!title.isNull() && title != m_title) {
        m_title = title;
        emit titleChanged(m_title);
    }
}

bool Document::isFile(const QString &path) const
{
    return !m_filePath.isEmpty() && QFileInfo(path).absoluteFilePath() == QFileInfo(m_filePath).absoluteFilePath();
}

bool Document::fileChangedOnDisk(const QString &path) const
{
    return m_stamp.isValid() && isFile(path) && !m_stamp.matchesDisk(path);
}

void Document::markModified()
{
    m_markedModified = true;
    updateModified();
}

void Document::updateModified()
{
    if (isModified() == m_wasModified)
        return;
    m_wasModified = isModified();
    emit modifiedChanged(m_wasModified);
}

void Document::push(const QString &stepName, std::function<void()> redo, std::function<void()> undo)
{
    m_history.push(new Step(stepName, std::move(redo), std::move(undo)));
    updateModified();
}

void Document::setValue(int row, const QString &value)
{
    setValues({{row, value}}, ChangeValueStep);
}

void Document::setValues(const QList<std::pair<int, QString>> &values, const QString &stepName)
{
    QList<std::pair<int, QString>> changes;
    QList<std::pair<int, QString>> before;
    for (const auto &[row, value] : values) {
        if (m_content.value(row) == value)
            continue;
        changes.append({row, value});
        before.append({row, m_content.value(row)});
    }
    if (changes.isEmpty())
        return;
    auto apply = [this](const QList<std::pair<int, QString>> &set) {
        QList<int> rows;
        for (const auto &[row, value] : set) {
            changeValue(row, value);
            rows.append(row);
        }
        emit rowsEdited(rows);
    };
    push(stepName, [apply, changes] { apply(changes); }, [apply, before] { apply(before); });
}

void Document::appendRow(const QString &name, const QString &value)
{
    insertRows(rowCount(), {FbiRow{name, value}}, AddVariableStep);
}

void Document::insertRows(int at, const QList<FbiRow> &rows, const QString &stepName)
{
    if (rows.isEmpty())
        return;
    const int count = int(rows.size());
    push(
        stepName,
        [this, at, rows, count] {
            QList<int> inserted;
            for (int index = 0; index < count; ++index) {
                insertRow(at + index, rows[index].name, rows[index].value);
                inserted.append(at + index);
            }
            emit rowsEdited(inserted);
        },
        [this, at, count] {
            for (int index = count - 1; index >= 0; --index)
                takeRow(at + index);
            // The row before the rows that went is where the user was.
            emit rowsEdited(rowCount() > 0 ? QList<int>{std::clamp(at - 1, 0, rowCount() - 1)} : QList<int>());
        });
}

void Document::removeRows(const QList<int> &rows, const QString &stepName)
{
    QList<int> sorted = rows;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    if (sorted.isEmpty())
        return;
    auto taken = std::make_shared<QList<FbiContent::TakenRow>>();
    push(
        stepName,
        [this, sorted, taken] {
            taken->clear();
            for (auto row = sorted.crbegin(); row != sorted.crend(); ++row)
                taken->prepend(takeRow(*row));
            emit rowsEdited({});
        },
        [this, sorted, taken] {
            for (qsizetype index = 0; index < sorted.size(); ++index)
                restoreRow(sorted[index], taken->at(index));
            emit rowsEdited(sorted);
        });
}

void Document::insertRow(int at, const QString &name, const QString &value)
{
    beginInsertRows({}, at, at);
    m_content.insertRow(at, name, value);
    endInsertRows();
}

FbiContent::TakenRow Document::takeRow(int row)
{
    beginRemoveRows({}, row, row);
    FbiContent::TakenRow taken = m_content.takeRow(row);
    endRemoveRows();
    return taken;
}

void Document::restoreRow(int at, const FbiContent::TakenRow &row)
{
    beginInsertRows({}, at, at);
    m_content.restoreRow(at, row);
    endInsertRows();
}

void Document::changeValue(int row, const QString &value)
{
    m_content.setValue(row, value);
    const QModelIndex changed = index(row, ValueColumn);
    emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

int Document::findFrom(int from, const std::function<bool(int)> &matches) const
{
    const int count = rowCount();
    for (int step = 0; step < count; ++step) {
        const int row = (std::max(from, 0) + step) % count;
        if (matches(row))
            return row;
    }
    return -1;
}

int Document::findRow(const QString &text, int from) const
{
    return findFrom(from, [this, &text](int row) {
        return name(row).contains(text, Qt::CaseInsensitive) || value(row).contains(text, Qt::CaseInsensitive);
    });
}

int Document::findValueRow(const QString &text, int from) const
{
    return findFrom(from, [this, &text](int row) { return value(row).contains(text, Qt::CaseInsensitive); });
}

int Document::replaceInValues(const QString &text, const QString &with)
{
    if (text.isEmpty())
        return 0;
    QList<std::pair<int, QString>> changes;
    for (int row = 0; row < rowCount(); ++row) {
        QString changed = value(row);
        changed.replace(text, with, Qt::CaseInsensitive);
        if (changed != value(row))
            changes.append({row, changed});
    }
    setValues(changes, QStringLiteral("Replace All"));
    return int(changes.size());
}
