#include "documents/Document.h"
#include "documents/DocumentSet.h"
#include "mod/Mod.h"
#include "mod/ModFolder.h"
#include "mod/ModProblemList.h"
#include "mod/ModTable.h"
#include "mod/WeaponFigures.h"
#include "support/Files.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

namespace {
const QString Planted = QStringLiteral(KORVID_TEST_DATA_DIR "/mods/planted");
const QString Clean = QStringLiteral(KORVID_TEST_DATA_DIR "/mods/clean");

// One fault of each kind is planted in the mod under tests/data/mods/planted; these are the lines
// the check must give for them, and nothing else.
QList<std::pair<const char *, QString>> plantedFaults()
{
    return {
        {"a weapon slot naming no weapon section", "Units/gunship.FBI:9: missing-weapon"},
        {"an explosion naming no weapon section", "Units/gunship.FBI:12: missing-explosion"},
        {"a corpse naming no feature", "Units/gunship.FBI:13: missing-corpse"},
        {"a dead feature naming no feature", "Features/corpses/tank_dead.tdf:9: missing-feature"},
        {"a unit's model missing", "Units/gunship.FBI:5: missing-model"},
        {"a feature's model missing", "Features/heaps.tdf:3: missing-model"},
        {"a weapon's model missing, in a weapons sub-folder", "weapons/extra/more.tdf:4: missing-model"},
        {"no script by file name or UnitName", "Units/noscript.fbi:3: missing-script"},
        {"BuildPic without its extension", "Units/gunship.FBI:14: missing-picture"},
        {"a sound category missing", "Units/gunship.FBI:6: missing-sound-category"},
        {"a movement class only after a gap in the CLASSn numbers", "Units/gunship.FBI:7: missing-movement-class"},
        {"a side missing", "Units/gunship.FBI:4: missing-side"},
        {"a side's commander naming no unit", "gamedata/sidedata.tdf:9: missing-build-entry"},
        {"a canbuild entry naming no unit", "gamedata/sidedata.tdf:16: missing-build-entry"},
        {"a build menu of no unit", "gamedata/sidedata.tdf:19: missing-build-entry"},
        {"a download entry naming no unit", "download/menu.tdf:6: missing-build-entry"},
        {"two units with one UnitName", "Units/twin.fbi:3: duplicate-unit"},
        {"two units with one file name", "Units/variants/tank.fbi:3: duplicate-unit"},
        {"two units with one UnitNumber", "Units/tank.fbi:19: duplicate-unit-number"},
        {"a weapon defined twice in one file", "weapons/blasts.tdf:9: duplicate-weapon"},
        {"a weapon defined in two files", "weapons/extra/more.tdf:1: duplicate-weapon"},
        {"a feature defined in two files", "Features/heaps.tdf:1: duplicate-feature"},
        {"a key set twice, shown at the line the engines skip", "Units/gunship.FBI:15: duplicate-key"},
        {"Weapon5 without Weapon4", "Units/gunship.FBI:11: weapon-gap"},
        {"a yard map of six cells on a 2 by 2 footprint", "Units/gunship.FBI:22: yardmap-size"},
        {"a flag written as true", "Units/gunship.FBI:16: misread-value"},
        {"a TEDClass TA3D knows no class in", "Units/gunship.FBI:18: misread-value"},
        {"a value without its semicolon", "Units/gunship.FBI:24: missing-semicolon"},
        {"a value left at the new row's placeholder", "Units/gunship.FBI:19: placeholder-value"},
        {"a unit file that is no text", "Units/broken.fbi:0: unreadable-file"},
    };
}

QString lineOf(const ModProblem &problem)
{
    return QStringLiteral("%1:%2: %3").arg(problem.relativePath).arg(problem.line).arg(problem.kind);
}

QStringList linesOf(const QList<ModProblem> &problems)
{
    QStringList lines;
    for (const ModProblem &problem : problems)
        lines.append(lineOf(problem));
    return lines;
}

// The row of a document whose name is name (a section's header by its name), or -1.
int rowNamed(const Document &document, const QString &name)
{
    for (int row = 0; row < document.rowCount(); ++row) {
        if (document.name(row).trimmed().compare(name, Qt::CaseInsensitive) == 0)
            return row;
    }
    return -1;
}

int unitRow(const ModTable &table, const QString &name)
{
    for (int row = 0; row < table.unitCount(); ++row) {
        if (table.unitName(row) == name)
            return row;
    }
    return -1;
}

}

