#include "mod/ModFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

namespace {
// Every entry, not only regular files: one named like a definition file that cannot be read is
// listed with its reason rather than left out. Links to folders are not followed: a link back up
// the tree would never end.
constexpr QDir::Filters AllEntries = QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot;

// The engines compare names byte by byte, folding only the letters A to Z.
QByteArray foldedKey(const QString &path)
{
    QByteArray key = path.toLatin1();
    for (char &c : key) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return key;
}

QString reasonNotReadable(const QFileInfo &info)
{
    if (info.isSymLink() && !info.exists())
        return QStringLiteral("is a link to nothing");
    if (info.isDir())
        return QStringLiteral("is a folder");
    if (!info.isFile())
        return QStringLiteral("is not a regular file");
    return {};
}

// The entries under folder whose names end in suffix (letter case ignored), with their role.
void findFiles(const QDir &root, const QString &folder, QLatin1StringView suffix, ModFileRole role, bool subfolders,
               const std::atomic_bool &cancelled, QList<ModFolder::Entry> &entries)
{
    QDirIterator it(folder, AllEntries, subfolders ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
    while (it.hasNext() && !cancelled) {
        it.next();
        if (!it.fileName().endsWith(suffix, Qt::CaseInsensitive))
            continue;
        entries.append(ModFolder::Entry{root.relativeFilePath(it.filePath()), role, reasonNotReadable(it.fileInfo())});
    }
}
}

ModFolder ModFolder::scan(const QString &folder, const std::atomic_bool &cancelled)
{
    ModFolder result;
    result.m_path = folder;
    const QFileInfo info(folder);
    result.m_exists = info.isDir() && info.isReadable();
    if (!result.m_exists)
        return result;
    // Absolute paths throughout: relative paths are worked out between them.
    const QDir root(info.absoluteFilePath());
    const QFileInfoList children = root.entryInfoList(AllEntries, QDir::Name);

    QList<QFileInfo> gamedata;
    for (const QFileInfo &child : children) {
        if (!child.isDir())
            continue;
        const QString name = child.fileName().toLower();
        if (name == QLatin1String("units") || name == QLatin1String("weapons") || name == QLatin1String("features"))
            result.m_modRoot = true;
    }
    if (!result.m_modRoot) {
        findFiles(root, root.path(), QLatin1StringView(".fbi"), ModFileRole::Unit, true, cancelled, result.m_entries);
    } else {
        for (const QFileInfo &child : children) {
            if (!child.isDir() || cancelled)
                continue;
            const QString name = child.fileName().toLower();
            const QString path = child.filePath();
            if (name == QLatin1String("units")) {
                findFiles(root, path, QLatin1StringView(".fbi"), ModFileRole::Unit, true, cancelled, result.m_entries);
            } else if (name == QLatin1String("weapons")) {
                findFiles(root, path, QLatin1StringView(".tdf"), ModFileRole::Weapons, true, cancelled, result.m_entries);
            } else if (name == QLatin1String("features")) {
                findFiles(root, path, QLatin1StringView(".tdf"), ModFileRole::Features, true, cancelled, result.m_entries);
            } else if (name == QLatin1String("download")) {
                findFiles(root, path, QLatin1StringView(".tdf"), ModFileRole::Downloads, true, cancelled, result.m_entries);
            } else if (name == QLatin1String("gamedata")) {
                gamedata.append(child);
            } else {
                const std::array<QLatin1StringView, 3> assetNames{QLatin1StringView("objects3d"), QLatin1StringView("scripts"),
                                                                   QLatin1StringView("unitpics")};
                const auto asset = std::find(assetNames.begin(), assetNames.end(), name);
                if (asset == assetNames.end())
                    continue;
                AssetFolder &assets = result.m_assets[size_t(asset - assetNames.begin())];
                assets.present = true;
                assets.folderName = child.fileName();
                assets.path = path;
                const QDir base(path);
                QDirIterator it(path, QDir::Files | QDir::System | QDir::Hidden, QDirIterator::Subdirectories);
                while (it.hasNext() && !cancelled) {
                    it.next();
                    assets.names.insert(foldedKey(base.relativeFilePath(it.filePath())));
                }
            }
        }
        for (const QFileInfo &folderInfo : std::as_const(gamedata)) {
            for (const QFileInfo &file : QDir(folderInfo.filePath()).entryInfoList(AllEntries, QDir::Name)) {
                const QString name = file.fileName().toLower();
                const ModFileRole role = name == QLatin1String("sound.tdf")      ? ModFileRole::Sounds
                                         : name == QLatin1String("sidedata.tdf") ? ModFileRole::Sides
                                         : name == QLatin1String("moveinfo.tdf") ? ModFileRole::MovementClasses
                                                                                 : ModFileRole::Unit;
                if (name == QLatin1String("movedefs.lua"))
                    result.m_moveDefsScript = true;
                if (role != ModFileRole::Unit)
                    result.m_entries.append(Entry{root.relativeFilePath(file.filePath()), role, reasonNotReadable(file)});
            }
        }
    }
    std::sort(result.m_entries.begin(), result.m_entries.end(), [](const Entry &left, const Entry &right) {
        const int order = left.relativePath.compare(right.relativePath, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : left.relativePath < right.relativePath;
    });
    return result;
}

bool ModFolder::hasAsset(Assets assets, QByteArrayView name, QByteArrayView extension) const
{
    const AssetFolder &folder = m_assets[size_t(assets)];
    // Folded on the stack: the check asks for several names of every unit.
    char buffer[256];
    const qsizetype size = name.size() + extension.size();
    if (size > qsizetype(sizeof(buffer)) || folder.names.isEmpty())
        return false;
    auto fold = [](char c) { return c == '\\' ? '/' : c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    std::transform(name.begin(), name.end(), buffer, fold);
    std::transform(extension.begin(), extension.end(), buffer + name.size(), fold);
    return folder.names.contains(QByteArray::fromRawData(buffer, size));
}

// Only the folded names are kept; the spelling on the disk is looked up when asked for, one
// folder at a time.
QString ModFolder::findAsset(Assets assets, QStringView name) const
{
    const QByteArray bytes = name.toLatin1();
    if (!hasAsset(assets, bytes))
        return {};
    QDir folder(m_assets[size_t(assets)].path);
    QStringList spelled;
    const QStringList parts = QString::fromLatin1(bytes).replace(QLatin1Char('\\'), QLatin1Char('/')).split(QLatin1Char('/'));
    for (qsizetype index = 0; index < parts.size(); ++index) {
        const bool last = index == parts.size() - 1;
        const QStringList entries = folder.entryList((last ? QDir::Files : QDir::Dirs) | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
        const auto found = std::find_if(entries.begin(), entries.end(), [&](const QString &entry) {
            return foldedKey(entry) == foldedKey(parts[index]);
        });
        if (found == entries.end())
            return {};
        spelled.append(*found);
        if (!last)
            folder.cd(*found);
    }
    return spelled.join(QLatin1Char('/'));
}
