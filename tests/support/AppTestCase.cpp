#include "support/AppTestCase.h"

#include <QTest>

void AppTestCase::init()
{
    m_app = new AppFixture;
    if (m_startsProgram) {
        m_app->setReturningUser();
        m_app->start();
    }
}

void AppTestCase::cleanup()
{
    const int unanswered = m_app->dialogs.unanswered;
    const qsizetype unused = m_app->dialogs.unusedAnswers();
    delete m_app;
    m_app = nullptr;
    QCOMPARE(unanswered, 0);
    QCOMPARE(unused, 0);
}
