#pragma once

#include <string>

namespace quorvane {

enum class MessageIcon { None, Critical };

// Modal message boxes with a single OK button, and the system beep.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // Returns when the operator has closed the box. Queued events (timers) may run meanwhile.
    virtual void showMessage(const std::string& text, const std::string& title,
                             MessageIcon icon = MessageIcon::None) = 0;
    virtual void beep() = 0;
    // True while a box shown through this object is open.
    virtual bool isMessageOpen() const = 0;
};

} // namespace quorvane
