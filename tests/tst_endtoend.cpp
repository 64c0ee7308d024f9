// The built program as a modder meets it: a real X server (Xvfb), real mouse and key events
// (xdotool), a home folder and settings of its own. The places to click are found on screenshots:
// the lists are the white areas of the window, and a row's height is measured from its highlight.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <X11/Xlib.h>

#include <functional>
#include <optional>

#include <unistd.h>

namespace {
const QString Program = QStringLiteral(KORVID_PROGRAM);
const QString MainTitle = QStringLiteral("Korvid Version 4.00");
const QString EditorTitle = QStringLiteral("Change the Value of...");
const QString SavePromptTitle = QStringLiteral("Save before Closing");
const QString OpenTitle = QStringLiteral("Open...");
const QString WelcomeTitle = QStringLiteral("Welcome to Korvid!");
constexpr int StepTimeoutMs = 15000;

// Our own unit files: mixed indentation, a comment, a trailing comment, a nested section.
const QByteArray TankFile = "[UNITINFO]\r\n"
                            "{\r\n"
                            "\tUnitName=KVTANK;\r\n"
                            "    Name=Heavy Tank;\r\n"
                            "\t// armour from the last balance pass\r\n"
                            "\tMaxDamage=2000; // was 1800\r\n"
                            "\t[SFXTypes]\r\n"
                            "\t\t{\r\n"
                            "\t\texplosiongenerator0=custom:kv_dust;\r\n"
                            "\t\t}\r\n"
                            "\tSide=CORE;\r\n"
                            "}\r\n";
const QByteArray ScoutFile = "[UNITINFO]\n{\n\tUnitName=KVSCOUT;\n\tMaxVelocity=2.5;\n}\n";
const QByteArray KnownVariables = "Acceleration\r\nBrakeRate\r\nBuildTime\r\nName\r\n";

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

// Bounding boxes of the large white areas of a picture: list views show their rows on white.
QList<QRect> whiteAreas(const QImage &image, const QRect &within)
{
    QList<QRect> areas;
    const QRect bounds = within & image.rect();
    QVector<bool> seen(qsizetype(image.width()) * image.height(), false);
    QList<QPoint> stack;
    for (int y = bounds.top(); y <= bounds.bottom(); ++y) {
        for (int x = bounds.left(); x <= bounds.right(); ++x) {
            if (seen[y * image.width() + x] || !isWhite(image.pixel(x, y)))
                continue;
            QRect box(x, y, 1, 1);
            qsizetype count = 0;
            stack = {QPoint(x, y)};
            seen[y * image.width() + x] = true;
            while (!stack.isEmpty()) {
                const QPoint p = stack.takeLast();
                ++count;
                box |= QRect(p, QSize(1, 1));
                const QPoint next[] = {p + QPoint(1, 0), p - QPoint(1, 0), p + QPoint(0, 1), p - QPoint(0, 1)};
                for (const QPoint &n : next) {
                    if (!bounds.contains(n) || seen[n.y() * image.width() + n.x()] || !isWhite(image.pixel(n)))
                        continue;
                    seen[n.y() * image.width() + n.x()] = true;
                    stack.append(n);
                }
            }
            if (box.width() >= 60 && box.height() >= 60 && count >= box.width() * box.height() / 2)
                areas.append(box);
        }
    }
    return areas;
}

// A list view found on the screen, with the height of its rows once one has been selected.
struct ListOnScreen
{
    QRect area;
    int rowHeight = 0;

    // A point a little inside the row, clear of the text: on it a selected row shows its highlight.
    QPoint rowPoint(int row) const { return {area.right() - 3, area.top() + row * rowHeight + rowHeight / 2}; }
    QPoint rowCentre(int row) const { return {area.left() + 20, area.top() + row * rowHeight + rowHeight / 2}; }
};
}

// Runs one step; a step that fails ends the scenario with the reason.
#define DO(step) QVERIFY2(step, qPrintable(m_error))

