#pragma once

#include "platform/Color.h"

#include <functional>
#include <string>

namespace quorvane {

// A single-line entry field. Writing its text from code runs its change reaction,
// exactly as an operator's edit does (only when the text really changes).
class TextField {
public:
    virtual ~TextField() = default;

    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
    virtual void setSelection(int start, int length) = 0;
    virtual void setBackground(Color color) = 0;
    virtual void setForeground(Color color) = 0;
    virtual void setFocus() = 0;

    virtual void onChanged(std::function<void()> reaction) = 0;
    virtual void onGotFocus(std::function<void()> reaction) = 0;
    virtual void onLostFocus(std::function<void()> reaction) = 0;
};

} // namespace quorvane
