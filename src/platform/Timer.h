#pragma once

#include <functional>

namespace quorvane {

// A standard timer: ticks every interval milliseconds while enabled. Interval 0 never ticks.
// Changing the interval of an enabled timer restarts its count.
class Timer {
public:
    virtual ~Timer() = default;

    virtual int interval() const = 0;
    virtual void setInterval(int milliseconds) = 0;
    virtual bool isEnabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;

    virtual void onTick(std::function<void()> reaction) = 0;
};

} // namespace quorvane
