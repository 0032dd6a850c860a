#pragma once

#include "platform/Dialogs.h"

#include <functional>
#include <vector>

namespace quorvane::fakes {

// Records message boxes instead of blocking. `whileOpen`, if set, runs while a box is
// "open" to play the events a real nested loop would deliver (timer ticks, polls).
class FakeDialogs : public Dialogs {
public:
    struct Message {
        std::string text;
        std::string title;
        MessageIcon icon;
    };

    void showMessage(const std::string& text, const std::string& title, MessageIcon icon) override {
        m_messages.push_back({text, title, icon});
        ++m_open;
        if (m_open > m_maxOpen) {
            m_maxOpen = m_open;
        }
        if (whileOpen) {
            auto hook = whileOpen;
            hook();
        }
        --m_open;
    }
    void beep() override { ++m_beeps; }
    bool isMessageOpen() const override { return m_open > 0; }

    const std::vector<Message>& messages() const { return m_messages; }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& m : m_messages) {
            out.push_back(m.text);
        }
        return out;
    }
    void clear() {
        m_messages.clear();
        m_beeps = 0;
    }
    int beeps() const { return m_beeps; }
    // The largest number of boxes that were open at once.
    int maxOpenAtOnce() const { return m_maxOpen; }

    std::function<void()> whileOpen;

private:
    std::vector<Message> m_messages;
    int m_beeps = 0;
    int m_open = 0;
    int m_maxOpen = 0;
};

} // namespace quorvane::fakes
