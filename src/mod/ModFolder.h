#pragma once

#include <QByteArray>
#include <QSet>
#include <QList>
#include <QString>

#include <array>
#include <atomic>

// What a file of a mod is to the engines, by the folder it stands in.
enum class ModFileRole {
    Unit,               // units/**/*.fbi, or any .fbi of a plain folder of unit files
    Weapons,            // weapons/**/*.tdf: a section per weapon or explosion
    Features,           // features/**/*.tdf: a section per feature
    Sounds,             // gamedata/sound.tdf: a section per sound category
    Sides,              // gamedata/sidedata.tdf: the sides and the build menus
    MovementClasses,    // gamedata/moveinfo.tdf
    Downloads,          // download/**/*.tdf: more build menu entries
};

// A mod's folder as the engines see it. A mod's root holds units/, weapons/, features/, gamedata/,
// objects3d/, scripts/, unitpics/... in any letter case, as the engines match file and folder names;
// the definition files under them are found with their role, and the names of the models, scripts and
// pictures are kept to resolve references by. A folder with none of units/, weapons/ and features/
// is a plain folder of unit files: every .fbi under it is a unit.
//
// Sub-folders: TA3D and Spring read units/ and weapons/ with their sub-folders (RWE does not);
// every engine reads features/ so; download/ is read with sub-folders by TA3D. The union is taken,
// so that nothing an engine reads goes unchecked.
class ModFolder
{
public:
    // A file to read, or an entry named like one that is no file to read (with the reason).
    struct Entry
    {
        QString relativePath;   // from the folder, with "/" between folders
        ModFileRole role = ModFileRole::Unit;
        QString reason;
    };

    // Folders whose files are referred to by name only.
    enum class Assets { Models, Scripts, Pictures };

    // Searches the folder; stops early, with what it found, once cancelled is set.
    static ModFolder scan(const QString &folder, const std::atomic_bool &cancelled);

    QString path() const { return m_path; }
    bool exists() const { return m_exists; }
    bool isModRoot() const { return m_modRoot; }
    // Files to read by relative path (letter case ignored, then as written).
    const QList<Entry> &entries() const { return m_entries; }

    // Whether the mod has the folder at all: a reference into a folder it lacks is not checked, as
    // the mod then relies on another archive for it.
    bool hasAssets(Assets assets) const { return m_assets[size_t(assets)].present; }
    // Whether the folder has a file (as "arm/tank.3do") named name followed by extension, in any
    // letter case, with "\\" or "/" between folders.
    bool hasAsset(Assets assets, QByteArrayView name, QByteArrayView extension = {}) const;
    // The file's path from its folder as the disk spells it; empty when the folder has no such file.
    QString findAsset(Assets assets, QStringView name) const;
    QString assetFolderName(Assets assets) const { return m_assets[size_t(assets)].folderName; }
    // Spring's gamedata/movedefs.lua replaces moveinfo.tdf; its classes cannot be read here.
    bool hasMoveDefsScript() const { return m_moveDefsScript; }

private:
    struct AssetFolder
    {
        bool present = false;
        QString folderName;     // as the mod spells it
        QString path;
        QSet<QByteArray> names; // relative paths, folded
    };

    QString m_path;
    bool m_exists = false;
    bool m_modRoot = false;
    QList<Entry> m_entries;
    std::array<AssetFolder, 3> m_assets;
    bool m_moveDefsScript = false;
};