class TestModCheck : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void findsPlantedFault_data();
    void findsPlantedFault();
    void findsNothingElse();
    void findsNothingInACleanMod();
    void checksManyUnitsOnSeveralCores();
    void saysWhichValueTheEnginesUse();
    void checksAgainAfterAnEdit();
    void hidesKinds();

    void findsDefinition_data();
    void findsDefinition();

    void firingFigures_data();
    void firingFigures();
    void showsWeaponFiguresBesideUnits();

    void definitionsAreRows();
    void editsSectionsOfOneFileAsOneStep();
    void addsAKeyInsideTheRowsSection();

    void scansFolder_data();
    void scansFolder();
    void loadsInTheBackgroundAndStopsWhenCleared();

    void sharedModsPointAtRealLines_data();
    void sharedModsPointAtRealLines();

private:
    std::unique_ptr<DocumentSet> m_documents;
    std::unique_ptr<Mod> m_mod;
};

void TestModCheck::init()
{
    m_documents = std::make_unique<DocumentSet>();
    m_mod = std::make_unique<Mod>(*m_documents);
}

void TestModCheck::cleanup()
{
    m_mod.reset();
    m_documents.reset();
}

void TestModCheck::findsPlantedFault_data()
{
    QTest::addColumn<QString>("line");
    for (const auto &[name, line] : plantedFaults())
        QTest::newRow(name) << line;
}

void TestModCheck::findsPlantedFault()
{
    QFETCH(QString, line);
    QVERIFY(m_mod->loadNow(Planted));
    QVERIFY2(linesOf(m_mod->problems()).contains(line), qPrintable(linesOf(m_mod->problems()).join(QLatin1Char('\n'))));
}

// No false alarm: the planted mod's correct references (other letter cases, sub-folders, a header
// with a comment after it, Weapon3 after an empty Weapon2, a commented-out key...) give nothing.
void TestModCheck::findsNothingElse()
{
    QVERIFY(m_mod->loadNow(Planted));
    QStringList expected;
    for (const auto &fault : plantedFaults())
        expected.append(fault.second);
    QStringList found = linesOf(m_mod->problems());
    expected.sort();
    found.sort();
    QCOMPARE(found, expected);
}

void TestModCheck::findsNothingInACleanMod()
{
    QVERIFY(m_mod->loadNow(Clean));
    QCOMPARE(linesOf(m_mod->problems()), QStringList());
    QCOMPARE(m_mod->units()->unitCount(), 2);
    QCOMPARE(m_mod->weapons()->unitCount(), 3);
    QCOMPARE(m_mod->features()->unitCount(), 2);
}

// A large mod is checked in shares on several cores: every share's findings come back, and names
// are compared across the shares.
void TestModCheck::checksManyUnitsOnSeveralCores()
{
    QTemporaryDir dir;
    constexpr int Units = 1200;
    QStringList expected;
    for (int unit = 0; unit < Units; ++unit) {
        const bool broken = unit % 100 == 7;
        const QByteArray name = unit == Units - 1 ? "U0" : "U" + QByteArray::number(unit);
        const QByteArray number = unit == 0 || unit == Units - 1 ? "5" : QByteArray::number(unit + 10);
        // A value of its own in every unit, a fraction where a whole number is read in some.
        const bool fraction = unit % 150 == 20;
        const QByteArray energy = QByteArray::number(unit) + (fraction ? ".5" : "");
        const QString file = QStringLiteral("units/u%1.fbi").arg(unit, 4, 10, QLatin1Char('0'));
        writeFile(dir.filePath(file), "[UNITINFO]\n{\n\tUnitName=" + name + ";\n\tWeapon1=" + (broken ? "NOGUN" : "GUN")
                      + ";\n\tUnitNumber=" + number + ";\n\tEnergyUse=" + energy + ";\n}\n");
        if (broken)
            expected.append(file + QStringLiteral(":4: missing-weapon"));
        if (fraction)
            expected.append(file + QStringLiteral(":6: misread-value"));
    }
    // The first unit and the last, in the first share and the last.
    expected.append(QStringLiteral("units/u%1.fbi:3: duplicate-unit").arg(Units - 1));
    expected.append(QStringLiteral("units/u%1.fbi:5: duplicate-unit-number").arg(Units - 1));
    writeFile(dir.filePath(QStringLiteral("weapons/guns.tdf")), "[GUN]\n{\nrange=100;\n}\n");
    QVERIFY(m_mod->loadNow(dir.path()));
    QStringList found = linesOf(m_mod->problems());
    found.sort();
    expected.sort();
    QCOMPARE(found, expected);
}

