#pragma once

#include "platform/Button.h"

namespace quorvane::fakes {

class FakeButton : public Button {
public:
    explicit FakeButton(std::string caption = {}) : m_caption(std::move(caption)) {}

    std::string caption() const override { return m_caption; }
    void setCaption(const std::string& caption) override { m_caption = caption; }
    bool isEnabled() const override { return m_enabled; }
    void setEnabled(bool enabled) override { m_enabled = enabled; }
    Color background() const override { return m_background; }
    void setBackground(Color color) override { m_background = color; }
    void setFocus() override { ++m_focusRequests; }
    void onClicked(std::function<void()> reaction) override { m_clicked = std::move(reaction); }

    // The operator clicks (a disabled button cannot be clicked).
    void click() {
        if (m_enabled && m_clicked) {
            m_clicked();
        }
    }
    int focusRequests() const { return m_focusRequests; }

private:
    std::string m_caption;
    bool m_enabled = true;
    Color m_background = colors::face;
    int m_focusRequests = 0;
    std::function<void()> m_clicked;
};

} // namespace quorvane::fakes
