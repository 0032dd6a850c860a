#pragma once

#include "platform/Frame.h"

class QWidget;

namespace quorvane {

// A group box or plain frame; disabling it makes everything inside unreachable.
class QtFrame : public Frame {
public:
    explicit QtFrame(QWidget* frame) : m_frame(frame) {}

    bool isEnabled() const override;
    void setEnabled(bool enabled) override;

    QWidget* widget() const { return m_frame; }

private:
    QWidget* m_frame;
};

} // namespace quorvane
