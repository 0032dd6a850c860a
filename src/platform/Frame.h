#pragma once

namespace quorvane {

// A group of controls that is enabled or disabled as a whole.
class Frame {
public:
    virtual ~Frame() = default;

    virtual bool isEnabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
};

} // namespace quorvane
