// The built program as a modder meets it: its own Xvfb, real input events (xdotool), its own home and
// settings. Places to click are found on screenshots: the lists are the white areas of the window,
// and a row's height is measured from its highlight.
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QScopeGuard>
#include <QTest>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>

namespace {
constexpr int TimeoutMs = 15000;
const std::pair<const char *, const char *> Homes[] = {{"HOME", "home"}, {"XDG_CONFIG_HOME", "config"},
    {"XDG_DATA_HOME", "data"}, {"XDG_CACHE_HOME", "cache"}, {"XDG_RUNTIME_DIR", "runtime"}};
using Files = QMap<QString, QByteArray>;

// Our own unit files (mixed indentation, comments, a nested section), and the tank as the program writes it.
const Files Units{{"tank.fbi", "[UNITINFO]\r\n{\r\n\tUnitName=KVTANK;\r\n    Name=Heavy Tank;\r\n"
                               "\t// armour from the last balance pass\r\n\tMaxDamage=2000; // was 1800\r\n"
                               "\t[SFXTypes]\r\n\t\t{\r\n\t\texplosiongenerator0=custom:kv_dust;\r\n\t\t}\r\n"
                               "\tSide=CORE;\r\n}\r\n"},
                  {"scout.fbi", "[UNITINFO]\n{\n\tUnitName=KVSCOUT;\n\tMaxVelocity=2.5;\n}\n"}};
// The tank as a save keeps it: its own text with only the changed value and the added line.
QByteArray savedTank(const QByteArray &name, const QByteArray &added = {})
{
    QByteArray text = Units.value("tank.fbi");
    text.replace("Name=Heavy Tank;", "Name=" + name + ';');
    if (!added.isEmpty())
        text.replace("\tSide=CORE;\r\n", "\tSide=CORE;\r\n\t" + added + "=Change This;\r\n");
    return text;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<cannot read>");
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool isWhite(QRgb pixel)
{
    return (pixel & 0xffffff) == 0xffffff;
}

// Bounding boxes, from the left, of the large and mostly white areas of a screenshot: list views show
// their rows on white. The picture is a copy: each pixel visited is painted black.
QList<QRect> whiteAreas(QImage image)
{
    QList<QRect> areas;
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (!isWhite(image.pixel(x, y)))
                continue;
            QRect box;
            qsizetype count = 0;
            for (QList<QPoint> stack{{x, y}}; !stack.isEmpty();) {
                const QPoint p = stack.takeLast();
                if (image.rect().contains(p) && isWhite(image.pixel(p))) {
                    image.setPixel(p, 0);
                    box |= QRect(p, QSize(1, 1));
                    ++count;
                    stack << p + QPoint(1, 0) << p - QPoint(1, 0) << p + QPoint(0, 1) << p - QPoint(0, 1);
                }
            }
            if (box.width() >= 60 && box.height() >= 8 && count >= box.width() * box.height() / 2)
                areas.append(box);
        }
    }
    // A list whose rows are set apart in places (a section's header on a shaded band) shows as white
    // areas one above the other, a row or so apart: they are one list.
    QList<QRect> lists;
    for (const QRect &area : std::as_const(areas)) {
        auto same = std::find_if(lists.begin(), lists.end(), [&](const QRect &list) {
            return qAbs(list.left() - area.left()) <= 2 && qAbs(list.right() - area.right()) <= 2
                && area.top() - list.bottom() < 40;
        });
        if (same != lists.end())
            *same |= area;
        else
            lists.append(area);
    }
    lists.removeIf([](const QRect &list) { return list.height() < 60; });
    return lists;
}
}

#define DO(step) QVERIFY2(step, qPrintable(m_error))

class TestEndToEnd : public QObject
{
    Q_OBJECT

    QString m_error;
    QProcess m_xvfb, m_program;
    Display *m_x = nullptr;
    std::optional<QTemporaryDir> m_dir;
    QString m_main;
    QImage m_shot;
    QRect m_vars, m_vals, m_known; // the lists on the screen
    int m_rowHeight = 0;

