#include "mod/ModCheck.h"

#include "documents/Document.h"
#include "documents/Numbers.h"
#include "help/VariableHelp.h"
#include "mod/ModTable.h"

#include <algorithm>
#include <array>
#include <thread>

namespace {
using Severity = ModProblem::Severity;

// The highest weapon slot Spring reads; TA3D reads on to the first empty one.
constexpr int MaxWeaponSlots = 32;
// A mod's units are checked on several cores once there are this many for each.
constexpr int UnitsPerThread = 512;
constexpr int MaxThreads = 4;
// TA3D and Spring read slots 1 to 3 whatever they hold, and stop at the first empty slot after.
constexpr int SlotsAlwaysRead = 3;

// The one way the check asks the help what an engine makes of a value, and whether it can say
// anything of a variable's values at all.
QString valueNote(QStringView name, QStringView value)
{
    QStringList messages;
    for (const Help::ValueNote &note : Help::valueNotes(name, value)) {
        if (note.kind == Help::ValueNote::Kind::Misread)
            messages.append(note.message);
    }
    return messages.join(QLatin1Char(' '));
}

bool mayNoteValue(QStringView name)
{
    switch (Help::valueType(name)) {
    case Help::ValueType::Flag:
    case Help::ValueType::WholeNumber:
    case Help::ValueType::Decimal:
    case Help::ValueType::ThreeNumbers:
        return true;
    case Help::ValueType::Unknown:
    case Help::ValueType::Text:
    case Help::ValueType::Name:
    case Help::ValueType::CategoryList:
        break;
    }
    return false;
}

QString text(QByteArrayView bytes)
{
    return fromFileText(bytes.trimmed());
}

// "name=value", as the file reads.
QString assignment(const QString &name, QByteArrayView value)
{
    return name + QLatin1Char('=') + text(value);
}

// The classes TA3D looks for in TEDClass, by substring.
bool ta3dKnowsClass(const QByteArray &folded)
{
    static constexpr std::array<QByteArrayView, 12> Classes{"water", "ship", "energy", "vtol", "kbot", "plant",
                                                             "tank", "special", "fort", "metal", "cnstr", "commander"};
    return std::any_of(Classes.begin(), Classes.end(), [&](QByteArrayView name) { return folded.contains(name); });
}

// A whole number written as digits alone, as a footprint is.
std::optional<int> wholeNumber(QByteArrayView value)
{
    value = value.trimmed();
    if (value.isEmpty() || value.size() > 6)
        return std::nullopt;
    int number = 0;
    for (const char c : value) {
        if (c < '0' || c > '9')
            return std::nullopt;
        number = number * 10 + (c - '0');
    }
    return number;
}

qsizetype yardMapCells(QByteArrayView map)
{
    return std::count_if(map.begin(), map.end(), [](char c) { return c != ' ' && c != '\t'; });
}
}

ModCheck::ModCheck(const ModIndex &index)
    : m_index(index)
    , m_units(index.units())
{
}

QList<ModProblem> ModCheck::run(const QList<UnreadableFile> &unreadable)
{
    m_problems.clear();
    m_lines.clear();
    for (const UnreadableFile &file : unreadable) {
        m_problems.append(ModProblem{Severity::Error, file.path, file.relativePath, 0, QStringLiteral("unreadable-file"),
                                     QStringLiteral("cannot be read: it %1").arg(file.reason)});
    }
    checkUnits();
    checkDuplicateUnits();
    checkWeapons();
    checkFeatures();
    checkBuildMenus();
    checkKeys(m_units);
    // The units' own text was checked with the units.
    for (const ModTable *table : {&m_index.weaponTable(), &m_index.featureTable()}) {
        checkKeys(*table);
        const Document *last = nullptr;
        for (int row = 0; row < table->unitCount(); ++row) {
            const Document *document = table->document(row);
            if (document && document != last)
                checkText(*document, table->path(row), table->relativePath(row));
            last = document;
        }
    }
    for (const ModDocument &file : m_index.gamedata()) {
        if (file.document)
            checkText(*file.document, file.path, file.relativePath);
    }
    std::sort(m_problems.begin(), m_problems.end(), problemBefore);
    return m_problems;
}

int ModCheck::lineOf(const Document &document, int row)
{
    if (row < 0 || row >= document.rowCount())
        return 0;
    auto lines = m_lines.find(&document);
    if (lines == m_lines.end())
        lines = m_lines.insert(&document, document.content().lineNumbers());
    // A row added since the file was read has no line of its own yet: the nearest row before it does.
    for (int before = row; before >= 0; --before) {
        if (const qsizetype line = lines->at(before); line > 0)
            return int(line);
    }
    return 1;
}

