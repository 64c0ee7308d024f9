#include "support/AppFixture.h"

#include "docwindow/DocumentWindow.h"
#include "documents/Document.h"
#include "mainwindow/MainWindow.h"
#include "app/Globals.h"
#include "app/StartUp.h"

#include <QFile>
#include <QListView>
#include <QMenu>
#include <QTest>
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
    delete MainWindow::instance();
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

MainWindow *AppFixture::main()
{
    return MainWindow::instance();
}

DocumentWindow *AppFixture::window(int number)
{
    return number < Globals::DocWindows.size() ? Globals::DocWindows[number].data() : nullptr;
}

QList<DocumentWindow *> AppFixture::windows()
{
    QList<DocumentWindow *> result;
    if (!main())
        return result;
    for (QMdiSubWindow *window : main()->mdiArea()->subWindowList(QMdiArea::CreationOrder)) {
        if (auto *child = qobject_cast<DocumentWindow *>(window))
            result.append(child);
    }
    return result;
}

QStringList AppFixture::captions()
{
    QStringList result;
    for (const DocumentWindow *child : windows())
        result.append(child->windowTitle());
    return result;
}

QStringList AppFixture::rows(const DocumentWindow *window)
{
    QStringList result;
    for (int row = 0; row < window->document()->rowCount(); ++row)
        result.append(window->document()->name(row) + QLatin1Char('=') + window->document()->value(row));
    return result;
}

int AppFixture::selectedRow(const QAbstractItemView *list)
{
    const QModelIndexList selected = list->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.constFirst().row();
}

namespace {
QPoint rowCentre(const QAbstractItemView *list, int row)
{
    const auto *view = qobject_cast<const QListView *>(list);
    return list->visualRect(list->model()->index(row, view ? view->modelColumn() : 0)).center();
}
}

void AppFixture::clickRow(QAbstractItemView *list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, row));
}

void AppFixture::doubleClickRow(QAbstractItemView *list, int row)
{
    clickRow(list, row);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, row));
}

QAction *AppFixture::menuItem(const QList<QMenu *> &menus, const QString &name)
{
    for (const QMenu *menu : menus) {
        for (QAction *action : menu->actions()) {
            if (action->objectName() == name)
                return action;
        }
    }
    return nullptr;
}
