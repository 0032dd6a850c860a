#pragma once

#include "platform/AppInfo.h"

#include <QLockFile>
#include <memory>

namespace quorvane {

// The program's title, folder and version, and the single-instance guard: a lock file per
// user, held for the life of the process, in a folder that only the user can write.
class QtAppInfo : public AppInfo {
public:
    // lockPath: where the guard's lock file lives; empty = the per-user default.
    explicit QtAppInfo(const std::string& lockPath = {});

    std::string title() const override { return "Quorvane"; }
    std::string programFolder() const override;
    Version version() const override;
    std::string homeFolder() const override;
    // The first call takes the lock; true when another process holds it.
    bool isAnotherInstanceRunning() override;

    // In $XDG_RUNTIME_DIR when that is the user's own (absolute, owned by the user, written
    // by nobody else), else in the user's home folder; never in a folder that others can
    // write, and the same whatever TMPDIR says.
    static std::string defaultLockPath();

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_checked = false;
    bool m_another = false;
};

} // namespace quorvane
