#include "EventLoopWait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

namespace quorvane::support {

void EventLoopWait::run(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qWait(5);
    }
}

bool EventLoopWait::runUntil(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        if (condition()) {
            return true;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qWait(5);
    }
    return condition();
}

} // namespace quorvane::support
