#include "mod/ModTable.h"

#include "documents/Document.h"
#include "documents/DocumentSet.h"
#include "documents/Numbers.h"
#include "documents/ValueRule.h"

#include <QLocale>

#include <algorithm>
#include <map>
#include <numeric>

namespace {
const QString UnitHeader = QStringLiteral("Unit");
const QByteArray UnitNameKey = QByteArrayLiteral("unitname");
const QString ChangeValueStep = QStringLiteral("Change Value");
const QString SetValueStep = QStringLiteral("Set Value");

// The engines fold keys to lower case byte by byte, and "MaxDamage =" sets MaxDamage.
void foldInto(QByteArrayView name, QByteArray &folded)
{
    name = name.trimmed();
    folded.resize(name.size());
    for (qsizetype index = 0; index < name.size(); ++index) {
        const char c = name[index];
        folded[index] = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
    }
}

// A row commented out with "//", or one with no name, sets no variable.
bool isVariable(QByteArrayView folded)
{
    const qsizetype dot = folded.lastIndexOf('.');
    const QByteArrayView name = folded.sliced(dot + 1);
    return !name.isEmpty() && !name.startsWith("//");
}

// A table step: the step it made in each unit's own history, undone and redone there.
class TableStep final : public QUndoCommand
{
public:
    struct Part
    {
        QPointer<Document> document;
        quint64 step;
    };

    TableStep(const QString &text, QList<Part> parts)
        : QUndoCommand(text)
        , m_parts(std::move(parts))
    {
    }

    // Why the step cannot be undone (or redone) in every unit as it stands; empty when it can. In a
    // unit where it is undone (or redone) already there is nothing to do; where later steps stand
    // on top of it, or it has gone from the history, the table cannot reach it.
    QString blocker(bool undoing) const
    {
        for (const Part &part : m_parts) {
            if (!part.document)
                return QStringLiteral("A unit it changed is no longer open.");
            const int at = part.document->stepIndex(part.step);
            const int index = part.document->history()->index();
            if (at < 0 || (undoing ? at < index - 1 : at > index))
                return part.document->title() + QStringLiteral(" has been changed since in its own window; undo or redo there first.");
        }
        return {};
    }

    void undo() override
    {
        for (auto part = m_parts.crbegin(); part != m_parts.crend(); ++part) {
            if (part->document && part->document->stepIndex(part->step) == part->document->history()->index() - 1)
                part->document->history()->undo();
        }
    }

    void redo() override
    {
        // The first time the units have made their steps already.
        if (m_first) {
            m_first = false;
            return;
        }
        for (const Part &part : m_parts) {
            if (part.document && part.document->stepIndex(part.step) == part.document->history()->index())
                part.document->history()->redo();
        }
    }

private:
    QList<Part> m_parts;
    bool m_first = true;
};
}

struct ModTable::UnitChange
{
    int unit;
    DocumentEdit edit;
    int cells = 0;
};

ModTable::ModTable(DocumentSet &documents, QObject *parent)
    : QAbstractTableModel(parent)
    , m_documents(documents)
{
    m_columns.append(Column{UnitHeader, 0});
    connect(&m_loader, &ModLoader::progress, this, &ModTable::progress);
    connect(&m_loader, &ModLoader::finished, this, [this] {
        setFiles(m_folder, m_loader.takeFiles());
        emit loaded();
    });
}

ModTable::~ModTable()
{
    m_loader.cancel();
    releaseUnits();
}

void ModTable::load(const QString &folder)
{
    m_folder = folder;
    m_loader.start(folder);
}

void ModTable::clear()
{
    m_loader.cancel();
    beginResetModel();
    releaseUnits();
    endResetModel();
}

void ModTable::releaseUnits()
{
    m_history.clear();
    for (Unit &unit : m_units) {
        if (unit.document) {
            disconnect(unit.document, nullptr, this, nullptr);
            m_documents.release(unit.document);
        }
    }
    m_units.clear();
    m_failures.clear();
    m_keyOfFolded.clear();
    m_spellings.clear();
    m_columnOfKey.clear();
    m_columns.resize(1);
}

