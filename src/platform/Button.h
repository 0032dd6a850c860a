#pragma once

#include "platform/Color.h"

#include <functional>
#include <string>

namespace quorvane {

// A command button; the run buttons are coloured by the run states.
class Button {
public:
    virtual ~Button() = default;

    virtual std::string caption() const = 0;
    virtual void setCaption(const std::string& caption) = 0;
    virtual bool isEnabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual Color background() const = 0;
    virtual void setBackground(Color color) = 0;
    virtual void setFocus() = 0;

    virtual void onClicked(std::function<void()> reaction) = 0;
};

} // namespace quorvane
