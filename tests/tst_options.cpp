#include "mainwindow/MainWindow.h"
#include "dialogs/OptionsDialog.h"
#include "app/Globals.h"
#include "settings/ProgramFolder.h"
#include "support/AppFixture.h"

#include <QApplication>
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
// A file or folder dialog's: nothing when cancelled.
using Answer = std::optional<QString>;
// The settings written and the messages shown when one registry call was made.
using Progress = QPair<qsizetype, qsizetype>;
// The registry calls one association makes: four keys created and closed, four values opened, written, closed.
constexpr qsizetype AssociationCalls = 18;

// How the user got on with one showing of the dialog.
enum class Step { BrowseFile, CancelFile, FolderPicker, CancelFolder, Associate, Ok, Cancel, CloseBox };
}
Q_DECLARE_METATYPE(Step)

class TestOptions : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void shownModallyFromTheGlobals();
    void okOrCancel_data();
    void okOrCancel();
    void variablesFileDialog();
    void GetBrowseDirectory_data();
    void GetBrowseDirectory();

private:
    // The dialog as the main window would show it, built without blocking.
    OptionsDialog *options();
    void take(const QList<Step> &steps);

    AppFixture *m_app = nullptr;
    OptionsDialog *m_options = nullptr;
    QList<Progress> m_progress;
};

void TestOptions::init()
{
    m_app = new AppFixture;
    m_app->setReturningUser();
    m_app->start();
    VariableDir = OldVariables;
    ProjectDir = OldFolder;
    m_app->registry.observer = [this] {
        m_progress.append({m_app->settings.writes.size(), m_app->dialogs.messages().size()});
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
    m_progress.clear();
}

OptionsDialog *TestOptions::options()
{
    delete m_options;
    m_options = new OptionsDialog(AppFixture::main());
    return m_options;
}

void TestOptions::take(const QList<Step> &steps)
{
    for (Step step : steps) {
        if (step == Step::BrowseFile || step == Step::CancelFile)
            m_app->dialogs.answerFile(step == Step::BrowseFile ? Answer("/new/Known.dat") : std::nullopt);
        if (step == Step::FolderPicker || step == Step::CancelFolder)
            m_app->dialogs.answerFolder(step == Step::FolderPicker ? Answer("/new/units") : std::nullopt);
        // The button of each step, in the steps' order; the close box has none.
        const QList<QPushButton *> buttons{m_options->cmdVarBrowse(), m_options->cmdVarBrowse(), m_options->cmdBrowse(),
                                           m_options->cmdBrowse(),    m_options->cmdAssociate(), m_options->cmdOk(),
                                           m_options->cmdCancel()};
        if (step == Step::CloseBox)
            m_options->close();
        else
            buttons.at(int(step))->click();
    }
}

void TestOptions::shownModallyFromTheGlobals()
{
    QTimer::singleShot(0, this, [] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        // The close box, whatever the checks find.
        QTimer::singleShot(0, modal, &QWidget::close);
        auto *dialog = qobject_cast<OptionsDialog *>(modal);
        QVERIFY(dialog);
        QCOMPARE(dialog->parentWidget(), AppFixture::main());
        QCOMPARE(dialog->windowTitle(), "Korvid Options");
        QCOMPARE(dialog->lblAsc()->text(),
                 "Click associate if you want all TA \".FBI\" files to be associated with Korvid.");
        QVERIFY(dialog->cmdAssociate()->isEnabled());
        QCOMPARE(dialog->PendingVarsDat(), OldVariables);
        QCOMPARE(dialog->PendingSaveDir(), OldFolder);
    });
    AppFixture::main()->showOptions();
}

void TestOptions::okOrCancel_data()
{
    QTest::addColumn<QList<Step>>("steps");
    QTest::addColumn<Step>("finish");
    QTest::addColumn<Writes>("writes");
    const QList<Step> everything{Step::BrowseFile, Step::FolderPicker, Step::Associate};
    const Writes unchanged{{"VariableDir", OldVariables}, {"ProjectDir", OldFolder}};
    QTest::newRow("OK, no change: both written all the same") << QList<Step>{} << Step::Ok << unchanged;
    QTest::newRow("OK, new file and folder") << QList<Step>{Step::BrowseFile, Step::FolderPicker} << Step::Ok
        << Writes{{"VariableDir", "/new/Known.dat"}, {"ProjectDir", "/new/units/"}};
    QTest::newRow("OK, browsing cancelled keeps the old values")
        << QList<Step>{Step::CancelFile, Step::CancelFolder} << Step::Ok << unchanged;
    QTest::newRow("OK after Associate") << QList<Step>{Step::FolderPicker, Step::Associate} << Step::Ok
        << Writes{{"VariableDir", OldVariables}, {"ProjectDir", "/new/units/"}, {"Associated", "1"}};
    QTest::newRow("Cancel after Associate writes nothing") << everything << Step::Cancel << Writes{};
    QTest::newRow("the close box acts as Cancel") << everything << Step::CloseBox << Writes{};
}