int ModTable::keyOf(QByteArrayView prefix, QByteArrayView name)
{
    QByteArrayView raw = name;
    if (!prefix.isEmpty()) {
        m_raw.clear();
        m_raw.append(prefix);
        m_raw.append(name);
        raw = m_raw;
    }
    const auto known = m_spellings.find(QByteArray::fromRawData(raw.data(), raw.size()));
    if (known != m_spellings.end()) {
        ++known->uses;
        return known->key;
    }
    foldInto(raw, m_scratch);
    int key = m_keyOfFolded.value(m_scratch, -1);
    if (!isVariable(m_scratch)) {
        key = -1;
    } else if (key < 0) {
        key = int(m_columnOfKey.size());
        m_keyOfFolded.insert(m_scratch, key);
        m_columnOfKey.append(-1);
    }
    m_spellings.insert(raw.toByteArray(), Spelling{key, 1});
    return key;
}

// Each variable of the document with its key: a variable of a nested section after its sections'
// names, each with a ".".
template<typename Visit>
void ModTable::forEachKey(const Document &document, Visit visit)
{
    const FbiContent &content = document.content();
    QList<QByteArray> prefixes{QByteArray()};
    for (int row = 0; row < content.rowCount(); ++row) {
        const int depth = content.depth(row);
        prefixes.resize(depth + 1);
        if (content.isSection(row)) {
            prefixes.append(prefixes[depth] + content.nameBytes(row).trimmed().toByteArray() + '.');
            continue;
        }
        visit(row, keyOf(prefixes[depth], content.nameBytes(row)));
    }
}

void ModTable::setFiles(const QString &folder, QList<UnitFile> files)
{
    beginResetModel();
    releaseUnits();
    m_folder = folder;
    m_units.reserve(size_t(files.size()));

    // The cells hold keys until every file has been seen and the columns have their order.
    std::vector<int> filesOfKey;
    std::vector<int> lastUnitOfKey;
    for (UnitFile &file : files) {
        if (file.read.error != FbiReadResult::Error::None || !file.reason.isEmpty()) {
            m_failures.append(Failure{file.relativePath, file.reason.isEmpty() ? readErrorText(file.read.error) : file.reason});
            continue;
        }
        Document *document = m_documents.share(file.path, std::move(file.read));
        const int unitIndex = int(m_units.size());
        Unit &unit = m_units.emplace_back();
        unit.document = document;
        unit.path = file.path;
        unit.relativePath = file.relativePath;
        unit.fileName = file.relativePath.mid(file.relativePath.lastIndexOf(QLatin1Char('/')) + 1);
        unit.cells.reserve(size_t(document->content().rowCount()));
        forEachKey(*document, [&](int row, int key) {
            if (key < 0)
                return;
            unit.cells.push_back(Cell{key, row});
            if (size_t(key) >= filesOfKey.size()) {
                filesOfKey.resize(size_t(key) + 1, 0);
                lastUnitOfKey.resize(size_t(key) + 1, -1);
            }
            if (lastUnitOfKey[size_t(key)] != unitIndex) {
                lastUnitOfKey[size_t(key)] = unitIndex;
                ++filesOfKey[size_t(key)];
            }
        });
    }

    // Columns by the number of files that set the key, most first; equal ones as first seen.
    std::vector<int> order(filesOfKey.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int left, int right) { return filesOfKey[size_t(left)] > filesOfKey[size_t(right)]; });
    m_columns.resize(qsizetype(order.size()) + 1);
    for (size_t position = 0; position < order.size(); ++position) {
        m_columnOfKey[order[position]] = int(position) + 1;
        m_columns[qsizetype(position) + 1].files = filesOfKey[size_t(order[position])];
    }
    // A header spells the key as most files do; between equally common spellings, capitals first.
    std::vector<int> bestUses(order.size(), 0);
    for (auto spelling = m_spellings.cbegin(); spelling != m_spellings.cend(); ++spelling) {
        const int key = spelling->key;
        if (key < 0)
            continue;
        Column &column = m_columns[m_columnOfKey[key]];
        const QString name = fromFileText(spelling.key().trimmed());
        if (spelling->uses > bestUses[size_t(key)] || (spelling->uses == bestUses[size_t(key)] && name < column.name)) {
            bestUses[size_t(key)] = spelling->uses;
            column.name = name;
        }
    }
    for (Unit &unit : m_units) {
        for (Cell &cell : unit.cells)
            cell.column = m_columnOfKey[cell.column];
        sortByColumn(unit.cells);
    }
    for (int unit = 0; unit < unitCount(); ++unit)
        watch(unit);
    endResetModel();
}

