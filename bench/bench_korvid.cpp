// Prints how fast the editor reads, writes, opens and starts. Run it from a Release build:
//   cmake --build build --target korvid_bench && QT_QPA_PLATFORM=offscreen build/bench/korvid_bench
#include "app/Application.h"
#include "docwindow/DocumentWindow.h"
#include "documents/Document.h"
#include "documents/FbiReader.h"
#include "documents/FbiWriter.h"
#include "mod/ModTable.h"
#include "mod/ModTableSortFilter.h"
#include "modwindow/FrozenColumnTableView.h"
#include "mainwindow/MainWindow.h"
#include "modwindow/ModTableWindow.h"
#include "mainwindow/VariablePanel.h"
#include "settings/Settings.h"
#include "Measures.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QListView>
#include <QListWidget>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include <unistd.h>

namespace {
constexpr char ReadOnceOption[] = "--read-once";

class MemoryStore final : public Settings::Store
{
public:
    QHash<QString, QString> values;
    QString read(const QString &key) override { return values.value(key); }
    bool write(const QString &key, const QString &value) override
    {
        values.insert(key, value);
        return true;
    }
    QString location() const override { return QStringLiteral("memory"); }
};

// Waits until each widget has been painted at least once: a window counts as shown once it is on
// the screen with its lists drawn, not when show() returns.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(const QList<QWidget *> &widgets)
    {
        for (QWidget *widget : widgets) {
            widget->installEventFilter(this);
            m_waiting.append(widget);
        }
    }

    bool wait()
    {
        QElapsedTimer timer;
        timer.start();
        while (!m_waiting.isEmpty() && timer.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return m_waiting.isEmpty();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            m_waiting.removeAll(watched);
            watched->removeEventFilter(this);
        }
        return false;
    }

private:
    QList<QPointer<QObject>> m_waiting;
};

bool painted = true;

void report(const char *what, double ms, qsizetype bytes = 0)
{
    if (bytes > 0)
        std::printf("%-52s %9.3f ms  %8.0f MB/s\n", what, ms, double(bytes) / 1e6 / (ms / 1e3));
    else
        std::printf("%-52s %9.3f ms\n", what, ms);
}

QByteArray largeUnit()
{
    QByteArray text("[UNITINFO]\r\n{\r\n");
    for (int row = 0; row < 32767 - 3; ++row)
        text += "\tBuildCostEnergy" + QByteArray::number(row) + "=" + QByteArray::number(row * 7 % 10000) + ";\r\n";
    return text + "}\r\n";
}

QByteArray typicalUnit()
{
    QByteArray text("[UNITINFO]\r\n{\r\n");
    const char *rows[] = {"UnitName=KVTANK", "Version=1.2", "Side=CORE", "Name=Heavy Tank",
                          "Description=Armoured assault tank", "FootprintX=3", "FootprintZ=3",
                          "BuildCostEnergy=3620", "BuildCostMetal=240", "MaxDamage=2000", "MaxWaterDepth=12",
                          "MaxSlope=16", "MaxVelocity=1.3", "BrakeRate=0.05", "Acceleration=0.04", "TurnRate=380",
                          "SightDistance=300", "Category=CORE TANK LEVEL2 WEAPON NOTAIR NOTSUB", "Weapon1=KV_CANNON"};
    while (text.size() < 2000) {
        for (const char *row : rows)
            text += QByteArray("\t") + row + ";\r\n";
    }
    return text + "}\r\n";
}

// Counts the system calls of one read of path by running this program again under strace, in a
// mode that reads the file between two getppid() calls, which mark the read in the trace.
QString systemCallsOfRead(const QString &path)
{
    const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
    if (strace.isEmpty())
        return QStringLiteral("not counted: strace is not installed");
    QTemporaryDir dir;
    const QString trace = dir.filePath(QStringLiteral("trace"));
    QProcess child;
    child.start(strace, {"-f", "-qq", "-o", trace, QCoreApplication::applicationFilePath(), QString::fromLatin1(ReadOnceOption), path});
    if (!child.waitForFinished(30000) || child.exitCode() != 0)
        return QStringLiteral("not counted: strace could not trace the read");
    QFile file(trace);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("not counted: no trace");
    QStringList calls;
    bool inside = false;
    for (const QByteArray &line : file.readAll().split('\n')) {
        if (line.contains("getppid(")) {
            if (inside)
                return QStringLiteral("%1 (%2), counted with strace").arg(calls.size()).arg(calls.join(QStringLiteral(", ")));
            inside = true;
        } else if (inside) {
            calls.append(QString::fromLatin1(line.mid(line.indexOf(' ') + 1).split('(').constFirst()));
        }
    }
    return QStringLiteral("not counted: no marks in the trace");
}

