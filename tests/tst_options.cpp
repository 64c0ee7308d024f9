#include "mainwindow/frmMain.h"
#include "options/FileAssociation.h"
#include "options/frmOptions.h"
#include "startup/Globals.h"
#include "startup/ProgramFolder.h"
#include "support/AppFixture.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Globals;

namespace {
const MessageBoxRequest Restart{"You will need to restart your computer for settings to take affect.", "Restart",
                                QMessageBox::Ok, QMessageBox::NoButton, QMessageBox::Information};
const QString OldVariables = QStringLiteral("/old/Variables.dat");
const QString OldFolder = QStringLiteral("/old/units");

using Writes = QList<QPair<QString, QString>>;

// The registry calls one association makes: four keys created, four values written.
constexpr qsizetype AssociationCalls = 18;

// How the user got on with one showing of the dialog.
enum class Step { BrowseFile, CancelFile, BrowseFolder, CancelFolder, Associate };
}

class TestOptions : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void design();
    void enterAndEscapeDoNotClose();
    void startsFromTheGlobals_data();
    void startsFromTheGlobals();
    void ok_data();
    void ok();
    void cancelDropsEverything_data();
    void cancelDropsEverything();
    void variablesFileDialog();
    void GetBrowseDirectory_data();
    void GetBrowseDirectory();
    void firstStartYesAssociates_data();
    void firstStartYesAssociates();
    void shownModallyOverTheMainWindow();

private:
    // The dialog as the main window would show it, built without blocking.
    frmOptions *options();
    void take(const QList<Step> &steps);

    AppFixture *m_app = nullptr;
    frmOptions *m_options = nullptr;
    QList<qsizetype> m_messagesAtRegistryCalls;
};

void TestOptions::init()
{
    m_app = new AppFixture;
    m_app->setReturningUser();
    m_app->start();
    VariableDir = OldVariables;
    ProjectDir = OldFolder;
    m_app->registry.observer = [this](const RecordingRegistry::Call &) {
        m_messagesAtRegistryCalls.append(m_app->dialogs.messages().size());
    };
}

void TestOptions::cleanup()
{
    QCOMPARE(m_app->dialogs.unanswered, 0);
    QCOMPARE(m_app->dialogs.unusedAnswers(), 0);
    delete m_options;
    m_options = nullptr;
    delete m_app;
    m_app = nullptr;
    m_messagesAtRegistryCalls.clear();
}

frmOptions *TestOptions::options()
{
    delete m_options;
    m_options = new frmOptions(AppFixture::main());
    return m_options;
}

void TestOptions::take(const QList<Step> &steps)
{
    for (Step step : steps) {
        switch (step) {
        case Step::BrowseFile:
            m_app->dialogs.answerFile(QStringLiteral("/new/Known.dat"));
            m_options->cmdVarBrowse()->click();
            break;
        case Step::CancelFile:
            m_app->dialogs.answerFile(std::nullopt);
            m_options->cmdVarBrowse()->click();
            break;
        case Step::BrowseFolder:
            m_app->dialogs.answerFolder(QStringLiteral("/new/units"));
            m_options->cmdBrowse()->click();
            break;
        case Step::CancelFolder:
            m_app->dialogs.answerFolder(std::nullopt);
            m_options->cmdBrowse()->click();
            break;
        case Step::Associate:
            m_options->cmdAssociate()->click();
            break;
        }
    }
}

