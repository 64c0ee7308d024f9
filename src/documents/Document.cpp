#include "documents/Document.h"

#include "documents/ValueRule.h"

#include <QDir>
#include <QHash>
#include <QFileInfo>

#include <algorithm>
#include <memory>
#include <numeric>

namespace {
// A step of the history as the two things it does.
class Step final : public QUndoCommand
{
public:
    Step(const QString &text, quint64 serial, std::function<void()> redo, std::function<void()> undo)
        : QUndoCommand(text)
        , serial(serial)
        , m_redo(std::move(redo))
        , m_undo(std::move(undo))
    {
    }
    void redo() override { m_redo(); }
    void undo() override { m_undo(); }

    // Tells this step from any other of the same history, for a table whose steps span documents.
    const quint64 serial;

private:
    std::function<void()> m_redo;
    std::function<void()> m_undo;
};

const QString ChangeValueStep = QStringLiteral("Change Value");
const QString AddVariableStep = QStringLiteral("Add Variable");
// Beyond this many separate runs of rows, one reset of the views costs less than a change each.
constexpr qsizetype MaxRunsSignalled = 64;

// Ascending rows as runs of neighbours: [first, last] each.
QList<std::pair<int, int>> runsOf(const QList<int> &rows)
{
    QList<std::pair<int, int>> runs;
    for (int row : rows) {
        if (!runs.isEmpty() && runs.constLast().second + 1 == row)
            runs.last().second = row;
        else
            runs.append({row, row});
    }
    return runs;
}

// A part of the rows, as the content takes them.
QList<qsizetype> slice(const QList<int> &rows, qsizetype from, qsizetype count)
{
    QList<qsizetype> result;
    result.reserve(count);
    for (qsizetype index = from; index < from + count; ++index)
        result.append(rows[index]);
    return result;
}

bool matches(const QString &value, const QString &text, const MatchOptions &options)
{
    const Qt::CaseSensitivity sensitivity = options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    return options.wholeValue ? value.compare(text, sensitivity) == 0 : value.contains(text, sensitivity);
}
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
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const int row = index.row();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
    case Qt::ToolTipRole: // shows a long name or value whole, where the list cuts it short
        if (m_content.isSection(row))
            return index.column() == NameColumn ? QLatin1Char('[') + m_content.name(row) + QLatin1Char(']') : QVariant();
        return index.column() == NameColumn ? m_content.name(row) : m_content.value(row);
    case DepthRole:
        return m_content.depth(row);
    case SectionRole:
        return m_content.isSection(row);
    case OverriddenByRole:
        return overridingRow(row);
    default:
        return {};
    }
}

QList<FbiRow> Document::rows(const QList<int> &rows) const
{
    QList<FbiRow> result;
    for (int row : rows) {
        if (!isSection(row))
            result.append(FbiRow{name(row), value(row)});
    }
    return result;
}

void Document::setContent(FbiContent content)
{
    m_overriddenBy.clear();
    beginResetModel();
    m_content = std::move(content);
    endResetModel();
    m_history.clear();
    updateModified();
}

void Document::load(const QString &path, FbiReadResult read)
{
    setContent(std::move(read.content));
    if (read.error == FbiReadResult::Error::None)
        setFile(path, read.stamp);
}