void benchFormat(const char *name, const QByteArray &bytes, const QString &path, int runs)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    file.close();
    const qint64 heapBefore = heapInUse();
    const FbiContent content = readFbiFile(path).content;
    const qint64 heapAfter = heapInUse();
    std::printf("%s: %lld bytes, %lld rows\n", name, qlonglong(bytes.size()), qlonglong(content.rowCount()));
    report("  read (file to rows)", bestMs(runs, [&] { readFbiFile(path); }), bytes.size());
    std::printf("  memory held by the content: %lld bytes, %.2f times the file (its own count)",
                qlonglong(content.memoryUsage()), double(content.memoryUsage()) / double(bytes.size()));
    if (heapBefore >= 0)
        std::printf("; %lld bytes by malloc", qlonglong(heapAfter - heapBefore));
    std::printf("\n  system calls of one read: %s\n", qPrintable(systemCallsOfRead(path)));
    const qsizetype written = writeFbi(content).text.size();
    report("  write, standard layout (rows to text)", bestMs(runs, [&] { writeFbi(content); }), written);
    // Unchanged, the kept layout is the file's own bytes, shared: one changed value makes it work.
    FbiContent changed = content;
    changed.setValue(content.rowCount() / 2, QStringLiteral("12345"));
    const qsizetype kept = writeFbi(changed, FbiLayout::Kept).text.size();
    report("  write, kept layout, one value changed", bestMs(runs, [&] { writeFbi(changed, FbiLayout::Kept); }), kept);
    report("  save, kept layout (rows to file, replaced whole)",
           bestMs(runs, [&] { writeFbiFile(path, changed, FbiLayout::Kept); }), kept);
}

// A mod of 1,000 unit files of 40 rows: the keys every unit sets, and some that only a few set.
QStringList writeMod(const QString &folder)
{
    static const char *common[] = {"Version", "Side", "Objectname", "Designation", "Name", "Description",
                                   "FootprintX", "FootprintZ", "BuildCostEnergy", "BuildCostMetal", "BuildTime",
                                   "MaxDamage", "MaxWaterDepth", "MaxSlope", "EnergyUse", "WorkerTime",
                                   "BMcode", "Builder", "ThreeD", "ZBuffer", "NoAutoFire", "SightDistance",
                                   "RadarDistance", "SoundCategory", "EnergyStorage", "MetalStorage",
                                   "ExplodeAs", "SelfDestructAs", "Category", "TEDClass"};
    QStringList paths;
    for (int unit = 0; unit < 1000; ++unit) {
        const QString subfolder = QStringLiteral("units%1").arg(unit % 4);
        QDir(folder).mkpath(subfolder);
        QByteArray text("[UNITINFO]\r\n\t{\r\n\tUnitName=UNIT" + QByteArray::number(unit) + ";\r\n");
        for (const char *key : common)
            text += QByteArray("\t") + key + "=" + QByteArray::number((unit * 37 + qstrlen(key) * 101) % 9000) + ";\r\n";
        for (int extra = 0; extra < 9; ++extra)
            text += "\tExtraKey" + QByteArray::number((unit * 7 + extra * 13) % 120) + "=" + QByteArray::number(extra) + ".5;\r\n";
        text += "\t}\r\n";
        const QString path = QDir(folder).filePath(subfolder + QStringLiteral("/unit%1.%2").arg(unit).arg(unit % 2 ? "FBI" : "fbi"));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(text);
        paths.append(path);
    }
    return paths;
}

