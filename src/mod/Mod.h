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
    // The gamedata and download files.
    const QList<ModDocument> &otherFiles() const { return m_others; }
    // Every file of the mod read (or found unreadable), tables' and others'.
    int fileCount() const;
    const QList<UnreadableFile> &unreadableFiles() const { return m_unreadable; }

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

signals:
    void progress(int done, int total);
    void loaded();
    void problemsChanged();

private:
    void setFiles(ModFolder folder, QList<ModFile> files);
    void releaseOthers();
    void scheduleRecheck();
    const ModIndex &index();
    Target unitTarget(const Document &document, int row, const QByteArray &key, QByteArrayView value);
    Target definitionTarget(const ModTable &table, int row, const QByteArray &key, QByteArrayView value);
    Target menuTarget(const ModDocument &file, int row, const QByteArray &key, QByteArrayView value);

    DocumentSet &m_documents;
    ModLoader m_loader;
    ModFolder m_folder;
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