void TestOptions::okOrCancel()
{
    QFETCH(QList<Step>, steps);
    QFETCH(Step, finish);
    QFETCH(Writes, writes);
    const bool associated = writes.size() == 3;
    OptionsDialog *dialog = options();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    take(steps);
    // Enter and Esc do not close the dialog, whichever control has the focus; nothing happens before OK.
    for (QWidget *focus : QList<QWidget *>{dialog->txtVarsDat(), dialog->cmdOk(), dialog->cmdCancel()}) {
        focus->setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(focus, key);
    }
    QVERIFY(dialog->isVisible());
    QVERIFY(m_app->settings.writes.isEmpty());
    QVERIFY(m_app->registry.log.isEmpty());
    if (associated)
        m_app->dialogs.answerMessage(QMessageBox::Ok);
    take({finish});

    QCOMPARE(m_app->settings.writes, writes);
    // The association follows the three writes; the "Restart" message follows it, over the dialog.
    QCOMPARE(m_progress, QList<Progress>(associated ? AssociationCalls : 0, {3, 0}));
    QCOMPARE(m_app->dialogs.messages(), associated ? QList<MessageBoxRequest>{Restart} : QList<MessageBoxRequest>{});
    if (associated) {
        QCOMPARE(m_app->dialogs.shown.constLast().owner, m_options);
        const QStringList &log = m_app->registry.log;
        const QString icon = ProgramFolder::file("Korvid.ico");
        QVERIFY(log.contains(R"(open(HKCR, ".fbi", 0, 0x3f) -> 2)"));
        QVERIFY(log.contains(R"(set(2, "", 1, "Korvid4\x00", 8))"));
        QVERIFY(log.contains(R"(set(5, "", 1, "FBI File\x00", 9))"));
        QVERIFY(log.contains(QStringLiteral(R"(set(7, "", 1, "%1\x00", %2))").arg(icon).arg(icon.size() + 1)));
    }
    QCOMPARE(IsAssociated, associated);
    QCOMPARE(m_options->result(), int(writes.isEmpty() ? QDialog::Rejected : QDialog::Accepted));
    QVERIFY(!m_options->isVisible());
    // The running program keeps what it started with; the next showing starts from it again.
    QCOMPARE(VariableDir, OldVariables);
    QCOMPARE(ProjectDir, OldFolder);
    m_app->dialogs.clear();
    OptionsDialog *next = options();
    QCOMPARE(next->PendingVarsDat(), OldVariables);
    QCOMPARE(next->PendingSaveDir(), OldFolder);
    QCOMPARE(next->cmdAssociate()->isEnabled(), !associated);
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
        // The program folder, not the folder of the file chosen before.
        QCOMPARE(request.directory, ProgramFolder::path());
    }
    QCOMPARE(m_app->dialogs.shown.constFirst().owner, m_options);
}

void TestOptions::GetBrowseDirectory_data()
{
    QTest::addColumn<Answer>("chosen");
    QTest::addColumn<QString>("result");
    QTest::newRow("folder gets one separator") << Answer("/games/ta") << QDir::toNativeSeparators("/games/ta/");
    QTest::newRow("root keeps its own") << Answer(QDir::rootPath()) << QDir::rootPath();
    QTest::newRow("cancelled") << Answer() << QString();
}

void TestOptions::GetBrowseDirectory()
{
    QFETCH(Answer, chosen);
    QFETCH(QString, result);
    OptionsDialog *dialog = options();
    m_app->dialogs.answerFolder(chosen);
    QCOMPARE(OptionsDialog::GetBrowseDirectory(*dialog), result);
    QCOMPARE(m_app->dialogs.shown.size(), 1);
    const ScriptedDialogs::Shown &shown = m_app->dialogs.shown.constFirst();
    QCOMPARE(std::get<ScriptedDialogs::Folder>(shown.request).title, "Choose a directory from the list.");
    QCOMPARE(shown.owner, dialog);
}

QTEST_MAIN(TestOptions)
#include "tst_options.moc"
