#include "shell/QtOptionButton.h"

#include "shell/FocusParking.h"

#include <QRadioButton>

namespace quorvane {

QtOptionButton::QtOptionButton(QRadioButton* button) : m_button(button) {
    connect(m_button, &QRadioButton::toggled, this, &QtOptionButton::handleToggled);
}

bool QtOptionButton::isSelected() const {
    return m_button->isChecked();
}

void QtOptionButton::setSelected(bool selected) {
    if (selected == m_button->isChecked()) {
        return;
    }
    if (selected) {
        m_button->setChecked(true);
        return;
    }
    // An exclusive button refuses to be unchecked; lift the rule for the moment.
    const bool exclusive = m_button->autoExclusive();
    m_button->setAutoExclusive(false);
    m_button->setChecked(false);
    m_button->setAutoExclusive(exclusive);
}

bool QtOptionButton::isEnabled() const {
    return !m_button->testAttribute(Qt::WA_ForceDisabled);
}

void QtOptionButton::setEnabled(bool enabled) {
    if (!enabled) {
        FocusParking::beforeDisabling(m_button);
    }
    m_button->setEnabled(enabled);
}

void QtOptionButton::handleToggled(bool checked) {
    if (checked && m_clicked) {
        m_clicked();
    }
}

} // namespace quorvane
