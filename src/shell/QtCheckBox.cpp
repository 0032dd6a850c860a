#include "shell/QtCheckBox.h"

#include "shell/FocusParking.h"

#include <QCheckBox>

namespace quorvane {

QtCheckBox::QtCheckBox(QCheckBox* box) : m_box(box) {
    connect(m_box, &QCheckBox::toggled, this, &QtCheckBox::handleToggled);
}

bool QtCheckBox::isChecked() const {
    return m_box->isChecked();
}

void QtCheckBox::setChecked(bool checked) {
    m_box->setChecked(checked);
}

bool QtCheckBox::isEnabled() const {
    return !m_box->testAttribute(Qt::WA_ForceDisabled);
}

void QtCheckBox::setEnabled(bool enabled) {
    if (!enabled) {
        FocusParking::beforeDisabling(m_box);
    }
    m_box->setEnabled(enabled);
}

void QtCheckBox::handleToggled(bool) {
    if (m_clicked) {
        m_clicked();
    }
}

} // namespace quorvane
