#include "about/frmAbout.h"
#include "mainwindow/frmMain.h"
#include "support/AppFixture.h"

#include <QApplication>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace {
QColor textColour(const QLabel *label)
{
    return label->palette().color(QPalette::WindowText);
}
}

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void design();
    void pictureShowsThroughTheLabels();
    void centredOnTheMainWindow();
    void linkColourFollowsTheButton_data();
    void linkColourFollowsTheButton();
    void clickOnTheLinkOpensTheSite();
    void releaseOffTheLinkOpensNothing();
    void clickElsewhereCloses_data();
    void clickElsewhereCloses();
    void shownModallyOverTheMainWindow();

private:
    frmAbout *about();
    QList<QUrl> openedUrls() const;

    AppFixture *m_app = nullptr;
    frmAbout *m_about = nullptr;
};

void TestAbout::init()
{
    m_app = new AppFixture;
    m_app->setReturningUser();
    m_app->start();
}

void TestAbout::cleanup()
{
    delete m_about;
    m_about = nullptr;
    delete m_app;
    m_app = nullptr;
}

// Shown without blocking, as the main window shows it.
frmAbout *TestAbout::about()
{
    delete m_about;
    m_about = new frmAbout(AppFixture::main());
    m_about->show();
    if (!QTest::qWaitForWindowExposed(m_about))
        qWarning("the About box was not exposed");
    return m_about;
}

QList<QUrl> TestAbout::openedUrls() const
{
    QList<QUrl> urls;
    for (const ScriptedDialogs::Shown &shown : m_app->dialogs.shown) {
        if (const auto *url = std::get_if<QUrl>(&shown.request))
            urls.append(*url);
    }
    return urls;
}

void TestAbout::design()
{
    frmAbout *box = about();
    QVERIFY(box->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(box->windowType(), Qt::Tool);
    QCOMPARE(box->size(), QSize(241, 127));
    QCOMPARE(box->parentWidget(), AppFixture::main());

    QCOMPARE(box->lblInfo()->text(), "");
    QCOMPARE(box->lblInfo2()->text(),
             "For more information please consult the ReadMe file or vist the Veldmark website.");
    QCOMPARE(box->lblLink()->text(), frmAbout::WebAddress);
    QCOMPARE(box->lblInfo()->geometry(), QRect(8, 8, 225, 33));
    QCOMPARE(box->lblInfo2()->geometry(), QRect(8, 48, 225, 41));
    QCOMPARE(box->lblLink()->geometry(), QRect(8, 96, 225, 17));
    for (QLabel *label : {box->lblInfo(), box->lblInfo2(), box->lblLink()})
        QVERIFY(label->alignment() & Qt::AlignHCenter);
    QVERIFY(box->lblInfo()->font().bold());
    QVERIFY(!box->lblInfo2()->font().bold());
    QVERIFY(box->lblLink()->font().bold());
    QCOMPARE(textColour(box->lblLink()), QColor(0, 0, 255));

    const QCursor hand = box->lblLink()->cursor();
    QCOMPARE(hand.shape(), Qt::BitmapCursor);
    QCOMPARE(hand.hotSpot(), QPoint(12, 1));
    QCOMPARE(hand.pixmap().size(), QSize(32, 32));
    QCOMPARE(box->cursor().shape(), Qt::ArrowCursor);

    // It has no keys: only the mouse closes it.
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Space})
        QTest::keyClick(box, key);
    QVERIFY(box->isVisible());
}

void TestAbout::pictureShowsThroughTheLabels()
{
    frmAbout *box = about();
    const QImage picture = QImage(":/about.bmp").convertToFormat(QImage::Format_RGB32);
    QCOMPARE(picture.size(), QSize(241, 128));
    const QImage shown = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // Corners of the box and the labels' blank edges, where no text is drawn.
    for (const QPoint point : {QPoint(0, 0), QPoint(240, 126), QPoint(10, 10), QPoint(230, 50), QPoint(10, 112)})
        QCOMPARE(QColor(shown.pixel(point)), QColor(picture.pixel(point)));
}

void TestAbout::centredOnTheMainWindow()
{
    frmMain *main = AppFixture::main();
    main->setGeometry(100, 80, 700, 500);
    frmAbout *box = about();
    const QPoint offset = box->frameGeometry().center() - main->frameGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QStringLiteral("%1, %2").arg(offset.x()).arg(offset.y())));
}

void TestAbout::linkColourFollowsTheButton_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left") << Qt::LeftButton;
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void TestAbout::linkColourFollowsTheButton()
{
    QFETCH(Qt::MouseButton, button);
    frmAbout *box = about();
    QLabel *link = box->lblLink();
    QTest::mousePress(box->windowHandle(), button, {}, link->geometry().center());
    QCOMPARE(textColour(link), QColor(192, 192, 255));
    QVERIFY(openedUrls().isEmpty());
    QVERIFY(box->isVisible());
    QTest::mouseRelease(box->windowHandle(), button, {}, link->geometry().center());
    QCOMPARE(textColour(link), QColor(0, 0, 255));
}

void TestAbout::clickOnTheLinkOpensTheSite()
{
    frmAbout *box = about();
    QTest::mouseClick(box->windowHandle(), Qt::LeftButton, {}, box->lblLink()->geometry().topLeft() + QPoint(2, 2));
    QCOMPARE(openedUrls(), QList<QUrl>{QUrl(frmAbout::WebAddress + "/")});
    QVERIFY(!box->isVisible());
}

void TestAbout::releaseOffTheLinkOpensNothing()
{
    frmAbout *box = about();
    QLabel *link = box->lblLink();
    QTest::mousePress(link, Qt::LeftButton, {}, link->rect().center());
    QTest::mouseRelease(link, Qt::LeftButton, {}, link->rect().center() + QPoint(0, 40));
    QCOMPARE(textColour(link), QColor(0, 0, 255));
    QVERIFY(openedUrls().isEmpty());
    QVERIFY(box->isVisible());
}

void TestAbout::clickElsewhereCloses_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("picture between the labels") << "picture";
    QTest::newRow("first credit line") << "lblInfo";
    QTest::newRow("second credit line") << "lblInfo2";
    QTest::newRow("beside the link") << "margin";
}

void TestAbout::clickElsewhereCloses()
{
    QFETCH(QString, where);
    frmAbout *box = about();
    QPoint point;
    if (where == "picture")
        point = {120, 44};
    else if (where == "margin")
        point = {4, box->lblLink()->geometry().center().y()};
    else
        point = box->findChild<QLabel *>(where)->geometry().center();
    QTest::mouseClick(box->windowHandle(), Qt::LeftButton, {}, point);
    QVERIFY(!box->isVisible());
    QVERIFY(openedUrls().isEmpty());
}

void TestAbout::shownModallyOverTheMainWindow()
{
    frmMain *main = AppFixture::main();
    bool modal = false;
    QWidget *owner = nullptr;
    QTimer::singleShot(0, this, [&] {
        QWidget *shown = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<frmAbout *>(shown)) {
            modal = box->isModal();
            owner = box->parentWidget();
            QTest::mouseClick(box->windowHandle(), Qt::LeftButton, {}, QPoint(120, 44));
        } else if (shown) {
            shown->close();
        }
    });
    main->showAbout();
    QVERIFY(modal);
    QCOMPARE(owner, main);
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
