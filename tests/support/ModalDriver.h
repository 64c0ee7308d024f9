#pragma once

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <functional>

// Acts on the next modal dialog of type Dialog once it is up, so that a test can drive a dialog
// that blocks in exec(). Lives on the test's stack: it stops looking when it goes out of scope.
template<typename Dialog>
class ModalDriver
{
public:
    explicit ModalDriver(std::function<void(Dialog *)> act)
        : m_act(std::move(act))
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this] {
            auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            m_poll.stop();
            ++m_appeared;
            QPointer<Dialog> guard(dialog);
            m_act(dialog);
            // A check that failed inside act returns early and leaves the dialog up: close it, or
            // its exec() would wait for ever and the test would hang instead of failing.
            if (QTest::currentTestFailed() && guard && guard->isVisible())
                guard->close();
        });
        m_poll.start(5);
    }

    int appeared() const { return m_appeared; }

private:
    std::function<void(Dialog *)> m_act;
    QTimer m_poll;
    int m_appeared = 0;
};
