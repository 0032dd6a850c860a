#pragma once

#include <string>

namespace quorvane {

// Placement in twips (1/1440 inch).
struct WindowPlacement {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

// The main window itself: caption, placement, closing.
class MainWindowFrame {
public:
    virtual ~MainWindowFrame() = default;

    virtual std::string caption() const = 0;
    virtual void setCaption(const std::string& caption) = 0;
    virtual bool isMinimized() const = 0;
    virtual WindowPlacement placement() const = 0;
};

} // namespace quorvane