void benchModTable(MainWindow &main, const QString &folder)
{
    const QStringList paths = writeMod(folder);
    std::printf("Mod table: 1,000 unit files of 40 rows\n");
    qint64 bytes = 0;
    const double readOnly = bestMs(10, [&] {
        bytes = 0;
        for (const QString &path : paths) {
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            bytes += file.readAll().size();
        }
    });
    report("  read the files' bytes only", readOnly, bytes);

    std::vector<double> opens;
    qint64 heap = 0;
    for (int run = 0; run < 10; ++run) {
        const qint64 heapBefore = heapInUse();
        ModTableWindow *window = nullptr;
        opens.push_back(bestMs(1, [&] {
            window = main.openFolder(folder);
            // Painted counts once the units are in: the empty table is drawn before.
            std::unique_ptr<PaintWatch> watch;
            QObject::connect(window->table(), &ModTable::loaded, window, [&] {
                watch = std::make_unique<PaintWatch>(
                    QList<QWidget *>{window->tableView()->viewport(), window->tableView()->frozenView()->viewport()});
            });
            QElapsedTimer timer;
            timer.start();
            while (!watch && timer.elapsed() < 10000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            painted = watch && watch->wait() && window->table()->unitCount() == 1000 && painted;
        }));
        heap = heapBefore < 0 ? -1 : heapInUse() - heapBefore;
        if (run < 9) {
            window->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    const double open = *std::min_element(opens.begin(), opens.end());
    report("  first open of the folder into a table, painted", opens.front());
    report("  open the folder into a table, painted", open);
    std::printf("  %-50s %9.2f\n", "open / read bytes only", open / readOnly);
    if (heap >= 0)
        std::printf("  %-50s %9.2f MB (%.1f KB per unit)\n", "memory of the open table of 1,000 units", double(heap) / 1e6, double(heap) / 1e3 / 1000);

    ModTableWindow *window = main.activeTable();
    const int column = [&] {
        for (int candidate = 1; candidate < window->table()->columnCount(); ++candidate) {
            if (window->table()->key(candidate) == QLatin1String("BuildCostEnergy"))
                return candidate;
        }
        return 1;
    }();
    Qt::SortOrder order = Qt::AscendingOrder;
    report("  sort the table by a numeric column", bestMs(20, [&] {
        order = order == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
        window->tableView()->sortByColumn(column, order);
    }));
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
}

int main(int argc, char *argv[])
{
    // The read that systemCallsOfRead traces: once to warm up, then once between the marks.
    if (argc == 3 && QByteArrayView(argv[1]) == ReadOnceOption) {
        const QString path = QString::fromLocal8Bit(argv[2]);
        readFbiFile(path);
#ifdef Q_OS_UNIX
        getppid();
#endif
        const FbiReadResult read = readFbiFile(path);
#ifdef Q_OS_UNIX
        getppid();
#endif
        return read.error == FbiReadResult::Error::None ? 0 : 1;
    }
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString large = dir.filePath(QStringLiteral("large.fbi"));
    const QString typical = dir.filePath(QStringLiteral("typical.fbi"));
    const QString variables = dir.filePath(QStringLiteral("Variables.dat"));
    QFile known(variables);
    known.open(QIODevice::WriteOnly);
    known.write("Acceleration\r\nBuildTime\r\nName\r\n");
    known.close();

    benchFormat("Unit file of 32,767 rows", largeUnit(), large, 30);
    benchFormat("Typical unit file", typicalUnit(), typical, 2000);

    MemoryStore settings;
    settings.values = {{Settings::FirstRun, QStringLiteral("1")}, {Settings::VariableDir, variables}};
    std::unique_ptr<Application> application;

    // Start-up shows the main window; it is shown for the user once it, its document's lists and
    // the known-variable list have been painted.
    auto startUp = [&] {
        application = std::make_unique<Application>(Application::Platform{nullptr, &settings, nullptr});
        application->start({QStringLiteral("korvid4")});
        MainWindow *main = application->mainWindow();
        PaintWatch watch({main, main->activeDocumentWindow()->lstVars()->viewport(),
                          main->variablePanel()->lstAdd()->viewport()});
        painted = watch.wait() && painted;
    };
    auto shutDown = [&] {
        application.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };

    std::printf("Windows (offscreen)\n");
    std::vector<double> starts;
    for (int run = 0; run < 10; ++run) {
        starts.push_back(bestMs(1, startUp));
        shutDown();
    }
    // The first start in a process also pays for the fonts, the style and the platform's set-up.
    report("  first start-up until the main window is shown", starts.front());
    report("  start-up until the main window is shown", *std::min_element(starts.begin(), starts.end()));

    startUp();
    std::vector<double> opens;
    for (int run = 0; run < 10; ++run) {
        opens.push_back(bestMs(1, [&] {
            application->documents().open(large);
            DocumentWindow *window = application->mainWindow()->activeDocumentWindow();
            PaintWatch watch({window->lstVars()->viewport(), window->lstVals()->viewport()});
            painted = watch.wait() && window->lstVars()->model()->rowCount() == 32767 - 3 && painted;
        }));
        application->mainWindow()->activeDocumentWindow()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    report("  open the 32,767-row file into a window", *std::min_element(opens.begin(), opens.end()));
    benchModTable(*application->mainWindow(), dir.filePath(QStringLiteral("mod")));
    shutDown();
    if (!painted) {
        std::printf("A window was not painted, or the file not read whole: the figures above mean nothing.\n");
        return 1;
    }
    return 0;
}
