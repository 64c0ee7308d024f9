#include "dialogs/AboutBox.h"
#include "dialogs/OptionsDialog.h"
#include "mainwindow/MainWindow.h"
#include "support/Fixture.h"
#include "support/ModalDriver.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWindow>

namespace {
using Writes = QList<QPair<QString, QString>>;
}

class TestDialogs : public FixtureTestCase
{
    Q_OBJECT

private slots:
    void optionsTakeEffectAtTheNextStart_data();
    void optionsTakeEffectAtTheNextStart();
    void aboutBoxOpensTheSite_data();
    void aboutBoxOpensTheSite();
};

void TestDialogs::optionsTakeEffectAtTheNextStart_data()
{
    QTest::addColumn<bool>("associate");
    QTest::addColumn<QString>("ending");
    QTest::addColumn<Writes>("writes");
    const Writes chosen{{"VariableDir", "/new/Known.dat"}, {"ProjectDir", "/new/units/"}};
    QTest::newRow("OK") << false << "OK" << chosen;
    QTest::newRow("OK after Associate") << true << "OK" << chosen + Writes{{"Associated", "1"}};
    QTest::newRow("Cancel drops everything") << true << "Cancel" << Writes{};
    QTest::newRow("the close box drops everything") << true << "close" << Writes{};
}

void TestDialogs::optionsTakeEffectAtTheNextStart()
{
    QFETCH(bool, associate);
    QFETCH(QString, ending);
    QFETCH(Writes, writes);
    Settings settings(&f->store);
    f->options = {"/old/Variables.dat", "/old/units/", false};
    OptionsDialog dialog(settings, f->options, f->dialogs, f->registry, nullptr);
    f->dialogs.answerFile("/new/Known.dat");
    f->dialogs.answerFolder("/new/units");
    dialog.cmdVarBrowse()->click();
    dialog.cmdBrowse()->click();
    QCOMPARE(dialog.txtSaveDir()->text(), "/new/units/");
    if (associate)
        dialog.cmdAssociate()->click();
    QVERIFY(f->store.writes.isEmpty() && f->registry.values.isEmpty());
    const bool ok = ending == "OK";
    if (ok && associate)
        f->dialogs.answerMessage(QMessageBox::Ok);
    if (ending == "close")
        dialog.close();
    else
        (ok ? dialog.cmdOk() : dialog.cmdCancel())->click();
    QCOMPARE(f->store.writes, writes);
    QCOMPARE(!f->registry.values.isEmpty(), ok && associate);
    QCOMPARE(f->options.variableFile, "/old/Variables.dat");
    QCOMPARE(f->options.projectFolder, "/old/units/");
    if (ok)
        QCOMPARE(Options::read(settings).projectFolder, "/new/units/");
}

void TestDialogs::aboutBoxOpensTheSite_data()
{
    QTest::addColumn<bool>("onLink");
    QTest::newRow("a click on the link") << true;
    QTest::newRow("a click on the picture") << false;
}

void TestDialogs::aboutBoxOpensTheSite()
{
    QFETCH(bool, onLink);
    bool closed = false;
    ModalDriver<AboutBox> driver([&](AboutBox *box) {
        const QPoint point = onLink ? box->lblLink()->geometry().center() : QPoint(5, 5);
        QTest::mouseClick(box->windowHandle(), Qt::LeftButton, {}, point);
        closed = !box->isVisible();
        box->close();
    });
    f->main().showAbout();
    QVERIFY(closed);
    QCOMPARE(f->dialogs.openedUrls, onLink ? QList<QUrl>{QUrl(AboutBox::WebAddress + "/")} : QList<QUrl>());
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