#define RETURN_IF_FAILED()                                                                                       \
    do {                                                                                                         \
        if (QTest::currentTestFailed())                                                                          \
            return;                                                                                              \
    } while (false)

class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void editAddSaveAndClose();
    void closeWithoutSaving();
    void closeProgramSavingTwoDocuments();
    void installedProgramFindsItsData();

private:
    // Steps: each returns false on an error or a time-out and leaves the reason in m_error.
    std::optional<QByteArray> run(const QString &program, const QStringList &arguments);
    bool xdo(const QStringList &arguments);
    QStringList windows(const QString &title);
    QString waitForWindow(const QString &title, const QString &other = {});
    bool waitUntilGone(const QString &windowId);
    QImage screenshot();
    bool waitForScreen(const std::function<bool(const QImage &)> &condition, QImage *last = nullptr,
                       int timeoutMs = StepTimeoutMs);
    bool click(QPoint point, int count = 1);
    bool key(const QString &keys);
    bool type(const QString &text);
    // Asks the window to close the way a window manager's close box does.
    void requestClose(const QString &windowId);

    void launch(const QString &program, const QStringList &arguments);
    void attachToMainWindow();
    void startProgram(const QStringList &arguments);
    bool waitForExit();
    // The two lists of the document window on top, and the known-variable list.
    void findLists(const QImage &image);
    void measureRowHeight(ListOnScreen &list);
    QString path(const QString &name) const { return m_dir->filePath(name); }
    QPoint findAddButton();
    bool focus(const QString &windowId);
    QProcessEnvironment displayEnvironment() const;

    QString m_error;

    QProcess m_xvfb;
    QString m_display;
    Display *m_x = nullptr;
    std::optional<QTemporaryDir> m_dir;
    QProcess m_program;
    QString m_mainWindow;
    QRect m_mainGeometry;
    ListOnScreen m_lstVars;
    ListOnScreen m_lstVals;
    ListOnScreen m_lstAdd;
};

void TestEndToEnd::initTestCase()
{
    QVERIFY2(QFileInfo(Program).isExecutable(), qPrintable(Program + QStringLiteral(" is not built")));
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty())
        QSKIP("No X server can be started here: Xvfb is not installed (scripts/setup.sh installs it).");
    for (const char *tool : {"xdotool", "import"})
        QVERIFY2(!QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty(), tool);

    // Xvfb picks a free display itself and writes its number once it accepts connections.
    m_xvfb.setProgram(xvfb);
    m_xvfb.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                         QStringLiteral("0"), QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                         QStringLiteral("tcp")});
    m_xvfb.setProcessChannelMode(QProcess::SeparateChannels);
    m_xvfb.start();
    QElapsedTimer timer;
    timer.start();
    while (!m_xvfb.canReadLine() && m_xvfb.state() != QProcess::NotRunning && timer.elapsed() < StepTimeoutMs)
        m_xvfb.waitForReadyRead(200);
    const QByteArray number = m_xvfb.readLine().trimmed();
    if (number.isEmpty()) {
        const QByteArray why = m_xvfb.readAllStandardError().right(400);
        m_xvfb.kill();
        m_xvfb.waitForFinished(2000);
        QSKIP(qPrintable(QStringLiteral("No X server can be started here: Xvfb did not start (%1)")
                             .arg(QString::fromLocal8Bit(why))));
    }
    m_display = QLatin1Char(':') + QString::fromLatin1(number);
    m_x = XOpenDisplay(m_display.toLatin1().constData());
    QVERIFY2(m_x, "cannot connect to the X server that was just started");
}

void TestEndToEnd::cleanupTestCase()
{
    if (m_x)
        XCloseDisplay(m_x);
    if (m_xvfb.state() != QProcess::NotRunning) {
        m_xvfb.terminate();
        if (!m_xvfb.waitForFinished(5000)) {
            m_xvfb.kill();
            m_xvfb.waitForFinished(2000);
        }
    }
}

