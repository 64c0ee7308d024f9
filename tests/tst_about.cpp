#include "dialogs/AboutBox.h"
#include "mainwindow/MainWindow.h"
#include "support/AppFixture.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace {
QColor linkColour(const AboutBox *box)
{
    return box->lblLink()->palette().color(QPalette::WindowText);
}
}

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void shownAndClosedByAClick_data();
    void shownAndClosedByAClick();

private:
    AppFixture *m_app = nullptr;
};

void TestAbout::init()
{
    m_app = new AppFixture;
    m_app->setReturningUser();
    m_app->start();
}

void TestAbout::cleanup()
{
    delete m_app;
    m_app = nullptr;
}

void TestAbout::shownAndClosedByAClick_data()
{
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<QColor>("pressed");   // the link's colour while the button is down
    QTest::addColumn<QString>("opened");   // the address opened through the platform layer, if any
    const QColor blue(0, 0, 255);
    QTest::newRow("link: opens the site") << QPoint(120, 104) << QColor(192, 192, 255) << AboutBox::WebAddress + "/";
    QTest::newRow("picture between the labels") << QPoint(120, 44) << blue << "";
    QTest::newRow("first credit line") << QPoint(120, 24) << blue << "";
    QTest::newRow("second credit line") << QPoint(120, 68) << blue << "";
}

void TestAbout::shownAndClosedByAClick()
{
    QFETCH(QPoint, point);
    QFETCH(QColor, pressed);
    QFETCH(QString, opened);
    MainWindow *main = AppFixture::main();
    main->setGeometry(100, 80, 700, 500);
    QTimer::singleShot(0, this, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        // Closes the box later should the click below not close it.
        QTimer::singleShot(2000, modal, &QWidget::close);
        auto *box = qobject_cast<AboutBox *>(modal);
        QVERIFY(box);
        // Over the main window and centred on it; frameless, and a tool window, so not in the taskbar.
        QCOMPARE(box->parentWidget(), main);
        const QPoint offset = box->frameGeometry().center() - main->frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QStringLiteral("%1, %2").arg(offset.x()).arg(offset.y())));
        QVERIFY(box->windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(box->windowType(), Qt::Tool);
        QCOMPARE(box->lblInfo()->text(), "");
        QCOMPARE(box->lblInfo2()->text(),
                 "For more information please consult the ReadMe file or vist the Veldmark website.");
        QCOMPARE(box->lblLink()->text(), AboutBox::WebAddress);
        QCOMPARE(box->lblLink()->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(box->lblLink()->cursor().hotSpot(), QPoint(12, 1));
        QCOMPARE(linkColour(box), QColor(0, 0, 255));

        QTest::mousePress(box->windowHandle(), Qt::LeftButton, {}, point);
        QCOMPARE(linkColour(box), pressed);
        QVERIFY(box->isVisible());
        QVERIFY(m_app->dialogs.shown.isEmpty());
        QTest::mouseRelease(box->windowHandle(), Qt::LeftButton, {}, point);
        QCOMPARE(linkColour(box), QColor(0, 0, 255));
        QVERIFY(!box->isVisible());
    });
    main->showAbout();
    QCOMPARE(m_app->dialogs.shown.size(), opened.isEmpty() ? 0 : 1);
    if (!opened.isEmpty())
        QCOMPARE(std::get<QUrl>(m_app->dialogs.shown.constFirst().request), QUrl(opened));
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
