#pragma once

#include "platform/OptionButton.h"

namespace quorvane::fakes {

// One of a pair of option buttons; link() joins the two so that selecting one clears the
// other, as an exclusive group does.
class FakeOptionButton : public OptionButton {
public:
    static void link(FakeOptionButton& a, FakeOptionButton& b) {
        a.m_partner = &b;
        b.m_partner = &a;
    }

    bool isSelected() const override { return m_selected; }
    void setSelected(bool selected) override {
        if (selected == m_selected) {
            return;
        }
        m_selected = selected;
        if (selected) {
            if (m_partner) {
                m_partner->m_selected = false;
            }
            if (m_clicked) {
                m_clicked();
            }
        }
    }
    bool isEnabled() const override { return m_enabled; }
    void setEnabled(bool enabled) override { m_enabled = enabled; }
    void onClicked(std::function<void()> reaction) override { m_clicked = std::move(reaction); }

    void click() {
        if (m_enabled) {
            if (m_selected) {
                if (m_clicked) {
                    m_clicked();
                }
            } else {
                setSelected(true);
            }
        }
    }

private:
    bool m_selected = false;
    bool m_enabled = true;
    FakeOptionButton* m_partner = nullptr;
    std::function<void()> m_clicked;
};

} // namespace quorvane::fakes
