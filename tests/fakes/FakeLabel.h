#pragma once

#include "platform/Label.h"

namespace quorvane::fakes {

class FakeLabel : public Label {
public:
    explicit FakeLabel(std::string caption = {}) : m_caption(std::move(caption)) {}

    std::string caption() const override { return m_caption; }
    void setCaption(const std::string& caption) override { m_caption = caption; }

private:
    std::string m_caption;
};

} // namespace quorvane::fakes