void ModCheck::add(Severity severity, const QString &kind, const Document &document, const QString &path,
                   const QString &relativePath, int row, const QString &message)
{
    m_problems.append(ModProblem{severity, path, relativePath, lineOf(document, row), kind, message});
}

void ModCheck::addAt(const ModTable &table, int unit, int row, Severity severity, const QString &kind, const QString &message)
{
    if (const Document *document = table.document(unit))
        add(severity, kind, *document, table.path(unit), table.relativePath(unit), row, message);
}

int ModCheck::unitRow(int unit) const
{
    const int row = m_units.documentRow(unit, m_columns.unitName);
    return row >= 0 ? row : 0;
}

// The key as the file spells it on the row the cell stands for ("weapon1", "explodeAs"), which is
// what the user finds there; the column's spelling where the row has none.
QString ModCheck::spelledKey(const ModTable &table, int row, int column)
{
    const int documentRow = table.documentRow(row, column);
    const Document *document = table.document(row);
    return document && documentRow >= 0 ? document->content().name(documentRow).trimmed() : table.key(column);
}

bool ModCheck::hasModel(QByteArrayView name) const
{
    const ModFolder &folder = m_index.folder();
    static constexpr std::array<QByteArrayView, 6> Extensions{"", ".3do", ".s3o", ".3dm", ".3ds", ".obj"};
    return std::any_of(Extensions.begin(), Extensions.end(), [&](QByteArrayView extension) {
        return folder.hasAsset(ModFolder::Assets::Models, name, extension);
    });
}

void ModCheck::checkModel(const ModTable &table, int row, int column, const QString &what)
{
    const QByteArrayView value = table.valueBytes(row, column).trimmed();
    if (column <= 0 || value.isEmpty() || hasModel(value))
        return;
    const QString folder = m_index.folder().assetFolderName(ModFolder::Assets::Models);
    addAt(table, row, table.documentRow(row, column), Severity::Error, QStringLiteral("missing-model"),
          QStringLiteral("%1: %2/ has no such model (%3, .3do, .s3o and the other model files looked for); %4")
              .arg(assignment(spelledKey(table, row, column), value), folder, text(value), what));
}

void ModCheck::checkUnits()
{
    for (int slot = 1; slot <= MaxWeaponSlots; ++slot)
        m_columns.weapons[size_t(slot)] = m_units.columnOfKey(QStringLiteral("Weapon%1").arg(slot));
    auto column = [&](QStringView key) { return m_units.columnOfKey(key); };
    m_columns.explodeAs = column(u"ExplodeAs");
    m_columns.selfDestructAs = column(u"SelfDestructAs");
    m_columns.corpse = column(u"Corpse");
    m_columns.objectName = column(u"Objectname");
    m_columns.script = column(u"script");
    m_columns.buildPic = column(u"BuildPic");
    m_columns.soundCategory = column(u"SoundCategory");
    m_columns.movementClass = column(u"MovementClass");
    m_columns.side = column(u"Side");
    m_columns.yardMap = column(u"YardMap");
    m_columns.footprintX = column(u"FootprintX");
    m_columns.footprintZ = column(u"FootprintZ");
    m_columns.unitName = column(u"UnitName");
    m_columns.unitNumber = column(u"UnitNumber");
    m_columns.tedClass = column(u"TEDClass");
    m_shortNotes.assign(size_t(m_units.keyColumnCount()), {});
    m_longNotes.assign(size_t(m_units.keyColumnCount()), {});
    m_noteTexts = {QString()};
    m_noted.assign(size_t(m_units.keyColumnCount()), -1);
    // The columns the references read, each given its place in the unit's values.
    m_roleOfColumn.assign(size_t(m_units.keyColumnCount()), -1);
    int role = 0;
    for (int slot = 1; slot <= MaxWeaponSlots; ++slot) {
        if (const int column = m_columns.weapons[size_t(slot)]; column > 0)
            m_roleOfColumn[size_t(column)] = role++;
    }
    for (const int column : {m_columns.explodeAs, m_columns.selfDestructAs, m_columns.corpse, m_columns.objectName,
                             m_columns.script, m_columns.buildPic, m_columns.soundCategory, m_columns.movementClass,
                             m_columns.side, m_columns.yardMap, m_columns.footprintX, m_columns.footprintZ,
                             m_columns.unitName, m_columns.unitNumber}) {
        if (column > 0)
            m_roleOfColumn[size_t(column)] = role++;
    }
    m_values.resize(size_t(role));
    m_valueRows.resize(size_t(role));
    m_unitNames.assign(size_t(m_units.unitCount()), {});
    m_unitNumbers.assign(size_t(m_units.unitCount()), {});
    for (int column = ModTable::FirstKeyColumn; column < m_units.keyColumnCount(); ++column)
        m_noted[size_t(column)] = column == m_columns.tedClass || !mayNoteValue(m_units.key(column)) ? 0 : 1;

    // Each unit is checked on its own, reading only: the units are shared out among the cores, each
    // share checked by a copy of this check with its own findings, which come together at the end.
    const int units = m_units.unitCount();
    const int threads = units < UnitsPerThread ? 1 : std::clamp(int(std::thread::hardware_concurrency()), 1, MaxThreads);
    std::vector<ModCheck> shares;
    shares.reserve(size_t(threads - 1));
    for (int share = 1; share < threads; ++share) {
        shares.push_back(*this);
        shares.back().m_problems.clear();
    }
    std::vector<std::thread> workers;
    for (int share = 1; share < threads; ++share) {
        workers.emplace_back([&shares, share, threads, units] {
            shares[size_t(share - 1)].checkUnitRange(units * share / threads, units * (share + 1) / threads);
        });
    }
    checkUnitRange(0, units / threads);
    for (std::thread &worker : workers)
        worker.join();
    for (int share = 1; share < threads; ++share) {
        const ModCheck &done = shares[size_t(share - 1)];
        m_problems += done.m_problems;
        for (int unit = units * share / threads; unit < units * (share + 1) / threads; ++unit) {
            m_unitNames[size_t(unit)] = done.m_unitNames[size_t(unit)];
            m_unitNumbers[size_t(unit)] = done.m_unitNumbers[size_t(unit)];
        }
    }
}

