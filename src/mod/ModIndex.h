#pragma once

#include "mod/ModFolder.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>

#include <vector>

class Document;
class ModTable;

// A definition file of a mod that no table shows: gamedata/sound.tdf, sidedata.tdf, moveinfo.tdf and
// the files of download/.
struct ModDocument
{
    QPointer<Document> document;
    QString path;
    QString relativePath;
    ModFileRole role = ModFileRole::Sounds;
};

// A row of a file of the mod: a section's header, a variable, or the file itself (row -1).
struct ModPlace
{
    const Document *document = nullptr;
    QString path;
    QString relativePath;
    int row = -1;
};

// Names and letter case as the engines compare them: blanks around a name do not count, and
// letters are compared in lower case, byte by byte.
QByteArray foldName(QByteArrayView name);

// The names a mod defines, each with where it is defined, for resolving references: weapon and
// feature sections, units by file name (Spring's id) and by UnitName (TA3D's and RWE's), sound
// categories, movement classes and sides; the models, scripts and pictures come from the folder.
// Built anew from the tables and files as they stand, which is quick enough to do after each edit.
class ModIndex
{
public:
    ModIndex(const ModTable &units, const ModTable &weapons, const ModTable &features, const QList<ModDocument> &gamedata,
             const ModFolder &folder);
    // It points into its own list of files.
    ModIndex(const ModIndex &) = delete;
    ModIndex &operator=(const ModIndex &) = delete;

    // Rows of the weapons (features, units) table, in the tables' order; empty when none has the name.
    QList<int> weapons(QByteArrayView name) const { return find(m_weapons, name); }
    QList<int> features(QByteArrayView name) const { return find(m_features, name); }
    QList<int> unitsByFileName(QByteArrayView name) const { return find(m_unitsByFile, name); }
    QList<int> unitsByUnitName(QByteArrayView name) const { return find(m_unitsByName, name); }
    // A name a build menu may give a unit by: its file name in Spring, its UnitName in TA3D.
    bool isUnitName(QByteArrayView name) const;
    // The unit a build menu names, preferring the file name; -1 when none.
    int unitNamed(QByteArrayView name) const;

    // The gamedata files, when the mod has them; the sound categories, movement classes and sides
    // they define, by name in any letter case (header row of the category, "Name=" row of the class,
    // "name=" row of the side).
    const ModDocument *sounds() const { return m_sounds; }
    const ModDocument *movementClasses() const { return m_movementClasses; }
    const ModDocument *sides() const { return m_sides; }
    int soundCategory(QByteArrayView name) const { return find(m_soundCategories, name, -1); }
    int movementClass(QByteArrayView name) const { return find(m_classes, name, -1); }
    int side(QByteArrayView name) const { return find(m_sideNames, name, -1); }
    const QList<ModDocument> &gamedata() const { return m_gamedata; }

    const ModFolder &folder() const { return m_folder; }
    const ModTable &units() const { return m_units; }
    const ModTable &weaponTable() const { return m_weaponTable; }
    const ModTable &featureTable() const { return m_featureTable; }

    // The unit's file name without its extension: Spring's name for the unit.
    static QString fileId(const QString &fileName);
    QByteArrayView fileIdOf(int unit) const { return m_fileIds[size_t(unit)]; }
    // The first unit before this one with the same file name (UnitName), in any letter case; -1 when
    // none has it.
    int sameFileNameAs(int unit) const { return m_sameFileAs[size_t(unit)]; }
    int sameUnitNameAs(int unit) const { return m_sameNameAs[size_t(unit)]; }

private:
    // A lookup by the folded name, folded on the stack: the check looks up many names.
    template<typename Value>
    static Value find(const QHash<QByteArray, Value> &hash, QByteArrayView name, Value missing = {})
    {
        char buffer[128];
        name = name.trimmed();
        if (name.size() > qsizetype(sizeof(buffer)))
            return hash.value(foldName(name), missing);
        for (qsizetype index = 0; index < name.size(); ++index)
            buffer[index] = name[index] >= 'A' && name[index] <= 'Z' ? char(name[index] - 'A' + 'a') : name[index];
        return hash.value(QByteArray::fromRawData(buffer, name.size()), missing);
    }

    const ModTable &m_units;
    const ModTable &m_weaponTable;
    const ModTable &m_featureTable;
    const ModFolder &m_folder;
    QList<ModDocument> m_gamedata;
    const ModDocument *m_sounds = nullptr;
    const ModDocument *m_movementClasses = nullptr;
    const ModDocument *m_sides = nullptr;
    QHash<QByteArray, QList<int>> m_weapons;
    QHash<QByteArray, QList<int>> m_features;
    QHash<QByteArray, QList<int>> m_unitsByFile;
    QHash<QByteArray, QList<int>> m_unitsByName;
    QHash<QByteArray, int> m_soundCategories;
    QHash<QByteArray, int> m_classes;
    QHash<QByteArray, int> m_sideNames;
    std::vector<QByteArray> m_fileIds;
    std::vector<int> m_sameFileAs;
    std::vector<int> m_sameNameAs;
};

// Within a section (its header row; -1 for a unit's own rows), the row of the last variable named
// key in any letter case: the one the engines use. -1 when the section has none.
int findVariable(const Document &document, int header, QByteArrayView foldedKey);
