#include "mod/Mod.h"

#include "documents/Document.h"
#include "documents/DocumentSet.h"

#include <QDir>
#include <QScopedValueRollback>

#include <algorithm>
#include <array>

namespace {
// How long after an edit the check runs again: edits made in a row are checked once.
constexpr int RecheckDelay = 250; // ms

bool isWeaponSlot(QByteArrayView key)
{
    if (!key.startsWith("weapon") || key.size() == 6 || key.size() > 8)
        return false;
    return std::all_of(key.begin() + 6, key.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}

Mod::Mod(DocumentSet &documents, QObject *parent)
    : QObject(parent)
    , m_documents(documents)
    , m_units(documents, ModTable::Kind::Units)
    , m_weapons(documents, ModTable::Kind::Weapons)
    , m_features(documents, ModTable::Kind::Features)
{
    for (ModTable *table : {&m_units, &m_weapons, &m_features})
        table->setHistory(&m_history);
    m_recheckTimer.setSingleShot(true);
    m_recheckTimer.setInterval(RecheckDelay);
    connect(&m_recheckTimer, &QTimer::timeout, this, &Mod::recheck);
    connect(&m_loader, &ModLoader::progress, this, &Mod::progress);
    connect(&m_loader, &ModLoader::finished, this, [this] {
        setFiles(m_loader.takeFolder(), m_loader.takeFiles());
        recheck();
        emit loaded();
    });
    // A weapon's figures are worked out again once it changes.
    auto forgetFigures = [this] { m_weaponColumns.forgetWeapons(); };
    connect(&m_weapons, &QAbstractItemModel::dataChanged, this, forgetFigures);
    connect(&m_weapons, &QAbstractItemModel::modelReset, this, forgetFigures);
    connect(&m_weapons, &QAbstractItemModel::columnsInserted, this, forgetFigures);
    for (ModTable *table : {&m_units, &m_weapons, &m_features}) {
        connect(table, &QAbstractItemModel::dataChanged, this, &Mod::scheduleRecheck);
        connect(table, &QAbstractItemModel::modelReset, this, &Mod::scheduleRecheck);
        connect(table, &QAbstractItemModel::columnsInserted, this, &Mod::scheduleRecheck);
    }
}

Mod::~Mod()
{
    m_loader.cancel();
    // The weapons' figures go before the table that shows them.
    m_units.setComputedColumns({}, nullptr);
    releaseOthers();
}

ModTable *Mod::table(ModTable::Kind kind)
{
    switch (kind) {
    case ModTable::Kind::Units:
        return &m_units;
    case ModTable::Kind::Weapons:
        return &m_weapons;
    case ModTable::Kind::Features:
        return &m_features;
    }
    return &m_units;
}

void Mod::load(const QString &folder)
{
    m_folder = ModFolder();
    m_loader.start(folder);
}

bool Mod::loadNow(const QString &folder, int threads)
{
    m_loader.cancel();
    const std::atomic_bool cancelled = false;
    ModFolder found = ModFolder::scan(folder, cancelled);
    if (!found.exists())
        return false;
    QList<ModFile> files = ModLoader::readFiles(found, threads);
    setFiles(std::move(found), std::move(files));
    recheck();
    return true;
}

void Mod::clear()
{
    m_loader.cancel();
    m_recheckTimer.stop();
    const QScopedValueRollback checking(m_checking, true);
    m_units.clear();
    m_weapons.clear();
    m_features.clear();
    releaseOthers();
    m_unreadable.clear();
    m_index.reset();
    m_problems.clear();
    m_problemList.setProblems({});
    m_folder = ModFolder();
}

void Mod::releaseOthers()
{
    m_index.reset();
    for (const ModDocument &file : std::as_const(m_others)) {
        if (file.document) {
            disconnect(file.document, nullptr, this, nullptr);
            m_documents.release(file.document);
        }
    }
    m_others.clear();
}

int Mod::fileCount() const
{
    QSet<const Document *> documents;
    for (const ModTable *table : {&m_units, &m_weapons, &m_features}) {
        for (int row = 0; row < table->unitCount(); ++row)
            documents.insert(table->document(row));
    }
    documents.remove(nullptr);
    return int(documents.size() + m_others.size() + m_unreadable.size());
}

QList<Document *> Mod::changedDocuments() const
{
    QList<Document *> changed;
    for (const ModTable *table : {&m_units, &m_weapons, &m_features})
        changed += table->changedDocuments();
    for (const ModDocument &file : m_others) {
        if (file.document && file.document->isModified())
            changed.append(file.document);
    }
    return changed;
}

QList<ModTable::SaveFailure> Mod::saveAll(const std::function<bool(const Document *)> &which)
{
    QList<ModTable::SaveFailure> failures;
    for (Document *document : changedDocuments()) {
        if (which && !which(document))
            continue;
        if (std::optional<ModTable::SaveFailure> failed = ModTable::saveDocument(m_documents, document))
            failures.append(*failed);
    }
    return failures;
}

void Mod::setFiles(ModFolder folder, QList<ModFile> files)
{
    const QScopedValueRollback checking(m_checking, true);
    releaseOthers();
    m_unreadable.clear();
    m_folder = std::move(folder);
    QList<ModFile> units;
    QList<ModFile> weapons;
    QList<ModFile> features;
    for (ModFile &file : files) {
        switch (file.role) {
        case ModFileRole::Unit:
            units.append(std::move(file));
            break;
        case ModFileRole::Weapons:
            weapons.append(std::move(file));
            break;
        case ModFileRole::Features:
            features.append(std::move(file));
            break;
        case ModFileRole::Sounds:
        case ModFileRole::Sides:
        case ModFileRole::MovementClasses:
        case ModFileRole::Downloads:
            if (file.read.error != FbiReadResult::Error::None || !file.reason.isEmpty()) {
                m_unreadable.append(UnreadableFile{file.path, file.relativePath,
                                                   file.reason.isEmpty() ? readErrorText(file.read.error) : file.reason});
                break;
            }
            ModDocument other{m_documents.share(file.path, std::move(file.read)), file.path, file.relativePath, file.role};
            connect(other.document, &Document::rowsEdited, this, &Mod::scheduleRecheck);
            connect(other.document, &QAbstractItemModel::modelReset, this, &Mod::scheduleRecheck);
            m_others.append(other);
            break;
        }
    }
    m_units.setFiles(m_folder.path(), std::move(units));
    m_weapons.setFiles(m_folder.path(), std::move(weapons));
    m_features.setFiles(m_folder.path(), std::move(features));
    const QDir root(m_folder.path());
    for (const ModTable *table : {&m_units, &m_weapons, &m_features}) {
        for (const ModTable::Failure &failure : table->failures())
            m_unreadable.append(UnreadableFile{root.filePath(failure.relativePath), failure.relativePath, failure.reason});
    }
    m_indexStale = true;
}

void Mod::scheduleRecheck()
{
    if (m_checking)
        return;
    m_indexStale = true;
    if (m_autoRecheck)
        m_recheckTimer.start();
}

const ModIndex &Mod::index()
{
    if (!m_index || m_indexStale) {
        m_index = std::make_unique<ModIndex>(m_units, m_weapons, m_features, m_others, m_folder);
        m_indexStale = false;
    }
    return *m_index;
}

void Mod::recheck()
{
    m_recheckTimer.stop();
    const QScopedValueRollback checking(m_checking, true);
    m_indexStale = true;
    const ModIndex &current = index();
    m_weaponColumns.update(current);
    m_units.setComputedColumns(m_weaponColumns.columns(), &m_weaponColumns);
    m_problems = ModCheck(current).run(m_unreadable);
    // The names are indexed again when a definition is looked for: a large mod's index is not
    // kept between checks.
    m_index.reset();
    m_problemList.setProblems(m_problems);
    emit problemsChanged();
}

bool Mod::holds(const Document *document) const
{
    if (!document)
        return false;
    for (const ModTable *table : {&m_units, &m_weapons, &m_features}) {
        if (table->holds(document))
            return true;
    }
    return std::any_of(m_others.cbegin(), m_others.cend(), [document](const ModDocument &file) { return file.document == document; });
}

int Mod::referenceColumn(const ModTable *table, int column) const
{
    if (table == &m_units && m_units.isComputed(column))
        return m_weaponColumns.slotColumn(column - m_units.keyColumnCount());
    return table && table->isKeyColumn(column) ? column : -1;
}

bool Mod::namesDefinition(const Document *document, int row)
{
    return reference(document, row, false).isReference;
}

Mod::Target Mod::definitionOf(const Document *document, int row)
{
    return reference(document, row, true);
}

Mod::Target Mod::reference(const Document *document, int row, bool resolve)
{
    if (!document || row < 0 || row >= document->rowCount())
        return {};
    const FbiContent &content = document->content();
    const QByteArray key = foldName(content.nameBytes(row));
    const QByteArrayView value = content.isSection(row) ? QByteArrayView() : content.valueBytes(row).trimmed();
    if (const int unit = m_units.rowOfDocument(document, row); unit >= 0)
        return content.depth(row) == 0 && !content.isSection(row) ? unitTarget(key, value, resolve) : Target{};
    for (const ModTable *table : {&m_weapons, &m_features}) {
        if (const int definition = table->rowOfDocument(document, row); definition >= 0)
            return content.depth(row) == 1 && !content.isSection(row) ? definitionTarget(*table, key, value, resolve) : Target{};
    }
    for (const ModDocument &file : std::as_const(m_others)) {
        if (file.document == document)
            return menuTarget(file, row, key, value, resolve);
    }
    return {};
}

Mod::Target Mod::unitTarget(const QByteArray &key, QByteArrayView value, bool resolve)
{
    Target target;
    const QString shown = fromFileText(value);
    auto section = [&](const ModTable &table, auto findRows, const QString &what) {
        target.isReference = true;
        if (!resolve)
            return;
        const QList<int> rows = findRows(index());
        target.found = !rows.isEmpty();
        if (!target.found) {
            target.message = QStringLiteral("No %1 section is named %2.").arg(what, shown);
            return;
        }
        const int found = rows.constFirst();
        target.place = ModPlace{table.document(found), table.path(found), table.relativePath(found), table.sectionRow(found)};
        target.message = QStringLiteral("[%1] in %2").arg(table.unitName(found), table.relativePath(found));
    };
    auto inFile = [&](auto findFile, auto findRow, const QString &what) {
        target.isReference = true;
        if (!resolve)
            return;
        const ModDocument *file = findFile(index());
        const int found = file ? findRow(index()) : -1;
        target.found = file && found >= 0;
        if (!file) {
            target.message = QStringLiteral("The mod has no %1.").arg(what);
            return;
        }
        if (!target.found) {
            target.message = QStringLiteral("%1 has no %2 named %3.").arg(file->relativePath, what, shown);
            return;
        }
        target.place = ModPlace{file->document, file->path, file->relativePath, found};
        target.message = file->relativePath;
    };
    auto asset = [&](ModFolder::Assets kind, const QStringList &candidates, const QString &what) {
        target.isReference = true;
        if (!resolve)
            return;
        for (const QString &name : candidates) {
            const QString found = m_folder.findAsset(kind, name);
            if (found.isEmpty())
                continue;
            const QString relative = m_folder.assetFolderName(kind) + QLatin1Char('/') + found;
            target.found = true;
            target.place = ModPlace{nullptr, QDir(m_folder.path()).filePath(relative), relative, -1};
            target.message = relative;
            return;
        }
        target.message = QStringLiteral("No %1 is named %2.").arg(what, candidates.join(QStringLiteral(" or ")));
    };
    if (value.isEmpty())
        return target;
    if (isWeaponSlot(key) || key == "explodeas" || key == "selfdestructas")
        section(m_weapons, [&](const ModIndex &names) { return names.weapons(value); }, QStringLiteral("weapon"));
    else if (key == "corpse")
        section(m_features, [&](const ModIndex &names) { return names.features(value); }, QStringLiteral("feature"));
    else if (key == "objectname")
        asset(ModFolder::Assets::Models, {shown, shown + QStringLiteral(".3do"), shown + QStringLiteral(".s3o")}, QStringLiteral("model"));
    else if (key == "buildpic")
        asset(ModFolder::Assets::Pictures, {shown}, QStringLiteral("picture"));
    else if (key == "script")
        asset(ModFolder::Assets::Scripts, {shown}, QStringLiteral("script"));
    else if (key == "soundcategory")
        inFile([](const ModIndex &names) { return names.sounds(); }, [&](const ModIndex &names) { return names.soundCategory(value); },
               QStringLiteral("sound category"));
    else if (key == "movementclass")
        inFile([](const ModIndex &names) { return names.movementClasses(); }, [&](const ModIndex &names) { return names.movementClass(value); },
               QStringLiteral("movement class"));
    else if (key == "side")
        inFile([](const ModIndex &names) { return names.sides(); }, [&](const ModIndex &names) { return names.side(value); },
               QStringLiteral("side"));
    return target;
}

Mod::Target Mod::definitionTarget(const ModTable &table, const QByteArray &key, QByteArrayView value, bool resolve)
{
    Target target;
    if (value.isEmpty())
        return target;
    const QString shown = fromFileText(value);
    const bool feature = table.kind() == ModTable::Kind::Features;
    if (feature && (key == "featuredead" || key == "featureburnt")) {
        target.isReference = true;
        if (!resolve)
            return target;
        const QList<int> rows = index().features(value);
        target.found = !rows.isEmpty();
        if (!target.found) {
            target.message = QStringLiteral("No feature section is named %1.").arg(shown);
            return target;
        }
        const int found = rows.constFirst();
        target.place = ModPlace{m_features.document(found), m_features.path(found), m_features.relativePath(found), m_features.sectionRow(found)};
        target.message = QStringLiteral("[%1] in %2").arg(m_features.unitName(found), m_features.relativePath(found));
        return target;
    }
    if ((feature && key == "object") || (!feature && key == "model")) {
        target.isReference = true;
        if (!resolve)
            return target;
        for (const QString &name : {shown, shown + QStringLiteral(".3do"), shown + QStringLiteral(".s3o")}) {
            const QString found = m_folder.findAsset(ModFolder::Assets::Models, name);
            if (found.isEmpty())
                continue;
            const QString relative = m_folder.assetFolderName(ModFolder::Assets::Models) + QLatin1Char('/') + found;
            target.found = true;
            target.place = ModPlace{nullptr, QDir(m_folder.path()).filePath(relative), relative, -1};
            target.message = relative;
            return target;
        }
        target.message = QStringLiteral("No model is named %1.").arg(shown);
    }
    return target;
}

Mod::Target Mod::menuTarget(const ModDocument &file, int row, const QByteArray &key, QByteArrayView value, bool resolve)
{
    Target target;
    const FbiContent &content = file.document->content();
    QByteArrayView name;
    if (file.role == ModFileRole::Downloads && content.depth(row) == 1 && (key == "unitmenu" || key == "unitname")) {
        name = value;
    } else if (file.role == ModFileRole::Sides) {
        const qsizetype top = content.depth(row) == 0 ? row : [&] {
            qsizetype header = content.sectionOf(row);
            while (header >= 0 && content.depth(header) > 0)
                header = content.sectionOf(header);
            return header;
        }();
        const QByteArray section = top >= 0 ? foldName(content.nameBytes(top)) : QByteArray();
        if (section == "canbuild" && content.isSection(row) && content.depth(row) == 1)
            name = content.nameBytes(row).trimmed();
        else if (section == "canbuild" && content.depth(row) == 2 && !content.isSection(row))
            name = value;
        else if (section.startsWith("side") && key == "commander")
            name = value;
    }
    if (name.isEmpty())
        return target;
    target.isReference = true;
    if (!resolve)
        return target;
    const int unit = index().unitNamed(name);
    target.found = unit >= 0;
    if (!target.found) {
        target.message = QStringLiteral("No unit has the file name or UnitName %1.").arg(fromFileText(name));
        return target;
    }
    const int nameRow = m_units.documentRow(unit, m_units.columnOfKey(u"UnitName"));
    target.place = ModPlace{m_units.document(unit), m_units.path(unit), m_units.relativePath(unit), nameRow};
    target.message = m_units.relativePath(unit);
    return target;
}