// A home of its own for each scenario: settings of a returning user and a variables file we know.
void TestEndToEnd::init()
{
    m_dir.emplace();
    QVERIFY(m_dir->isValid());
    for (const char *folder : {"home", "config/Korvid4", "data", "cache", "runtime", "units"})
        QVERIFY(QDir(m_dir->path()).mkpath(QLatin1String(folder)));
    QFile::setPermissions(path(QStringLiteral("runtime")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(writeAll(path(QStringLiteral("Variables.dat")), KnownVariables));
    const QByteArray settings = "[Options]\nFirstRun=1\nVariableDir=" + path(QStringLiteral("Variables.dat")).toUtf8()
        + "\nProjectDir=" + path(QStringLiteral("units")).toUtf8() + "\nAssociated=\n";
    QVERIFY(writeAll(path(QStringLiteral("config/Korvid4/Korvid4.conf")), settings));
}

void TestEndToEnd::cleanup()
{
    if (m_program.state() != QProcess::NotRunning) {
        if (QTest::currentTestFailed()) {
            const QImage last = screenshot();
            const QString shot = QDir::temp().filePath(QStringLiteral("korvid-e2e-%1.png")
                                                            .arg(QLatin1String(QTest::currentTestFunction())));
            if (last.save(shot))
                qWarning("The screen when it failed: %s", qPrintable(shot));
        }
        m_program.kill();
        m_program.waitForFinished(5000);
    }
    m_dir.reset();
}

QProcessEnvironment TestEndToEnd::displayEnvironment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    return environment;
}

std::optional<QByteArray> TestEndToEnd::run(const QString &program, const QStringList &arguments)
{
    const QString command = program + QLatin1Char(' ') + arguments.join(QLatin1Char(' '));
    QProcess process;
    process.setProcessEnvironment(displayEnvironment());
    process.start(program, arguments);
    if (!process.waitForFinished(StepTimeoutMs)) {
        process.kill();
        process.waitForFinished(2000);
        m_error = QStringLiteral("timed out: ") + command;
        return std::nullopt;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        m_error = QStringLiteral("failed: %1: %2").arg(command, QString::fromLocal8Bit(process.readAllStandardError()));
        return std::nullopt;
    }
    return process.readAllStandardOutput();
}

bool TestEndToEnd::xdo(const QStringList &arguments)
{
    return run(QStringLiteral("xdotool"), arguments).has_value();
}

// The ids of the shown windows with exactly this title.
QStringList TestEndToEnd::windows(const QString &title)
{
    QProcess search;
    search.setProcessEnvironment(displayEnvironment());
    search.start(QStringLiteral("xdotool"),
                 {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                  QLatin1Char('^') + QRegularExpression::escape(title) + QLatin1Char('$')});
    if (!search.waitForFinished(StepTimeoutMs))
        search.kill();
    return QString::fromLatin1(search.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// The id of a window with this title other than the one given, once it is on the screen.
QString TestEndToEnd::waitForWindow(const QString &title, const QString &other)
{
    QElapsedTimer timer;
    timer.start();
    do {
        for (const QString &id : windows(title)) {
            if (id != other)
                return id;
        }
        QThread::msleep(100);
    } while (timer.elapsed() < StepTimeoutMs);
    m_error = QStringLiteral("no window \"%1\" came").arg(title);
    return {};
}

bool TestEndToEnd::waitUntilGone(const QString &windowId)
{
    QElapsedTimer timer;
    timer.start();
    do {
        QProcess search;
        search.setProcessEnvironment(displayEnvironment());
        search.start(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                                 QStringLiteral("--name"), QStringLiteral(".*")});
        if (!search.waitForFinished(StepTimeoutMs))
            search.kill();
        if (!QString::fromLatin1(search.readAllStandardOutput()).split(QLatin1Char('\n')).contains(windowId))
            return true;
        QThread::msleep(100);
    } while (timer.elapsed() < StepTimeoutMs);
    m_error = QStringLiteral("window %1 did not go away").arg(windowId);
    return false;
}

QImage TestEndToEnd::screenshot()
{
    const std::optional<QByteArray> png = run(QStringLiteral("import"), {QStringLiteral("-silent"), QStringLiteral("-window"),
                                                                        QStringLiteral("root"), QStringLiteral("png:-")});
    if (!png)
        return {};
    return QImage::fromData(*png, "PNG").convertToFormat(QImage::Format_RGB32);
}

bool TestEndToEnd::waitForScreen(const std::function<bool(const QImage &)> &condition, QImage *last, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        const QImage image = screenshot();
        if (last)
            *last = image;
        if (!image.isNull() && condition(image))
            return true;
        if (timer.elapsed() > timeoutMs)
            return false;
        QThread::msleep(100);
    }
}

bool TestEndToEnd::click(QPoint point, int count)
{
    return xdo({QStringLiteral("mousemove"), QString::number(point.x()), QString::number(point.y()),
                QStringLiteral("click"), QStringLiteral("--repeat"), QString::number(count), QStringLiteral("--delay"),
                QStringLiteral("60"), QStringLiteral("1")});
}

bool TestEndToEnd::key(const QString &keys)
{
    return xdo({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("40"), keys});
}

bool TestEndToEnd::type(const QString &text)
{
    return xdo({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("20"), text});
}

void TestEndToEnd::requestClose(const QString &windowId)
{
    const Window window = Window(windowId.toULong());
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(m_x, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(m_x, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(m_x, window, False, NoEventMask, &event);
    XFlush(m_x);
}

void TestEndToEnd::launch(const QString &program, const QStringList &arguments)
{
    QProcessEnvironment environment = displayEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("HOME"), path(QStringLiteral("home")));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), path(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), path(QStringLiteral("cache")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), path(QStringLiteral("runtime")));
    environment.remove(QStringLiteral("SESSION_MANAGER"));
    environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    m_program.setProcessEnvironment(environment);
    m_program.setWorkingDirectory(path(QStringLiteral("units")));
    m_program.setProcessChannelMode(QProcess::ForwardedChannels);
    m_program.start(program, arguments);
    QVERIFY2(m_program.waitForStarted(StepTimeoutMs), "the program did not start");
}

