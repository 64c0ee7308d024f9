#include "mod/ModLoader.h"

#include <QDir>
#include <QMetaObject>

#include <algorithm>

namespace {
constexpr int ProgressInterval = 50; // ms
constexpr int MaxThreads = 4;
}

ModLoader::ModLoader(QObject *parent)
    : QObject(parent)
{
    // The workers only count; the count is looked at a few times a second, which keeps the
    // event queue free of a message per file.
    m_progressTimer.setInterval(ProgressInterval);
    connect(&m_progressTimer, &QTimer::timeout, this, &ModLoader::reportProgress);
}

ModLoader::~ModLoader()
{
    cancel();
}

void ModLoader::cancel()
{
    m_cancelled = true;
    if (m_coordinator.joinable())
        m_coordinator.join();
    ++m_generation;
    m_progressTimer.stop();
    m_files.clear();
}

void ModLoader::start(const QString &folder, int threads, bool unitsOnly)
{
    if (isRunning())
        return;
    m_cancelled = false;
    m_done = 0;
    m_total = -1;
    m_reportedDone = -1;
    m_files.clear();
    m_folder = ModFolder();
    m_progressTimer.start();
    m_coordinator = std::thread(&ModLoader::run, this, folder, threads, unitsOnly, ++m_generation);
}

void ModLoader::run(QString folder, int threads, bool unitsOnly, int generation)
{
    m_folder = ModFolder::scan(folder, m_cancelled);
    readAll(m_folder, threads, unitsOnly, m_files, m_total, m_done, m_cancelled);
    QMetaObject::invokeMethod(this, [this, generation] { finish(generation); }, Qt::QueuedConnection);
}

void ModLoader::readAll(const ModFolder &folder, int threads, bool unitsOnly, std::vector<ModFile> &files,
                        std::atomic_int &total, std::atomic_int &done, const std::atomic_bool &cancelled)
{
    if (threads <= 0)
        threads = std::clamp(int(std::thread::hardware_concurrency()), 1, MaxThreads);
    const QDir root(folder.path());
    files.clear();
    files.reserve(size_t(folder.entries().size()));
    for (const ModFolder::Entry &entry : folder.entries()) {
        if (unitsOnly && entry.role != ModFileRole::Unit)
            continue;
        ModFile &file = files.emplace_back();
        file.path = root.filePath(entry.relativePath);
        file.relativePath = entry.relativePath;
        file.reason = entry.reason;
        file.role = entry.role;
    }
    total = int(files.size());

    std::atomic_int next = 0;
    auto readFrom = [&] {
        const int count = int(files.size());
        for (int index = next++; index < count && !cancelled; index = next++) {
            ModFile &file = files[size_t(index)];
            if (file.reason.isEmpty())
                file.read = readFbiFile(file.path);
            ++done;
        }
    };
    std::vector<std::thread> helpers;
    for (int helper = 1; helper < std::min<qsizetype>(threads, qsizetype(files.size())); ++helper)
        helpers.emplace_back(readFrom);
    readFrom();
    for (std::thread &helper : helpers)
        helper.join();
}

QList<ModFile> ModLoader::readFiles(const ModFolder &folder, int threads, bool unitsOnly)
{
    std::vector<ModFile> files;
    std::atomic_int total = 0;
    std::atomic_int done = 0;
    const std::atomic_bool cancelled = false;
    readAll(folder, threads, unitsOnly, files, total, done, cancelled);
    QList<ModFile> result;
    result.reserve(qsizetype(files.size()));
    for (ModFile &file : files)
        result.append(std::move(file));
    return result;
}

void ModLoader::reportProgress()
{
    const int total = m_total;
    const int done = m_done;
    if (total < 0 || done == m_reportedDone)
        return;
    m_reportedDone = done;
    emit progress(done, total);
}

void ModLoader::finish(int generation)
{
    if (generation != m_generation)
        return;
    if (m_coordinator.joinable())
        m_coordinator.join();
    m_progressTimer.stop();
    reportProgress();
    emit finished();
}

QList<ModFile> ModLoader::takeFiles()
{
    QList<ModFile> files;
    files.reserve(qsizetype(m_files.size()));
    for (ModFile &file : m_files)
        files.append(std::move(file));
    m_files.clear();
    return files;
}
