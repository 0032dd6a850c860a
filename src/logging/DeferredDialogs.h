#pragma once

#include "platform/Dialogs.h"
#include "platform/EventPump.h"

#include <string>
#include <vector>

namespace quorvane {

// Keeps message boxes out of the data path: while a Scope is alive (the serial poll with
// its parsing pass), a box is not shown but queued, and shown from the event loop once the
// handler has returned. The poll and the data log go on while the operator reads it.
// Outside a Scope boxes are shown at once, as before.
class DeferredDialogs : public Dialogs {
public:
    DeferredDialogs(Dialogs& boxes, EventPump& pump) : m_boxes(boxes), m_pump(pump) {}

    void showMessage(const std::string& text, const std::string& title,
                     MessageIcon icon = MessageIcon::None) override;
    void beep() override { m_boxes.beep(); }
    bool isMessageOpen() const override { return m_boxes.isMessageOpen(); }

    std::size_t queued() const { return m_queue.size(); }

    class Scope {
    public:
        explicit Scope(DeferredDialogs& dialogs) : m_dialogs(dialogs) { ++m_dialogs.m_deferring; }
        ~Scope() { --m_dialogs.m_deferring; }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        DeferredDialogs& m_dialogs;
    };

private:
    struct Message {
        std::string text;
        std::string title;
        MessageIcon icon;
    };
    void showQueued();

    Dialogs& m_boxes;
    EventPump& m_pump;
    int m_deferring = 0;
    bool m_posted = false;
    std::vector<Message> m_queue;
};

} // namespace quorvane
