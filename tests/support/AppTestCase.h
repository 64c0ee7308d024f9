#pragma once

#include "support/AppFixture.h"

#include <QObject>

// The frame of the window tests: every test function gets a fresh program (started as a returning
// user, unless the test starts it itself) and ends by checking that each dialog it caused was
// answered, and no answer was left over.
class AppTestCase : public QObject
{
    Q_OBJECT

public:
    explicit AppTestCase(bool startsProgram = true)
        : m_startsProgram(startsProgram)
    {
    }

protected:
    AppFixture *m_app = nullptr;

private slots:
    void init();
    void cleanup();

private:
    bool m_startsProgram;
};