void ModCheck::checkUnitRange(int begin, int end)
{
    for (int unit = begin; unit < end; ++unit) {
        const Document *document = m_units.document(unit);
        if (!document)
            continue;
        std::fill(m_values.begin(), m_values.end(), QByteArrayView());
        std::fill(m_valueRows.begin(), m_valueRows.end(), -1);
        checkUnitValues(unit, *document);
        checkUnitReferences(unit, *document);
        checkText(*document, m_units.path(unit), m_units.relativePath(unit));
        m_unitNames[size_t(unit)] = unitValue(m_columns.unitName);
        m_unitNumbers[size_t(unit)] = unitValue(m_columns.unitNumber);
    }
}

// Most values are a few bytes: those are looked up by their bytes packed in one number, in a
// table of their own that costs far less than hashing text; longer ones by their text.
const QString &ModCheck::noteOn(int column, QByteArrayView value)
{
    if (!value.isEmpty() && value.size() <= qsizetype(sizeof(quint64)) - 1) {
        quint64 packed = quint64(value.size());
        for (const char c : value)
            packed = (packed << 8) | quint8(c);
        PackedNotes &notes = m_shortNotes[size_t(column)];
        if (notes.keys.empty()) {
            notes.keys.assign(PackedNotes::InitialSize, 0);
            notes.notes.assign(PackedNotes::InitialSize, 0);
        }
        // Open addressing: the slot of the packed value or the empty one where it goes.
        size_t mask = notes.keys.size() - 1;
        size_t slot = size_t((packed * 0x9E3779B97F4A7C15ull) >> 32) & mask;
        while (notes.keys[slot] != 0 && notes.keys[slot] != packed)
            slot = (slot + 1) & mask;
        if (notes.keys[slot] == 0) {
            notes.keys[slot] = packed;
            notes.notes[slot] = noteIndex(valueNote(m_units.key(column), fromFileText(value)));
            if (++notes.used * 2 > notes.keys.size())
                notes.grow();
            mask = notes.keys.size() - 1;
            slot = size_t((packed * 0x9E3779B97F4A7C15ull) >> 32) & mask;
            while (notes.keys[slot] != packed)
                slot = (slot + 1) & mask;
        }
        return m_noteTexts.at(notes.notes[slot]);
    }
    QHash<QByteArrayView, int> &notes = m_longNotes[size_t(column)];
    auto found = notes.constFind(value);
    if (found == notes.constEnd())
        found = notes.insert(value, noteIndex(valueNote(m_units.key(column), fromFileText(value))));
    return m_noteTexts.at(*found);
}

