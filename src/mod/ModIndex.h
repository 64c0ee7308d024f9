#pragma once

#include "mod/ModFolder.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>

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
    QList<int> weapons(QByteArrayView name) const { return m_weapons.value(foldName(name)); }
    QList<int> features(QByteArrayView name) const { return m_features.value(foldName(name)); }
    QList<int> unitsByFileName(QByteArrayView name) const { return m_unitsByFile.value(foldName(name)); }
    QList<int> unitsByUnitName(QByteArrayView name) const { return m_unitsByName.value(foldName(name)); }
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
    int soundCategory(QByteArrayView name) const { return m_soundCategories.value(foldName(name), -1); }
    int movementClass(QByteArrayView name) const { return m_classes.value(foldName(name), -1); }
    int side(QByteArrayView name) const { return m_sideNames.value(foldName(name), -1); }
    const QList<ModDocument> &gamedata() const { return m_gamedata; }

    const ModFolder &folder() const { return m_folder; }
    const ModTable &units() const { return m_units; }
    const ModTable &weaponTable() const { return m_weaponTable; }
    const ModTable &featureTable() const { return m_featureTable; }

    // The unit's file name without its extension: Spring's name for the unit.
    static QString fileId(const QString &fileName);

private:
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
};

// Within a section (its header row; -1 for a unit's own rows), the row of the last variable named
// key in any letter case: the one the engines use. -1 when the section has none.
int findVariable(const Document &document, int header, QByteArrayView foldedKey);