void TestOptions::design()
{
    frmOptions *dialog = options();
    QCOMPARE(dialog->windowTitle(), "Korvid Options");
    QCOMPARE(dialog->minimumSize(), QSize(369, 223));
    QCOMPARE(dialog->maximumSize(), QSize(369, 223));
    QCOMPARE(dialog->windowType(), Qt::Tool);
    QVERIFY(!(dialog->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(dialog->windowFlags() & Qt::WindowCloseButtonHint);
    QCOMPARE(dialog->parentWidget(), AppFixture::main());

    const auto frame = [dialog](const char *name) { return dialog->findChild<QGroupBox *>(name); };
    QCOMPARE(frame("frmLocs")->title(), "Locations");
    QCOMPARE(frame("frmLocs")->geometry(), QRect(8, 8, 353, 121));
    QCOMPARE(frame("frmAsc")->title(), "File Association");
    QCOMPARE(frame("frmAsc")->geometry(), QRect(8, 136, 353, 49));
    QCOMPARE(dialog->findChild<QLabel *>("lblVarInf")->text(), "Location of the default TA variables file:");
    QCOMPARE(dialog->findChild<QLabel *>("lblSaveInf")->text(), "The default save and load folder location:");
    QCOMPARE(dialog->lblAsc()->text(), "Click associate if you want all TA \".FBI\" files to be associated with Korvid.");
    QCOMPARE(dialog->lblAsc()->parentWidget(), frame("frmAsc"));
    QCOMPARE(dialog->txtVarsDat()->geometry(), QRect(8, 32, 241, 25));
    QCOMPARE(dialog->cmdBrowse()->geometry(), QRect(256, 88, 89, 25));
    QCOMPARE(dialog->cmdOk()->geometry(), QRect(160, 192, 97, 25));
    QCOMPARE(dialog->cmdCancel()->geometry(), QRect(264, 192, 97, 25));
    QVERIFY(dialog->txtVarsDat()->isReadOnly());
    QVERIFY(dialog->txtSaveDir()->isReadOnly());

    const QList<QPushButton *> buttons{dialog->cmdVarBrowse(), dialog->cmdBrowse(), dialog->cmdAssociate(),
                                       dialog->cmdOk(), dialog->cmdCancel()};
    const QStringList texts{"Browse", "Browse", "Associate", "OK", "Cancel"};
    for (qsizetype index = 0; index < buttons.size(); ++index) {
        QCOMPARE(buttons.at(index)->text(), texts.at(index));
        QVERIFY(!buttons.at(index)->isDefault());
        QVERIFY(!buttons.at(index)->autoDefault());
    }

    QList<QWidget *> tabOrder{dialog->txtVarsDat()};
    for (QWidget *next = dialog->txtVarsDat()->nextInFocusChain(); tabOrder.size() < 7; next = next->nextInFocusChain()) {
        if (next->focusPolicy() & Qt::TabFocus)
            tabOrder.append(next);
    }
    QCOMPARE(tabOrder, (QList<QWidget *>{dialog->txtVarsDat(), dialog->cmdVarBrowse(), dialog->txtSaveDir(),
                                         dialog->cmdBrowse(), dialog->cmdAssociate(), dialog->cmdOk(),
                                         dialog->cmdCancel()}));
}

void TestOptions::enterAndEscapeDoNotClose()
{
    frmOptions *dialog = options();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    for (QWidget *focus : QList<QWidget *>{dialog->txtVarsDat(), dialog->cmdOk(), dialog->cmdCancel()}) {
        focus->setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(focus, key);
            QVERIFY2(dialog->isVisible(), qPrintable(focus->objectName()));
        }
    }
    QVERIFY(m_app->settings.writes.isEmpty());
}

void TestOptions::startsFromTheGlobals_data()
{
    QTest::addColumn<bool>("associated");
    QTest::newRow("not associated: Associate offered") << false;
    QTest::newRow("associated: Associate disabled") << true;
}

void TestOptions::startsFromTheGlobals()
{
    QFETCH(bool, associated);
    IsAssociated = associated;
    frmOptions *dialog = options();
    QCOMPARE(dialog->cmdAssociate()->isEnabled(), !associated);
    QCOMPARE(dialog->txtVarsDat()->text(), OldVariables);
    QCOMPARE(dialog->txtSaveDir()->text(), OldFolder);
    QCOMPARE(dialog->PendingVarsDat(), OldVariables);
    QCOMPARE(dialog->PendingSaveDir(), OldFolder);
    QVERIFY(!dialog->PendingAssociate());
    QVERIFY(m_app->dialogs.shown.isEmpty());
}

void TestOptions::ok_data()
{
    QTest::addColumn<QList<Step>>("steps");
    QTest::addColumn<QString>("variables");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("associate");
    QTest::newRow("no change writes both all the same") << QList<Step>{} << OldVariables << OldFolder << false;
    QTest::newRow("new file and folder")
        << QList<Step>{Step::BrowseFile, Step::BrowseFolder} << "/new/Known.dat" << "/new/units/" << false;
    QTest::newRow("browsing cancelled keeps the old values")
        << QList<Step>{Step::CancelFile, Step::CancelFolder} << OldVariables << OldFolder << false;
    QTest::newRow("cancelled after a choice keeps the choice")
        << QList<Step>{Step::BrowseFolder, Step::CancelFolder, Step::BrowseFile, Step::CancelFile}
        << "/new/Known.dat" << "/new/units/" << false;
    QTest::newRow("associate") << QList<Step>{Step::Associate} << OldVariables << OldFolder << true;
    QTest::newRow("associate with a new folder")
        << QList<Step>{Step::BrowseFolder, Step::Associate} << OldVariables << "/new/units/" << true;
}

void TestOptions::ok()
{
    QFETCH(QList<Step>, steps);
    QFETCH(QString, variables);
    QFETCH(QString, folder);
    QFETCH(bool, associate);
    options()->show();
    take(steps);
    QCOMPARE(m_options->txtVarsDat()->text(), variables);
    QCOMPARE(m_options->txtSaveDir()->text(), folder);
    QCOMPARE(m_options->cmdAssociate()->isEnabled(), !associate);
    // Nothing happens before OK.
    QVERIFY(m_app->settings.writes.isEmpty());
    QVERIFY(m_app->registry.calls.isEmpty());

    if (associate)
        m_app->dialogs.answerMessage(QMessageBox::Ok);
    m_options->cmdOk()->click();

    Writes expected{{"VariableDir", variables}, {"ProjectDir", folder}};
    if (associate)
        expected.append(qMakePair(QStringLiteral("Associated"), QStringLiteral("1")));
    QCOMPARE(m_app->settings.writes, expected);
    QCOMPARE(IsAssociated, associate);
    QCOMPARE(m_app->registry.calls.size(), associate ? AssociationCalls : 0);
    // The "Restart" message follows the association, over the dialog.
    QCOMPARE(m_messagesAtRegistryCalls, QList<qsizetype>(associate ? AssociationCalls : 0, 0));
    QCOMPARE(m_app->dialogs.messages(), associate ? QList<MessageBoxRequest>{Restart} : QList<MessageBoxRequest>{});
    if (associate)
        QCOMPARE(m_app->dialogs.shown.constLast().owner, m_options);
    QVERIFY(!m_options->isVisible());
    QCOMPARE(m_options->result(), int(QDialog::Accepted));
    // The running program keeps what it started with.
    QCOMPARE(VariableDir, OldVariables);
    QCOMPARE(ProjectDir, OldFolder);

    // The next showing starts from the globals again, with Associate as recorded.
    m_app->dialogs.clear();
    frmOptions *next = options();
    QCOMPARE(next->txtSaveDir()->text(), OldFolder);
    QCOMPARE(next->cmdAssociate()->isEnabled(), !associate);
}

void TestOptions::cancelDropsEverything_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Cancel") << false;
    QTest::newRow("close box") << true;
}

