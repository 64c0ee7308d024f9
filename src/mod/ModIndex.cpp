#include "mod/ModIndex.h"

#include "documents/Document.h"
#include "mod/ModTable.h"

namespace {
const QByteArray NameKey = QByteArrayLiteral("name");

// The top-level sections of a file of definitions, by header row.
QList<int> topSections(const FbiContent &content)
{
    QList<int> headers;
    for (qsizetype row = 0; row < content.rowCount(); ++row) {
        if (content.depth(row) == 0 && content.isSection(row))
            headers.append(int(row));
    }
    return headers;
}

// "CLASS12" with prefix "class" gives 12; -1 for any other name.
int numberAfter(QByteArrayView folded, QByteArrayView prefix)
{
    if (!folded.startsWith(prefix) || folded.size() == prefix.size() || folded.size() > prefix.size() + 6)
        return -1;
    int number = 0;
    for (const char c : folded.sliced(prefix.size())) {
        if (c < '0' || c > '9')
            return -1;
        number = number * 10 + (c - '0');
    }
    return number;
}
}

QByteArray foldName(QByteArrayView name)
{
    name = name.trimmed();
    QByteArray folded(name.size(), Qt::Uninitialized);
    for (qsizetype index = 0; index < name.size(); ++index) {
        const char c = name[index];
        folded[index] = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
    }
    return folded;
}

int findVariable(const Document &document, int header, QByteArrayView foldedKey)
{
    const FbiContent &content = document.content();
    const int end = header < 0 ? int(content.rowCount()) : int(content.sectionEnd(header));
    const int depth = header < 0 ? 0 : content.depth(header) + 1;
    int found = -1;
    for (int row = header + 1; row < end; ++row) {
        if (content.depth(row) != depth || content.isSection(row))
            continue;
        const QByteArrayView name = content.nameBytes(row).trimmed();
        if (name.size() == foldedKey.size() && name.compare(foldedKey, Qt::CaseInsensitive) == 0)
            found = row;
    }
    return found;
}

QString ModIndex::fileId(const QString &fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? fileName : fileName.left(dot);
}

ModIndex::ModIndex(const ModTable &units, const ModTable &weapons, const ModTable &features, const QList<ModDocument> &gamedata,
                   const ModFolder &folder)
    : m_units(units)
    , m_weaponTable(weapons)
    , m_featureTable(features)
    , m_folder(folder)
    , m_gamedata(gamedata)
{
    for (int row = 0; row < weapons.unitCount(); ++row)
        m_weapons[foldName(toFileText(weapons.unitName(row)))].append(row);
    for (int row = 0; row < features.unitCount(); ++row)
        m_features[foldName(toFileText(features.unitName(row)))].append(row);
    const int unitNameColumn = units.columnOfKey(u"UnitName");
    m_fileIds.resize(size_t(units.unitCount()));
    m_sameFileAs.assign(size_t(units.unitCount()), -1);
    m_sameNameAs.assign(size_t(units.unitCount()), -1);
    for (int row = 0; row < units.unitCount(); ++row) {
        QByteArray &id = m_fileIds[size_t(row)];
        id = toFileText(units.fileName(row));
        if (const qsizetype dot = id.lastIndexOf('.'); dot >= 0)
            id.truncate(dot);
        QList<int> &sameFile = m_unitsByFile[foldName(id)];
        if (!sameFile.isEmpty())
            m_sameFileAs[size_t(row)] = sameFile.constFirst();
        sameFile.append(row);
        const QByteArrayView name = unitNameColumn > 0 ? units.valueBytes(row, unitNameColumn).trimmed() : QByteArrayView();
        if (name.isEmpty())
            continue;
        QList<int> &sameName = m_unitsByName[foldName(name)];
        if (!sameName.isEmpty())
            m_sameNameAs[size_t(row)] = sameName.constFirst();
        sameName.append(row);
    }

    for (const ModDocument &file : std::as_const(m_gamedata)) {
        if (!file.document)
            continue;
        const FbiContent &content = file.document->content();
        switch (file.role) {
        case ModFileRole::Sounds:
            m_sounds = &file;
            for (const int header : topSections(content))
                m_soundCategories.insert(foldName(content.nameBytes(header)), header);
            break;
        case ModFileRole::MovementClasses: {
            m_movementClasses = &file;
            // The engines read CLASS0, CLASS1, ... and stop at the first number missing.
            QHash<int, int> byNumber;
            for (const int header : topSections(content)) {
                if (const int number = numberAfter(foldName(content.nameBytes(header)), "class"); number >= 0 && !byNumber.contains(number))
                    byNumber.insert(number, header);
            }
            for (int number = 0; byNumber.contains(number); ++number) {
                if (const int row = findVariable(*file.document, byNumber.value(number), NameKey); row >= 0)
                    m_classes.insert(foldName(content.valueBytes(row)), row);
            }
            break;
        }
        case ModFileRole::Sides:
            m_sides = &file;
            for (const int header : topSections(content)) {
                if (numberAfter(foldName(content.nameBytes(header)), "side") < 0)
                    continue;
                if (const int row = findVariable(*file.document, header, NameKey); row >= 0)
                    m_sideNames.insert(foldName(content.valueBytes(row)), row);
            }
            break;
        case ModFileRole::Unit:
        case ModFileRole::Weapons:
        case ModFileRole::Features:
        case ModFileRole::Downloads:
            break;
        }
    }
}

bool ModIndex::isUnitName(QByteArrayView name) const
{
    return !find(m_unitsByFile, name).isEmpty() || !find(m_unitsByName, name).isEmpty();
}

int ModIndex::unitNamed(QByteArrayView name) const
{
    const QByteArray folded = foldName(name);
    if (const auto found = m_unitsByFile.constFind(folded); found != m_unitsByFile.constEnd())
        return found->constFirst();
    if (const auto found = m_unitsByName.constFind(folded); found != m_unitsByName.constEnd())
        return found->constFirst();
    return -1;
}
