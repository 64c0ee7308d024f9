#include "documents/ModTable.h"

#include "documents/Document.h"
#include "documents/DocumentSet.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>

namespace {
const QString UnitHeader = QStringLiteral("Unit");
const QByteArray UnitNameKey = QByteArrayLiteral("unitname");
const QString ChangeValueStep = QStringLiteral("Change Value");
const QString SetValueStep = QStringLiteral("Set Value");
const QString ScaleStep = QStringLiteral("Scale Values");

QString readFailureReason(FbiReadResult::Error error)
{
    switch (error) {
    case FbiReadResult::Error::CannotOpen:
        return QStringLiteral("cannot be opened");
    case FbiReadResult::Error::ReadFailed:
        return QStringLiteral("cannot be read to its end");
    case FbiReadResult::Error::LineTooLong:
        return QStringLiteral("has a line longer than %1 characters").arg(Fbi::MaxLineLength);
    case FbiReadResult::Error::TooManyLines:
        return QStringLiteral("has no closing brace in its first %1 lines").arg(Fbi::MaxLinesWithoutClosingBrace);
    case FbiReadResult::Error::TooDeep:
        return QStringLiteral("nests sections more than %1 deep").arg(Fbi::MaxNestingDepth);
    case FbiReadResult::Error::NotText:
        return QStringLiteral("is not a text file");
    case FbiReadResult::Error::None:
        break;
    }
    return {};
}

// The game folds keys to lower case byte by byte, and "MaxDamage =" sets MaxDamage.
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
    return !folded.isEmpty() && !folded.startsWith("//");
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Sign, digits, and at most one point with at least one digit: the form a scaled value keeps.
bool isPlainDecimal(QStringView text, qsizetype &decimals)
{
    qsizetype index = 0;
    if (index < text.size() && (text[index] == QLatin1Char('-') || text[index] == QLatin1Char('+')))
        ++index;
    qsizetype digits = 0;
    qsizetype point = -1;
    for (; index < text.size(); ++index) {
        if (text[index] >= QLatin1Char('0') && text[index] <= QLatin1Char('9'))
            ++digits;
        else if (text[index] == QLatin1Char('.') && point < 0)
            point = index;
        else
            return false;
    }
    decimals = point < 0 ? 0 : text.size() - point - 1;
    return digits > 0;
}

// A list of the unit's values that the same step changes, and the keys it adds.
struct UnitEdit
{
    QList<std::pair<int, QString>> changes;
    QList<FbiRow> additions;
};

bool apply(Document *document, const UnitEdit &edit, const QString &stepName)
{
    QList<std::pair<int, QString>> changes;
    for (const auto &change : edit.changes) {
        if (document->value(change.first) != change.second)
            changes.append(change);
    }
    if (changes.isEmpty() && edit.additions.isEmpty())
        return false;
    const bool both = !changes.isEmpty() && !edit.additions.isEmpty();
    if (both)
        document->history()->beginMacro(stepName);
    if (!changes.isEmpty())
        document->setValues(changes, stepName);
    if (!edit.additions.isEmpty())
        document->insertRows(document->rowCount(), edit.additions, stepName);
    if (both)
        document->history()->endMacro();
    return true;
}
}

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

ModTable::~ModTable() = default;

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
    for (Unit &unit : m_units) {
        if (unit.document && unit.document->parent() == this)
            delete unit.document;
        else if (unit.document)
            disconnect(unit.document, nullptr, this, nullptr);
    }
    m_units.clear();
    m_failures.clear();
    m_keyOfFolded.clear();
    m_spellings.clear();
    m_columnOfKey.clear();
    m_columns.resize(1);
}

Document *ModTable::makeDocument(const QString &path, FbiReadResult read)
{
    auto *document = new Document(0, this);
    document->load(path, std::move(read));
    return document;
}

