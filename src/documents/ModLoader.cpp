#include "documents/ModLoader.h"

#include <QDir>
#include <QDirIterator>
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

QStringList ModLoader::findUnitFiles(const QString &folder)
{
    QStringList found;
    const QDir root(folder);
    // Links to folders are not followed: a link back up the tree would never end.
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        if (it.fileName().endsWith(QLatin1String(".fbi"), Qt::CaseInsensitive))
            found.append(root.relativeFilePath(it.filePath()));
    }
    std::sort(found.begin(), found.end(), [](const QString &left, const QString &right) {
        const int order = left.compare(right, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : left < right;
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
    const QStringList relative = findUnitFiles(folder);
    const QDir root(folder);
    QStringList paths;
    paths.reserve(relative.size());
    m_files.resize(size_t(relative.size()));
    for (qsizetype index = 0; index < relative.size(); ++index) {
        paths.append(root.filePath(relative[index]));
        m_files[size_t(index)].path = paths.last();
        m_files[size_t(index)].relativePath = relative[index];
    }
    m_total = int(relative.size());

    std::vector<std::thread> helpers;
    for (int helper = 1; helper < std::min<qsizetype>(threads, paths.size()); ++helper)
        helpers.emplace_back(&ModLoader::readFrom, this, paths);
    readFrom(paths);
    for (std::thread &helper : helpers)
        helper.join();
    QMetaObject::invokeMethod(this, [this, generation] { finish(generation); }, Qt::QueuedConnection);
}

void ModLoader::readFrom(const QStringList &paths)
{
    for (int index = m_next++; index < paths.size() && !m_cancelled; index = m_next++) {
        m_files[size_t(index)].read = readFbiFile(paths[index]);
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
