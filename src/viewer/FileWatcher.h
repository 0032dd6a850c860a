#pragma once

#include <functional>
#include <string>

namespace quorvane {

// Tells its owner when a followed file may have changed: written, created, removed or
// replaced. The owner then reads what is new; a watcher never reads the file itself.
class FileWatcher {
public:
    virtual ~FileWatcher() = default;

    // Watches `path` (which need not exist yet), calling `changed` on the event loop.
    virtual void watch(const std::string& path, std::function<void()> changed) = 0;
    virtual void stop() = 0;
    // Calls `changed` once more soon, after pending events (to read a big file piecewise).
    virtual void pollSoon() = 0;
};

} // namespace quorvane
