// Prints how fast a whole mod opens: 10,000 unit files and 1,000 weapon files, made here from
// real-looking rows, read into the tables with every reference resolved and checked, beside the bare
// read of the same bytes in the same run; and how fast a document takes and gives back 32,768 rows.
// Run it from a Release build:
//   cmake --build build-release --target korvid_bench_mod && build-release/bench/korvid_bench_mod [folder]
#include "documents/Document.h"
#include "documents/DocumentSet.h"
#include "mod/Mod.h"
#include "mod/ModLoader.h"
#include "mod/ModReplace.h"
#include "Measures.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QUndoStack>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

namespace {
constexpr int Units = 10000;
constexpr int WeaponFiles = 1000;
constexpr int WeaponsPerFile = 5;
constexpr int Runs = 5;

void write(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QByteArray weaponName(int weapon)
{
    static const char *kinds[] = {"LASER", "CANNON", "ROCKET", "MISSILE", "FLAK"};
    return QByteArray(kinds[weapon % 5]) + "_" + QByteArray::number(weapon);
}

// A unit as modders write them: the common keys in the usual order, with values of every form, a
// line comment, weapons and sometimes a nested section.
QByteArray unitText(int unit)
{
    const QByteArray id = "KV" + QByteArray::number(unit);
    const QByteArray side = unit % 2 ? "ARM" : "CORE";
    QByteArray text = "[UNITINFO]\r\n\t{\r\n";
    auto row = [&](const char *name, const QByteArray &value) { text += QByteArray("\t") + name + "=" + value + ";\r\n"; };
    row("UnitName", id);
    row("Version", "1.2");
    row("Side", side);
    row("Objectname", id);
    row("Designation", side + "-" + QByteArray::number(unit));
    row("Name", "Heavy Assault Unit " + QByteArray::number(unit));
    row("Description", "Armoured assault unit, tech level " + QByteArray::number(1 + unit % 3));
    row("FootprintX", QByteArray::number(2 + unit % 2));
    row("FootprintZ", QByteArray::number(2 + unit % 2));
    row("BuildCostEnergy", QByteArray::number(1000 + unit * 37 % 9000));
    row("BuildCostMetal", QByteArray::number(100 + unit * 13 % 900));
    row("MaxDamage", QByteArray::number(500 + unit * 7 % 5000));
    row("MaxWaterDepth", "12");
    row("MaxSlope", "16");
    row("EnergyUse", "3");
    row("BuildTime", QByteArray::number(2000 + unit * 11 % 20000));
    row("WorkerTime", "0");
    row("BMcode", "1");
    row("Builder", "0");
    row("ThreeD", "1");
    row("ZBuffer", "1");
    row("NoAutoFire", "0");
    text += "\tSightDistance=" + QByteArray::number(300 + unit % 200) + ";//" + QByteArray::number(250 + unit % 100) + "\r\n";
    row("RadarDistance", "0");
    row("SoundCategory", side + "_TANK");
    row("EnergyStorage", "0");
    row("MetalStorage", "0");
    row("ExplodeAs", "BIG_UNITEX");
    row("SelfDestructAs", "BIG_UNIT");
    row("Category", side + " TANK LEVEL2 WEAPON NOTAIR NOTSUB NOTSHIP");
    row("TEDClass", "TANK");
    row("Copyright", "Copyright 1997 Humongous Entertainment. All rights reserved.");
    row("UnitNumber", QByteArray::number(unit + 1));
    row("MaxVelocity", "1.2" + QByteArray::number(unit % 10));
    row("BrakeRate", "0.05");
    row("Acceleration", "0.04");
    row("TurnRate", QByteArray::number(300 + unit % 200));
    row("SteeringMode", "1");
    row("ShootMe", "1");
    row("MovementClass", "TANKSH2");
    row("Weapon1", weaponName(unit % (WeaponFiles * WeaponsPerFile)));
    if (unit % 3)
        row("Weapon2", weaponName((unit * 7) % (WeaponFiles * WeaponsPerFile)));
    row("BadTargetCategory", "VTOL");
    row("NoChaseCategory", "VTOL");
    row("DefaultMissionType", "Standby");
    row("maneuverleashlength", "640");
    row("mobilestandorders", "1");
    row("StandingMoveOrder", "1");
    row("StandingFireOrder", "2");
    row("canmove", "1");
    row("canpatrol", "1");
    row("canstop", "1");
    row("canguard", "1");
    row("canattack", "1");
    if (unit % 4 == 0)
        text += "\t[customparams]\r\n\t\t{\r\n\t\tnotes=made for the benchmark;\r\n\t\tcost=" + QByteArray::number(unit) + ";\r\n\t\t}\r\n";
    return text + "\t}\r\n";
}

QByteArray weaponText(int file)
{
    QByteArray text = "// weapons of file " + QByteArray::number(file) + "\r\n";
    for (int weapon = file * WeaponsPerFile; weapon < (file + 1) * WeaponsPerFile; ++weapon) {
        text += "[" + weaponName(weapon) + "]\r\n\t{\r\n";
        auto row = [&](const char *name, const QByteArray &value) { text += QByteArray("\t") + name + "=" + value + ";\r\n"; };
        row("ID", QByteArray::number(weapon % 256));
        row("name", "Weapon " + QByteArray::number(weapon));
        row("rendertype", "4");
        row("ballistic", "1");
        row("turret", "1");
        row("range", QByteArray::number(300 + weapon % 700));
        row("reloadtime", "1." + QByteArray::number(weapon % 10));
        row("weaponvelocity", "300");
        row("areaofeffect", "48");
        row("soundstart", "cannon1");
        row("soundhit", "xplomed2");
        row("startsmoke", "1");
        row("explosiongenerator", "custom:MEDIUM_EXPLOSION");
        if (weapon % 3 == 0) {
            row("burst", "3");
            row("burstrate", "0.2");
        }
        text += "\t[DAMAGE]\r\n\t\t{\r\n\t\tdefault=" + QByteArray::number(50 + weapon % 200) + ";\r\n\t\tsubs=5;\r\n\t\t}\r\n\t}\r\n";
    }
    return text;
}

// The mod's files, and the total bytes of its definition files.
qint64 writeMod(const QString &root)
{
    qint64 bytes = 0;
    for (int unit = 0; unit < Units; ++unit) {
        const QByteArray text = unitText(unit);
        bytes += text.size();
        write(root + QStringLiteral("/units/kv%1.fbi").arg(unit), text);
        write(root + QStringLiteral("/objects3d/KV%1.3do").arg(unit), {});
        write(root + QStringLiteral("/scripts/KV%1.cob").arg(unit), {});
        write(root + QStringLiteral("/unitpics/KV%1.pcx").arg(unit), {});
    }
    for (int file = 0; file < WeaponFiles; ++file) {
        const QByteArray text = weaponText(file);
        bytes += text.size();
        write(root + QStringLiteral("/weapons/weapons%1.tdf").arg(file), text);
    }
    const QByteArray blasts = "[BIG_UNITEX]\r\n{\r\nrange=400;\r\n[DAMAGE]\r\n{\r\ndefault=500;\r\n}\r\n}\r\n"
                              "[BIG_UNIT]\r\n{\r\nrange=600;\r\n[DAMAGE]\r\n{\r\ndefault=1000;\r\n}\r\n}\r\n";
    write(root + QStringLiteral("/weapons/blasts.tdf"), blasts);
    const QByteArray sounds = "[ARM_TANK]\r\n{\r\nselect1=varmsel;\r\n}\r\n[CORE_TANK]\r\n{\r\nselect1=vcorsel;\r\n}\r\n";
    write(root + QStringLiteral("/gamedata/sound.tdf"), sounds);
    const QByteArray classes = "[CLASS0]\r\n{\r\nName=TANKSH2;\r\nFootprintX=2;\r\nFootprintZ=2;\r\n}\r\n";
    write(root + QStringLiteral("/gamedata/moveinfo.tdf"), classes);
    const QByteArray sides = "[SIDE0]\r\n{\r\nname=ARM;\r\ncommander=KV1;\r\n}\r\n[SIDE1]\r\n{\r\nname=CORE;\r\ncommander=KV0;\r\n}\r\n";
    write(root + QStringLiteral("/gamedata/sidedata.tdf"), sides);
    return bytes + blasts.size() + sounds.size() + classes.size() + sides.size();
}

// The files' bytes only, on as many threads as the loader uses.
qint64 bareRead(const QStringList &paths, int threads)
{
    std::atomic_int next = 0;
    std::atomic<qint64> bytes = 0;
    auto work = [&] {
        for (int index = next++; index < paths.size(); index = next++) {
            QFile file(paths[index]);
            if (file.open(QIODevice::ReadOnly))
                bytes += file.readAll().size();
        }
    };
    std::vector<std::thread> helpers;
    for (int helper = 1; helper < threads; ++helper)
        helpers.emplace_back(work);
    work();
    for (std::thread &helper : helpers)
        helper.join();
    return bytes;
}

void report(const char *what, double ms)
{
    std::printf("  %-58s %9.1f ms\n", what, ms);
}

void benchWholeMod(const QString &root)
{
    std::printf("Whole mod: %d unit files, %d weapon files of %d weapons each\n", Units, WeaponFiles, WeaponsPerFile);
    const qint64 textBytes = writeMod(root);
    const std::atomic_bool cancelled = false;
    const ModFolder folder = ModFolder::scan(root, cancelled);
    QStringList paths;
    for (const ModFolder::Entry &entry : folder.entries())
        paths.append(QDir(root).filePath(entry.relativePath));
    const int threads = std::clamp(int(std::thread::hardware_concurrency()), 1, 4);
    std::printf("  %lld definition files, %.1f MB of text, %d threads\n", qlonglong(paths.size()), double(textBytes) / 1e6, threads);

    const double bare = bestMs(Runs, [&] { bareRead(paths, threads); });
    const double bareOne = bestMs(Runs, [&] { bareRead(paths, 1); });
    const double scan = bestMs(Runs, [&] { ModFolder::scan(root, cancelled); });
    const double parse = bestMs(Runs, [&] { ModLoader::readFiles(folder, threads); });

    DocumentSet documents;
    double tables = 1e300;
    double check = 1e300;
    double total = 1e300;
    double totalProcessor = 1e300;
    double checkProcessor = 1e300;
    const double bareProcessor = [&] {
        const double before = processorMs();
        bareRead(paths, threads);
        return processorMs() - before;
    }();
    qint64 heap = 0;
    int problems = -1;
    for (int run = 0; run < Runs; ++run) {
        // The documents of the run before go now, as an event loop would take them.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const qint64 heapBefore = heapInUse();
        Mod mod(documents);
        mod.setAutoRecheck(false);
        QElapsedTimer timer;
        timer.start();
        const double processorBefore = processorMs();
        mod.loadNow(root, threads);
        total = std::min(total, double(timer.nsecsElapsed()) / 1e6);
        totalProcessor = std::min(totalProcessor, processorMs() - processorBefore);
        // The check runs again on the same files: what it adds to the open, and what each re-check costs.
        QElapsedTimer checkTimer;
        checkTimer.start();
        const double checkBefore = processorMs();
        mod.recheck();
        check = std::min(check, double(checkTimer.nsecsElapsed()) / 1e6);
        checkProcessor = std::min(checkProcessor, processorMs() - checkBefore);
        heap = heapInUse() - heapBefore;
        problems = int(mod.problems().size());
    }
    tables = total - check;
    report("bare read of the files' bytes (same threads)", bare);
    report("bare read of the files' bytes (one thread)", bareOne);
    report("search the folder", scan);
    report("read the files into rows (same threads)", parse);
    report("open: search, read, tables, references resolved and checked", total);
    report("  of which the check (names indexed, every rule, figures)", check);
    std::printf("  %-58s %9.2f\n", "open / bare read", total / bare);
    std::printf("  %-58s %9.2f\n", "open without the check / bare read", tables / bare);
    std::printf("  %-58s %8.1f %%\n", "the check's share of the open", 100 * check / total);
    std::printf("  %-58s %8.1f %%\n", "what the check adds to the open without it", 100 * check / tables);
    std::printf("  processor time, all threads: bare read %.1f ms, open %.1f ms (%.2f times), check %.1f ms (adds %.1f %%)\n",
                bareProcessor, totalProcessor, totalProcessor / bareProcessor, checkProcessor,
                100 * checkProcessor / (totalProcessor - checkProcessor));
    if (heap >= 0)
        std::printf("  %-58s %9.2f (%.1f MB for %.1f MB of text)\n", "memory of the open mod / bytes of text", double(heap) / double(textBytes),
                    double(heap) / 1e6, double(textBytes) / 1e6);
    std::printf("  problems found (the mod is clean; expected 0): %d\n", problems);
}

// Replace across the whole mod: every value of the three tables looked at, the changes listed for
// the preview, made as one step over thousands of files, and undone.
void benchReplace(const QString &root)
{
    std::printf("Replace in the whole mod made above\n");
    DocumentSet documents;
    Mod mod(documents);
    mod.setAutoRecheck(false);
    mod.loadNow(root, std::clamp(int(std::thread::hardware_concurrency()), 1, 4));
    const QList<const ModTable *> tables{mod.units(), mod.weapons(), mod.features()};
    struct Case
    {
        const char *what;
        ModReplace::Options options;
    };
    const QList<Case> cases{
        {"a text in any value, any case (\"_tank\")", {QStringLiteral("_tank"), QStringLiteral("_TANKS"), false, false, false}},
        {"a regular expression with a capture", {QStringLiteral("^(ARM|CORE)_TANK$"), QStringLiteral("\\1_HEAVY"), false, true, true}},
    };
    for (const Case &test : cases) {
        const ModReplace replace(test.options);
        qsizetype found = 0;
        const double preview = bestMs(Runs, [&] { found = replace.changes(tables).size(); });
        double apply = 1e300;
        double undo = 1e300;
        for (int run = 0; run < Runs; ++run) {
            const QList<TableChange> changes = replace.changes(tables);
            QElapsedTimer timer;
            timer.start();
            mod.units()->applyChanges(changes, QStringLiteral("Replace"));
            apply = std::min(apply, double(timer.nsecsElapsed()) / 1e6);
            timer.restart();
            mod.history()->undo();
            undo = std::min(undo, double(timer.nsecsElapsed()) / 1e6);
        }
        std::printf("  %s: %lld changes\n", test.what, qlonglong(found));
        report("  look at every value and list the changes", preview);
        report("  make them as one step", apply);
        report("  undo that step", undo);
    }
}

void benchBigEdit()
{
    constexpr int Rows = 32768 - 4;
    std::printf("A document of a few rows, %d rows inserted at once\n", Rows);
    QList<FbiRow> rows;
    rows.reserve(Rows);
    for (int row = 0; row < Rows; ++row)
        rows.append(FbiRow{QStringLiteral("Row%1").arg(row), QString::number(row)});
    double insert = 1e300;
    double undo = 1e300;
    double redo = 1e300;
    for (int run = 0; run < Runs; ++run) {
        Document document(1);
        document.setContent(readFbi("[UNITINFO]\r\n{\r\nA=1;\r\n}\r\n").content);
        QElapsedTimer timer;
        timer.start();
        document.insertRows(1, rows, QStringLiteral("Paste"));
        insert = std::min(insert, double(timer.nsecsElapsed()) / 1e6);
        timer.restart();
        document.history()->undo();
        undo = std::min(undo, double(timer.nsecsElapsed()) / 1e6);
        timer.restart();
        document.history()->redo();
        redo = std::min(redo, double(timer.nsecsElapsed()) / 1e6);
        if (document.rowCount() != Rows + 1)
            std::printf("  the document holds %d rows, not %d: the figures mean nothing\n", document.rowCount(), Rows + 1);
    }
    report("insert", insert);
    report("undo the insert", undo);
    report("redo it", redo);
}
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // A folder given keeps the mod made, to look at or to profile the open with.
    QTemporaryDir dir;
    const QString root = argc > 1 ? QString::fromLocal8Bit(argv[1]) : dir.filePath(QStringLiteral("mod"));
    benchWholeMod(root);
    benchReplace(root);
    benchBigEdit();
    return 0;
}