// Waits for the main window and finds its lists.
void TestEndToEnd::attachToMainWindow()
{
    m_mainWindow = waitForWindow(MainTitle);
    QVERIFY2(!m_mainWindow.isEmpty(), qPrintable(m_error));
    const std::optional<QByteArray> geometry =
        run(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), m_mainWindow});
    QVERIFY2(geometry, qPrintable(m_error));
    QHash<QByteArray, int> values;
    for (const QByteArray &line : geometry->split('\n')) {
        const QList<QByteArray> pair = line.split('=');
        if (pair.size() == 2)
            values.insert(pair[0], pair[1].toInt());
    }
    m_mainGeometry = QRect(values.value("X"), values.value("Y"), values.value("WIDTH"), values.value("HEIGHT"));
    QVERIFY(m_mainGeometry.width() > 100 && m_mainGeometry.height() > 100);
    DO(focus(m_mainWindow));

    QImage image;
    QVERIFY2(waitForScreen([&](const QImage &shot) { return whiteAreas(shot, m_mainGeometry).size() >= 3; }, &image),
             "the program's lists never appeared");
    findLists(image);
}

void TestEndToEnd::startProgram(const QStringList &arguments)
{
    launch(Program, arguments);
    if (!QTest::currentTestFailed())
        attachToMainWindow();
}

bool TestEndToEnd::focus(const QString &windowId)
{
    return xdo({QStringLiteral("windowfocus"), QStringLiteral("--sync"), windowId});
}

