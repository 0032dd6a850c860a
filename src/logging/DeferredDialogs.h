#pragma once

#include "platform/Dialogs.h"
#include "platform/EventPump.h"

#include <string>
#include <vector>

namespace quorvane {

// Keeps message boxes out of the handlers. A box asked for by the parsing pass, a timer, a
// button or any other handler is not shown there but queued, and shown from the event loop
// once the handler has returned: what the handler owed the instrument (the heater-off
// first) has gone out by then, and its timer keeps ticking while the operator reads it.
class DeferredDialogs : public Dialogs {
public:
    DeferredDialogs(Dialogs& boxes, EventPump& pump) : m_boxes(boxes), m_pump(pump) {}

    void showMessage(const std::string& text, const std::string& title,
                     MessageIcon icon = MessageIcon::None) override;
    void beep() override { m_boxes.beep(); }
    bool isMessageOpen() const override { return m_boxes.isMessageOpen(); }

    // Shows the queued boxes now, one after the other: the load does so once its commands
    // have gone out, and the end of the program hands them to a gate that is closed.
    void showQueuedNow();
    std::size_t queued() const { return m_queue.size(); }

    // While a Hold lives (a handler lets the waiting events run in its middle), the queued
    // boxes are not shown inside that pass but wait for the event loop proper.
    class Hold {
    public:
        explicit Hold(DeferredDialogs& dialogs) : m_dialogs(dialogs) { ++m_dialogs.m_holding; }
        ~Hold() { --m_dialogs.m_holding; }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        DeferredDialogs& m_dialogs;
    };

private:
    struct Message {
        std::string text;
        std::string title;
        MessageIcon icon;
    };
    void post();
    void showPosted();

    Dialogs& m_boxes;
    EventPump& m_pump;
    int m_holding = 0;
    bool m_posted = false;
    std::vector<Message> m_queue;
};

} // namespace quorvane
