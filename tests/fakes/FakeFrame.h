#pragma once

#include "platform/Frame.h"

namespace quorvane::fakes {

class FakeFrame : public Frame {
public:
    bool isEnabled() const override { return m_enabled; }
    void setEnabled(bool enabled) override { m_enabled = enabled; }

private:
    bool m_enabled = true;
};

} // namespace quorvane::fakes
