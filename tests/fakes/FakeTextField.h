#pragma once

#include "platform/TextField.h"

namespace quorvane::fakes {

// Entry field: setText runs the change reaction when the text changes; type() and the
// focus helpers play an operator.
class FakeTextField : public TextField {
public:
    explicit FakeTextField(std::string text = {}) : m_text(std::move(text)) {}

    std::string text() const override { return m_text; }
    void setText(const std::string& text) override {
        if (text == m_text) {
            return;
        }
        m_text = text;
        if (m_changed) {
            m_changed();
        }
    }
    void setSelection(int start, int length) override {
        m_selectionStart = start;
        m_selectionLength = length;
    }
    void setBackground(Color color) override { m_background = color; }
    void setForeground(Color color) override { m_foreground = color; }
    void setFocus() override {
        ++m_focusRequests;
        if (!m_hasFocus) {
            m_hasFocus = true;
            if (m_gotFocus) {
                m_gotFocus();
            }
        }
    }
    void onChanged(std::function<void()> reaction) override { m_changed = std::move(reaction); }
    void onGotFocus(std::function<void()> reaction) override { m_gotFocus = std::move(reaction); }
    void onLostFocus(std::function<void()> reaction) override { m_lostFocus = std::move(reaction); }

    // Operator actions.
    void focusIn() { setFocus(); }
    void focusOut() {
        m_hasFocus = false;
        if (m_lostFocus) {
            m_lostFocus();
        }
    }
    // Types the text one keystroke at a time (each keystroke replaces the selection or
    // appends), so the change reaction runs once per character.
    void type(const std::string& text) {
        for (char c : text) {
            std::string next = m_text;
            if (m_selectionLength > 0) {
                next =
                    m_text.substr(0, static_cast<std::size_t>(m_selectionStart)) +
                    m_text.substr(static_cast<std::size_t>(m_selectionStart + m_selectionLength));
            }
            m_selectionLength = 0;
            next.push_back(c);
            setText(next);
            m_selectionStart = static_cast<int>(m_text.size());
        }
    }

    bool hasFocus() const { return m_hasFocus; }
    int focusRequests() const { return m_focusRequests; }
    int selectionStart() const { return m_selectionStart; }
    int selectionLength() const { return m_selectionLength; }
    Color background() const { return m_background; }
    Color foreground() const { return m_foreground; }

private:
    std::string m_text;
    int m_selectionStart = 0;
    int m_selectionLength = 0;
    Color m_background = colors::white;
    Color m_foreground = colors::black;
    bool m_hasFocus = false;
    int m_focusRequests = 0;
    std::function<void()> m_changed;
    std::function<void()> m_gotFocus;
    std::function<void()> m_lostFocus;
};

} // namespace quorvane::fakes
