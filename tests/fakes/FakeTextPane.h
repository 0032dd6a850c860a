#pragma once

#include "platform/TextPane.h"

namespace quorvane::fakes {

class FakeTextPane : public TextPane {
public:
    std::string text() const override { return m_text; }
    std::size_t length() const override { return m_text.size(); }
    void append(const std::string& text) override {
        m_text += text;
        ++m_appends;
    }
    void setText(const std::string& text) override {
        m_text = text;
        ++m_replacements;
    }
    void keepLast(std::size_t count) override {
        if (count < m_text.size()) {
            m_text.erase(0, m_text.size() - count);
        }
        ++m_cuts;
    }
    void setWrapping(bool wrap) override { m_wrapping = wrap; }

    bool wrapping() const { return m_wrapping; }
    int appends() const { return m_appends; }
    int replacements() const { return m_replacements; }
    int cuts() const { return m_cuts; }

private:
    std::string m_text;
    bool m_wrapping = true;
    int m_appends = 0;
    int m_replacements = 0;
    int m_cuts = 0;
};

} // namespace quorvane::fakes
