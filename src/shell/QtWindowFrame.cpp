#include "shell/QtWindowFrame.h"

#include "shell/QtStrings.h"

#include <QWidget>

namespace quorvane {

std::string QtWindowFrame::caption() const {
    return toStdString(m_window->windowTitle());
}

void QtWindowFrame::setCaption(const std::string& caption) {
    m_window->setWindowTitle(toQString(caption));
}

bool QtWindowFrame::isMinimized() const {
    return m_window->isMinimized();
}

WindowPlacement QtWindowFrame::placement() const {
    const QRect frame = m_window->frameGeometry();
    return WindowPlacement{frame.x() * kTwipsPerPixel, frame.y() * kTwipsPerPixel,
                           frame.width() * kTwipsPerPixel, frame.height() * kTwipsPerPixel};
}

} // namespace quorvane
