#include "mod/ModLoader.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
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

QList<ModLoader::Entry> ModLoader::findUnitFiles(const QString &folder, const std::atomic_bool &cancelled)
{
    QList<Entry> found;
    const QDir root(folder);
    // Every entry, not only regular files: one named like a unit file that cannot be read is listed
    // with its reason rather than left out. Links to folders are not followed: a link back up the
    // tree would never end.
    QDirIterator it(folder, QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext() && !cancelled) {
        it.next();
        if (!it.fileName().endsWith(QLatin1String(".fbi"), Qt::CaseInsensitive))
            continue;
        const QFileInfo info = it.fileInfo();
        Entry entry{root.relativeFilePath(it.filePath()), {}};
        if (info.isSymLink() && !info.exists())
            entry.reason = QStringLiteral("is a link to nothing");
        else if (info.isDir())
            entry.reason = QStringLiteral("is a folder");
        else if (!info.isFile())
            entry.reason = QStringLiteral("is not a regular file");
        found.append(entry);
    }
    std::sort(found.begin(), found.end(), [](const Entry &left, const Entry &right) {
        const int order = left.relativePath.compare(right.relativePath, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : left.relativePath < right.relativePath;
    });
    return found;
}

void ModLoader::start(const QString &folder, int threads)
{
    if (isRunning())
        return;
    if (threads <= 0)
        threads = std::clamp(int(std::thread::hardware_concurrency()), 1, MaxThreads);
    m_cancelled = false;
    m_next = 0;
    m_done = 0;
    m_total = -1;
    m_reportedDone = -1;
    m_files.clear();
    m_progressTimer.start();
    m_coordinator = std::thread(&ModLoader::run, this, folder, threads, ++m_generation);
}

void ModLoader::run(QString folder, int threads, int generation)
{
    const QList<Entry> entries = findUnitFiles(folder, m_cancelled);
    const QDir root(folder);
    m_files.resize(size_t(entries.size()));
    for (qsizetype index = 0; index < entries.size(); ++index) {
        m_files[size_t(index)].path = root.filePath(entries[index].relativePath);
        m_files[size_t(index)].relativePath = entries[index].relativePath;
        m_files[size_t(index)].reason = entries[index].reason;
    }
    m_total = int(entries.size());

    std::vector<std::thread> helpers;
    for (int helper = 1; helper < std::min<qsizetype>(threads, entries.size()); ++helper)
        helpers.emplace_back(&ModLoader::readFrom, this);
    readFrom();
    for (std::thread &helper : helpers)
        helper.join();
    QMetaObject::invokeMethod(this, [this, generation] { finish(generation); }, Qt::QueuedConnection);
}

void ModLoader::readFrom()
{
    const int total = int(m_files.size());
    for (int index = m_next++; index < total && !m_cancelled; index = m_next++) {
        UnitFile &file = m_files[size_t(index)];
        if (file.reason.isEmpty())
            file.read = readFbiFile(file.path);
        ++m_done;
    }
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

QList<UnitFile> ModLoader::takeFiles()
{
    QList<UnitFile> files;
    files.reserve(qsizetype(m_files.size()));
    for (UnitFile &file : m_files)
        files.append(std::move(file));
    m_files.clear();
    return files;
}