void TestModCheck::saysWhichValueTheEnginesUse()
{
    QVERIFY(m_mod->loadNow(Planted));
    for (const ModProblem &problem : m_mod->problems()) {
        if (problem.kind == QLatin1String("duplicate-key")) {
            QVERIFY2(problem.message.contains(QLatin1String("line 17")) && problem.message.contains(QLatin1String("later value (900)")),
                     qPrintable(problem.message));
            return;
        }
    }
    QFAIL("no duplicate-key problem");
}

// Mending a fault in the unit's document takes its problem away a moment later; undoing the
// edit brings it back.
void TestModCheck::checksAgainAfterAnEdit()
{
    QVERIFY(m_mod->loadNow(Planted));
    const QString fault = QStringLiteral("Units/gunship.FBI:9: missing-weapon");
    ModTable &units = *m_mod->units();
    Document *gunship = units.document(unitRow(units, QStringLiteral("GUNSHIP")));
    QVERIFY(gunship);
    QSignalSpy checked(m_mod.get(), &Mod::problemsChanged);
    QCOMPARE(gunship->setValue(rowNamed(*gunship, QStringLiteral("Weapon2")), QStringLiteral("tank_cannon")), QString());
    QVERIFY(checked.wait());
    QVERIFY(!linesOf(m_mod->problems()).contains(fault));
    QVERIFY(!linesOf(m_mod->problemList()->allProblems()).contains(fault));
    gunship->history()->undo();
    QVERIFY(checked.wait());
    QVERIFY(linesOf(m_mod->problems()).contains(fault));
}

void TestModCheck::hidesKinds()
{
    QVERIFY(m_mod->loadNow(Planted));
    ModProblemList &list = *m_mod->problemList();
    const int all = list.rowCount();
    QCOMPARE(list.count(QStringLiteral("missing-model")), 3);
    list.setKindHidden(QStringLiteral("missing-model"), true);
    QCOMPARE(list.rowCount(), all - 3);
    for (int row = 0; row < list.rowCount(); ++row)
        QVERIFY(list.index(row, ModProblemList::KindColumn).data().toString() != QLatin1String("missing-model"));
    // The panel keeps its choice as the check runs again.
    m_mod->recheck();
    QCOMPARE(list.rowCount(), all - 3);
    list.setKindHidden(QStringLiteral("missing-model"), false);
    QCOMPARE(list.rowCount(), all);
    const QModelIndex first = list.index(0, ModProblemList::FileColumn);
    QVERIFY(QFileInfo::exists(first.data(ModProblemList::PathRole).toString()));
}

void TestModCheck::findsDefinition_data()
{
    QTest::addColumn<QString>("file");      // relative to the mod
    QTest::addColumn<QString>("key");       // the row's name, or a section's name
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("target");    // relative path of the definition
    QTest::addColumn<QString>("targetRow"); // the name of the row it opens at; empty for the file
    QTest::newRow("a weapon slot, in another letter case") << "Units/tank.fbi" << "Weapon1" << true << "weapons/Cannons.TDF" << "TANK_CANNON";
    QTest::newRow("a weapon slot naming nothing") << "Units/gunship.FBI" << "Weapon2" << false << "" << "";
    QTest::newRow("an explosion") << "Units/tank.fbi" << "ExplodeAs" << true << "weapons/blasts.tdf" << "BIG_BLAST";
    QTest::newRow("a corpse") << "Units/tank.fbi" << "Corpse" << true << "Features/corpses/tank_dead.tdf" << "tank_dead";
    QTest::newRow("a model") << "Units/tank.fbi" << "Objectname" << true << "objects3d/TANK.3DO" << "";
    QTest::newRow("a sound category") << "Units/tank.fbi" << "SoundCategory" << true << "gamedata/SOUND.TDF" << "ARM_TANK";
    QTest::newRow("a movement class after a commented header") << "Units/tank.fbi" << "MovementClass" << true << "gamedata/MoveInfo.tdf" << "Name";
    QTest::newRow("a side") << "Units/tank.fbi" << "Side" << true << "gamedata/sidedata.tdf" << "name";
    QTest::newRow("a dead feature") << "Features/corpses/tank_dead.tdf" << "featuredead" << true << "Features/corpses/tank_dead.tdf" << "TANK_HEAP";
    QTest::newRow("a build menu entry by file name") << "gamedata/sidedata.tdf" << "canbuild1" << true << "Units/sub/recon.fbi" << "UnitName";
    QTest::newRow("a builder's menu") << "gamedata/sidedata.tdf" << "TANK" << true << "Units/tank.fbi" << "UnitName";
    QTest::newRow("no reference") << "Units/tank.fbi" << "MaxDamage" << false << "" << "";
}