bool TestEndToEnd::waitForExit()
{
    if (!m_program.waitForFinished(StepTimeoutMs)) {
        m_error = QStringLiteral("the program is still running");
        return false;
    }
    m_error = QStringLiteral("the program ended with status %1").arg(m_program.exitCode());
    return m_program.exitStatus() == QProcess::NormalExit && m_program.exitCode() == 0;
}

// The known-variable list is the white area furthest right; the document's lists are the two that
// stand side by side on the same line, names on the left.
void TestEndToEnd::findLists(const QImage &image)
{
    QList<QRect> areas = whiteAreas(image, m_mainGeometry);
    QVERIFY2(areas.size() >= 3, qPrintable(QStringLiteral("found %1 lists on the screen").arg(areas.size())));
    std::sort(areas.begin(), areas.end(), [](const QRect &a, const QRect &b) { return a.left() < b.left(); });
    m_lstAdd = ListOnScreen{areas.takeLast()};
    m_lstVars = {};
    m_lstVals = {};
    for (int left = 0; left < areas.size(); ++left) {
        for (int right = left + 1; right < areas.size(); ++right) {
            if (std::abs(areas[left].top() - areas[right].top()) <= 1
                && std::abs(areas[left].height() - areas[right].height()) <= 1 && m_lstVars.area.isNull()) {
                m_lstVars = ListOnScreen{areas[left]};
                m_lstVals = ListOnScreen{areas[right]};
            }
        }
    }
    QVERIFY2(!m_lstVars.area.isNull(), "the document window's two lists were not found");
}

// Clicks the first row and measures its highlight: that is the height of every row.
void TestEndToEnd::measureRowHeight(ListOnScreen &list)
{
    DO(click(QPoint(list.area.left() + 20, list.area.top() + 3)));
    QImage image;
    const int x = list.area.right() - 3;
    QVERIFY2(waitForScreen([&](const QImage &shot) { return !isWhite(shot.pixel(x, list.area.top() + 3)); }, &image),
             "clicking the first row did not select it");
    int bottom = list.area.top() + 3;
    while (bottom < list.area.bottom() && !isWhite(image.pixel(x, bottom + 1)))
        ++bottom;
    list.rowHeight = bottom - list.area.top() + 1;
    QVERIFY2(list.rowHeight >= 8 && list.rowHeight <= 60, qPrintable(QString::number(list.rowHeight)));
}

// The "Add Variable" button is the first outlined thing below the known-variable list's frame.
QPoint TestEndToEnd::findAddButton()
{
    const QImage panel = screenshot();
    const int x = m_lstAdd.area.center().x();
    const int end = m_mainGeometry.bottom();
    auto isOutline = [&](int y) { return qGray(panel.pixel(x, y)) < 200; };
    int y = m_lstAdd.area.bottom() + 1;
    while (y < end && isOutline(y))
        ++y;
    while (y < end && !isOutline(y))
        ++y;
    const int top = y;
    y += 3;
    while (y < end && !isOutline(y))
        ++y;
    if (y >= end || y - top < 10)
        return {};
    return {x, (top + y) / 2};
}

// Answers the value editor: select the text, type the new value, Tab to OK and press it.
#define EDIT_VALUE(text)                                                                                         \
    do {                                                                                                         \
        const QString editor = waitForWindow(EditorTitle);                                                       \
        QVERIFY2(!editor.isEmpty(), "the value editor did not open");                                            \
        DO(focus(editor));                                                                                       \
        DO(key(QStringLiteral("ctrl+a")));                                                                       \
        DO(type(text));                                                                                          \
        DO(key(QStringLiteral("Tab")));                                                                          \
        DO(key(QStringLiteral("space")));                                                                        \
        DO(waitUntilGone(editor));                                                                               \
    } while (false)

