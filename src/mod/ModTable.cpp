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
const QString WeaponHeader = QStringLiteral("Weapon");
const QString FeatureHeader = QStringLiteral("Feature");
const QString FileHeader = QStringLiteral("File");
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

struct ModTable::FileChange
{
    Document *document;
    DocumentEdit edit;
    int cells = 0;
};

ModTable::ModTable(DocumentSet &documents, QObject *parent)
    : ModTable(documents, Kind::Units, parent)
{
}

ModTable::ModTable(DocumentSet &documents, Kind kind, QObject *parent)
    : QAbstractTableModel(parent)
    , m_documents(documents)
    , m_kind(kind)
{
    m_columns.append(Column{rowHeader(), 0});
    m_columns.append(Column{FileHeader, 0});
    connect(&m_loader, &ModLoader::progress, this, &ModTable::progress);
    connect(&m_loader, &ModLoader::finished, this, [this] {
        setFiles(m_folder, m_loader.takeFiles());
        emit loaded();
    });
}

ModTable::~ModTable()
{
    m_loader.cancel();
    // A table that goes says nothing more: whoever watched its history may be half gone already
    // (a window destroying its children).
    m_history->blockSignals(true);
    releaseFiles();
}

QString ModTable::rowHeader() const
{
    switch (m_kind) {
    case Kind::Units:
        return UnitHeader;
    case Kind::Weapons:
        return WeaponHeader;
    case Kind::Features:
        return FeatureHeader;
    }
    return UnitHeader;
}

void ModTable::load(const QString &folder)
{
    m_folder = folder;
    m_loader.start(folder, 0, m_kind == Kind::Units);
}

void ModTable::clear()
{
    m_loader.cancel();
    beginResetModel();
    releaseFiles();
    endResetModel();
}