void TestModCheck::findsDefinition()
{
    QFETCH(QString, file);
    QFETCH(QString, key);
    QFETCH(bool, found);
    QFETCH(QString, target);
    QFETCH(QString, targetRow);
    QVERIFY(m_mod->loadNow(Planted));
    Document *document = m_documents->findByPath(QDir(Planted).filePath(file));
    QVERIFY(document);
    const Mod::Target definition = m_mod->definitionOf(document, rowNamed(*document, key));
    QCOMPARE(definition.found, found);
    QCOMPARE(definition.isReference, key != QLatin1String("MaxDamage"));
    QVERIFY(!definition.isReference || !definition.message.isEmpty());
    if (!found)
        return;
    QCOMPARE(definition.place.relativePath, target);
    QVERIFY(QFileInfo::exists(definition.place.path));
    if (targetRow.isEmpty()) {
        QCOMPARE(definition.place.row, -1);
        return;
    }
    QVERIFY(definition.place.document);
    QCOMPARE(definition.place.document->name(definition.place.row).trimmed(), targetRow);
}

void TestModCheck::firingFigures_data()
{
    QTest::addColumn<WeaponValues>("weapon");
    QTest::addColumn<int>("engine");
    QTest::addColumn<double>("damagePerSecond"); // worked out by hand; negative for none
    const WeaponValues burstShorter{"1.2", "3", "0.2", "", "50", "", "", "", ""};
    QTest::newRow("TA3D: the burst adds to the reload") << burstShorter << int(Engine::Ta3d) << 93.75;
    QTest::newRow("Spring: the burst within the reload") << burstShorter << int(Engine::Spring) << 125.0;
    QTest::newRow("RWE: the burst within the reload") << burstShorter << int(Engine::Rwe) << 125.0;
    const WeaponValues burstLonger{"0.5", "4", "0.25", "", "20", "", "", "", ""};
    QTest::newRow("TA3D: burst longer than the reload") << burstLonger << int(Engine::Ta3d) << 64.0;
    QTest::newRow("Spring: whole frames, 4 shots of 7 frames") << burstLonger << int(Engine::Spring) << 80.0 / (28.0 / 30.0);
    QTest::newRow("RWE: three gaps of 0.25 s") << burstLonger << int(Engine::Rwe) << 80.0 / 0.75;
    const WeaponValues bare{"", "", "", "", "", "", "", "", ""};
    QTest::newRow("TA3D: no reload time, no cycle") << bare << int(Engine::Ta3d) << -1.0;
    QTest::newRow("Spring: defaults of 1 s and 1 damage") << bare << int(Engine::Spring) << 1.0;
    QTest::newRow("RWE: no default damage") << bare << int(Engine::Rwe) << -1.0;
    const WeaponValues noDamage{"2", "", "", "", "", "", "", "", ""};
    QTest::newRow("TA3D: 100 damage when none is given") << noDamage << int(Engine::Ta3d) << 50.0;
    const WeaponValues zeroDamage{"2", "", "", "", "0", "", "", "", ""};
    QTest::newRow("Spring: a damage of 0 counts 1") << zeroDamage << int(Engine::Spring) << 0.5;
    const WeaponValues beam{"1", "3", "0.1", "", "30", "", "1", "", ""};
    QTest::newRow("Spring: a beam laser without beamburst fires once") << beam << int(Engine::Spring) << 30.0;
    QTest::newRow("TA3D: the same beam fires its burst") << beam << int(Engine::Ta3d) << 90.0 / 1.2;
    const WeaponValues beamBurst{"1", "3", "0.1", "", "30", "BeamLaser", "", "1", ""};
    QTest::newRow("Spring: with beamburst, the burst counts") << beamBurst << int(Engine::Spring) << 90.0;
    const WeaponValues stockpile{"10", "", "", "", "500", "", "", "", "1"};
    QTest::newRow("Spring: a stockpiled weapon reloads in 2 s") << stockpile << int(Engine::Spring) << 250.0;
    const WeaponValues projectiles{"1", "", "", "5", "10", "", "", "", ""};
    QTest::newRow("Spring: projectiles multiply") << projectiles << int(Engine::Spring) << 50.0;
    QTest::newRow("TA3D: projectiles are Spring's") << projectiles << int(Engine::Ta3d) << 10.0;
    const WeaponValues octal{"1", "010", "0", "", "10", "", "", "", ""};
    QTest::newRow("TA3D: a leading 0 makes the burst octal") << octal << int(Engine::Ta3d) << 80.0;
    const WeaponValues fraction{"1", "2.5", "0", "", "10", "", "", "", ""};
    QTest::newRow("TA3D: a fraction in the burst falls back to 1") << fraction << int(Engine::Ta3d) << 10.0;
}

