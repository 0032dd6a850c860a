#pragma once

#include "platform/MainWindowFrame.h"

namespace quorvane::fakes {

class FakeWindowFrame : public MainWindowFrame {
public:
    std::string caption() const override { return m_caption; }
    void setCaption(const std::string& caption) override { m_caption = caption; }
    bool isMinimized() const override { return m_minimized; }
    WindowPlacement placement() const override { return m_placement; }

    void setMinimized(bool minimized) { m_minimized = minimized; }
    void setPlacement(WindowPlacement placement) { m_placement = placement; }

private:
    std::string m_caption = "Quorvane";
    bool m_minimized = false;
    WindowPlacement m_placement{1200, 900, 8796, 7968};
};

} // namespace quorvane::fakes
