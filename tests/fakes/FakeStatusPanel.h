#pragma once

#include "platform/StatusPanel.h"

namespace quorvane::fakes {

class FakeStatusPanel : public StatusPanel {
public:
    std::string text() const override { return m_text; }
    void setText(const std::string& text) override { m_text = text; }
    bool setPicture(const std::string& path) override {
        m_picturePath = path;
        return m_pictureLoads;
    }

    const std::string& picturePath() const { return m_picturePath; }
    void setPictureLoads(bool loads) { m_pictureLoads = loads; }

private:
    std::string m_text;
    std::string m_picturePath;
    bool m_pictureLoads = true;
};

} // namespace quorvane::fakes