void TestModCheck::firingFigures()
{
    QFETCH(WeaponValues, weapon);
    QFETCH(int, engine);
    QFETCH(double, damagePerSecond);
    const std::optional<double> figure = ::firingFigures(weapon, Engine(engine)).damagePerSecond;
    if (damagePerSecond < 0) {
        QVERIFY(!figure);
        return;
    }
    QVERIFY(figure);
    QVERIFY2(std::abs(*figure - damagePerSecond) < 1e-6, qPrintable(QString::number(*figure)));
}

void TestModCheck::showsWeaponFiguresBesideUnits()
{
    QVERIFY(m_mod->loadNow(Planted));
    ModTable &units = *m_mod->units();
    auto column = [&](const QString &header) {
        for (int candidate = 0; candidate < units.columnCount(); ++candidate) {
            if (units.headerData(candidate, Qt::Horizontal).toString() == header)
                return candidate;
        }
        return -1;
    };
    const int tank = unitRow(units, QStringLiteral("TANK"));
    const int range = column(QStringLiteral("Weapon1 range"));
    const int dps = column(QStringLiteral("Weapon1 DPS"));
    QVERIFY(tank >= 0 && range > 0 && dps > 0);
    QCOMPARE(units.index(tank, range).data().toString(), QStringLiteral("400"));
    QCOMPARE(units.index(tank, column(QStringLiteral("Weapon1 reload"))).data().toString(), QStringLiteral("1.2"));
    QCOMPARE(units.index(tank, column(QStringLiteral("Weapon1 damage"))).data().toString(), QStringLiteral("50"));
    QCOMPARE(units.index(tank, dps).data().toString(), QStringLiteral("125.0"));
    // Every engine's figure in the cell's tooltip, the formula in the header's.
    QVERIFY(units.index(tank, dps).data(Qt::ToolTipRole).toString().contains(QLatin1String("TA3D 93.8")));
    QVERIFY(units.headerData(dps, Qt::Horizontal, Qt::ToolTipRole).toString().contains(QLatin1String("burst")));
    // Weapon3 of TANK names the machine gun defined twice: the later definition's figures.
    QCOMPARE(units.index(tank, column(QStringLiteral("Weapon3 range"))).data().toString(), QStringLiteral("260"));
    // Read only: not editable, not set, not scaled.
    QVERIFY(!(units.flags(units.index(tank, range)) & Qt::ItemIsEditable));
    QVERIFY(!units.setData(units.index(tank, range), QStringLiteral("999")));
    QCOMPARE(units.scaleValues({units.index(tank, range)}, 2).cells, 0);
    QCOMPARE(units.index(tank, range).data().toString(), QStringLiteral("400"));
    // A weapon's change shows beside the unit once the check has run again.
    Document *cannons = m_mod->weapons()->document(2);
    QCOMPARE(cannons->title(), QStringLiteral("Cannons.TDF"));
    QSignalSpy checked(m_mod.get(), &Mod::problemsChanged);
    QCOMPARE(cannons->setValue(rowNamed(*cannons, QStringLiteral("range")), QStringLiteral("450")), QString());
    QVERIFY(checked.wait());
    QCOMPARE(units.index(tank, range).data().toString(), QStringLiteral("450"));
}