// The later line of a key set twice is the one the engines use, so it is the one a cell stands for.
void ModTable::sortByColumn(std::vector<Cell> &cells)
{
    std::stable_sort(cells.begin(), cells.end(),
                     [](const Cell &left, const Cell &right) { return left.column < right.column; });
    auto kept = cells.begin();
    for (auto cell = cells.begin(); cell != cells.end(); ++cell) {
        if (cell + 1 != cells.end() && (cell + 1)->column == cell->column)
            continue;
        *kept++ = *cell;
    }
    cells.erase(kept, cells.end());
}

void ModTable::watch(int unit)
{
    Document *document = m_units[size_t(unit)].document;
    connect(document, &Document::rowsEdited, this, [this, unit] { unitEdited(unit); });
    connect(document, &QAbstractItemModel::modelReset, this, [this, unit] { unitEdited(unit); });
    connect(document, &Document::modifiedChanged, this, [this, unit] {
        const QModelIndex changed = index(unit, UnitColumn);
        emit dataChanged(changed, changed, {ModifiedRole});
    });
}

// The cells follow the document's rows, which its window may have added, removed or reordered.
void ModTable::mapCells(int unit)
{
    Unit &entry = m_units[size_t(unit)];
    std::vector<Cell> cells;
    if (entry.document) {
        cells.reserve(size_t(entry.document->content().rowCount()));
        forEachKey(*entry.document, [&](int row, int key) {
            if (key < 0)
                return;
            if (m_columnOfKey[key] < 0) {
                const int column = int(m_columns.size());
                beginInsertColumns({}, column, column);
                m_columns.append(Column{spellingOf(key), 0});
                m_columnOfKey[key] = column;
                endInsertColumns();
            }
            cells.push_back(Cell{m_columnOfKey[key], row});
        });
    }
    sortByColumn(cells);
    entry.cells = std::move(cells);
}

QString ModTable::spellingOf(int key) const
{
    for (auto spelling = m_spellings.cbegin(); spelling != m_spellings.cend(); ++spelling) {
        if (spelling->key == key)
            return fromFileText(spelling.key().trimmed());
    }
    return {};
}

void ModTable::unitEdited(int unit)
{
    mapCells(unit);
    emit dataChanged(index(unit, 0), index(unit, columnCount() - 1));
}

Document *ModTable::document(int unit) const
{
    return m_units[size_t(unit)].document;
}

int ModTable::rowOf(int unit, int column) const
{
    const std::vector<Cell> &cells = m_units[size_t(unit)].cells;
    const auto found = std::lower_bound(cells.begin(), cells.end(), column,
                                        [](const Cell &cell, int wanted) { return cell.column < wanted; });
    return found != cells.end() && found->column == column ? found->row : -1;
}

QByteArrayView ModTable::valueBytes(int unit, int column) const
{
    const int row = column == UnitColumn ? -1 : rowOf(unit, column);
    return row < 0 ? QByteArrayView() : m_units[size_t(unit)].document->content().valueBytes(row);
}

