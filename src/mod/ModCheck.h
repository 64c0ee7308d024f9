#pragma once

#include "mod/ModIndex.h"
#include "mod/ModProblem.h"

#include <QHash>
#include <QList>
#include <QString>

#include <array>
#include <vector>

class Document;
class ModTable;

// A file of the mod that could not be read, for the check to list.
struct UnreadableFile
{
    QString path;
    QString relativePath;
    QString reason;
};

// The checks over a whole mod, each rule as the engines read the files (TA3D, Spring and RWE):
// references that resolve to nothing, names defined twice, keys set twice, weapon slots the engines
// never reach, yard maps that do not fit, values an engine reads otherwise, values without their
// ";", values left at a new row's placeholder, and files that cannot be read.
//
// A reference into something the mod has none of at all (no weapon sections, no objects3d/ folder,
// no gamedata/sound.tdf...) is not checked: such a mod takes it from another archive.
class ModCheck
{
public:
    explicit ModCheck(const ModIndex &index);
    // A copy checks a share of the units on a thread of its own, with what the check has set up.
    ModCheck(const ModCheck &) = default;
    ModCheck &operator=(const ModCheck &) = delete;

    // Every problem, sorted by file and line.
    QList<ModProblem> run(const QList<UnreadableFile> &unreadable);

private:
    using Severity = ModProblem::Severity;

    void checkUnits();
    void checkUnitRange(int begin, int end);
    void checkUnitReferences(int unit, const Document &document);
    void checkUnitValues(int unit, const Document &document);
    void checkWeapons();
    void checkFeatures();
    void checkBuildMenus();
    void checkDuplicateUnits();
    void checkDuplicateDefinitions(const ModTable &table, const QString &kind, const QString &what);
    void checkKeys(const ModTable &table);
    void checkText(const Document &document, const QString &path, const QString &relativePath);
    // A model by the name a unit, feature or weapon gives: objects3d/<name> as written or with any
    // extension an engine tries.
    bool hasModel(QByteArrayView name) const;
    static QString spelledKey(const ModTable &table, int row, int column);
    void checkModel(const ModTable &table, int row, int column, const QString &what);

    void add(Severity severity, const QString &kind, const Document &document, const QString &path,
             const QString &relativePath, int row, const QString &message);
    void addAt(const ModTable &table, int unit, int row, Severity severity, const QString &kind, const QString &message);
    int lineOf(const Document &document, int row);
    // The row a problem about a whole unit points at: its UnitName line, else its first row.
    int unitRow(int unit) const;

    const ModIndex &m_index;
    const ModTable &m_units;
    QList<ModProblem> m_problems;
    QHash<const Document *, QList<qsizetype>> m_lines;
    // The unit columns the rules read; -1 where no unit sets the key.
    struct UnitColumns
    {
        std::array<int, 33> weapons{};  // by slot, from 1
        int explodeAs = -1;
        int selfDestructAs = -1;
        int corpse = -1;
        int objectName = -1;
        int script = -1;
        int buildPic = -1;
        int soundCategory = -1;
        int movementClass = -1;
        int side = -1;
        int yardMap = -1;
        int footprintX = -1;
        int footprintZ = -1;
        int unitName = -1;
        int unitNumber = -1;
        int tedClass = -1;
    };
    UnitColumns m_columns;
    // Help's note on a value, by column and value (the bytes stay in the documents while the check
    // runs): most values repeat across a mod's units. Whether a column's values can have notes at all.
    const QString &noteOn(int column, QByteArrayView value);
    int noteIndex(const QString &note);
    // Values of up to seven bytes, packed with their length into a number that is never 0.
    struct PackedNotes
    {
        static constexpr size_t InitialSize = 64;
        std::vector<quint64> keys;  // 0: an empty slot
        std::vector<int> notes;     // into m_noteTexts
        size_t used = 0;
        void grow();
    };
    std::vector<PackedNotes> m_shortNotes;
    std::vector<QHash<QByteArrayView, int>> m_longNotes;
    QList<QString> m_noteTexts;
    std::vector<int> m_noted;
    // The unit being checked: the values of the columns the references read (by role), with their rows.
    QByteArrayView unitValue(int column) const;
    int unitValueRow(int column) const;
    std::vector<int> m_roleOfColumn;
    std::vector<QByteArrayView> m_values;
    std::vector<int> m_valueRows;
    std::vector<QByteArrayView> m_unitNames;     // by unit, for the duplicates
    std::vector<QByteArrayView> m_unitNumbers;
};
