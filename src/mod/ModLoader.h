#pragma once

#include "documents/FbiReader.h"
#include "mod/ModFolder.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <thread>
#include <vector>

// One definition file of a mod as read from disk.
struct ModFile
{
    QString path;           // as found under the folder
    QString relativePath;   // from the folder, with "/" between folders
    FbiReadResult read;
    QString reason;         // why an entry with a definition file's name is no file to read: a folder, a pipe, ...
    ModFileRole role = ModFileRole::Unit;
};
using UnitFile = ModFile;

// Reads every definition file of a mod's folder (see ModFolder) on worker threads, so that the
// window that asked stays responsive. The files come back in one list, in the order of their
// relative paths, once all are read; until then progress() tells how far it got.
class ModLoader : public QObject
{
    Q_OBJECT

public:
    explicit ModLoader(QObject *parent = nullptr);
    // Stops the workers after the file each is reading.
    ~ModLoader() override;

    // threads <= 0: one per core, at most four. With unitsOnly the other definition files are left.
    void start(const QString &folder, int threads = 0, bool unitsOnly = false);
    // Stops the workers after the file each is reading; finished() does not follow.
    void cancel();
    bool isRunning() const { return m_coordinator.joinable(); }
    // The files read and the folder as searched, once finished() has been emitted.
    QList<ModFile> takeFiles();
    ModFolder takeFolder() { return std::move(m_folder); }

    // The same reading on the calling thread's behalf, for a caller without an event loop.
    static QList<ModFile> readFiles(const ModFolder &folder, int threads = 0, bool unitsOnly = false);

signals:
    // total is known once the folder has been searched.
    void progress(int done, int total);
    void finished();

private:
    void run(QString folder, int threads, bool unitsOnly, int generation);
    // Fills files from the folder's entries, reading them on threads; done counts the files read.
    static void readAll(const ModFolder &folder, int threads, bool unitsOnly, std::vector<ModFile> &files,
                        std::atomic_int &total, std::atomic_int &done, const std::atomic_bool &cancelled);
    void reportProgress();
    void finish(int generation);

    std::thread m_coordinator;
    std::atomic_bool m_cancelled = false;
    std::atomic_int m_done = 0;
    std::atomic_int m_total = -1;
    int m_reportedDone = -1;
    // Tells a finished reading from one cancelled before its end was reported.
    int m_generation = 0;
    std::vector<ModFile> m_files;
    ModFolder m_folder;
    QTimer m_progressTimer;
};