void TestOptions::cancelDropsEverything()
{
    QFETCH(bool, closeBox);
    options()->show();
    take({Step::BrowseFile, Step::BrowseFolder, Step::Associate});
    if (closeBox)
        m_options->close();
    else
        m_options->cmdCancel()->click();
    QVERIFY(!m_options->isVisible());
    QCOMPARE(m_options->result(), int(QDialog::Rejected));
    QVERIFY(m_app->settings.writes.isEmpty());
    QVERIFY(m_app->registry.calls.isEmpty());
    QVERIFY(!IsAssociated);
    QCOMPARE(m_app->dialogs.messages().size(), 0);

    m_app->dialogs.clear();
    frmOptions *next = options();
    QVERIFY(next->cmdAssociate()->isEnabled());
    QCOMPARE(next->PendingVarsDat(), OldVariables);
    QCOMPARE(next->PendingSaveDir(), OldFolder);
}

void TestOptions::variablesFileDialog()
{
    options();
    take({Step::BrowseFile, Step::CancelFile});
    const QList<FileDialogRequest> requests = m_app->dialogs.fileDialogs();
    QCOMPARE(requests.size(), 2);
    for (const FileDialogRequest &request : requests) {
        QCOMPARE(request.mode, FileDialogRequest::Mode::Open);
        QCOMPARE(request.title, "Open...");
        QCOMPARE(request.filters, QStringList{"Variable Data File(*.dat)"});
        QCOMPARE(request.defaultSuffix, "dat");
        // The program folder, not the folder of the file in use.
        QCOMPARE(request.directory, ProgramFolder::path());
    }
    QCOMPARE(m_app->dialogs.shown.constFirst().owner, m_options);
}

