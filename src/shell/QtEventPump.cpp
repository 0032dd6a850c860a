#include "shell/QtEventPump.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace quorvane {

void QtEventPump::processPendingEvents() {
    QCoreApplication::processEvents();
}

void QtEventPump::post(std::function<void()> call) {
    QMetaObject::invokeMethod(&m_context, std::move(call), Qt::QueuedConnection);
}

} // namespace quorvane
