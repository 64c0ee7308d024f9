#pragma once

#include "mod/ModCheck.h"
#include "mod/ModFolder.h"
#include "mod/ModIndex.h"
#include "mod/ModLoader.h"
#include "mod/ModProblem.h"
#include "mod/ModProblemList.h"
#include "mod/ModTable.h"
#include "mod/WeaponColumns.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUndoStack>

#include <memory>

class Document;
class DocumentSet;

// A whole mod opened from its folder: its units, weapons and features as three tables, the
// gamedata and download files they refer to, the names it defines, and its problems. Every file is
// the document the document set has for it. After an edit (in a table or in any window showing one
// of its files) the check runs again, a moment later, and problemsChanged() follows.
class Mod : public QObject
{
    Q_OBJECT

public:
    // What a row refers to, for Go to Definition.
    struct Target
    {
        bool isReference = false;   // the row's key names another definition or file
        bool found = false;
        ModPlace place;             // where it is defined (row -1: the file as a whole)
        QString message;            // what was looked for and, when missing, that it is missing
    };

    explicit Mod(DocumentSet &documents, QObject *parent = nullptr);
    ~Mod() override;

    // Reads the folder in the background: progress() while it reads, loaded() once the tables hold it
    // and the check has run.
    void load(const QString &folder);
    bool isLoading() const { return m_loader.isRunning(); }
    // The same on this thread, for a caller without an event loop; false when the folder cannot be
    // read at all.
    bool loadNow(const QString &folder, int threads = 0);
    // No files: the reading stops, and the documents only the mod held go with their changes.
    void clear();

    QString folder() const { return m_folder.path(); }
    const ModFolder &modFolder() const { return m_folder; }
    ModTable *units() { return &m_units; }
    ModTable *weapons() { return &m_weapons; }
    ModTable *features() { return &m_features; }
    ModTable *table(ModTable::Kind kind);
    // The one history of the three tables: a step of the table's tools may span them.
    QUndoStack *history() { return &m_history; }
    // The gamedata and download files.
    const QList<ModDocument> &otherFiles() const { return m_others; }
    // Every file of the mod read (or found unreadable), tables' and others'.
    int fileCount() const;
    const QList<UnreadableFile> &unreadableFiles() const { return m_unreadable; }

    // Every file of the mod with unsaved changes, and Save All over them (those that which()
    // accepts, when given): the files that could not be written.
    QList<Document *> changedDocuments() const;
    QList<ModTable::SaveFailure> saveAll(const std::function<bool(const Document *)> &which = {});

    // The problems of the last check, sorted by file and line, and the same as a table model.
    const QList<ModProblem> &problems() const { return m_problems; }
    ModProblemList *problemList() { return &m_problemList; }
    // Runs the check now (and updates the weapons' figures in the Units table).
    void recheck();
    // Whether the check runs again by itself after edits; on by default.
    void setAutoRecheck(bool on) { m_autoRecheck = on; }

    // The definition the row names: for a unit, its weapons, explosions, corpse, model, script, picture,
    // sound category, movement class and side; for a feature, its dead and burnt features and model;
    // for a weapon, its model; in a build menu, the units. isReference is false for any other row.
    Target definitionOf(const Document *document, int row);
    // Whether the row names a definition, found or not, without looking for it: quick enough to
    // ask as the selection moves.
    bool namesDefinition(const Document *document, int row);
    // The table's cell that the cell's definition is found through: the cell itself, or for a
    // weapon figure of the Units table, the weapon slot it shows; -1 when there is none.
    int referenceColumn(const ModTable *table, int column) const;
    // Whether the document is one of the mod's files.
    bool holds(const Document *document) const;

signals:
    void progress(int done, int total);
    void loaded();
    void problemsChanged();

private:
    void setFiles(ModFolder folder, QList<ModFile> files);
    void releaseOthers();
    void scheduleRecheck();
    const ModIndex &index();
    // What the row names; found where resolve is set, isReference alone otherwise.
    Target reference(const Document *document, int row, bool resolve);
    Target unitTarget(const QByteArray &key, QByteArrayView value, bool resolve);
    Target definitionTarget(const ModTable &table, const QByteArray &key, QByteArrayView value, bool resolve);
    Target menuTarget(const ModDocument &file, int row, const QByteArray &key, QByteArrayView value, bool resolve);

    DocumentSet &m_documents;
    ModLoader m_loader;
    ModFolder m_folder;
    // Before the tables, which refer to it to the end.
    QUndoStack m_history;
    ModTable m_units;
    ModTable m_weapons;
    ModTable m_features;
    QList<ModDocument> m_others;
    QList<UnreadableFile> m_unreadable;
    WeaponColumns m_weaponColumns;
    std::unique_ptr<ModIndex> m_index;
    bool m_indexStale = true;
    QList<ModProblem> m_problems;
    ModProblemList m_problemList;
    QTimer m_recheckTimer;
    bool m_autoRecheck = true;
    bool m_checking = false;
};
