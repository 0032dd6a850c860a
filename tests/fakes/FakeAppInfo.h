#pragma once

#include "platform/AppInfo.h"

namespace quorvane::fakes {

class FakeAppInfo : public AppInfo {
public:
    explicit FakeAppInfo(std::string folder = "/opt/quorvane") : m_folder(std::move(folder)) {}

    std::string title() const override { return "Quorvane"; }
    std::string programFolder() const override { return m_folder; }
    Version version() const override { return {1, 0, 6}; }
    std::string homeFolder() const override { return home; }
    bool isAnotherInstanceRunning() override { return anotherInstance; }

    bool anotherInstance = false;
    std::string home = "/home/op";

private:
    std::string m_folder;
};

} // namespace quorvane::fakes