    QString path(const QString &name) const { return m_dir->filePath(name); }
    QString unit(const QString &name) const { return path("units/" + name); }
    // A point on a row's text, or clear of it where a selected row shows its highlight.
    QPoint at(const QRect &list, int row, bool onText = true) const
    {
        return {onText ? list.left() + 20 : list.right() - 3, list.top() + row * m_rowHeight + m_rowHeight / 2};
    }

    // Each step returns false on an error or a time-out and leaves the reason in m_error.
    bool fail(const QString &why)
    {
        m_error = why;
        return false;
    }

    bool poll(const std::function<bool()> &condition, const QString &what)
    {
        bool met = false;
        for (QDeadlineTimer deadline(TimeoutMs); !(met = condition()) && !deadline.hasExpired();)
            QTest::qSleep(100);
        return met || fail(what);
    }

    bool run(const QString &program, const QStringList &arguments, QByteArray *output = nullptr)
    {
        QProcess process; // on a time-out its destructor kills the program
        process.start(program, arguments);
        const bool finished = process.waitForFinished(TimeoutMs);
        if (output)
            *output = process.readAllStandardOutput();
        return (finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
            || fail(program + ' ' + arguments.join(' ') + (finished ? ": " : ": timed out ")
                    + process.readAllStandardError());
    }

    bool press(const QString &window, const QStringList &keys)
    {
        return run("xdotool", QStringList{"windowfocus", "--sync", window, "key", "--delay", "40"} + keys);
    }
    bool click(QPoint point, int count = 1)
    {
        return run("xdotool", {"mousemove", QString::number(point.x()), QString::number(point.y()), "click",
                               "--repeat", QString::number(count), "--delay", "60", "1"});
    }

    // The ids of the shown windows with this title ('.' matches any character).
    QStringList windows(const QString &title)
    {
        QByteArray found;
        run("xdotool", {"search", "--onlyvisible", "--name", '^' + title + '$'}, &found);
        return QString::fromLatin1(found).split('\n', Qt::SkipEmptyParts);
    }
    QString waitForWindow(const QString &title)
    {
        QStringList found;
        return poll([&] { return !(found = windows(title)).isEmpty(); }, "no " + title) ? found.first() : QString();
    }
    // Waits for a dialog, types over its focused field's text (xdotool's type takes the rest of its command
    // line), presses the keys and waits until the dialog has gone.
    bool dialog(const QString &title, const QString &text, const QStringList &keys)
    {
        const QString id = waitForWindow(title);
        return !id.isEmpty() && (text.isEmpty() || press(id, {"ctrl+a", "type", text})) && press(id, keys)
            && poll([&] { return !windows(title).contains(id); }, title + " stayed");
    }

    QImage screenshot()
    {
        XImage *image = XGetImage(m_x, DefaultRootWindow(m_x), 0, 0, DisplayWidth(m_x, 0), DisplayHeight(m_x, 0),
                                  AllPlanes, ZPixmap);
        if (!image)
            return {};
        const QImage shot = QImage(reinterpret_cast<const uchar *>(image->data), image->width, image->height,
                                   image->bytes_per_line, QImage::Format_RGB32).copy();
        XDestroyImage(image);
        return shot;
    }
    bool waitForScreen(const std::function<bool(const QImage &)> &condition, const QString &what)
    {
        return poll([&] { return condition(m_shot = screenshot()); }, what);
    }
    // Waits until the screen has stayed the same for a second: a window opened or a folder read in
    // the background has drawn itself and taken the keyboard (a caret blinking where the keys would
    // go keeps it waiting), however slow the machine.
    bool settle(const QString &what)
    {
        QImage last = screenshot();
        QElapsedTimer still;
        still.start();
        for (QDeadlineTimer deadline(TimeoutMs); !deadline.hasExpired();) {
            QTest::qSleep(100);
            const QImage shot = screenshot();
            if (shot != last) {
                last = shot;
                still.restart();
            } else if (still.elapsed() >= 1000) {
                return true;
            }
        }
        return fail(what);
    }

    // Finds the lists (from the left, the document's two and the known variables') and clicks the first
    // known variable: the height of its highlight is that of every row.
    bool attach()
    {
        QList<QRect> areas;
        m_main = waitForWindow("Korvid Version 4.00");
        if (m_main.isEmpty()
            || !waitForScreen([&](const QImage &shot) { return (areas = whiteAreas(shot)).size() == 3; },
                              "the program's three lists never showed"))
            return false;
        m_vars = areas[0], m_vals = areas[1], m_known = areas[2];
        const QPoint first(m_known.right() - 3, m_known.top() + 3);
        if (!click({m_known.left() + 20, first.y()})
            || !waitForScreen([&](const QImage &shot) { return !isWhite(shot.pixel(first)); }, "no known variable"))
            return false;
        int y = first.y();
        while (y < m_known.bottom() && !isWhite(m_shot.pixel(first.x(), y)))
            ++y;
        m_rowHeight = y - m_known.top();
        if (m_rowHeight < 8 || m_rowHeight > 60)
            return fail(QString("rows %1 pixels high").arg(m_rowHeight));
        // A document window opens on its first row, selected: its lists start above their white, where
        // the highlight (blue, active or not) ends.
        const auto highlighted = [](QRgb pixel) { return qBlue(pixel) > qRed(pixel) + 40; };
        for (QRect *list : {&m_vars, &m_vals}) {
            int top = list->top();
            while (top > 0 && highlighted(m_shot.pixel(list->right() - 3, top - 1)))
                --top;
            list->setTop(top);
        }
        return true;
    }

    // A step of a scenario: an action, then a row, a file or the answers to the save questions.
    bool perform(const QString &step)
    {
        const QString action = step.section(' ', 0, 0), argument = step.section(' ', 1, 1);
        const int row = argument.toInt();
        const QImage before = screenshot();
        const auto changed = [&](const QRect &area) {
            return [&before, area](const QImage &shot) { return shot.copy(area) != before.copy(area); };
        };
        if (action == "select") { // both lists select the row, and the help text below the panel changes
            const QRect help(m_known.left(), m_known.bottom() + 150, m_known.width(), 100);
            return click(at(m_vars, row)) && waitForScreen([&](const QImage &shot) {
                return !isWhite(shot.pixel(at(m_vars, row, false))) && !isWhite(shot.pixel(at(m_vals, row, false)))
                    && changed(help)(shot);
            }, "clicking a name did not select its row in both lists and show its help");
        }
        if (action == "edit") // the new value is the rest of the step; Tab goes to OK
            return click(at(m_vars, row), 2)
                && dialog("Change the Value of...", step.section(' ', 2), {"Tab", "space"});
        if (action == "add") {
            // A second click on a picked variable would be a double-click. The panel is laid out in twips,
            // 15 to a pixel: the Add Variable button is 25 pixels high, 18 below the list.
            const auto picked = [&](const QImage &shot) { return !isWhite(shot.pixel(at(m_known, row, false))); };
            return (picked(before) || (click(at(m_known, row)) && waitForScreen(picked, "no variable picked")))
                && click({m_known.center().x(), m_known.bottom() + 31})
                && waitForScreen(changed(m_vals), "Add Variable added no row");
        }
        if (action == "press") // keys where the keyboard is, each the next word of the step
            return press(m_main, step.section(' ', 1).split(' '));
        if (action == "value") // the value editor, opened by a key: the new value is the rest; Enter is OK
            return dialog("Change the Value of...", step.section(' ', 1), {"Return"});
        if (action == "find") // Find, from the keyboard
            return press(m_main, {"ctrl+f"}) && dialog("Find", argument, {"Return"});
        if (action == "key") // a key of the Edit menu whose effect shows in the lists
            return press(m_main, {argument}) && waitForScreen(changed(m_vals), argument + " changed nothing");
        if (action == "copy") { // nothing shows; the clipboard is read by the next paste
            const bool pressed = press(m_main, {"ctrl+c"});
            QTest::qSleep(300);
            return pressed;
        }
        if (action == "save")
            return press(m_main, {"ctrl+s"})
                && poll([&] { return readAll(unit(argument)) != Units.value(argument); }, "Ctrl+S saved nothing");
        if (action == "open") // the new document's window covers the old one, a title bar lower
            return press(m_main, {"ctrl+o"}) && dialog("Open...", unit(argument), {"Return"})
                && waitForScreen(changed(m_vars), argument + " did not show") && settle(argument + " kept changing");
        if (action == "close" && !press(m_main, {"alt+f", "c"}))
            return false;
        if (action == "quit") { // the main window's close box, as a window manager sends it
            XEvent event{.xclient = {ClientMessage, 0, False, m_x, Window(m_main.toULong()),
                                     XInternAtom(m_x, "WM_PROTOCOLS", False), 32, {}}};
            event.xclient.data.l[0] = long(XInternAtom(m_x, "WM_DELETE_WINDOW", False));
            XSendEvent(m_x, event.xclient.window, False, NoEventMask, &event);
            XFlush(m_x);
        } else if (action != "close") {
            return fail("no such step");
        }
        // The save questions, one after the other: y is Yes, the default button (Enter); n is No (Alt+N).
        for (const QChar answer : argument) {
            if (!dialog("Save before Closing", {}, {answer == 'y' ? "Return" : "alt+n"}))
                return false;
        }
        if (action == "close") // only the known variables' list is left
            return waitForScreen([](const QImage &shot) { return whiteAreas(shot).size() == 1; }, "it stayed open");
        return (m_program.waitForFinished(TimeoutMs) && m_program.exitStatus() == QProcess::NormalExit
                && m_program.exitCode() == 0)
            || fail(QString("the program did not end cleanly (%1)").arg(m_program.exitCode()));
    }

private slots:
    void initTestCase()
    {
        // Xvfb (scripts/setup.sh installs it) picks a free display and writes its number once it takes connections.
        m_xvfb.start("Xvfb", {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
        const QByteArray number = m_xvfb.waitForReadyRead(TimeoutMs) ? m_xvfb.readLine().trimmed() : QByteArray();
        if (number.isEmpty())
            QSKIP(qPrintable("No X server can be started here: Xvfb: " + m_xvfb.errorString() + ' '
                             + m_xvfb.readAllStandardError()));
        QVERIFY2(QFileInfo(KORVID_PROGRAM).isExecutable(), KORVID_PROGRAM " is not built");
        QVERIFY2(!QStandardPaths::findExecutable("xdotool").isEmpty(), "xdotool is not installed");
        // The programs started from here inherit the display, the X platform and no session of ours.
        qputenv("DISPLAY", ':' + number);
        qputenv("QT_QPA_PLATFORM", "xcb");
        qunsetenv("SESSION_MANAGER");
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
        m_program.setProcessChannelMode(QProcess::ForwardedChannels);
        QVERIFY2((m_x = XOpenDisplay(nullptr)), "cannot connect to the X server that was just started");
    }

    void cleanupTestCase()
    {
        if (m_x)
            XCloseDisplay(m_x);
        m_xvfb.terminate();
        m_xvfb.waitForFinished(5000); // if it still runs, the destructor kills it
    }

    // A home of its own for each case, inherited by the program: a returning user's settings, our variables.
    void init()
    {
        m_dir.emplace();
        for (const auto &[variable, folder] : Homes) {
            QVERIFY(QDir().mkpath(path(folder)));
            qputenv(variable, QFile::encodeName(path(folder)));
        }
        QFile::setPermissions(path("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(QDir().mkpath(path("config/Korvid4")) && QDir().mkpath(path("units")));
        m_program.setWorkingDirectory(path("units"));
        for (const auto &[name, bytes] : Units.asKeyValueRange())
            QVERIFY(writeAll(unit(name), bytes));
        QVERIFY(writeAll(path("Variables.dat"), "Acceleration\r\nBrakeRate\r\nBuildTime\r\nName\r\n"));
        QVERIFY(writeAll(path("config/Korvid4/Korvid4.conf"), "[Options]\nFirstRun=1\nVariableDir="
                             + QFile::encodeName(path("Variables.dat")) + "\nProjectDir="
                             + QFile::encodeName(path("units")) + "\nAssociated=\n"));
    }

    void cleanup()
    {
        const char *name = QTest::currentDataTag() ? QTest::currentDataTag() : QTest::currentTestFunction();
        const QString shot = QDir::temp().filePath(QString("korvid-e2e-%1.png").arg(name));
        if (QTest::currentTestFailed() && m_x && screenshot().save(shot))
            qWarning("The screen when it failed: %s", qPrintable(shot));
        m_program.kill();
        m_program.waitForFinished(5000);
        m_dir.reset();
    }

    // Each case starts the program with tank.fbi on the command line; the files on disk then are the ones
    // expected, or else as written.
    void scenarios_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<Files>("expected");
        QTest::newRow("edit-add-save-close")
            << QStringList{"select 1", "edit 1 Heavy Assault Tank", "add 2", "save tank.fbi", "close", "quit"}
            << Files{{"tank.fbi", savedTank("Heavy Assault Tank", "ai_limit")}};
        QTest::newRow("close-without-saving") << QStringList{"edit 0 KVTANK2", "close n", "quit"} << Files{};
        QTest::newRow("quit-saving-two")
            << QStringList{"add 0", "open scout.fbi", "add 1", "quit yy"}
            << Files{{"tank.fbi", savedTank("Heavy Tank", "Acceleration")},
                     {"scout.fbi", "[UNITINFO]\n{\n\tUnitName=KVSCOUT;\n\tMaxVelocity=2.5;\n\tActivateWhenBuilt=Change This;\n}\n"}};
        // Undo and redo from the keyboard, then a row copied from one window into another, where it goes
        // after the row the window opened on.
        // The keyboard alone. A window opens with the names list on its first row. The keyboard starts
        // on the known variables (attach() clicked one): Shift+Tab goes to the values list, then to the
        // names. After Find, Shift and the arrows extend from the row found, though the values list
        // was last on another row. Tab runs from the lists to the known variables and Add Variable.
        QTest::newRow("keys-from-the-first-row")
            << QStringList{"open scout.fbi", "press Down Return", "value 3.5", "save scout.fbi", "quit"}
            << Files{{"scout.fbi", QByteArray(Units.value("scout.fbi")).replace("MaxVelocity=2.5;", "MaxVelocity=3.5;")}};
        QTest::newRow("find-then-shift-extends")
            << QStringList{"press shift+Tab End", "find unitname", "press shift+Down Delete", "save tank.fbi", "quit"}
            << Files{{"tank.fbi", QByteArray(Units.value("tank.fbi")).replace("\tUnitName=KVTANK;\r\n    Name=Heavy Tank;\r\n", "")}};
        QTest::newRow("tab-round-to-add")
            << QStringList{"press shift+Tab shift+Tab Tab Tab Home Tab space", "save tank.fbi", "quit"}
            << Files{{"tank.fbi", savedTank("Heavy Tank", "Acceleration")}};
        QTest::newRow("undo-redo-copy-paste")
            << QStringList{"edit 1 Light Tank", "key ctrl+z", "key ctrl+y", "copy", "open scout.fbi", "key ctrl+v",
                           "save scout.fbi", "quit y"}
            << Files{{"tank.fbi", savedTank("Light Tank")},
                     {"scout.fbi", "[UNITINFO]\n{\n\tUnitName=KVSCOUT;\n\tName=Light Tank;\n\tMaxVelocity=2.5;\n}\n"}};
    }

    void scenarios()
    {
        QFETCH(QStringList, steps);
        QFETCH(Files, expected);
        m_program.start(KORVID_PROGRAM, {unit("tank.fbi")});
        DO(attach());
        for (const QString &step : steps)
            QVERIFY2(perform(step), qPrintable(step + ": " + m_error));
        for (const auto &[name, bytes] : Units.asKeyValueRange())
            QCOMPARE(readAll(unit(name)), expected.value(name, bytes));
    }

    // A save on a disk with no room left says so, and the file on the disk stays as it was.
    void saveOnAFullDisk()
    {
        const QString full = path("full");
        QVERIFY(QDir().mkpath(full));
        if (!run("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", full}))
            QSKIP(qPrintable("A small file system cannot be mounted here: " + m_error));
        const auto unmount = qScopeGuard([&] { run("umount", {full}); });
        const QString tank = full + "/tank.fbi";
        QVERIFY(writeAll(tank, Units.value("tank.fbi")));
        QFile filler(full + "/filler");
        QVERIFY(filler.open(QIODevice::WriteOnly));
        while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush()) {
        }
        filler.close();
        m_program.start(KORVID_PROGRAM, {tank});
        DO(attach() && perform("edit 1 Heavy Assault Tank") && press(m_main, {"ctrl+s"})
           && dialog("Error Saving File", {}, {"Return"}));
        QCOMPARE(readAll(tank), Units.value("tank.fbi"));
        DO(perform("quit n"));
    }

    // A mod folder as one table: a cell changed from the keyboard and written by Save All, which
    // changes that one line of the unit's file.
    void modFolderAsATable()
    {
        const QByteArray unit = "[UNITINFO]\r\n{\r\n\tUnitName=KVWALL;\r\n\t// a note\r\n\tMaxDamage=2000; // was 1800\r\n}\r\n";
        QVERIFY(QDir().mkpath(path("mod/walls")));
        QVERIFY(writeAll(path("mod/walls/wall.FBI"), unit));
        m_program.start(KORVID_PROGRAM);
        DO(attach() && press(m_main, {"ctrl+shift+o"}) && dialog("Open Folder...", path("mod"), {"Return", "Return"}));
        // The table takes the keyboard: the first cell, the last column, a new value, Save All.
        const QString table = waitForWindow("Korvid Version 4.00");
        DO(settle("the table kept changing"));
        DO(press(table, {"Down", "End", "F2", "ctrl+a", "type", "2500"}) && press(table, {"Return", "ctrl+shift+s"})
           && dialog("Save All", {}, {"Return"})
           && poll([&] { return readAll(path("mod/walls/wall.FBI")) != unit; }, "Save All wrote nothing"));
        QByteArray expected = unit;
        expected.replace("MaxDamage=2000;", "MaxDamage=2500;");
        QCOMPARE(readAll(path("mod/walls/wall.FBI")), expected);
        DO(perform("quit"));
    }

    // Installed to a prefix and started through its link on a first start, the program finds its data
    // beside the real executable: the known variables are listed, and the settings point there.
    void installedProgramFindsItsData()
    {
        const QString prefix = path("prefix");
        DO(run(KORVID_CMAKE, {"--install", KORVID_BUILD_DIR, "--prefix", prefix}));
        std::error_code error;
        const auto link = std::filesystem::read_symlink(QFile::encodeName(prefix + "/bin/korvid4").constData(), error);
        QCOMPARE(QString::fromStdString(link), QString("../lib/korvid4/korvid4"));
        QStringList files{"lib/korvid4/korvid4", "lib/korvid4/Variables.dat", "lib/korvid4/Korvid.ico",
                          "share/applications/korvid4.desktop", "share/mime/packages/korvid4.xml"};
        for (const char *size : {"16x16", "32x32", "48x48", "256x256"})
            files << QString("share/icons/hicolor/%1/apps/korvid4.png").arg(size);
        for (const QString &file : files)
            QVERIFY2(QFileInfo(prefix + '/' + file).isFile(), qPrintable(file));
        DO(run("desktop-file-validate", {prefix + "/share/applications/korvid4.desktop"}));

        QVERIFY(QFile::remove(path("config/Korvid4/Korvid4.conf")));
        m_program.start(prefix + "/bin/korvid4");
        DO(dialog("Welcome to Korvid!", {}, {"alt+n"}) && attach() && perform("quit"));
        const QSettings settings(path("config/Korvid4/Korvid4.conf"), QSettings::IniFormat);
        const QString lib = QFileInfo(prefix + "/lib/korvid4").canonicalFilePath();
        QCOMPARE(settings.value("Options/VariableDir").toString(), lib + "/Variables.dat");
        QCOMPARE(settings.value("Options/ProjectDir").toString(), lib);
    }
};

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
