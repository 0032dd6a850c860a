#include "shell/QtFrame.h"

#include <QWidget>

namespace quorvane {

bool QtFrame::isEnabled() const {
    return !m_frame->testAttribute(Qt::WA_ForceDisabled);
}

void QtFrame::setEnabled(bool enabled) {
    m_frame->setEnabled(enabled);
}

} // namespace quorvane
