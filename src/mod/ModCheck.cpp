#include "mod/ModCheck.h"

#include "documents/Document.h"
#include "documents/Numbers.h"
#include "help/VariableHelp.h"
#include "mod/ModTable.h"

#include <algorithm>
#include <array>

namespace {
using Severity = ModProblem::Severity;

// The highest weapon slot Spring reads; TA3D reads on to the first empty one.
constexpr int MaxWeaponSlots = 32;
// TA3D and Spring read slots 1 to 3 whatever they hold, and stop at the first empty slot after.
constexpr int SlotsAlwaysRead = 3;

// The one way the check asks the help what an engine makes of a value.
QString valueNote(QStringView name, QStringView value)
{
    return Help::valueHint(name, value);
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

QString ModCheck::placeholderValue()
{
    return QStringLiteral("Change This");
}

QList<ModProblem> ModCheck::run(const QList<UnreadableFile> &unreadable)
{
    m_problems.clear();
    m_lines.clear();
    m_notes.assign(size_t(m_units.keyColumnCount()), {});
    for (const UnreadableFile &file : unreadable) {
        m_problems.append(ModProblem{Severity::Error, file.path, file.relativePath, 0, QStringLiteral("unreadable-file"),
                                     QStringLiteral("cannot be read: it %1").arg(file.reason)});
    }
    checkUnits();
    checkDuplicateUnits();
    checkWeapons();
    checkFeatures();
    checkBuildMenus();
    for (const ModTable *table : {&m_units, &m_index.weaponTable(), &m_index.featureTable()}) {
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
    const int row = m_units.documentRow(unit, m_units.columnOfKey(u"UnitName"));
    return row >= 0 ? row : 0;
}

QString ModCheck::findModel(QStringView name) const
{
    const ModFolder &folder = m_index.folder();
    static constexpr std::array<QLatin1StringView, 6> Extensions{QLatin1StringView(""), QLatin1StringView(".3do"),
                                                                 QLatin1StringView(".s3o"), QLatin1StringView(".3dm"),
                                                                 QLatin1StringView(".3ds"), QLatin1StringView(".obj")};
    for (const QLatin1StringView extension : Extensions) {
        const QString found = folder.findAsset(ModFolder::Assets::Models, name.toString() + extension);
        if (!found.isEmpty())
            return found;
    }
    return {};
}

void ModCheck::checkModel(const ModTable &table, int row, int column, const QString &what)
{
    const QByteArrayView value = table.valueBytes(row, column).trimmed();
    if (column <= 0 || value.isEmpty() || !findModel(text(value)).isEmpty())
        return;
    const QString folder = m_index.folder().assetFolderName(ModFolder::Assets::Models);
    addAt(table, row, table.documentRow(row, column), Severity::Error, QStringLiteral("missing-model"),
          QStringLiteral("%1: %2/ has no such model (%3, .3do, .s3o and the other model files looked for); %4")
              .arg(assignment(table.key(column), value), folder, text(value), what));
}

void ModCheck::checkUnits()
{
    for (int unit = 0; unit < m_units.unitCount(); ++unit) {
        const Document *document = m_units.document(unit);
        if (!document)
            continue;
        checkUnitReferences(unit, *document);
        checkUnitValues(unit, *document);
    }
}

void ModCheck::checkUnitReferences(int unit, const Document &document)
{
    Q_UNUSED(document);
    const ModTable &units = m_units;
    auto column = [&](QStringView key) { return units.columnOfKey(key); };
    auto value = [&](int col) { return col > 0 ? units.valueBytes(unit, col).trimmed() : QByteArrayView(); };
    auto rowOf = [&](int col) { return units.documentRow(unit, col); };
    const ModFolder &folder = m_index.folder();
    const bool hasWeapons = m_index.weaponTable().unitCount() > 0;

    // Weapon slots.
    std::array<bool, MaxWeaponSlots + 1> filled{};
    for (int slot = 1; slot <= MaxWeaponSlots; ++slot) {
        const int col = column(QStringLiteral("Weapon%1").arg(slot));
        filled[size_t(slot)] = col > 0 && rowOf(col) >= 0 && !value(col).isEmpty();
    }
    bool gapSeen = false;
    for (int slot = 1; slot <= MaxWeaponSlots; ++slot) {
        if (!filled[size_t(slot)])
            continue;
        const QString key = QStringLiteral("Weapon%1").arg(slot);
        const int col = column(key);
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
                      .arg(units.key(col))
                      .arg(missing));
        }
        if (hasWeapons && m_index.weapons(value(col)).isEmpty()) {
            QString effect = QStringLiteral("the slot has no weapon in any engine");
            if (slot > SlotsAlwaysRead + 1 && std::any_of(filled.begin() + slot + 1, filled.end(), [](bool set) { return set; }))
                effect += QStringLiteral(", and Spring ignores the slots after it");
            addAt(units, unit, rowOf(col), Severity::Error, QStringLiteral("missing-weapon"),
                  QStringLiteral("%1: no weapon section has that name; %2").arg(assignment(units.key(col), value(col)), effect));
        }
    }

    if (hasWeapons) {
        for (const QStringView key : {u"ExplodeAs", u"SelfDestructAs"}) {
            const int col = column(key);
            if (value(col).isEmpty() || !m_index.weapons(value(col)).isEmpty())
                continue;
            addAt(units, unit, rowOf(col), Severity::Error, QStringLiteral("missing-explosion"),
                  QStringLiteral("%1: no weapon section has that name; the unit %2 without that blast (Spring uses NOWEAPON "
                                 "where the mod has one; RWE stops the game when it happens)")
                      .arg(assignment(units.key(col), value(col)),
                           key == u"ExplodeAs" ? QStringLiteral("dies") : QStringLiteral("self-destructs")));
        }
    }

    if (m_index.featureTable().unitCount() > 0) {
        const int col = column(u"Corpse");
        if (!value(col).isEmpty() && m_index.features(value(col)).isEmpty()) {
            addAt(units, unit, rowOf(col), Severity::Error, QStringLiteral("missing-corpse"),
                  QStringLiteral("%1: no feature section has that name; the unit leaves no wreck (Spring logs an error at "
                                 "each one built, RWE stops loading the mod)")
                      .arg(assignment(units.key(col), value(col))));
        }
    }

    if (folder.hasAssets(ModFolder::Assets::Models))
        checkModel(units, unit, column(u"Objectname"), QStringLiteral("Spring leaves the unit out, RWE stops loading the mod, TA3D shows nothing"));

    const QString fileId = ModIndex::fileId(units.fileName(unit));
    const int nameColumn = column(u"UnitName");
    const QString unitName = text(value(nameColumn));

    if (folder.hasAssets(ModFolder::Assets::Scripts)) {
        const int col = column(u"script");
        const QString scripts = folder.assetFolderName(ModFolder::Assets::Scripts);
        if (!value(col).isEmpty()) {
            if (folder.findAsset(ModFolder::Assets::Scripts, text(value(col))).isEmpty()) {
                addAt(units, unit, rowOf(col), Severity::Error, QStringLiteral("missing-script"),
                      QStringLiteral("%1: %2/ has no such file; Spring runs the unit without a script")
                          .arg(assignment(units.key(col), value(col)), scripts));
            }
        } else {
            const bool bySpring = !folder.findAsset(ModFolder::Assets::Scripts, fileId + QLatin1String(".cob")).isEmpty();
            const bool byName = !unitName.isEmpty()
                && (!folder.findAsset(ModFolder::Assets::Scripts, unitName + QLatin1String(".cob")).isEmpty()
                    || !folder.findAsset(ModFolder::Assets::Scripts, unitName + QLatin1String(".lua")).isEmpty());
            if (!bySpring && !byName) {
                const QString byUnitName = unitName.isEmpty() || unitName.compare(fileId, Qt::CaseInsensitive) == 0
                    ? QString()
                    : QStringLiteral(", %1.cob nor %1.lua (TA3D and RWE, by UnitName)").arg(unitName);
                addAt(units, unit, unitRow(unit), Severity::Error, QStringLiteral("missing-script"),
                      QStringLiteral("no script for this unit: %1/ has no %2.cob%3; the unit cannot move or fire as meant "
                                     "(RWE stops the game when it is built)")
                          .arg(scripts, fileId, byUnitName));
            }
        }
    }

    if (folder.hasAssets(ModFolder::Assets::Pictures)) {
        const int col = column(u"BuildPic");
        const QString pictures = folder.assetFolderName(ModFolder::Assets::Pictures);
        if (!value(col).isEmpty()) {
            if (folder.findAsset(ModFolder::Assets::Pictures, text(value(col))).isEmpty()) {
                addAt(units, unit, rowOf(col), Severity::Warning, QStringLiteral("missing-picture"),
                      QStringLiteral("%1: %2/ has no such file; Spring uses the name as written, extension included, and "
                                     "shows a blank button")
                          .arg(assignment(units.key(col), value(col)), pictures));
            }
        } else {
            bool found = false;
            for (const QLatin1StringView extension : {QLatin1StringView(".dds"), QLatin1StringView(".png"),
                                                      QLatin1StringView(".pcx"), QLatin1StringView(".bmp")})
                found = found || !folder.findAsset(ModFolder::Assets::Pictures, fileId + extension).isEmpty();
            found = found || (!unitName.isEmpty() && !folder.findAsset(ModFolder::Assets::Pictures, unitName + QLatin1String(".pcx")).isEmpty());
            if (!found) {
                addAt(units, unit, unitRow(unit), Severity::Warning, QStringLiteral("missing-picture"),
                      QStringLiteral("no picture for this unit: %1/ has no %2.dds, .png, .pcx or .bmp (Spring)%3; Spring "
                                     "shows a blank button, TA3D leaves the unit out of the build menus")
                          .arg(pictures, fileId,
                               unitName.isEmpty() || unitName.compare(fileId, Qt::CaseInsensitive) == 0
                                   ? QString()
                                   : QStringLiteral(" nor %1.pcx (TA3D)").arg(unitName)));
            }
        }
    }

    if (const ModDocument *sounds = m_index.sounds()) {
        const int col = column(u"SoundCategory");
        if (!value(col).isEmpty() && m_index.soundCategory(value(col)) < 0) {
            addAt(units, unit, rowOf(col), Severity::Warning, QStringLiteral("missing-sound-category"),
                  QStringLiteral("%1: %2 has no such section; the unit makes no sounds of its own")
                      .arg(assignment(units.key(col), value(col)), sounds->relativePath));
        }
    }

    if (const ModDocument *classes = m_index.movementClasses(); classes && !folder.hasMoveDefsScript()) {
        const int col = column(u"MovementClass");
        if (!value(col).isEmpty() && m_index.movementClass(value(col)) < 0) {
            addAt(units, unit, rowOf(col), Severity::Error, QStringLiteral("missing-movement-class"),
                  QStringLiteral("%1: %2 has no class with that Name (CLASS0, CLASS1, ... read up to the first number "
                                 "missing); Spring drops a mobile ground unit without one")
                      .arg(assignment(units.key(col), value(col)), classes->relativePath));
        }
    }

    if (const ModDocument *sides = m_index.sides()) {
        const int col = column(u"Side");
        if (!value(col).isEmpty() && m_index.side(value(col)) < 0) {
            addAt(units, unit, rowOf(col), Severity::Note, QStringLiteral("missing-side"),
                  QStringLiteral("%1: %2 has no [SIDEn] with that name; only TA3D reads it, to lay out the unit's build menu")
                      .arg(assignment(units.key(col), value(col)), sides->relativePath));
        }
    }

    const int mapColumn = column(u"YardMap");
    if (const QByteArrayView map = value(mapColumn); !map.isEmpty()) {
        const std::optional<int> x = wholeNumber(value(column(u"FootprintX")));
        const std::optional<int> z = wholeNumber(value(column(u"FootprintZ")));
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

void ModCheck::checkUnitValues(int unit, const Document &document)
{
    const FbiContent &content = document.content();
    const int tedColumn = m_units.columnOfKey(u"TEDClass");
    for (int index = 0; index < m_units.cellCount(unit); ++index) {
        const auto [column, row] = m_units.cell(unit, index);
        if (content.depth(row) != 0)
            continue;
        const QByteArrayView value = content.valueBytes(row);
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
        QHash<QByteArray, QString> &notes = m_notes[size_t(column)];
        auto note = notes.constFind(QByteArray::fromRawData(value.data(), value.size()));
        if (note == notes.constEnd())
            note = notes.insert(value.toByteArray(), valueNote(m_units.key(column), fromFileText(value)));
        if (!note->isEmpty()) {
            addAt(m_units, unit, row, Severity::Warning, QStringLiteral("misread-value"),
                  QStringLiteral("%1: %2").arg(assignment(content.name(row).trimmed(), value), *note));
        }
    }
}

void ModCheck::checkDuplicateUnits()
{
    const ModTable &units = m_units;
    QHash<QByteArray, int> byFile;
    QHash<QByteArray, int> byName;
    QHash<QByteArray, int> byNumber;
    const int nameColumn = units.columnOfKey(u"UnitName");
    const int numberColumn = units.columnOfKey(u"UnitNumber");
    for (int unit = 0; unit < units.unitCount(); ++unit) {
        const QByteArray id = foldName(toFileText(ModIndex::fileId(units.fileName(unit))));
        if (const auto first = byFile.constFind(id); first != byFile.constEnd()) {
            addAt(units, unit, unitRow(unit), Severity::Error, QStringLiteral("duplicate-unit"),
                  QStringLiteral("%1 has the same file name as %2, which Spring takes for the same unit; it keeps only the one "
                                 "it reads last")
                      .arg(units.fileName(unit), units.relativePath(*first)));
        } else {
            byFile.insert(id, unit);
        }
        const QByteArray name = nameColumn > 0 ? foldName(units.valueBytes(unit, nameColumn)) : QByteArray();
        if (name.isEmpty()) {
        } else if (const auto first = byName.constFind(name); first != byName.constEnd()) {
            addAt(units, unit, units.documentRow(unit, nameColumn), Severity::Error, QStringLiteral("duplicate-unit"),
                  QStringLiteral("UnitName %1 is also the UnitName of %2; TA3D and RWE keep only one of the two units")
                      .arg(text(units.valueBytes(unit, nameColumn)), units.relativePath(*first)));
        } else {
            byName.insert(name, unit);
        }
        const QByteArray number = numberColumn > 0 ? foldName(units.valueBytes(unit, numberColumn)) : QByteArray();
        if (number.isEmpty()) {
        } else if (const auto first = byNumber.constFind(number); first != byNumber.constEnd()) {
            addAt(units, unit, units.documentRow(unit, numberColumn), Severity::Note, QStringLiteral("duplicate-unit-number"),
                  QStringLiteral("UnitNumber %1 is also the UnitNumber of %2; TA3D, Spring and RWE do not use it, the original "
                                 "game tells units apart by it in a network game")
                      .arg(text(units.valueBytes(unit, numberColumn)), units.relativePath(*first)));
        } else {
            byNumber.insert(number, unit);
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
                      .arg(assignment(features.key(column), value), effect.toString()));
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
    const QByteArray placeholder = toFileText(placeholderValue());
    for (qsizetype row = 0; row < content.rowCount(); ++row) {
        if (content.isSection(row))
            continue;
        const auto [name, value] = content.rowBytes(row);
        if (name.trimmed().startsWith("//"))
            continue;
        if (value.trimmed() == placeholder) {
            add(Severity::Warning, QStringLiteral("placeholder-value"), document, path, relativePath, int(row),
                QStringLiteral("%1 still holds \"%2\", the value a new row gets").arg(fromFileText(name.trimmed()), placeholderValue()));
        }
        if (!content.endsWithSemicolon(row)) {
            add(Severity::Error, QStringLiteral("missing-semicolon"), document, path, relativePath, int(row),
                QStringLiteral("no \";\" ends the value of %1: Spring rejects the whole file, TA3D and RWE read the value on to "
                               "the next \";\"")
                    .arg(fromFileText(name.trimmed())));
        }
    }
}
