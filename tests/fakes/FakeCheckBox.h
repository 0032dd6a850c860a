#pragma once

#include "platform/CheckBox.h"

namespace quorvane::fakes {

class FakeCheckBox : public CheckBox {
public:
    bool isChecked() const override { return m_checked; }
    void setChecked(bool checked) override {
        if (checked == m_checked) {
            return;
        }
        m_checked = checked;
        if (m_clicked) {
            m_clicked();
        }
    }
    bool isEnabled() const override { return m_enabled; }
    void setEnabled(bool enabled) override { m_enabled = enabled; }
    void onClicked(std::function<void()> reaction) override { m_clicked = std::move(reaction); }

    void click() {
        if (m_enabled) {
            setChecked(!m_checked);
        }
    }

private:
    bool m_checked = false;
    bool m_enabled = true;
    std::function<void()> m_clicked;
};

} // namespace quorvane::fakes