void ModCheck::PackedNotes::grow()
{
    std::vector<quint64> oldKeys = std::move(keys);
    std::vector<int> oldNotes = std::move(notes);
    keys.assign(oldKeys.size() * 2, 0);
    notes.assign(oldKeys.size() * 2, 0);
    const size_t mask = keys.size() - 1;
    for (size_t index = 0; index < oldKeys.size(); ++index) {
        if (oldKeys[index] == 0)
            continue;
        size_t slot = size_t((oldKeys[index] * 0x9E3779B97F4A7C15ull) >> 32) & mask;
        while (keys[slot] != 0)
            slot = (slot + 1) & mask;
        keys[slot] = oldKeys[index];
        notes[slot] = oldNotes[index];
    }
}

int ModCheck::noteIndex(const QString &note)
{
    // Nearly every value has no note: the empty text stands first.
    if (note.isEmpty())
        return 0;
    m_noteTexts.append(note);
    return int(m_noteTexts.size()) - 1;
}

QByteArrayView ModCheck::unitValue(int column) const
{
    const int role = column > 0 ? m_roleOfColumn[size_t(column)] : -1;
    return role < 0 ? QByteArrayView() : m_values[size_t(role)];
}

int ModCheck::unitValueRow(int column) const
{
    const int role = column > 0 ? m_roleOfColumn[size_t(column)] : -1;
    return role < 0 ? -1 : m_valueRows[size_t(role)];
}

