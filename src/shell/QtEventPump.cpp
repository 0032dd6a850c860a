#include "shell/QtEventPump.h"

#include <QCoreApplication>

namespace quorvane {

void QtEventPump::processPendingEvents() {
    QCoreApplication::processEvents();
}

} // namespace quorvane
