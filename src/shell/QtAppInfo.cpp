#include "shell/QtAppInfo.h"

#include "shell/QtStrings.h"

#include <QCoreApplication>
#include <QDir>
#include <unistd.h>

namespace quorvane {

QtAppInfo::QtAppInfo(const std::string& lockPath)
    : m_lock(
          std::make_unique<QLockFile>(toQString(lockPath.empty() ? defaultLockPath() : lockPath))) {
    // Only a live holder counts; a lock left by a crashed run is taken over.
    m_lock->setStaleLockTime(0);
}

std::string QtAppInfo::defaultLockPath() {
    return toStdString(QDir::tempPath()) + "/quorvane-" + std::to_string(::getuid()) + ".lock";
}

std::string QtAppInfo::programFolder() const {
    return toStdString(QCoreApplication::applicationDirPath());
}

Version QtAppInfo::version() const {
    return Version{QUORVANE_VERSION_MAJOR, QUORVANE_VERSION_MINOR, QUORVANE_VERSION_PATCH};
}

bool QtAppInfo::isAnotherInstanceRunning() {
    if (!m_checked) {
        m_checked = true;
        m_another = !m_lock->tryLock(0) && m_lock->error() == QLockFile::LockFailedError;
    }
    return m_another;
}

} // namespace quorvane