void ModCheck::checkUnitReferences(int unit, const Document &document)
{
    Q_UNUSED(document);
    const ModTable &units = m_units;
    auto value = [&](int col) { return unitValue(col); };
    auto rowOf = [&](int col) { return unitValueRow(col); };
    const ModFolder &folder = m_index.folder();
    const bool hasWeapons = m_index.weaponTable().unitCount() > 0;

    // Weapon slots.
    std::array<bool, MaxWeaponSlots + 1> filled{};
    for (int slot = 1; slot <= MaxWeaponSlots; ++slot) {
        const int col = m_columns.weapons[size_t(slot)];
        filled[size_t(slot)] = col > 0 && rowOf(col) >= 0 && !value(col).isEmpty();
    }
    bool gapSeen = false;
    for (int slot = 1; slot <= MaxWeaponSlots; ++slot) {
        if (!filled[size_t(slot)])
            continue;
        const int col = m_columns.weapons[size_t(slot)];
        const bool reached = slot <= SlotsAlwaysRead + 1
            || std::all_of(filled.begin() + SlotsAlwaysRead + 1, filled.begin() + slot, [](bool set) { return set; });
        if (!reached && !gapSeen) {
            gapSeen = true;
            int missing = SlotsAlwaysRead + 1;
            while (filled[size_t(missing)])
                ++missing;
            addAt(units, unit, rowOf(col), Severity::Warning, QStringLiteral("weapon-gap"),
                  QStringLiteral("%1 is never read: Weapon%2 is empty, and TA3D and Spring stop at the first empty slot after "
                                 "Weapon3 (RWE reads Weapon1 to Weapon3 only)")
                      .arg(spelledKey(units, unit, col))
                      .arg(missing));
        }
        if (hasWeapons && m_index.weapons(value(col)).isEmpty()) {
            QString effect = QStringLiteral("the slot has no weapon in any engine");
            if (slot > SlotsAlwaysRead + 1 && std::any_of(filled.begin() + slot + 1, filled.end(), [](bool set) { return set; }))
                effect += QStringLiteral(", and Spring ignores the slots after it");
            addAt(units, unit, rowOf(col), Severity::Error, QStringLiteral("missing-weapon"),
                  QStringLiteral("%1: no weapon section has that name; %2").arg(assignment(spelledKey(units, unit, col), value(col)), effect));
        }
    }

    if (hasWeapons) {
        for (const int col : {m_columns.explodeAs, m_columns.selfDestructAs}) {
            if (value(col).isEmpty() || !m_index.weapons(value(col)).isEmpty())
                continue;
            addAt(units, unit, rowOf(col), Severity::Error, QStringLiteral("missing-explosion"),
                  QStringLiteral("%1: no weapon section has that name; the unit %2 without that blast (Spring uses NOWEAPON "
                                 "where the mod has one; RWE stops the game when it happens)")
                      .arg(assignment(spelledKey(units, unit, col), value(col)),
                           col == m_columns.explodeAs ? QStringLiteral("dies") : QStringLiteral("self-destructs")));
        }
    }

    if (m_index.featureTable().unitCount() > 0) {
        const int col = m_columns.corpse;
        if (!value(col).isEmpty() && m_index.features(value(col)).isEmpty()) {
            addAt(units, unit, rowOf(col), Severity::Error, QStringLiteral("missing-corpse"),
                  QStringLiteral("%1: no feature section has that name; the unit leaves no wreck (Spring logs an error at "
                                 "each one built, RWE stops loading the mod)")
                      .arg(assignment(spelledKey(units, unit, col), value(col))));
        }
    }

    if (folder.hasAssets(ModFolder::Assets::Models))
        checkModel(units, unit, m_columns.objectName, QStringLiteral("Spring leaves the unit out, RWE stops loading the mod, TA3D shows nothing"));

    const QByteArrayView fileId = m_index.fileIdOf(unit);
    const QByteArrayView unitName = value(m_columns.unitName);
    // What TA3D and RWE look for by UnitName, where it is not the file's own name.
    const bool otherName = !unitName.isEmpty() && unitName.compare(fileId, Qt::CaseInsensitive) != 0;

    if (folder.hasAssets(ModFolder::Assets::Scripts)) {
        const int col = m_columns.script;
        const QString scripts = folder.assetFolderName(ModFolder::Assets::Scripts);
        if (!value(col).isEmpty()) {
            if (!folder.hasAsset(ModFolder::Assets::Scripts, value(col))) {
                addAt(units, unit, rowOf(col), Severity::Error, QStringLiteral("missing-script"),
                      QStringLiteral("%1: %2/ has no such file; Spring runs the unit without a script")
                          .arg(assignment(spelledKey(units, unit, col), value(col)), scripts));
            }
        } else {
            const bool bySpring = folder.hasAsset(ModFolder::Assets::Scripts, fileId, ".cob");
            const bool byName = !unitName.isEmpty()
                && (folder.hasAsset(ModFolder::Assets::Scripts, unitName, ".cob") || folder.hasAsset(ModFolder::Assets::Scripts, unitName, ".lua"));
            if (!bySpring && !byName) {
                addAt(units, unit, unitRow(unit), Severity::Error, QStringLiteral("missing-script"),
                      QStringLiteral("no script for this unit: %1/ has no %2.cob%3; the unit cannot move or fire as meant "
                                     "(RWE stops the game when it is built)")
                          .arg(scripts, text(fileId),
                               otherName ? QStringLiteral(", %1.cob nor %1.lua (TA3D and RWE, by UnitName)").arg(text(unitName)) : QString()));
            }
        }
    }

    if (folder.hasAssets(ModFolder::Assets::Pictures)) {
        const int col = m_columns.buildPic;
        const QString pictures = folder.assetFolderName(ModFolder::Assets::Pictures);
        if (!value(col).isEmpty()) {
            if (!folder.hasAsset(ModFolder::Assets::Pictures, value(col))) {
                addAt(units, unit, rowOf(col), Severity::Warning, QStringLiteral("missing-picture"),
                      QStringLiteral("%1: %2/ has no such file; Spring uses the name as written, extension included, and "
                                     "shows a blank button")
                          .arg(assignment(spelledKey(units, unit, col), value(col)), pictures));
            }
        } else {
            bool found = !unitName.isEmpty() && folder.hasAsset(ModFolder::Assets::Pictures, unitName, ".pcx");
            for (const QByteArrayView extension : {QByteArrayView(".dds"), QByteArrayView(".png"), QByteArrayView(".pcx"), QByteArrayView(".bmp")})
                found = found || folder.hasAsset(ModFolder::Assets::Pictures, fileId, extension);
            if (!found) {
                addAt(units, unit, unitRow(unit), Severity::Warning, QStringLiteral("missing-picture"),
                      QStringLiteral("no picture for this unit: %1/ has no %2.dds, .png, .pcx or .bmp (Spring)%3; Spring "
                                     "shows a blank button, TA3D leaves the unit out of the build menus")
                          .arg(pictures, text(fileId), otherName ? QStringLiteral(" nor %1.pcx (TA3D)").arg(text(unitName)) : QString()));
            }
        }
    }

    if (const ModDocument *sounds = m_index.sounds()) {
        const int col = m_columns.soundCategory;
        if (!value(col).isEmpty() && m_index.soundCategory(value(col)) < 0) {
            addAt(units, unit, rowOf(col), Severity::Warning, QStringLiteral("missing-sound-category"),
                  QStringLiteral("%1: %2 has no such section; the unit makes no sounds of its own")
                      .arg(assignment(spelledKey(units, unit, col), value(col)), sounds->relativePath));
        }
    }

    if (const ModDocument *classes = m_index.movementClasses(); classes && !folder.hasMoveDefsScript()) {
        const int col = m_columns.movementClass;
        if (!value(col).isEmpty() && m_index.movementClass(value(col)) < 0) {
            addAt(units, unit, rowOf(col), Severity::Error, QStringLiteral("missing-movement-class"),
                  QStringLiteral("%1: %2 has no class with that Name (CLASS0, CLASS1, ... read up to the first number "
                                 "missing); Spring drops a mobile ground unit without one")
                      .arg(assignment(spelledKey(units, unit, col), value(col)), classes->relativePath));
        }
    }

    if (const ModDocument *sides = m_index.sides()) {
        const int col = m_columns.side;
        if (!value(col).isEmpty() && m_index.side(value(col)) < 0) {
            addAt(units, unit, rowOf(col), Severity::Note, QStringLiteral("missing-side"),
                  QStringLiteral("%1: %2 has no [SIDEn] with that name; only TA3D reads it, to lay out the unit's build menu")
                      .arg(assignment(spelledKey(units, unit, col), value(col)), sides->relativePath));
        }
    }

    const int mapColumn = m_columns.yardMap;
    if (const QByteArrayView map = value(mapColumn); !map.isEmpty()) {
        const std::optional<int> x = wholeNumber(value(m_columns.footprintX));
        const std::optional<int> z = wholeNumber(value(m_columns.footprintZ));
        const qsizetype cells = yardMapCells(map);
        const bool fine = !x || !z || cells == qsizetype(*x) * *z
            || (map.front() == 'h' || map.front() == 'H' ? cells - 1 == 4 * qsizetype(*x) * *z : false);
        if (!fine) {
            addAt(units, unit, rowOf(mapColumn), Severity::Warning, QStringLiteral("yardmap-size"),
                  QStringLiteral("%1 has %2 cells, but FootprintX \u00d7 FootprintZ is %3 \u00d7 %4 = %5; the engines pad or cut "
                                 "it (Spring blocks the missing cells of a structure)")
                      .arg(units.key(mapColumn))
                      .arg(cells)
                      .arg(*x)
                      .arg(*z)
                      .arg(*x * *z));
        }
    }
}

