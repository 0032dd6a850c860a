#include "shell/QtFrame.h"

#include "shell/FocusParking.h"

#include <QWidget>

namespace quorvane {

bool QtFrame::isEnabled() const {
    return !m_frame->testAttribute(Qt::WA_ForceDisabled);
}

void QtFrame::setEnabled(bool enabled) {
    if (!enabled) {
        FocusParking::beforeDisabling(m_frame);
    }
    m_frame->setEnabled(enabled);
}

} // namespace quorvane