// Start with a unit file, select a row, change its value, add a known variable, save, close
// the window (no question, as it was saved) and close the program.
void TestEndToEnd::editAddSaveAndClose()
{
    const QString tank = path(QStringLiteral("units/tank.fbi"));
    QVERIFY(writeAll(tank, TankFile));
    startProgram({tank});
    RETURN_IF_FAILED();
    measureRowHeight(m_lstVars);
    RETURN_IF_FAILED();
    m_lstVals.rowHeight = m_lstVars.rowHeight;

    // Row 1 ("Name"): both lists select it, and the help label shows something new.
    const QImage before = screenshot();
    DO(click(m_lstVars.rowCentre(1)));
    QImage after;
    QVERIFY2(waitForScreen(
                 [&](const QImage &shot) {
                     return !isWhite(shot.pixel(m_lstVars.rowPoint(1))) && !isWhite(shot.pixel(m_lstVals.rowPoint(1)))
                         && isWhite(shot.pixel(m_lstVars.rowPoint(0))) && isWhite(shot.pixel(m_lstVals.rowPoint(0)));
                 },
                 &after),
             "clicking a name did not select its row in both lists");
    // The help text sits below the panel's buttons.
    const int helpTop = m_lstAdd.area.bottom() + 150;
    const QRect help(m_lstAdd.area.left(), helpTop, m_lstAdd.area.width(), m_mainGeometry.bottom() - 40 - helpTop);
    QVERIFY2(help.height() > 20, "no room for the help text below the panel");
    QVERIFY2(before.copy(help) != after.copy(help), "the help text did not change for the selected name");

    DO(click(m_lstVars.rowCentre(1), 2));
    EDIT_VALUE(QStringLiteral("Heavy Assault Tank"));

    // Pick a known variable and add it: a new row at the end of the document's lists.
    measureRowHeight(m_lstAdd);
    RETURN_IF_FAILED();
    DO(click(m_lstAdd.rowCentre(2)));
    QVERIFY(waitForScreen([&](const QImage &shot) { return !isWhite(shot.pixel(m_lstAdd.rowPoint(2))); }));
    const QPoint addButton = findAddButton();
    QVERIFY2(!addButton.isNull(), "the Add Variable button was not found below the list");
    DO(click(addButton));
    QVERIFY2(waitForScreen([&](const QImage &shot) {
                 const int y = m_lstVals.rowCentre(4).y();
                 for (int x = m_lstVals.area.left() + 2; x < m_lstVals.area.left() + 60; ++x) {
                     if (!isWhite(shot.pixel(x, y)))
                         return true;
                 }
                 return false;
             }),
             "Add Variable did not add a row");

    DO(focus(m_mainWindow));
    DO(key(QStringLiteral("ctrl+s")));
    const QByteArray expected = "[UNITINFO]\r\n"
                                "\t{\r\n"
                                "\tUnitName=KVTANK;\r\n"
                                "\tName=Heavy Assault Tank;\r\n"
                                "\tMaxDamage=2000;\r\n"
                                "\tSide=CORE;\r\n"
                                "\tBuildTime=Change This;\r\n"
                                "\t[SFXTypes]\r\n"
                                "\t\t{\r\n"
                                "\t\texplosiongenerator0=custom:kv_dust;\r\n"
                                "\t\t}\r\n"
                                "\t}\r\n";
    QElapsedTimer timer;
    timer.start();
    while (readAll(tank) == TankFile && timer.elapsed() < StepTimeoutMs)
        QThread::msleep(100);
    QCOMPARE(readAll(tank), expected);

    // File > Close: saved, so nothing is asked and the lists go away.
    DO(key(QStringLiteral("alt+f")));
    DO(key(QStringLiteral("c")));
    QVERIFY2(waitForScreen([&](const QImage &shot) { return whiteAreas(shot, m_mainGeometry).size() == 1; }),
             "the document window did not close");
    QVERIFY2(windows(SavePromptTitle).isEmpty(), "closing a saved document asked to save");

    requestClose(m_mainWindow);
    QVERIFY2(waitForExit(), qPrintable(m_error));
    QCOMPARE(readAll(tank), expected);
}

