#pragma once

#include <string>

namespace quorvane {

// Anything with a settable caption: a label, or a message control of the formatter.
class Label {
public:
    virtual ~Label() = default;

    virtual std::string caption() const = 0;
    virtual void setCaption(const std::string& caption) = 0;
};

} // namespace quorvane