// One walk over the unit's own variables: the values the references read are kept for them, and
// every value is shown to the help and the TEDClass rule.
void ModCheck::checkUnitValues(int unit, const Document &document)
{
    const FbiContent &content = document.content();
    const int tedColumn = m_columns.tedClass;
    for (int index = 0; index < m_units.cellCount(unit); ++index) {
        const auto [column, row] = m_units.cell(unit, index);
        const int role = m_roleOfColumn[size_t(column)];
        const int noted = m_noted[size_t(column)];
        if ((role < 0 && noted == 0 && column != tedColumn) || content.depth(row) != 0)
            continue;
        const QByteArrayView value = content.valueBytes(row);
        if (role >= 0) {
            m_values[size_t(role)] = value.trimmed();
            m_valueRows[size_t(role)] = row;
        }
        if (column == tedColumn) {
            const QByteArray folded = foldName(value);
            if (!folded.isEmpty() && !ta3dKnowsClass(folded)) {
                addAt(m_units, unit, row, Severity::Note, QStringLiteral("misread-value"),
                      QStringLiteral("%1: TA3D finds none of its classes in it (water, ship, energy, vtol, kbot, plant, tank, "
                                     "special, fort, metal, cnstr, commander), so the unit gets no map icon of its kind; Spring "
                                     "and RWE do not read it")
                          .arg(assignment(m_units.key(column), value)));
            }
            continue;
        }
        if (noted == 0)
            continue;
        // Help notes a value only by its variable's type, so a value noted once is noted alike in
        // every unit.
        const QString &note = noteOn(column, value);
        if (!note.isEmpty()) {
            addAt(m_units, unit, row, Severity::Warning, QStringLiteral("misread-value"),
                  QStringLiteral("%1: %2").arg(assignment(content.name(row).trimmed(), value), note));
        }
    }
}

