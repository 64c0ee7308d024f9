#include "support/AppFixture.h"

#include "docwindow/frmChild.h"
#include "mainwindow/frmMain.h"
#include "startup/Globals.h"
#include "startup/StartUp.h"

#include <QFile>
#include <QMdiArea>

AppFixture::AppFixture()
{
    Dialogs::install(&dialogs);
    Settings::setStore(&settings);
    Registry::install(&registry);
}

AppFixture::~AppFixture()
{
    stop();
    Dialogs::install(nullptr);
    Settings::setStore(nullptr);
    Registry::install(nullptr);
}

void AppFixture::setReturningUser()
{
    settings.values = {
        {Settings::FirstRun, QStringLiteral("1")},
        {Settings::VariableDir, writeFile(QStringLiteral("Variables.dat"), "Acceleration\r\nBuildTime\r\nName\r\n")},
        {Settings::ProjectDir, dir.path()},
    };
}

void AppFixture::start(const QStringList &arguments)
{
    StartUp::Main(QStringList{QStringLiteral("korvid4")} + arguments);
}

void AppFixture::stop()
{
    delete frmMain::instance();
    Globals::reset();
}

QString AppFixture::writeFile(const QString &name, const QByteArray &bytes) const
{
    const QString filePath = path(name);
    QFile file(filePath);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return filePath;
}

QByteArray AppFixture::readFile(const QString &name) const
{
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

frmMain *AppFixture::main()
{
    return frmMain::instance();
}

frmChild *AppFixture::window(int number)
{
    return number < Globals::DocWindows.size() ? Globals::DocWindows[number].data() : nullptr;
}

QList<frmChild *> AppFixture::windows()
{
    QList<frmChild *> result;
    if (!main())
        return result;
    for (QMdiSubWindow *window : main()->mdiArea()->subWindowList(QMdiArea::CreationOrder)) {
        if (auto *child = qobject_cast<frmChild *>(window))
            result.append(child);
    }
    return result;
}
