#pragma once

#include "platform/Dialogs.h"

#include <functional>

namespace quorvane {

// Stands between the logic and the real message boxes: while one box is open (its nested
// event loop lets timers run), a further box is not stacked on it. The text of a box that
// was held back goes to `onHeldBack` instead (the window writes it to the Events pane).
// Once closed down (the window is going), no box is shown any more: a shutdown must not
// wait for anyone to dismiss one.
class MessageGate : public Dialogs {
public:
    explicit MessageGate(Dialogs& boxes) : m_boxes(boxes) {}

    void showMessage(const std::string& text, const std::string& title,
                     MessageIcon icon = MessageIcon::None) override;
    void beep() override { m_boxes.beep(); }
    bool isMessageOpen() const override { return m_open > 0 || m_boxes.isMessageOpen(); }

    void closeDown() { m_closed = true; }

    void onHeldBack(std::function<void(const std::string&)> reaction) {
        m_onHeldBack = std::move(reaction);
    }
    int heldBack() const { return m_heldBack; }

private:
    Dialogs& m_boxes;
    int m_open = 0;
    int m_heldBack = 0;
    bool m_reporting = false;
    bool m_closed = false;
    std::function<void(const std::string&)> m_onHeldBack;
};

} // namespace quorvane