void ModCheck::checkDuplicateUnits()
{
    const ModTable &units = m_units;
    QHash<QByteArray, int> byNumber;
    for (int unit = 0; unit < units.unitCount(); ++unit) {
        if (const int first = m_index.sameFileNameAs(unit); first >= 0) {
            addAt(units, unit, unitRow(unit), Severity::Error, QStringLiteral("duplicate-unit"),
                  QStringLiteral("%1 has the same file name as %2, which Spring takes for the same unit; it keeps only the one "
                                 "it reads last")
                      .arg(units.fileName(unit), units.relativePath(first)));
        }
        if (const int first = m_index.sameUnitNameAs(unit); first >= 0) {
            addAt(units, unit, units.documentRow(unit, m_columns.unitName), Severity::Error, QStringLiteral("duplicate-unit"),
                  QStringLiteral("UnitName %1 is also the UnitName of %2; TA3D and RWE keep only one of the two units")
                      .arg(text(m_unitNames[size_t(unit)]), units.relativePath(first)));
        }
        const QByteArrayView number = m_unitNumbers[size_t(unit)];
        if (number.isEmpty())
            continue;
        const QByteArray folded = foldName(number);
        if (const auto first = byNumber.constFind(folded); first != byNumber.constEnd()) {
            addAt(units, unit, units.documentRow(unit, m_columns.unitNumber), Severity::Note, QStringLiteral("duplicate-unit-number"),
                  QStringLiteral("UnitNumber %1 is also the UnitNumber of %2; TA3D, Spring and RWE do not use it, the original "
                                 "game tells units apart by it in a network game")
                      .arg(text(number), units.relativePath(*first)));
        } else {
            byNumber.insert(folded, unit);
        }
    }
}

void ModCheck::checkDuplicateDefinitions(const ModTable &table, const QString &kind, const QString &what)
{
    QHash<QByteArray, int> first;
    for (int row = 0; row < table.unitCount(); ++row) {
        const QByteArray name = foldName(toFileText(table.unitName(row)));
        const auto earlier = first.constFind(name);
        if (earlier == first.constEnd()) {
            first.insert(name, row);
            continue;
        }
        const Document *document = table.document(row);
        if (!document)
            continue;
        QString message;
        if (table.document(*earlier) == document) {
            message = QStringLiteral("[%1] is defined again in this file (first on line %2): TA3D merges the two, the later "
                                     "keys winning; Spring and RWE keep this one only")
                          .arg(table.unitName(row))
                          .arg(lineOf(*document, table.sectionRow(*earlier)));
        } else {
            message = QStringLiteral("[%1] is also a %2 in %3 (line %4): Spring keeps the one it reads last, RWE the first, "
                                     "TA3D either")
                          .arg(table.unitName(row), what, table.relativePath(*earlier))
                          .arg(lineOf(*table.document(*earlier), table.sectionRow(*earlier)));
        }
        addAt(table, row, table.sectionRow(row), Severity::Warning, kind, message);
    }
}

void ModCheck::checkWeapons()
{
    const ModTable &weapons = m_index.weaponTable();
    checkDuplicateDefinitions(weapons, QStringLiteral("duplicate-weapon"), QStringLiteral("weapon"));
    if (!m_index.folder().hasAssets(ModFolder::Assets::Models))
        return;
    const int modelColumn = weapons.columnOfKey(u"model");
    for (int row = 0; row < weapons.unitCount(); ++row)
        checkModel(weapons, row, modelColumn, QStringLiteral("the shot has no model"));
}

void ModCheck::checkFeatures()
{
    const ModTable &features = m_index.featureTable();
    checkDuplicateDefinitions(features, QStringLiteral("duplicate-feature"), QStringLiteral("feature"));
    const bool models = m_index.folder().hasAssets(ModFolder::Assets::Models);
    const int objectColumn = features.columnOfKey(u"object");
    const std::array<std::pair<QStringView, QStringView>, 2> chain{
        std::pair<QStringView, QStringView>{u"featuredead", u"the feature leaves nothing when destroyed"},
        std::pair<QStringView, QStringView>{u"featureburnt", u"the feature leaves nothing when burnt"}};
    for (int row = 0; row < features.unitCount(); ++row) {
        if (models)
            checkModel(features, row, objectColumn, QStringLiteral("the feature is not drawn"));
        for (const auto &[key, effect] : chain) {
            const int column = features.columnOfKey(key);
            const QByteArrayView value = column > 0 ? features.valueBytes(row, column).trimmed() : QByteArrayView();
            if (value.isEmpty() || !m_index.features(value).isEmpty())
                continue;
            addAt(features, row, features.documentRow(row, column), Severity::Error, QStringLiteral("missing-feature"),
                  QStringLiteral("%1: no feature section has that name; %2 (RWE stops loading the mod)")
                      .arg(assignment(spelledKey(features, row, column), value), effect.toString()));
        }
    }
}