void TestModCheck::definitionsAreRows()
{
    QVERIFY(m_mod->loadNow(Planted));
    ModTable &weapons = *m_mod->weapons();
    QStringList names;
    for (int row = 0; row < weapons.unitCount(); ++row)
        names.append(weapons.relativePath(row) + QLatin1Char(' ') + weapons.unitName(row));
    // By file, letter case ignored, then by section in the file.
    QCOMPARE(names, QStringList({"weapons/blasts.tdf BIG_BLAST", "weapons/blasts.tdf big_blast", "weapons/Cannons.TDF TANK_CANNON",
                                 "weapons/Cannons.TDF TANK_MG", "weapons/extra/more.tdf tank_mg"}));
    const int damage = weapons.columnOfKey(u"DAMAGE.Default");
    QVERIFY(damage > 0);
    QCOMPARE(weapons.key(damage), QStringLiteral("DAMAGE.default"));
    QCOMPARE(weapons.index(2, damage).data().toString(), QStringLiteral("50"));
    QCOMPARE(weapons.index(0, damage).data().toString(), QStringLiteral("600"));
    QVERIFY(!weapons.index(1, damage).data(ModTable::HasKeyRole).toBool());
    QCOMPARE(weapons.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Weapon"));
    QCOMPARE(m_mod->features()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Feature"));
}

// One table step over two sections of one file is one step of that file's history, and undoing it
// in the table restores both.
void TestModCheck::editsSectionsOfOneFileAsOneStep()
{
    QVERIFY(m_mod->loadNow(Planted));
    ModTable &weapons = *m_mod->weapons();
    const int range = weapons.columnOfKey(u"range");
    Document *cannons = weapons.document(2);
    QCOMPARE(weapons.document(3), cannons);
    const int steps = cannons->history()->count();
    const ModTable::EditResult result = weapons.scaleValues({weapons.index(2, range), weapons.index(3, range), weapons.index(4, range)}, 2);
    QCOMPARE(result.cells, 3);
    QCOMPARE(result.units, 2);
    QCOMPARE(cannons->history()->count(), steps + 1);
    QCOMPARE(weapons.index(2, range).data().toString(), QStringLiteral("800"));
    QCOMPARE(weapons.index(3, range).data().toString(), QStringLiteral("500"));
    QCOMPARE(weapons.index(4, range).data().toString(), QStringLiteral("520"));
    weapons.history()->undo();
    QCOMPARE(weapons.index(2, range).data().toString(), QStringLiteral("400"));
    QCOMPARE(weapons.index(3, range).data().toString(), QStringLiteral("250"));
    QCOMPARE(weapons.index(4, range).data().toString(), QStringLiteral("260"));
    QVERIFY(!cannons->isModified());
}

void TestModCheck::addsAKeyInsideTheRowsSection()
{
    QVERIFY(m_mod->loadNow(Planted));
    ModTable &weapons = *m_mod->weapons();
    const int blast = 1; // [big_blast], the second section of its file, with no [DAMAGE]
    Document *blasts = weapons.document(blast);
    const int range = weapons.columnOfKey(u"range");
    const ModTable::EditResult added = weapons.setValues({weapons.index(blast, range)}, QStringLiteral("120"));
    QCOMPARE(added.cells, 1);
    QCOMPARE(weapons.index(blast, range).data().toString(), QStringLiteral("120"));
    QVERIFY(!weapons.index(blast - 1, range).data(ModTable::HasKeyRole).toBool());
    const int row = weapons.documentRow(blast, range);
    QCOMPARE(blasts->content().sectionOf(row), qsizetype(weapons.sectionRow(blast)));
    // A nested key the section has no section for is left, and said so.
    const ModTable::EditResult refused = weapons.setValues({weapons.index(blast, weapons.columnOfKey(u"damage.default"))}, QStringLiteral("5"));
    QCOMPARE(refused.cells, 0);
    QCOMPARE(refused.refused.size(), 1);
}

void TestModCheck::scansFolder_data()
{
    // No two names differ only in letter case: on Windows they would be one folder.
    QTest::addColumn<QStringList>("files");     // under the folder
    QTest::addColumn<QStringList>("entries");   // relative path, role and reason
    QTest::newRow("a mod's root, any letter case, sub-folders read")
        << QStringList{"UNITS/a.FBI", "UNITS/deep/b.fbi", "UNITS/c.txt", "WEAPONS/w.Tdf", "Features/x/y/f.tdf",
                       "GameData/Sound.TDF", "GameData/SIDEDATA.tdf", "GameData/moveinfo.tdf", "GameData/other.tdf",
                       "Download/d.tdf", "scripts/a.cob", "loose.fbi"}
        << QStringList{"Download/d.tdf 6", "Features/x/y/f.tdf 2", "GameData/moveinfo.tdf 5", "GameData/SIDEDATA.tdf 4",
                       "GameData/Sound.TDF 3", "UNITS/a.FBI 0", "UNITS/deep/b.fbi 0", "WEAPONS/w.Tdf 1"};
    QTest::newRow("a plain folder of unit files")
        << QStringList{"a.fbi", "sub/B.FBI", "weapons.tdf", "notes.txt"} << QStringList{"a.fbi 0", "sub/B.FBI 0"};
    QTest::newRow("a folder named like a unit file") << QStringList{"units/a.fbi/", "units/b.fbi"}
                                                     << QStringList{"units/a.fbi 0 is a folder", "units/b.fbi 0"};
}

void TestModCheck::scansFolder()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, entries);
    QTemporaryDir dir;
    for (const QString &file : files) {
        if (file.endsWith(QLatin1Char('/')))
            QVERIFY(QDir().mkpath(dir.filePath(file)));
        else
            writeFile(dir.filePath(file), "[UNITINFO]\n{\n}\n");
    }
    const std::atomic_bool cancelled = false;
    const ModFolder folder = ModFolder::scan(dir.path(), cancelled);
    QStringList found;
    for (const ModFolder::Entry &entry : folder.entries())
        found.append(QStringLiteral("%1 %2 %3").arg(entry.relativePath).arg(int(entry.role)).arg(entry.reason).trimmed());
    QCOMPARE(found, entries);
}

