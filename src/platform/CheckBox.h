#pragma once

#include <functional>
#include <string>

namespace quorvane {

// A check box. Changing its value from code runs its click reaction, as a click does.
class CheckBox {
public:
    virtual ~CheckBox() = default;

    virtual bool isChecked() const = 0;
    virtual void setChecked(bool checked) = 0;
    virtual bool isEnabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;

    virtual void onClicked(std::function<void()> reaction) = 0;
};

} // namespace quorvane