void ModTable::releaseFiles()
{
    m_history->clear();
    for (File &entry : m_files) {
        if (entry.document) {
            disconnect(entry.document, nullptr, this, nullptr);
            m_documents.release(entry.document);
        }
    }
    m_files.clear();
    m_rows.clear();
    m_failures.clear();
    m_keyOfFolded.clear();
    m_spellings.clear();
    m_columnOfKey.clear();
    m_columns.resize(FirstKeyColumn);
    m_computed.clear();
    m_computedSource = nullptr;
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

// Each variable of a unit (header -1) or of a definition's section, with its key: a variable of a
// nested section after its sections' names, each with a ".".
template<typename Visit>
void ModTable::forEachKey(const Document &document, int header, Visit visit)
{
    const FbiContent &content = document.content();
    const int end = header < 0 ? int(content.rowCount()) : int(content.sectionEnd(header));
    const int base = header < 0 ? 0 : content.depth(header) + 1;
    QList<QByteArray> prefixes{QByteArray()};
    for (int row = header + 1; row < end; ++row) {
        const int depth = std::max(0, content.depth(row) - base);
        prefixes.resize(depth + 1);
        if (content.isSection(row)) {
            prefixes.append(prefixes[depth] + content.nameBytes(row).trimmed().toByteArray() + '.');
            continue;
        }
        visit(row, keyOf(prefixes[depth], content.nameBytes(row)));
    }
}

void ModTable::addRows(int fileIndex)
{
    File &entry = m_files[size_t(fileIndex)];
    entry.firstRow = int(m_rows.size());
    entry.rows = 0;
    if (!entry.document)
        return;
    if (m_kind == Kind::Units) {
        m_rows.push_back(Row{fileIndex, -1, {}, {}});
        entry.rows = 1;
        return;
    }
    const FbiContent &content = entry.document->content();
    for (qsizetype row = 0; row < content.rowCount(); ++row) {
        if (content.depth(row) == 0 && content.isSection(row)) {
            m_rows.push_back(Row{fileIndex, int(row), {}, {}});
            ++entry.rows;
        }
    }
}

void ModTable::setFiles(const QString &folder, QList<ModFile> files)
{
    beginResetModel();
    releaseFiles();
    m_folder = folder;
    const ModFileRole wanted = m_kind == Kind::Units ? ModFileRole::Unit : m_kind == Kind::Weapons ? ModFileRole::Weapons : ModFileRole::Features;
    m_files.reserve(size_t(files.size()));
    m_rows.reserve(size_t(files.size()));

    for (ModFile &read : files) {
        if (read.role != wanted)
            continue;
        if (read.read.error != FbiReadResult::Error::None || !read.reason.isEmpty()) {
            m_failures.append(Failure{read.relativePath, read.reason.isEmpty() ? readErrorText(read.read.error) : read.reason});
            continue;
        }
        File &entry = m_files.emplace_back();
        entry.document = m_documents.share(read.path, std::move(read.read));
        entry.path = read.path;
        entry.relativePath = read.relativePath;
        addRows(int(m_files.size()) - 1);
    }

    // The cells hold keys until every row has been seen and the columns have their order.
    std::vector<int> rowsOfKey;
    std::vector<int> lastRowOfKey;
    for (int rowIndex = 0; rowIndex < unitCount(); ++rowIndex) {
        Row &row = m_rows[size_t(rowIndex)];
        const Document &document = *m_files[size_t(row.file)].document;
        row.cells.reserve(size_t(m_kind == Kind::Units ? document.content().rowCount() : 16));
        forEachKey(document, row.header, [&](int documentRow, int key) {
            if (key < 0)
                return;
            row.cells.push_back(Cell{key, documentRow});
            if (size_t(key) >= rowsOfKey.size()) {
                rowsOfKey.resize(size_t(key) + 1, 0);
                lastRowOfKey.resize(size_t(key) + 1, -1);
            }
            if (lastRowOfKey[size_t(key)] != rowIndex) {
                lastRowOfKey[size_t(key)] = rowIndex;
                ++rowsOfKey[size_t(key)];
            }
        });
    }

    // Columns by the number of rows that set the key, most first; equal ones as first seen.
    std::vector<int> order(rowsOfKey.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int left, int right) { return rowsOfKey[size_t(left)] > rowsOfKey[size_t(right)]; });
    m_columns.resize(qsizetype(order.size()) + FirstKeyColumn);
    for (size_t position = 0; position < order.size(); ++position) {
        m_columnOfKey[order[position]] = int(position) + FirstKeyColumn;
        m_columns[qsizetype(position) + FirstKeyColumn].files = rowsOfKey[size_t(order[position])];
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
    for (Row &row : m_rows) {
        for (Cell &cell : row.cells)
            cell.column = m_columnOfKey[cell.column];
        sortByColumn(row.cells, &row.duplicates);
    }
    for (int fileIndex = 0; fileIndex < int(m_files.size()); ++fileIndex)
        watch(fileIndex);
    endResetModel();
}

// The later line of a key set twice is the one the engines use, so it is the one a cell stands for;
// the earlier lines are noted as duplicates.
void ModTable::sortByColumn(std::vector<Cell> &cells, std::vector<DuplicateKey> *duplicates)
{
    std::stable_sort(cells.begin(), cells.end(),
                     [](const Cell &left, const Cell &right) { return left.column < right.column; });
    if (duplicates)
        duplicates->clear();
    auto kept = cells.begin();
    for (auto cell = cells.begin(); cell != cells.end(); ++cell) {
        if (cell + 1 != cells.end() && (cell + 1)->column == cell->column) {
            if (duplicates) {
                auto last = cell + 1;
                while (last + 1 != cells.end() && (last + 1)->column == cell->column)
                    ++last;
                duplicates->push_back(DuplicateKey{cell->column, cell->row, last->row});
            }
            continue;
        }
        *kept++ = *cell;
    }
    cells.erase(kept, cells.end());
}

void ModTable::watch(int fileIndex)
{
    Document *document = m_files[size_t(fileIndex)].document;
    connect(document, &Document::rowsEdited, this, [this, fileIndex] { fileEdited(fileIndex); });
    connect(document, &QAbstractItemModel::modelReset, this, [this, fileIndex] { fileEdited(fileIndex); });
    connect(document, &Document::modifiedChanged, this, [this, fileIndex] {
        const File &entry = m_files[size_t(fileIndex)];
        if (entry.rows > 0)
            emit dataChanged(index(entry.firstRow, UnitColumn), index(entry.firstRow + entry.rows - 1, UnitColumn), {ModifiedRole});
    });
}

// The cells follow the document's rows, which its window may have added, removed or reordered.
void ModTable::mapCells(int unit, bool announceColumns)
{
    Row &entry = m_rows[size_t(unit)];
    const Document *document = m_files[size_t(entry.file)].document;
    std::vector<Cell> cells;
    if (document) {
        cells.reserve(entry.cells.size() + 4);
        forEachKey(*document, entry.header, [&](int row, int key) {
            if (key < 0)
                return;
            if (m_columnOfKey[key] < 0) {
                // A new key's column goes after the other keys, before the computed columns.
                const int column = int(m_columns.size());
                if (announceColumns)
                    beginInsertColumns({}, column, column);
                m_columns.append(Column{spellingOf(key), 0});
                m_columnOfKey[key] = column;
                if (announceColumns)
                    endInsertColumns();
            }
            cells.push_back(Cell{m_columnOfKey[key], row});
        });
    }
    sortByColumn(cells, &entry.duplicates);
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

void ModTable::fileEdited(int fileIndex)
{
    File &entry = m_files[size_t(fileIndex)];
    if (!entry.document)
        return;
    if (m_kind != Kind::Units) {
        // The sections may have moved; when their number changed, the rows after them move too.
        const FbiContent &content = entry.document->content();
        QList<int> headers;
        for (qsizetype row = 0; row < content.rowCount(); ++row) {
            if (content.depth(row) == 0 && content.isSection(row))
                headers.append(int(row));
        }
        if (headers.size() != entry.rows) {
            beginResetModel();
            m_rows.clear();
            for (int other = 0; other < int(m_files.size()); ++other)
                addRows(other);
            // Keys new to the table get their columns as the rows are mapped again, inside the reset.
            for (int row = 0; row < unitCount(); ++row)
                mapCells(row, false);
            endResetModel();
            return;
        }
        for (int offset = 0; offset < entry.rows; ++offset)
            m_rows[size_t(entry.firstRow + offset)].header = headers[offset];
    }
    for (int offset = 0; offset < entry.rows; ++offset)
        mapCells(entry.firstRow + offset);
    if (entry.rows > 0)
        emit dataChanged(index(entry.firstRow, 0), index(entry.firstRow + entry.rows - 1, columnCount() - 1));
}

Document *ModTable::document(int unit) const
{
    return file(unit).document;
}

int ModTable::rowOfDocument(const Document *document, int documentRow) const
{
    for (const File &entry : m_files) {
        if (entry.document != document)
            continue;
        if (m_kind == Kind::Units)
            return entry.rows > 0 ? entry.firstRow : -1;
        for (int offset = 0; offset < entry.rows; ++offset) {
            const int header = m_rows[size_t(entry.firstRow + offset)].header;
            if (documentRow >= header && documentRow < int(document->content().sectionEnd(header)))
                return entry.firstRow + offset;
        }
        return -1;
    }
    return -1;
}

bool ModTable::holds(const Document *document) const
{
    return document && std::any_of(m_files.cbegin(), m_files.cend(), [document](const File &entry) { return entry.document == document; });
}

int ModTable::documentRow(int unit, int column) const
{
    if (unit < 0 || unit >= unitCount() || !isKeyColumn(column))
        return -1;
    const std::vector<Cell> &cells = m_rows[size_t(unit)].cells;
    const auto found = std::lower_bound(cells.begin(), cells.end(), column,
                                        [](const Cell &cell, int wanted) { return cell.column < wanted; });
    return found != cells.end() && found->column == column ? found->row : -1;
}

int ModTable::columnOfKey(QStringView key) const
{
    QByteArray folded;
    foldInto(toFileText(key), folded);
    const int found = m_keyOfFolded.value(folded, -1);
    return found < 0 ? -1 : m_columnOfKey.value(found, -1);
}

QByteArrayView ModTable::valueBytes(int unit, int column) const
{
    if (isComputed(column))
        return m_computedSource && column < columnCount() ? m_computedSource->text(unit, column - keyColumnCount()) : QByteArrayView();
    const int row = documentRow(unit, column);
    return row < 0 ? QByteArrayView() : document(unit)->content().valueBytes(row);
}

QString ModTable::unitName(int unit) const
{
    const Row &row = m_rows[size_t(unit)];
    if (row.header >= 0) {
        const Document *source = document(unit);
        return source ? fromFileText(source->content().nameBytes(row.header).trimmed()) : QString();
    }
    const int key = m_keyOfFolded.value(UnitNameKey, -1);
    const QByteArrayView name = key < 0 ? QByteArrayView() : valueBytes(unit, m_columnOfKey[key]).trimmed();
    return name.isEmpty() ? fileName(unit) : fromFileText(name);
}

QString ModTable::fileName(int unit) const
{
    const QString &relative = file(unit).relativePath;
    return relative.mid(relative.lastIndexOf(QLatin1Char('/')) + 1);
}

QString ModTable::key(int column) const
{
    return isKeyColumn(column) ? m_columns[column].name : QString();
}

void ModTable::setComputedColumns(const QList<ComputedColumn> &columns, const ComputedSource *source)
{
    const int first = keyColumnCount();
    const auto sameColumn = [](const ComputedColumn &left, const ComputedColumn &right) {
        return left.header == right.header && left.toolTip == right.toolTip;
    };
    if (!columns.isEmpty() && std::equal(columns.begin(), columns.end(), m_computed.begin(), m_computed.end(), sameColumn)) {
        m_computedSource = source;
        computedCellsChanged();
        return;
    }
    if (!m_computed.isEmpty()) {
        beginRemoveColumns({}, first, first + int(m_computed.size()) - 1);
        m_computed.clear();
        m_computedSource = nullptr;
        endRemoveColumns();
    }
    if (columns.isEmpty())
        return;
    beginInsertColumns({}, first, first + int(columns.size()) - 1);
    m_computed = columns;
    m_computedSource = source;
    endInsertColumns();
}

void ModTable::computedCellsChanged()
{
    if (unitCount() > 0 && !m_computed.isEmpty())
        emit dataChanged(index(0, keyColumnCount()), index(unitCount() - 1, columnCount() - 1));
}

int ModTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : unitCount();
}

int ModTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size() + m_computed.size());
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
        if (column == FileColumn)
            return fileName(unit);
        return fromFileText(valueBytes(unit, column));
    case Qt::ToolTipRole:
        if (column == UnitColumn)
            return relativePath(unit);
        if (column == FileColumn)
            return path(unit);
        if (isComputed(column) && m_computedSource) {
            if (const QString tip = m_computedSource->toolTip(unit, column - keyColumnCount()); !tip.isEmpty())
                return tip;
        }
        if (const QByteArrayView value = valueBytes(unit, column); !value.isEmpty())
            return fromFileText(value);
        return {};
    case ModifiedRole:
        return column == UnitColumn && document(unit) && document(unit)->isModified();
    case HasKeyRole:
        return documentRow(unit, column) >= 0;
    case ComputedRole:
        return isComputed(column);
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
    if (isComputed(section)) {
        const ComputedColumn &column = m_computed[section - keyColumnCount()];
        if (role == Qt::DisplayRole)
            return column.header;
        if (role == Qt::ToolTipRole)
            return column.toolTip;
        return {};
    }
    if (role == Qt::DisplayRole)
        return section == UnitColumn ? rowHeader() : m_columns[section].name;
    if (role == Qt::ToolTipRole && section == FileColumn)
        return QStringLiteral("The file each row is read from; its path in the cell's tooltip");
    if (role == Qt::ToolTipRole && isKeyColumn(section)) {
        const QString rows = m_kind == Kind::Units ? QStringLiteral("units") : m_kind == Kind::Weapons ? QStringLiteral("weapons") : QStringLiteral("features");
        return QStringLiteral("%1: set by %2 of the %3 %4 when they were read").arg(m_columns[section].name).arg(m_columns[section].files).arg(unitCount()).arg(rows);
    }
    return {};
}

