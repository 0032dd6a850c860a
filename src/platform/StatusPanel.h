#pragma once

#include <string>

namespace quorvane {

// One numbered panel of the status bar: text, and for the run panel a picture.
class StatusPanel {
public:
    virtual ~StatusPanel() = default;

    virtual std::string text() const = 0;
    virtual void setText(const std::string& text) = 0;
    // Loads the picture from a bitmap file; false when it could not be loaded.
    virtual bool setPicture(const std::string& path) = 0;
};

} // namespace quorvane