int ModTable::keyOf(QByteArrayView name)
{
    const auto known = m_spellings.find(QByteArray::fromRawData(name.data(), name.size()));
    if (known != m_spellings.end()) {
        ++known->uses;
        return known->key;
    }
    foldInto(name, m_scratch);
    int key = m_keyOfFolded.value(m_scratch, -1);
    if (!isVariable(m_scratch)) {
        key = -1;
    } else if (key < 0) {
        key = int(m_columnOfKey.size());
        m_keyOfFolded.insert(m_scratch, key);
        m_columnOfKey.append(-1);
    }
    m_spellings.insert(name.toByteArray(), Spelling{key, 1});
    return key;
}

void ModTable::setFiles(const QString &folder, QList<UnitFile> files)
{
    beginResetModel();
    releaseUnits();
    m_folder = folder;
    m_units.reserve(size_t(files.size()));

    // Only a document read from a file can stand for one of these.
    const QList<Document *> open = m_documents.documents();
    const bool openFiles = std::any_of(open.cbegin(), open.cend(), [](const Document *document) {
        return !document->filePath().isEmpty();
    });
    // The cells hold keys until every file has been seen and the columns have their order.
    std::vector<int> filesOfKey;
    std::vector<int> lastUnitOfKey;
    for (UnitFile &file : files) {
        if (file.read.error != FbiReadResult::Error::None) {
            m_failures.append(Failure{file.relativePath, readFailureReason(file.read.error)});
            continue;
        }
        Document *document = openFiles ? m_documents.findByPath(file.path) : nullptr;
        if (!document)
            document = makeDocument(file.path, std::move(file.read));
        const int unitIndex = int(m_units.size());
        Unit &unit = m_units.emplace_back();
        unit.document = document;
        unit.path = file.path;
        unit.relativePath = file.relativePath;
        unit.fileName = file.relativePath.mid(file.relativePath.lastIndexOf(QLatin1Char('/')) + 1);
        const FbiContent &content = document->content();
        unit.cells.reserve(size_t(content.rowCount()));
        for (int row = 0; row < content.rowCount(); ++row) {
            const int key = keyOf(content.nameBytes(row));
            if (key < 0)
                continue;
            unit.cells.push_back(Cell{key, row});
            if (size_t(key) >= filesOfKey.size()) {
                filesOfKey.resize(size_t(key) + 1, 0);
                lastUnitOfKey.resize(size_t(key) + 1, -1);
            }
            if (lastUnitOfKey[size_t(key)] != unitIndex) {
                lastUnitOfKey[size_t(key)] = unitIndex;
                ++filesOfKey[size_t(key)];
            }
        }
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

// The later line of a key set twice is the one the game uses, so it is the one a cell stands for.
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
    connect(document, &Document::modifiedChanged, this, [this, unit] {
        const QModelIndex changed = index(unit, UnitColumn);
        emit dataChanged(changed, changed, {ModifiedRole});
    });
    // A document that an open window had before the table was made goes with that window.
    if (document->parent() != this)
        connect(document, &QObject::destroyed, this, [this, unit] { documentDestroyed(unit); });
}

// The unit's file as it is on disk now: the window that held its document has asked about its changes.
void ModTable::documentDestroyed(int unit)
{
    Unit &entry = m_units[size_t(unit)];
    entry.document = makeDocument(entry.path, readFbiFile(entry.path));
    watch(unit);
    unitEdited(unit);
}

// The cells follow the document's rows, which its window may have added, removed or reordered.
void ModTable::mapCells(int unit)
{
    Unit &entry = m_units[size_t(unit)];
    std::vector<Cell> cells;
    if (entry.document) {
        const FbiContent &content = entry.document->content();
        cells.reserve(size_t(content.rowCount()));
        for (int row = 0; row < content.rowCount(); ++row) {
            const int key = keyOf(content.nameBytes(row));
            if (key < 0)
                continue;
            if (m_columnOfKey[key] < 0) {
                const int column = int(m_columns.size());
                beginInsertColumns({}, column, column);
                m_columns.append(Column{fromFileText(content.nameBytes(row).trimmed()), 0});
                m_columnOfKey[key] = column;
                endInsertColumns();
            }
            cells.push_back(Cell{m_columnOfKey[key], row});
        }
    }
    sortByColumn(cells);
    entry.cells = std::move(cells);
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
    const int unit = index.row();
    Document *target = document(unit);
    if (!target)
        return false;
    const QString text = acceptableValue(value.toString());
    UnitEdit edit;
    if (const int row = rowOf(unit, index.column()); row >= 0)
        edit.changes.append({row, text});
    else if (!text.isEmpty())
        edit.additions.append(FbiRow{key(index.column()), text});
    apply(target, edit, ChangeValueStep);
    return true;
}

int ModTable::setValues(const QModelIndexList &cells, const QString &value)
{
    const QString text = acceptableValue(value);
    std::map<int, UnitEdit> edits;
    for (const QModelIndex &cell : cells) {
        if (!checkIndex(cell, CheckIndexOption::IndexIsValid) || cell.column() == UnitColumn || !document(cell.row()))
            continue;
        UnitEdit &edit = edits[cell.row()];
        if (const int row = rowOf(cell.row(), cell.column()); row >= 0)
            edit.changes.append({row, text});
        else if (!text.isEmpty())
            edit.additions.append(FbiRow{key(cell.column()), text});
    }
    int changed = 0;
    for (const auto &[unit, edit] : edits)
        changed += apply(document(unit), edit, SetValueStep) ? 1 : 0;
    return changed;
}

int ModTable::scaleValues(const QModelIndexList &cells, double factor)
{
    std::map<int, UnitEdit> edits;
    int scaled = 0;
    for (const QModelIndex &cell : cells) {
        if (!checkIndex(cell, CheckIndexOption::IndexIsValid) || !document(cell.row()))
            continue;
        const int row = cell.column() == UnitColumn ? -1 : rowOf(cell.row(), cell.column());
        if (row < 0)
            continue;
        if (const std::optional<QString> value = scaledValue(document(cell.row())->value(row), factor)) {
            edits[cell.row()].changes.append({row, *value});
            ++scaled;
        }
    }
    for (const auto &[unit, edit] : edits)
        apply(document(unit), edit, ScaleStep);
    return scaled;
}

std::optional<QString> ModTable::scaledValue(QStringView value, double factor)
{
    qsizetype begin = 0;
    qsizetype end = value.size();
    while (begin < end && isBlank(value[begin]))
        ++begin;
    while (end > begin && isBlank(value[end - 1]))
        --end;
    const QStringView number = value.sliced(begin, end - begin);
    qsizetype decimals = 0;
    if (!isPlainDecimal(number, decimals))
        return std::nullopt;
    bool ok = false;
    const double result = number.toDouble(&ok) * factor;
    if (!ok || !std::isfinite(result))
        return std::nullopt;
    QString text = QString::number(result, 'f', int(decimals));
    // A product that rounds to nothing is written without a sign.
    if (text.startsWith(QLatin1Char('-')) && text.count(QLatin1Char('0')) + text.count(QLatin1Char('.')) == text.size() - 1)
        text.remove(0, 1);
    return value.first(begin).toString() + text + value.sliced(end).toString();
}

QString ModTable::acceptableValue(const QString &text)
{
    return text.left(storableLength(text));
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

QList<ModTable::SaveFailure> ModTable::saveAll()
{
    QList<SaveFailure> failures;
    for (const Unit &unit : m_units) {
        if (!unit.document || !unit.document->isModified())
            continue;
        // Another program's change is not overwritten unasked: that unit's own window asks.
        if (unit.document->fileChangedOnDisk(unit.document->filePath())) {
            failures.append(SaveFailure{unit.path, QStringLiteral("It has changed on disk since it was read; save it "
                                                                  "from its own window to replace it.")});
            continue;
        }
        const DocumentSet::SaveResult saved = m_documents.save(unit.document, unit.document->filePath());
        if (!saved.ok)
            failures.append(SaveFailure{unit.path, saved.reason});
    }
    return failures;
}