void TestOptions::GetBrowseDirectory_data()
{
    QTest::addColumn<std::optional<QString>>("chosen");
    QTest::addColumn<QString>("result");
    const QString separator = QDir::separator();
    QTest::newRow("folder gets one separator") << std::optional<QString>("/games/ta") << "/games/ta" + separator;
    QTest::newRow("root keeps its own") << std::optional<QString>(QDir::rootPath()) << QDir::rootPath();
    QTest::newRow("folder ending in a separator")
        << std::optional<QString>("/games/ta" + separator) << "/games/ta" + separator;
    QTest::newRow("cancelled") << std::optional<QString>() << QString();
    QTest::newRow("nothing chosen") << std::optional<QString>("") << QString();
}

void TestOptions::GetBrowseDirectory()
{
    QFETCH(std::optional<QString>, chosen);
    QFETCH(QString, result);
    frmOptions *dialog = options();
    m_app->dialogs.answerFolder(chosen);
    QCOMPARE(frmOptions::GetBrowseDirectory(*dialog), result);
    QCOMPARE(m_app->dialogs.shown.size(), 1);
    const ScriptedDialogs::Shown &shown = m_app->dialogs.shown.constFirst();
    QCOMPARE(std::get<ScriptedDialogs::Folder>(shown.request).title, "Choose a directory from the list.");
    QCOMPARE(shown.owner, dialog);
}

void TestOptions::firstStartYesAssociates_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("Yes") << true;
    QTest::newRow("No") << false;
}

void TestOptions::firstStartYesAssociates()
{
    QFETCH(bool, yes);
    m_app->stop();
    m_app->settings = MemorySettings();
    m_app->dialogs.answerMessage(yes ? QMessageBox::Yes : QMessageBox::No);
    if (yes)
        m_app->dialogs.answerMessage(QMessageBox::Ok);
    m_app->start();

    QCOMPARE(m_app->registry.calls.size(), yes ? AssociationCalls : 0);
    // After the question, before the "Restart" message.
    QCOMPARE(m_messagesAtRegistryCalls, QList<qsizetype>(yes ? AssociationCalls : 0, 1));
    if (yes) {
        QCOMPARE(m_app->dialogs.messages().constLast(), Restart);
        const QByteArray icon = ProgramFolder::file("Korvid.ico").toLocal8Bit() + '\0';
        QCOMPARE(m_app->registry.calls.at(16).data, icon);
        QCOMPARE(m_app->registry.calls.at(3).data, QByteArray("Korvid4\0", 8));
    }
}

void TestOptions::shownModallyOverTheMainWindow()
{
    frmMain *main = AppFixture::main();
    IsAssociated = true;
    bool shown = false;
    QWidget *owner = nullptr;
    bool associateEnabled = true;
    QTimer::singleShot(0, this, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *dialog = qobject_cast<frmOptions *>(modal)) {
            shown = dialog->isModal();
            owner = dialog->parentWidget();
            associateEnabled = dialog->cmdAssociate()->isEnabled();
            dialog->cmdCancel()->click();
        } else if (modal) {
            modal->close();
        }
    });
    main->showOptions();
    QVERIFY(shown);
    QCOMPARE(owner, main);
    QVERIFY(!associateEnabled);
    QVERIFY(m_app->settings.writes.isEmpty());
}

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