void ModCheck::checkBuildMenus()
{
    for (const ModDocument &file : m_index.gamedata()) {
        if (!file.document || (file.role != ModFileRole::Sides && file.role != ModFileRole::Downloads))
            continue;
        const Document &document = *file.document;
        const FbiContent &content = document.content();
        auto report = [&](int row, const QString &what, const QString &effect) {
            add(Severity::Warning, QStringLiteral("missing-build-entry"), document, file.path, file.relativePath, row,
                QStringLiteral("%1: no unit has that file name or UnitName; %2").arg(what, effect));
        };
        for (qsizetype header = 0; header < content.rowCount(); ++header) {
            if (content.depth(header) != 0 || !content.isSection(header))
                continue;
            const QByteArray section = foldName(content.nameBytes(header));
            const qsizetype end = content.sectionEnd(header);
            if (file.role == ModFileRole::Downloads) {
                for (const QByteArrayView key : {QByteArrayView("unitmenu"), QByteArrayView("unitname")}) {
                    const int row = findVariable(document, int(header), key);
                    if (row >= 0 && !content.valueBytes(row).trimmed().isEmpty() && !m_index.isUnitName(content.valueBytes(row)))
                        report(row, assignment(content.name(row).trimmed(), content.valueBytes(row)),
                               QStringLiteral("TA3D and Spring leave the entry out"));
                }
                continue;
            }
            if (section.startsWith("side")) {
                const int row = findVariable(document, int(header), "commander");
                if (row >= 0 && !content.valueBytes(row).trimmed().isEmpty() && !m_index.isUnitName(content.valueBytes(row)))
                    report(row, assignment(content.name(row).trimmed(), content.valueBytes(row)), QStringLiteral("the side has no start unit"));
                continue;
            }
            if (section != "canbuild")
                continue;
            for (qsizetype builder = header + 1; builder < end; ++builder) {
                if (!content.isSection(builder) || content.depth(builder) != 1)
                    continue;
                if (!m_index.isUnitName(content.nameBytes(builder)))
                    report(int(builder), QLatin1Char('[') + text(content.nameBytes(builder)) + QLatin1Char(']'),
                           QStringLiteral("its build menu belongs to no unit"));
                for (qsizetype row = builder + 1; row < content.sectionEnd(builder); ++row) {
                    if (content.isSection(row) || content.depth(row) != 2 || content.nameBytes(row).trimmed().startsWith("//"))
                        continue;
                    const QByteArrayView value = content.valueBytes(row).trimmed();
                    if (!value.isEmpty() && !m_index.isUnitName(value))
                        report(int(row), assignment(content.name(row).trimmed(), value), QStringLiteral("the menu leaves it out"));
                }
            }
        }
    }
}

void ModCheck::checkKeys(const ModTable &table)
{
    for (int row = 0; row < table.unitCount(); ++row) {
        const Document *document = table.document(row);
        if (!document)
            continue;
        for (const ModTable::DuplicateKey &duplicate : table.duplicateKeys(row)) {
            const QByteArrayView earlier = document->content().valueBytes(duplicate.earlierRow);
            const QByteArrayView later = document->content().valueBytes(duplicate.laterRow);
            const QString name = document->content().name(duplicate.earlierRow).trimmed();
            const bool same = earlier.trimmed() == later.trimmed();
            addAt(table, row, duplicate.earlierRow, same ? Severity::Note : Severity::Warning, QStringLiteral("duplicate-key"),
                  same ? QStringLiteral("%1 is set again on line %2 to the same value").arg(name).arg(lineOf(*document, duplicate.laterRow))
                       : QStringLiteral("%1 is set again on line %2; TA3D, Spring and RWE use the later value (%3), not this one (%4)")
                             .arg(name)
                             .arg(lineOf(*document, duplicate.laterRow))
                             .arg(text(later), text(earlier)));
        }
    }
}

void ModCheck::checkText(const Document &document, const QString &path, const QString &relativePath)
{
    const FbiContent &content = document.content();
    const qsizetype placeholder = Help::placeholderValue().size();
    for (qsizetype row = 0; row < content.rowCount(); ++row) {
        if (content.isSection(row))
            continue;
        const auto [name, value] = content.rowBytes(row);
        // The reader starts a name at its first character that is no blank.
        if (name.size() >= 2 && name[0] == '/' && name[1] == '/')
            continue;
        if (value.trimmed().size() == placeholder && Help::isPlaceholder(fromFileText(value))) {
            add(Severity::Warning, QStringLiteral("placeholder-value"), document, path, relativePath, int(row),
                QStringLiteral("%1 still holds \"%2\", the value a new row gets").arg(fromFileText(name.trimmed()), fromFileText(value.trimmed())));
        }
        if (!content.endsWithSemicolon(row)) {
            add(Severity::Error, QStringLiteral("missing-semicolon"), document, path, relativePath, int(row),
                QStringLiteral("no \";\" ends the value of %1: Spring rejects the whole file, TA3D and RWE read the value on to "
                               "the next \";\"")
                    .arg(fromFileText(name.trimmed())));
        }
    }
}
