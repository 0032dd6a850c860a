#pragma once

#include <functional>

namespace quorvane {

// One option button of a pair. Selecting it deselects its partner and runs its click
// reaction; deselecting it from code only clears it (so both may end up clear).
class OptionButton {
public:
    virtual ~OptionButton() = default;

    virtual bool isSelected() const = 0;
    virtual void setSelected(bool selected) = 0;
    virtual bool isEnabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;

    virtual void onClicked(std::function<void()> reaction) = 0;
};

} // namespace quorvane