Qt::ItemFlags ModTable::flags(const QModelIndex &index) const
{
    const Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    return index.isValid() && isKeyColumn(index.column()) ? flags | Qt::ItemIsEditable : flags;
}

bool ModTable::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !checkIndex(index, CheckIndexOption::IndexIsValid) || !isKeyColumn(index.column()))
        return false;
    return setValues({index}, value.toString(), ChangeValueStep).refused.isEmpty();
}

int ModTable::sectionFor(int unit, const QString &name) const
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const int own = m_rows[size_t(unit)].header;
    if (dot < 0)
        return own;
    // The row's section of that path, found by the headers' names.
    const QStringList path = name.left(dot).split(QLatin1Char('.'));
    const FbiContent &content = document(unit)->content();
    const int base = own < 0 ? 0 : content.depth(own) + 1;
    int level = 0;
    int header = own;
    qsizetype end = own < 0 ? content.rowCount() : content.sectionEnd(own);
    for (qsizetype row = header + 1; row < end && level < path.size(); ++row) {
        if (content.isSection(row) && content.depth(row) == base + level
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
    std::map<int, FileChange> changes;
    EditResult result;
    result.note = valueRuleNote(checked.change);
    if (!result.note.isEmpty())
        emit valueNote(result.note);
    for (const QModelIndex &cell : cells) {
        if (!checkIndex(cell, CheckIndexOption::IndexIsValid) || !isKeyColumn(cell.column()) || !document(cell.row()))
            continue;
        const int fileIndex = m_rows[size_t(cell.row())].file;
        FileChange &change = changes.try_emplace(fileIndex, FileChange{document(cell.row()), {}, 0}).first->second;
        if (const int row = documentRow(cell.row(), cell.column()); row >= 0) {
            change.edit.values.append({row, checked.value});
            ++change.cells;
        } else if (!checked.value.isEmpty()) {
            const int section = sectionFor(cell.row(), key(cell.column()));
            if (section < -1) {
                result.refused.append(unitName(cell.row()) + QStringLiteral(" has no section for ") + key(cell.column()));
                continue;
            }
            const QString name = key(cell.column());
            change.edit.added.append({section, FbiRow{name.mid(name.lastIndexOf(QLatin1Char('.')) + 1), checked.value}});
            ++change.cells;
        }
    }
    std::vector<FileChange> list;
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
    std::map<int, FileChange> changes;
    for (const QModelIndex &cell : cells) {
        if (!checkIndex(cell, CheckIndexOption::IndexIsValid) || !document(cell.row()))
            continue;
        const int row = documentRow(cell.row(), cell.column());
        if (row < 0)
            continue;
        if (const std::optional<QString> value = scaledNumber(document(cell.row())->value(row), factor)) {
            const int fileIndex = m_rows[size_t(cell.row())].file;
            FileChange &change = changes.try_emplace(fileIndex, FileChange{document(cell.row()), {}, 0}).first->second;
            change.edit.values.append({row, *value});
            ++change.cells;
        }
    }
    std::vector<FileChange> list;
    for (auto &entry : changes)
        list.push_back(std::move(entry.second));
    return apply(list, QStringLiteral("Scale by %1").arg(QLocale::c().toString(factor, 'g', 6)));
}

ModTable::EditResult ModTable::apply(const std::vector<FileChange> &changes, const QString &stepName)
{
    EditResult result;
    QList<TableStep::Part> parts;
    for (const FileChange &change : changes) {
        Document *target = change.document;
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
        m_history->push(new TableStep(stepName, std::move(parts)));
    return result;
}

TableChange ModTable::changeFor(int unit, const QString &key, const QString &value) const
{
    TableChange change;
    change.table = this;
    change.row = unit;
    change.key = key;
    change.document = document(unit);
    const CheckedValue checked = checkValue(value);
    change.newValue = checked.value;
    if (!change.document) {
        change.refused = QStringLiteral("Its file is no longer open.");
        return change;
    }
    const int column = columnOfKey(key);
    if (column >= 0)
        change.key = this->key(column);
    if (const int row = column < 0 ? -1 : documentRow(unit, column); row >= 0) {
        change.documentRows = {row};
        change.oldValue = change.document->value(row);
    } else {
        change.action = TableChange::Action::Add;
        change.section = sectionFor(unit, change.key);
        if (change.section < -1) {
            const QString &name = change.key;
            change.refused = QStringLiteral("It has no [%1] section.").arg(name.left(name.lastIndexOf(QLatin1Char('.'))));
        } else if (change.key.mid(change.key.lastIndexOf(QLatin1Char('.')) + 1).trimmed().isEmpty()) {
            change.refused = QStringLiteral("A key needs a name.");
        }
    }
    // A ";" or a line break would end the value early and make the rest of it more of the file.
    if (checked.change == CheckedValue::Change::Cut && change.refused.isEmpty())
        change.refused = QStringLiteral("A value cannot hold a \";\" or a line break.");
    return change;
}

TableChange ModTable::additionFor(int unit, const QString &key, const QString &value) const
{
    TableChange change = changeFor(unit, key, value);
    if (change.action == TableChange::Action::Set) {
        change.action = TableChange::Action::Add;
        change.refused = QStringLiteral("It sets %1 already (%2).").arg(change.key, change.oldValue);
    }
    return change;
}

TableChange ModTable::removalFor(int unit, const QString &key) const
{
    TableChange change;
    change.action = TableChange::Action::Remove;
    change.table = this;
    change.row = unit;
    change.key = key;
    change.document = document(unit);
    const int column = columnOfKey(key);
    const int row = column < 0 ? -1 : documentRow(unit, column);
    if (!change.document || row < 0) {
        change.refused = QStringLiteral("It does not set %1.").arg(key);
        return change;
    }
    change.key = this->key(column);
    change.oldValue = change.document->value(row);
    for (const DuplicateKey &duplicate : duplicateKeys(unit)) {
        if (duplicate.column == column)
            change.documentRows.append(duplicate.earlierRow);
    }
    change.documentRows.append(row);
    return change;
}

ModTable::EditResult ModTable::applyChanges(const QList<TableChange> &changes, const QString &stepName)
{
    std::vector<FileChange> list;
    QHash<const Document *, size_t> byDocument;
    QStringList stale;
    for (const TableChange &change : changes) {
        if (!change.canApply() || !change.document)
            continue;
        // A change shown before it is made is made only where the file is still as it was shown: an
        // edit since, in the file's own window, may have moved its rows.
        const Document &target = *change.document;
        const QString name = change.key.mid(change.key.lastIndexOf(QLatin1Char('.')) + 1).trimmed();
        auto holdsKey = [&](int row) {
            return row >= 0 && row < target.rowCount() && !target.isSection(row) && target.name(row).trimmed().compare(name, Qt::CaseInsensitive) == 0;
        };
        bool current = true;
        if (change.action == TableChange::Action::Set)
            current = holdsKey(change.documentRows.value(0, -1)) && target.value(change.documentRows.value(0, -1)) == change.oldValue;
        else if (change.action == TableChange::Action::Remove)
            current = !change.documentRows.isEmpty() && std::all_of(change.documentRows.cbegin(), change.documentRows.cend(), holdsKey);
        else
            current = change.section == -1 || (change.section >= 0 && change.section < target.rowCount() && target.isSection(change.section));
        if (!current) {
            stale.append(QStringLiteral("%1: %2 changed since it was shown").arg(change.table ? change.table->unitName(change.row) : target.title(), change.key));
            continue;
        }
        const auto found = byDocument.constFind(change.document.data());
        const size_t at = found != byDocument.cend() ? *found : list.size();
        if (at == list.size()) {
            byDocument.insert(change.document.data(), at);
            list.push_back(FileChange{change.document.data(), {}, 0});
        }
        FileChange &entry = list[at];
        switch (change.action) {
        case TableChange::Action::Set:
            entry.edit.values.append({change.documentRows.value(0, -1), change.newValue});
            break;
        case TableChange::Action::Add:
            entry.edit.added.append({change.section, FbiRow{change.key.mid(change.key.lastIndexOf(QLatin1Char('.')) + 1), change.newValue}});
            break;
        case TableChange::Action::Remove:
            entry.edit.removed += change.documentRows;
            break;
        }
        ++entry.cells;
    }
    EditResult result = apply(list, stepName);
    result.refused = stale + result.refused;
    return result;
}

QString ModTable::undoBlocker() const
{
    if (!m_history->canUndo())
        return {};
    return static_cast<const TableStep *>(m_history->command(m_history->index() - 1))->blocker(true);
}

QString ModTable::redoBlocker() const
{
    if (!m_history->canRedo())
        return {};
    return static_cast<const TableStep *>(m_history->command(m_history->index()))->blocker(false);
}

QList<Document *> ModTable::changedDocuments() const
{
    QList<Document *> changed;
    for (const File &entry : m_files) {
        if (entry.document && entry.document->isModified())
            changed.append(entry.document);
    }
    return changed;
}

QList<ModTable::SaveFailure> ModTable::saveAll(const std::function<bool(const Document *)> &which)
{
    QList<SaveFailure> failures;
    for (const File &entry : m_files) {
        if (!entry.document || !entry.document->isModified() || (which && !which(entry.document)))
            continue;
        if (std::optional<SaveFailure> failed = saveDocument(m_documents, entry.document))
            failures.append(*failed);
    }
    return failures;
}

std::optional<ModTable::SaveFailure> ModTable::saveDocument(DocumentSet &documents, Document *document)
{
    const QString path = document->filePath();
    // Another program's change is not overwritten unasked: that file's own window asks.
    if (document->fileChangedOnDisk(path))
        return SaveFailure{path, QStringLiteral("It has changed on disk since it was read; save it from its own window to replace it.")};
    // The file's own layout or nothing: the file's own window offers the standard layout.
    const DocumentSet::SaveResult saved = documents.save(document, path);
    if (saved.failure == FbiWriteResult::Failure::Layout)
        return SaveFailure{path, saved.reason + QStringLiteral(" Save it from its own window to choose the standard layout.")};
    if (!saved.ok)
        return SaveFailure{path, saved.reason};
    return std::nullopt;
}
