#pragma once

#include "platform/Dialogs.h"

#include <functional>
#include <set>
#include <string>

namespace quorvane {

// While active (the start-up), a box whose failure was already shown in that time is not
// shown again; its text goes to `onHeldBack` (the Events pane) instead. The failure is the
// box's last line, the error number and description: with the serial port out of reach it
// is the same for every command the start-up sends.
class RepeatedFailureFilter : public Dialogs {
public:
    explicit RepeatedFailureFilter(Dialogs& boxes) : m_boxes(boxes) {}

    void showMessage(const std::string& text, const std::string& title,
                     MessageIcon icon = MessageIcon::None) override;
    void beep() override { m_boxes.beep(); }
    bool isMessageOpen() const override { return m_boxes.isMessageOpen(); }

    void begin();
    void end();

    void onHeldBack(std::function<void(const std::string&)> reaction) {
        m_onHeldBack = std::move(reaction);
    }

    // The text after the last line break.
    static std::string failureOf(const std::string& text);

private:
    Dialogs& m_boxes;
    bool m_active = false;
    std::set<std::string> m_shown;
    std::function<void(const std::string&)> m_onHeldBack;
};

} // namespace quorvane
