#pragma once

#include <functional>

namespace quorvane {

// A long-interval timer, interval in seconds (up to at least 86400). It expires once the
// interval has passed since it was enabled; disabling it cancels a pending expiry.
class LongTimer {
public:
    virtual ~LongTimer() = default;

    virtual float interval() const = 0;
    virtual void setInterval(float seconds) = 0;
    virtual bool isEnabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;

    virtual void onExpiry(std::function<void()> reaction) = 0;
};

} // namespace quorvane
