#pragma once

#include "platform/MainWindowFrame.h"

class QWidget;

namespace quorvane {

// The main window as the logic sees it: caption, minimized, placement in twips.
class QtWindowFrame : public MainWindowFrame {
public:
    static constexpr double kTwipsPerPixel = 15.0;

    explicit QtWindowFrame(QWidget* window) : m_window(window) {}

    std::string caption() const override;
    void setCaption(const std::string& caption) override;
    bool isMinimized() const override;
    // The outer frame's position and size on the screen.
    WindowPlacement placement() const override;

private:
    QWidget* m_window;
};

} // namespace quorvane