// Change a value, close the window and answer No: the file on disk stays exactly as it was.
void TestEndToEnd::closeWithoutSaving()
{
    const QString tank = path(QStringLiteral("units/tank.fbi"));
    QVERIFY(writeAll(tank, TankFile));
    const QDateTime modified = QFileInfo(tank).lastModified();
    startProgram({tank});
    RETURN_IF_FAILED();

    DO(click(QPoint(m_lstVars.area.left() + 20, m_lstVars.area.top() + 3), 2));
    EDIT_VALUE(QStringLiteral("KVTANK2"));

    DO(focus(m_mainWindow));
    DO(key(QStringLiteral("alt+f")));
    DO(key(QStringLiteral("c")));
    const QString prompt = waitForWindow(SavePromptTitle);
    QVERIFY2(!prompt.isEmpty(), "closing a changed document did not ask to save");
    DO(focus(prompt));
    DO(key(QStringLiteral("alt+n")));
    DO(waitUntilGone(prompt));
    QVERIFY2(waitForScreen([&](const QImage &shot) { return whiteAreas(shot, m_mainGeometry).size() == 1; }),
             "the document window did not close after No");

    requestClose(m_mainWindow);
    QVERIFY2(waitForExit(), qPrintable(m_error));
    QCOMPARE(readAll(tank), TankFile);
    QCOMPARE(QFileInfo(tank).lastModified(), modified);
}

// Two changed documents, then the main window is closed: Yes (the default, Enter) for each saves both.
void TestEndToEnd::closeProgramSavingTwoDocuments()
{
    const QString tank = path(QStringLiteral("units/tank.fbi"));
    const QString scout = path(QStringLiteral("units/scout.fbi"));
    QVERIFY(writeAll(tank, TankFile));
    QVERIFY(writeAll(scout, ScoutFile));
    startProgram({tank});
    RETURN_IF_FAILED();

    // Acceleration, selected by the measuring click, goes into the tank.
    measureRowHeight(m_lstAdd);
    RETURN_IF_FAILED();
    const QPoint addButton = findAddButton();
    QVERIFY2(!addButton.isNull(), "the Add Variable button was not found below the list");
    DO(click(addButton));

    // Open the scout through File > Open..., typing its path.
    DO(focus(m_mainWindow));
    DO(key(QStringLiteral("ctrl+o")));
    const QString open = waitForWindow(OpenTitle);
    QVERIFY2(!open.isEmpty(), "the Open dialog did not appear");
    DO(focus(open));
    DO(type(scout));
    DO(key(QStringLiteral("Return")));
    DO(waitUntilGone(open));

    // BrakeRate goes into the scout, now the active document.
    DO(click(m_lstAdd.rowCentre(1)));
    QVERIFY(waitForScreen([&](const QImage &shot) { return !isWhite(shot.pixel(m_lstAdd.rowPoint(1))); }));
    DO(click(addButton));

    requestClose(m_mainWindow);
    QString previous;
    for (int question = 1; question <= 2; ++question) {
        const QString prompt = waitForWindow(SavePromptTitle, previous);
        QVERIFY2(!prompt.isEmpty(), qPrintable(QStringLiteral("question %1 did not come").arg(question)));
        DO(focus(prompt));
        DO(key(QStringLiteral("Return")));
        previous = prompt;
    }
    QVERIFY2(waitForExit(), qPrintable(m_error));
    QCOMPARE(readAll(tank), QByteArray("[UNITINFO]\r\n\t{\r\n\tUnitName=KVTANK;\r\n\tName=Heavy Tank;\r\n"
                                       "\tMaxDamage=2000;\r\n\tSide=CORE;\r\n\tAcceleration=Change This;\r\n"
                                       "\t[SFXTypes]\r\n\t\t{\r\n\t\texplosiongenerator0=custom:kv_dust;\r\n"
                                       "\t\t}\r\n\t}\r\n"));
    QCOMPARE(readAll(scout), QByteArray("[UNITINFO]\r\n\t{\r\n\tUnitName=KVSCOUT;\r\n\tMaxVelocity=2.5;\r\n"
                                        "\tBrakeRate=Change This;\r\n\t}\r\n"));
}

