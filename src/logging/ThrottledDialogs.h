#pragma once

#include "platform/Clock.h"
#include "platform/Dialogs.h"

#include <chrono>
#include <functional>
#include <optional>

namespace quorvane {

// For messages that a flood of bad input could repeat every few seconds (a stream of
// undecodable records): after a box, further boxes within the quiet period are not shown;
// their text goes to `onHeldBack` (the Events pane) instead.
class ThrottledDialogs : public Dialogs {
public:
    ThrottledDialogs(Dialogs& boxes, const Clock& clock, std::chrono::seconds quietPeriod)
        : m_boxes(boxes), m_clock(clock), m_quiet(quietPeriod) {}

    void showMessage(const std::string& text, const std::string& title,
                     MessageIcon icon = MessageIcon::None) override;
    void beep() override { m_boxes.beep(); }
    bool isMessageOpen() const override { return m_boxes.isMessageOpen(); }

    void onHeldBack(std::function<void(const std::string&)> reaction) {
        m_onHeldBack = std::move(reaction);
    }

private:
    Dialogs& m_boxes;
    const Clock& m_clock;
    std::chrono::seconds m_quiet;
    std::optional<std::chrono::sys_seconds> m_lastShown;
    std::function<void(const std::string&)> m_onHeldBack;
};

} // namespace quorvane
