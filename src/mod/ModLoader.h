#pragma once

#include "documents/FbiReader.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <thread>
#include <vector>

// One unit file of a mod as read from disk.
struct UnitFile
{
    QString path;           // as found under the folder
    QString relativePath;   // from the folder, with "/" between folders
    FbiReadResult read;
    QString reason;         // why an entry with a unit file's name is no file to read: a folder, a pipe, ...
};

// Reads every unit file under a folder (".fbi" in any letter case, subfolders included) on worker
// threads, so that the window that asked stays responsive. The files come back in one list, in the
// order of their relative paths, once all are read; until then progress() tells how far it got.
class ModLoader : public QObject
{
    Q_OBJECT

public:
    explicit ModLoader(QObject *parent = nullptr);
    // Stops the workers after the file each is reading.
    ~ModLoader() override;

    // threads <= 0: one per core, at most four.
    void start(const QString &folder, int threads = 0);
    // Stops the workers after the file each is reading; finished() does not follow.
    void cancel();
    bool isRunning() const { return m_coordinator.joinable(); }
    // The files read, once finished() has been emitted.
    QList<UnitFile> takeFiles();

    // The entries named as unit files under folder, by relative path (letter case ignored, then as
    // written), each with the reason it cannot be read when it is no regular file. The search
    // stops early, with what it found, once cancelled is set.
    struct Entry
    {
        QString relativePath;
        QString reason;
    };
    static QList<Entry> findUnitFiles(const QString &folder, const std::atomic_bool &cancelled);

signals:
    // total is known once the folder has been searched.
    void progress(int done, int total);
    void finished();

private:
    void run(QString folder, int threads, int generation);
    void readFrom();
    void reportProgress();
    void finish(int generation);

    std::thread m_coordinator;
    std::atomic_bool m_cancelled = false;
    std::atomic_int m_next = 0;
    std::atomic_int m_done = 0;
    std::atomic_int m_total = -1;
    int m_reportedDone = -1;
    // Tells a finished reading from one cancelled before its end was reported.
    int m_generation = 0;
    std::vector<UnitFile> m_files;
    QTimer m_progressTimer;
};