void TestModCheck::loadsInTheBackgroundAndStopsWhenCleared()
{
    QSignalSpy loaded(m_mod.get(), &Mod::loaded);
    m_mod->load(Planted);
    m_mod->clear();
    QVERIFY(!m_mod->isLoading());
    QTest::qWait(100);
    QCOMPARE(loaded.count(), 0);
    QCOMPARE(m_mod->units()->unitCount(), 0);

    m_mod->load(Clean);
    QVERIFY(loaded.wait());
    QCOMPARE(m_mod->units()->unitCount(), 2);
    QCOMPARE(m_mod->folder(), Clean);
    QVERIFY(m_mod->problems().isEmpty());
}

void TestModCheck::sharedModsPointAtRealLines_data()
{
    QTest::addColumn<QString>("folder");
    const QDir mods(QStringLiteral(KORVID_MODS_DIR));
    if (!mods.exists())
        QSKIP("The shared mods are not here.");
    for (const QString &mod : mods.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        QTest::newRow(qPrintable(mod)) << mods.filePath(mod);
}

// Every problem the check finds in a real mod names a file that exists and a line that the file has.
void TestModCheck::sharedModsPointAtRealLines()
{
    QFETCH(QString, folder);
    QVERIFY(m_mod->loadNow(folder));
    QVERIFY(m_mod->units()->unitCount() > 0);
    QHash<QString, qsizetype> lines;
    for (const ModProblem &problem : m_mod->problems()) {
        QVERIFY2(isProblemKind(problem.kind), qPrintable(problem.kind));
        if (!lines.contains(problem.path)) {
            QFile file(problem.path);
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(problem.path));
            // Lines end at CR LF, CR or LF; the last may have no end.
            const QByteArray text = file.readAll();
            qsizetype count = 0;
            for (qsizetype at = 0; at < text.size(); ++at) {
                if (text[at] == '\n' || (text[at] == '\r' && (at + 1 == text.size() || text[at + 1] != '\n')))
                    ++count;
            }
            lines.insert(problem.path, count + (text.endsWith('\n') || text.endsWith('\r') ? 0 : 1));
        }
        QVERIFY2(problem.line >= 0 && problem.line <= lines.value(problem.path), qPrintable(lineOf(problem)));
        QVERIFY(!problem.message.isEmpty());
    }
}

QTEST_GUILESS_MAIN(TestModCheck)
#include "tst_modcheck.moc"
