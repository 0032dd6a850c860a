#pragma once

#include "viewer/FileWatcher.h"

#include <functional>
#include <string>

namespace quorvane::fakes {

// A watcher that speaks only when the test says so.
class FakeFileWatcher : public FileWatcher {
public:
    void watch(const std::string& path, std::function<void()> changed) override {
        watched = path;
        m_changed = std::move(changed);
    }
    void stop() override {
        watched.clear();
        m_changed = nullptr;
    }
    void pollSoon() override { ++soonRequests; }

    // The file changed (or the poll period passed).
    void fire() {
        if (m_changed) {
            m_changed();
        }
    }
    // Answers the requests for another poll until none is left; how many there were.
    int drainSoon() {
        int n = 0;
        while (soonRequests > 0) {
            --soonRequests;
            ++n;
            fire();
        }
        return n;
    }

    std::string watched;
    int soonRequests = 0;

private:
    std::function<void()> m_changed;
};

} // namespace quorvane::fakes
