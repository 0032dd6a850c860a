#pragma once

#include "platform/Dialogs.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>
#include <string>
#include <vector>

namespace quorvane::support {

// Message boxes that close themselves: each stays "open" for a while, letting events run
// as a real modal box's loop does, and is recorded. Counts how many were open at once.
class RecordingDialogs : public Dialogs {
public:
    explicit RecordingDialogs(int openMs = 200) : m_openMs(openMs) {}

    void showMessage(const std::string& text, const std::string&, MessageIcon) override {
        m_texts.push_back(text);
        ++m_open;
        m_maxOpen = std::max(m_maxOpen, m_open);
        if (onOpen) {
            onOpen();
        }
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < m_openMs) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        if (onClose) {
            onClose();
        }
        --m_open;
    }
    void beep() override {}
    bool isMessageOpen() const override { return m_open > 0; }

    const std::vector<std::string>& texts() const { return m_texts; }
    int maxOpenAtOnce() const { return m_maxOpen; }

    // Run as a box opens and just before it closes (a test looks at what went on meanwhile).
    std::function<void()> onOpen;
    std::function<void()> onClose;

private:
    int m_openMs;
    int m_open = 0;
    int m_maxOpen = 0;
    std::vector<std::string> m_texts;
};

} // namespace quorvane::support