QString ModTable::unitName(int unit) const
{
    const int key = m_keyOfFolded.value(UnitNameKey, -1);
    const QByteArrayView name = key < 0 ? QByteArrayView() : valueBytes(unit, m_columnOfKey[key]).trimmed();
    return name.isEmpty() ? m_units[size_t(unit)].fileName : fromFileText(name);
}

QString ModTable::key(int column) const
{
    return column == UnitColumn ? QString() : m_columns[column].name;
}

int ModTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : unitCount();
}

int ModTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant ModTable::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const int unit = index.row();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (column == UnitColumn)
            return unitName(unit);
        return fromFileText(valueBytes(unit, column));
    case Qt::ToolTipRole:
        if (column == UnitColumn)
            return relativePath(unit);
        if (const QByteArrayView value = valueBytes(unit, column); !value.isEmpty())
            return fromFileText(value);
        return {};
    case ModifiedRole:
        return column == UnitColumn && document(unit) && document(unit)->isModified();
    case HasKeyRole:
        return column != UnitColumn && rowOf(unit, column) >= 0;
    default:
        return {};
    }
}

QVariant ModTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical)
        return role == Qt::DisplayRole ? QVariant(section + 1) : QVariant();
    if (section < 0 || section >= columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return section == UnitColumn ? UnitHeader : m_columns[section].name;
    if (role == Qt::ToolTipRole && section != UnitColumn)
        return QStringLiteral("%1: set by %2 of the %3 units when they were read").arg(m_columns[section].name).arg(m_columns[section].files).arg(unitCount());
    return {};
}

Qt::ItemFlags ModTable::flags(const QModelIndex &index) const
{
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.isValid() && index.column() != UnitColumn ? flags | Qt::ItemIsEditable : flags;
}

bool ModTable::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid) || index.column() == UnitColumn)
        return false;
    return setValues({index}, value.toString(), ChangeValueStep).refused.isEmpty();
}

int ModTable::sectionFor(int unit, int column) const
{
    const QString name = key(column);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return -1;
    // The unit's section of that path, found by the headers' names.
    const QStringList path = name.left(dot).split(QLatin1Char('.'));
    const Document *unitDocument = document(unit);
    const FbiContent &content = unitDocument->content();
    int level = 0;
    int header = -1;
    qsizetype end = content.rowCount();
    for (qsizetype row = header + 1; row < end && level < path.size(); ++row) {
        if (content.isSection(row) && content.depth(row) == level
            && QString::compare(content.name(row).trimmed(), path[level], Qt::CaseInsensitive) == 0) {
            header = int(row);
            end = content.sectionEnd(row);
            ++level;
        }
    }
    return level == path.size() ? header : -2;
}

ModTable::EditResult ModTable::setValues(const QModelIndexList &cells, const QString &value, const QString &stepName)
{
    const CheckedValue checked = checkValue(value);
    std::map<int, UnitChange> changes;
    EditResult result;
    result.note = valueRuleNote(checked.change);
    if (!result.note.isEmpty())
        emit valueNote(result.note);
    for (const QModelIndex &cell : cells) {
        if (!checkIndex(cell, CheckIndexOption::IndexIsValid) || cell.column() == UnitColumn || !document(cell.row()))
            continue;
        UnitChange &change = changes.try_emplace(cell.row(), UnitChange{cell.row(), {}, 0}).first->second;
        if (const int row = rowOf(cell.row(), cell.column()); row >= 0) {
            change.edit.values.append({row, checked.value});
            ++change.cells;
        } else if (!checked.value.isEmpty()) {
            const int section = sectionFor(cell.row(), cell.column());
            if (section < -1) {
                result.refused.append(document(cell.row())->title() + QStringLiteral(" has no section for ") + key(cell.column()));
                continue;
            }
            const QString name = key(cell.column());
            change.edit.added.append({section, FbiRow{name.mid(name.lastIndexOf(QLatin1Char('.')) + 1), checked.value}});
            ++change.cells;
        }
    }
    std::vector<UnitChange> list;
    for (auto &entry : changes)
        list.push_back(std::move(entry.second));
    const EditResult applied = apply(list, stepName.isEmpty() ? SetValueStep : stepName);
    result.units = applied.units;
    result.cells = applied.cells;
    result.refused += applied.refused;
    return result;
}