// Installed to a prefix of its own, the program is started through its link in bin on a first
// start: it writes the data file's place beside the real executable and fills the known variables.
void TestEndToEnd::installedProgramFindsItsData()
{
    const QString prefix = path(QStringLiteral("prefix"));
    const std::optional<QByteArray> installed = run(
        QStringLiteral(KORVID_CMAKE), {QStringLiteral("--install"), QStringLiteral(KORVID_BUILD_DIR),
                                       QStringLiteral("--prefix"), prefix});
    QVERIFY2(installed, qPrintable(m_error));
    const QString link = prefix + QStringLiteral("/bin/korvid4");
    QCOMPARE(QFileInfo(link).isSymLink(), true);
    // Relative, so the installed tree can be moved, or packaged, whole.
    char target[256] = {};
    QVERIFY(readlink(QFile::encodeName(link).constData(), target, sizeof target - 1) > 0);
    QCOMPARE(QByteArray(target), QByteArray("../lib/korvid4/korvid4"));
    for (const char *file : {"lib/korvid4/korvid4", "lib/korvid4/Variables.dat", "lib/korvid4/Korvid.ico",
                             "share/applications/korvid4.desktop", "share/mime/packages/korvid4.xml",
                             "share/icons/hicolor/16x16/apps/korvid4.png", "share/icons/hicolor/48x48/apps/korvid4.png",
                             "share/icons/hicolor/256x256/apps/korvid4.png"})
        QVERIFY2(QFileInfo(prefix + QLatin1Char('/') + QLatin1String(file)).isFile(), file);
    QVERIFY2(run(QStringLiteral("desktop-file-validate"), {prefix + QStringLiteral("/share/applications/korvid4.desktop")}),
             qPrintable(m_error));
    QVERIFY2(QImage(prefix + QStringLiteral("/share/icons/hicolor/48x48/apps/korvid4.png")).size() == QSize(48, 48),
             "the 48 pixel icon is not 48 pixels");

    QVERIFY(QFile::remove(path(QStringLiteral("config/Korvid4/Korvid4.conf"))));
    launch(link, {});
    RETURN_IF_FAILED();
    const QString welcome = waitForWindow(WelcomeTitle);
    QVERIFY2(!welcome.isEmpty(), "a first start did not ask its question");
    DO(focus(welcome));
    DO(key(QStringLiteral("alt+n")));
    attachToMainWindow();
    RETURN_IF_FAILED();

    // Each known name is a line of text in the list.
    QVERIFY2(waitForScreen([&](const QImage &shot) {
                 for (int y = m_lstAdd.area.top(); y < m_lstAdd.area.top() + 30; ++y) {
                     for (int x = m_lstAdd.area.left(); x < m_lstAdd.area.left() + 60; ++x) {
                         if (!isWhite(shot.pixel(x, y)))
                             return true;
                     }
                 }
                 return false;
             }),
             "the known-variable list is empty");
    requestClose(m_mainWindow);
    QVERIFY2(waitForExit(), qPrintable(m_error));

    const QSettings settings(path(QStringLiteral("config/Korvid4/Korvid4.conf")), QSettings::IniFormat);
    const QString programFolder = QFileInfo(prefix + QStringLiteral("/lib/korvid4")).canonicalFilePath();
    QCOMPARE(settings.value(QStringLiteral("Options/VariableDir")).toString(),
             programFolder + QStringLiteral("/Variables.dat"));
    QCOMPARE(settings.value(QStringLiteral("Options/ProjectDir")).toString(), programFolder);
}

QTEST_GUILESS_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
