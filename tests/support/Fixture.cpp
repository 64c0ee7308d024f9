#include "support/Fixture.h"

#include "support/Rows.h"

#include "documents/Document.h"
#include "mainwindow/MainWindow.h"

#include <QEventLoop>
#include <QListView>
#include <QTest>
#include <QToolBar>

Fixture::Fixture()
{
    options.projectFolder = files.path();
}

// The windows go first, before the documents and commands they show.
Fixture::~Fixture() = default;

Application &Fixture::start(const QStringList &arguments)
{
    app = std::make_unique<Application>(Application::Platform{&dialogs, &store, &registry});
    app->start(QStringList{QStringLiteral("korvid4")} + arguments);
    return *app;
}

MainWindow &Fixture::main()
{
    if (!m_main) {
        m_main = std::make_unique<MainWindow>(documents, commands, dialogs);
        commands.setDialogOwner(m_main.get());
        // As the application does: the program ends when the main window has closed.
        QObject::connect(m_main.get(), &MainWindow::closed, [] { QCoreApplication::exit(0); });
    }
    return *m_main;
}

QStringList Fixture::rows(const Document *document)
{
    return rowsOf(*document);
}

void Fixture::click(QAbstractItemView *list, int row, bool twice)
{
    const int column = qobject_cast<QListView *>(list)->modelColumn();
    const QPoint centre = list->visualRect(list->model()->index(row, column)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    if (twice)
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
}

QAction *Fixture::action(MainWindow &main, const char *name)
{
    return main.findChild<QAction *>(QLatin1String(name), Qt::FindDirectChildrenOnly);
}

void Fixture::clickToolbar(MainWindow &main, const char *name)
{
    QTest::mouseClick(main.barTools()->widgetForAction(action(main, name)), Qt::LeftButton);
}

bool Fixture::programRunning()
{
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [&loop] { loop.exit(1); });
    return loop.exec() == 1;
}

void FixtureTestCase::cleanup()
{
    const QString faults = f->dialogs.faults();
    delete f;
    f = nullptr;
    // A program told to end runs no event loop, not even a dialog's; the next test starts a new one.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    QCOMPARE(faults, QString());
}