void Document::setFile(const QString &path, const FileStamp &stamp, std::optional<FbiContent> written)
{
    if (written && written->rowCount() == m_content.rowCount())
        m_content = std::move(*written);
    m_filePath = path;
    m_stamp = stamp;
    m_history.setClean();
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

void Document::updateModified()
{
    if (isModified() == m_wasModified)
        return;
    m_wasModified = isModified();
    emit modifiedChanged(m_wasModified);
}

quint64 Document::push(const QString &stepName, std::function<void()> redo, std::function<void()> undo)
{
    m_history.push(new Step(stepName, ++m_lastStep, std::move(redo), std::move(undo)));
    updateModified();
    return m_lastStep;
}

int Document::stepIndex(quint64 step) const
{
    for (int index = m_history.count() - 1; index >= 0; --index) {
        const auto *command = dynamic_cast<const Step *>(m_history.command(index));
        if (command && command->serial == step)
            return index;
    }
    return -1;
}

QString Document::roomFor(const QList<FbiRow> &rows, int depth) const
{
    if (m_content.linesNeeded() + rows.size() > Fbi::MaxLinesWithoutClosingBrace) {
        return QStringLiteral("The file would have more than %1 lines, more than the reader opens again.")
            .arg(Fbi::MaxLinesWithoutClosingBrace);
    }
    for (const FbiRow &row : rows) {
        if (FbiContent::lineLength(toFileText(row.name), toFileText(row.value), depth) > Fbi::MaxLineLength) {
            return QStringLiteral("A line of the file would be longer than %1 characters, more than the reader opens again.")
                .arg(Fbi::MaxLineLength);
        }
    }
    return {};
}

int Document::findKey(const QString &name, int row) const
{
    // A section's header stands for the section it opens.
    const qsizetype header = row >= 0 && isSection(row) ? row : row >= 0 ? m_content.sectionOf(row) : -1;
    const qsizetype begin = header + 1;
    const qsizetype end = header >= 0 ? m_content.sectionEnd(header) : m_content.rowCount();
    const int level = header >= 0 ? m_content.depth(header) + 1 : 0;
    for (qsizetype at = begin; at < end; ++at) {
        if (m_content.depth(at) == level && !isSection(int(at)) && this->name(int(at)).compare(name, Qt::CaseInsensitive) == 0)
            return int(at);
    }
    return -1;
}

int Document::overridingRow(int row) const
{
    if (row < 0 || row >= rowCount())
        return -1;
    if (m_overriddenBy.size() != rowCount())
        findOverrides();
    return m_overriddenBy.at(row);
}

// One pass keeps, for each section and key, the last row that sets it; a second marks the others.
void Document::findOverrides() const
{
    const int count = rowCount();
    QList<qsizetype> headers;   // the header of the section open at each depth
    QList<QString> keys(count);
    QHash<QString, int> last;
    for (int row = 0; row < count; ++row) {
        const int depth = m_content.depth(row);
        if (isSection(row)) {
            headers.resize(depth + 1);
            headers[depth] = row;
            continue;
        }
        const qsizetype section = depth > 0 && depth <= headers.size() ? headers.at(depth - 1) : -1;
        keys[row] = QString::number(section) + QLatin1Char(':') + name(row).toCaseFolded();
        last.insert(keys.at(row), row);
    }
    m_overriddenBy.fill(-1, count);
    for (int row = 0; row < count; ++row) {
        if (!keys.at(row).isNull()) {
            if (const int winner = last.value(keys.at(row)); winner != row)
                m_overriddenBy[row] = winner;
        }
    }
}

QString Document::setValue(int row, const QString &value)
{
    return setValues({{row, value}}, ChangeValueStep);
}

QString Document::setValues(const QList<std::pair<int, QString>> &values, const QString &stepName)
{
    return apply(DocumentEdit{values, {}, {}}, stepName);
}

int Document::endOfVariables(int header) const
{
    const qsizetype begin = header + 1;
    const qsizetype end = header >= 0 ? m_content.sectionEnd(header) : m_content.rowCount();
    const int level = header >= 0 ? m_content.depth(header) + 1 : 0;
    // After the section's last variable, before its own sections.
    qsizetype at = begin;
    for (qsizetype index = begin; index < end; ++index) {
        if (m_content.depth(index) == level && !isSection(int(index)))
            at = index + 1;
    }
    return int(at);
}

QString Document::apply(const DocumentEdit &edit, const QString &stepName, quint64 *step)
{
    if (step)
        *step = 0;
    QList<int> removed;
    for (int row : edit.removed) {
        if (row >= 0 && row < rowCount() && !isSection(row))
            removed.append(row);
    }
    std::sort(removed.begin(), removed.end());
    removed.erase(std::unique(removed.begin(), removed.end()), removed.end());
    QList<std::pair<int, QString>> changes;
    QList<std::pair<int, QString>> before;
    for (const auto &[row, value] : edit.values) {
        const QString checked = checkValue(value).value;
        if (row < 0 || row >= rowCount() || isSection(row) || m_content.value(row) == checked
            || std::binary_search(removed.cbegin(), removed.cend(), row))
            continue;
        if (const QString refused = roomFor({FbiRow{name(row), checked}}, m_content.depth(row)); !refused.isEmpty())
            return refused;
        changes.append({row, checked});
        before.append({row, m_content.value(row)});
    }
    QList<std::pair<int, FbiRow>> added;
    for (const auto &[header, row] : edit.added) {
        if (header >= rowCount() || (header >= 0 && !isSection(header)))
            continue;
        const FbiRow checked{row.name, checkValue(row.value).value};
        const int depth = header >= 0 ? m_content.depth(header) + 1 : 0;
        if (const QString refused = roomFor({checked}, depth); !refused.isEmpty())
            return refused;
        added.append({header, checked});
    }
    if (m_content.linesNeeded() + added.size() - removed.size() > Fbi::MaxLinesWithoutClosingBrace)
        return roomFor(QList<FbiRow>(std::max<qsizetype>(added.size() - removed.size(), 1)), 0);
    if (changes.isEmpty() && added.isEmpty() && removed.isEmpty())
        return {};
    // Where the added rows went and where the removed ones stood, as the rows stand once all the
    // added ones are in; the removed rows themselves, to put back.
    auto placed = std::make_shared<QList<int>>();
    auto gone = std::make_shared<QList<int>>();
    auto taken = std::make_shared<QList<FbiContent::TakenRow>>();
    auto setAll = [this](const QList<std::pair<int, QString>> &set) {
        for (const auto &[row, value] : set)
            changeValue(row, value);
    };
    const quint64 serial = push(
        stepName,
        [this, changes, added, removed, placed, gone, taken, setAll] {
            setAll(changes);
            placed->clear();
            *gone = removed;
            QList<int> headers;
            for (const auto &entry : added)
                headers.append(entry.first);
            QList<int> changed;
            for (const auto &change : changes)
                changed.append(change.first);
            for (qsizetype index = 0; index < added.size(); ++index) {
                const int at = endOfVariables(headers[index]);
                insertInModel(at, {added[index].second}, m_content.depthAt(at));
                for (QList<int> *rows : {placed.get(), &headers, &changed, gone.get()}) {
                    for (int &row : *rows) {
                        if (row >= at)
                            ++row;
                    }
                }
                placed->append(at);
            }
            QList<int> edited = *placed + changed;
            if (!gone->isEmpty()) {
                *taken = takeFromModel(*gone);
                // The rows left move up past the ones that went.
                for (int &row : edited)
                    row -= int(std::lower_bound(gone->cbegin(), gone->cend(), row) - gone->cbegin());
            }
            std::sort(edited.begin(), edited.end());
            emit rowsEdited(edited);
        },
        [this, before, placed, gone, taken, setAll] {
            restoreInModel(*gone, *taken);
            QList<int> rows = *placed;
            std::sort(rows.begin(), rows.end());
            takeFromModel(rows);
            setAll(before);
            QList<int> edited;
            for (const auto &change : before)
                edited.append(change.first);
            // The rows put back, where they stand without the added ones.
            for (int row : std::as_const(*gone))
                edited.append(row - int(std::lower_bound(rows.cbegin(), rows.cend(), row) - rows.cbegin()));
            std::sort(edited.begin(), edited.end());
            emit rowsEdited(edited);
        });
    if (step)
        *step = serial;
    return {};
}

QString Document::addRow(const QString &name, const QString &value, int row)
{
    const qsizetype header = row >= 0 && isSection(row) ? row : row >= 0 ? m_content.sectionOf(row) : -1;
    return insertRows(endOfVariables(int(header)), {FbiRow{name, value}}, AddVariableStep);
}

QString Document::insertRows(int at, const QList<FbiRow> &rows, const QString &stepName)
{
    if (rows.isEmpty())
        return {};
    QList<FbiRow> checked;
    checked.reserve(rows.size());
    for (const FbiRow &row : rows)
        checked.append(FbiRow{row.name, checkValue(row.value).value});
    const int depth = m_content.depthAt(at);
    if (const QString refused = roomFor(checked, depth); !refused.isEmpty())
        return refused;
    const int count = int(checked.size());
    push(
        stepName,
        [this, at, checked, depth, count] {
            insertInModel(at, checked, depth);
            QList<int> inserted(count);
            std::iota(inserted.begin(), inserted.end(), at);
            emit rowsEdited(inserted);
        },
        [this, at, count] {
            QList<int> rows(count);
            std::iota(rows.begin(), rows.end(), at);
            takeFromModel(rows);
            // The row before the rows that went is where the user was.
            emit rowsEdited(rowCount() > 0 ? QList<int>{std::clamp(at - 1, 0, rowCount() - 1)} : QList<int>());
        });
    return {};
}

void Document::removeRows(const QList<int> &rows, const QString &stepName)
{
    QList<int> sorted;
    for (int row : rows) {
        if (row >= 0 && row < rowCount() && !isSection(row))
            sorted.append(row);
    }
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    if (sorted.isEmpty())
        return;
    auto taken = std::make_shared<QList<FbiContent::TakenRow>>();
    push(
        stepName,
        [this, sorted, taken] {
            *taken = takeFromModel(sorted);
            emit rowsEdited({});
        },
        [this, sorted, taken] {
            restoreInModel(sorted, *taken);
            emit rowsEdited(sorted);
        });
}

void Document::insertInModel(int at, const QList<FbiRow> &rows, int depth)
{
    m_overriddenBy.clear();
    beginInsertRows({}, at, at + int(rows.size()) - 1);
    m_content.insertRows(at, rows, depth);
    endInsertRows();
}

// Each run of neighbouring rows leaves the views in one change; very many runs in one reset.
QList<FbiContent::TakenRow> Document::takeFromModel(const QList<int> &rows)
{
    m_overriddenBy.clear();
    const QList<std::pair<int, int>> runs = runsOf(rows);
    if (runs.size() > MaxRunsSignalled) {
        beginResetModel();
        QList<FbiContent::TakenRow> taken = m_content.takeRows(slice(rows, 0, rows.size()));
        endResetModel();
        return taken;
    }
    QList<QList<FbiContent::TakenRow>> byRun(runs.size());
    qsizetype end = rows.size();
    for (qsizetype run = runs.size() - 1; run >= 0; --run) {
        const auto [first, last] = runs[run];
        const qsizetype count = last - first + 1;
        beginRemoveRows({}, first, last);
        byRun[run] = m_content.takeRows(slice(rows, end - count, count));
        endRemoveRows();
        end -= count;
    }
    QList<FbiContent::TakenRow> taken;
    taken.reserve(rows.size());
    for (const QList<FbiContent::TakenRow> &run : std::as_const(byRun))
        taken.append(run);
    return taken;
}

void Document::restoreInModel(const QList<int> &rows, const QList<FbiContent::TakenRow> &taken)
{
    m_overriddenBy.clear();
    const QList<std::pair<int, int>> runs = runsOf(rows);
    if (runs.size() > MaxRunsSignalled) {
        beginResetModel();
        m_content.restoreRows(slice(rows, 0, rows.size()), taken);
        endResetModel();
        return;
    }
    qsizetype from = 0;
    for (const auto &[first, last] : runs) {
        const qsizetype count = last - first + 1;
        beginInsertRows({}, first, last);
        m_content.restoreRows(slice(rows, from, count), taken.mid(from, count));
        endInsertRows();
        from += count;
    }
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

int Document::findRow(const QString &text, int from, const MatchOptions &options) const
{
    return findFrom(from, [this, &text, &options](int row) {
        return matches(data(index(row, NameColumn)).toString(), text, options) || matches(value(row), text, options);
    });
}

int Document::findValueRow(const QString &text, int from, const MatchOptions &options) const
{
    return findFrom(from, [this, &text, &options](int row) { return !isSection(row) && matches(value(row), text, options); });
}

std::optional<QString> Document::replacedValue(int row, const QString &text, const QString &with, const MatchOptions &options) const
{
    if (text.isEmpty() || isSection(row))
        return std::nullopt;
    const QString old = value(row);
    if (!matches(old, text, options))
        return std::nullopt;
    if (options.wholeValue)
        return with;
    QString changed = old;
    changed.replace(text, with, options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive);
    return changed;
}

bool Document::replaceInValue(int row, const QString &text, const QString &with, const MatchOptions &options)
{
    const std::optional<QString> changed = replacedValue(row, text, with, options);
    if (!changed || checkValue(*changed).change == CheckedValue::Change::Cut)
        return false;
    return setValue(row, *changed).isEmpty();
}

ReplaceCount Document::replaceInValues(const QString &text, const QString &with, const MatchOptions &options)
{
    ReplaceCount count;
    QList<std::pair<int, QString>> changes;
    const Qt::CaseSensitivity sensitivity = options.matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (int row = 0; row < rowCount(); ++row) {
        const std::optional<QString> changed = replacedValue(row, text, with, options);
        if (!changed || *changed == value(row))
            continue;
        // A ";" or a line break in the result would end the value early: the value stays.
        if (checkValue(*changed).change == CheckedValue::Change::Cut) {
            ++count.refused;
            continue;
        }
        changes.append({row, *changed});
        count.replaced += options.wholeValue ? 1 : int(value(row).count(text, sensitivity));
        ++count.rows;
    }
    if (!setValues(changes, QStringLiteral("Replace All")).isEmpty())
        return ReplaceCount{0, 0, count.rows + count.refused};
    return count;
}