ModTable::EditResult ModTable::scaleValues(const QModelIndexList &cells, double factor)
{
    std::map<int, UnitChange> changes;
    for (const QModelIndex &cell : cells) {
        if (!checkIndex(cell, CheckIndexOption::IndexIsValid) || !document(cell.row()))
            continue;
        const int row = cell.column() == UnitColumn ? -1 : rowOf(cell.row(), cell.column());
        if (row < 0)
            continue;
        if (const std::optional<QString> value = scaledNumber(document(cell.row())->value(row), factor)) {
            UnitChange &change = changes.try_emplace(cell.row(), UnitChange{cell.row(), {}, 0}).first->second;
            change.edit.values.append({row, *value});
            ++change.cells;
        }
    }
    std::vector<UnitChange> list;
    for (auto &entry : changes)
        list.push_back(std::move(entry.second));
    return apply(list, QStringLiteral("Scale by %1").arg(QLocale::c().toString(factor, 'g', 6)));
}

ModTable::EditResult ModTable::apply(const std::vector<UnitChange> &changes, const QString &stepName)
{
    EditResult result;
    QList<TableStep::Part> parts;
    for (const UnitChange &change : changes) {
        Document *target = document(change.unit);
        if (!target || change.edit.isEmpty())
            continue;
        quint64 step = 0;
        const QString refused = target->apply(change.edit, stepName, &step);
        if (!refused.isEmpty()) {
            result.refused.append(target->title() + QStringLiteral(": ") + refused);
            continue;
        }
        if (step == 0)
            continue;
        parts.append(TableStep::Part{target, step});
        ++result.units;
        result.cells += change.cells;
    }
    if (!parts.isEmpty())
        m_history.push(new TableStep(stepName, std::move(parts)));
    return result;
}

QString ModTable::undoBlocker() const
{
    if (!m_history.canUndo())
        return {};
    return static_cast<const TableStep *>(m_history.command(m_history.index() - 1))->blocker(true);
}

QString ModTable::redoBlocker() const
{
    if (!m_history.canRedo())
        return {};
    return static_cast<const TableStep *>(m_history.command(m_history.index()))->blocker(false);
}

QList<Document *> ModTable::changedDocuments() const
{
    QList<Document *> changed;
    for (const Unit &unit : m_units) {
        if (unit.document && unit.document->isModified())
            changed.append(unit.document);
    }
    return changed;
}

QList<ModTable::SaveFailure> ModTable::saveAll(const std::function<bool(const Document *)> &which)
{
    QList<SaveFailure> failures;
    for (const Unit &unit : m_units) {
        if (!unit.document || !unit.document->isModified() || (which && !which(unit.document)))
            continue;
        // Another program's change is not overwritten unasked: that unit's own window asks.
        if (unit.document->fileChangedOnDisk(unit.document->filePath())) {
            failures.append(SaveFailure{unit.path, QStringLiteral("It has changed on disk since it was read; save it "
                                                                  "from its own window to replace it.")});
            continue;
        }
        // The file's own layout or nothing: the unit's own window offers the standard layout.
        const DocumentSet::SaveResult saved = m_documents.save(unit.document, unit.document->filePath());
        if (saved.failure == FbiWriteResult::Failure::Layout)
            failures.append(SaveFailure{unit.path, saved.reason + QStringLiteral(" Save it from its own window to choose the standard layout.")});
        else if (!saved.ok)
            failures.append(SaveFailure{unit.path, saved.reason});
    }
    return failures;
}
