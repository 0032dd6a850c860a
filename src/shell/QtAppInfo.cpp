#include "shell/QtAppInfo.h"

#include "shell/QtStrings.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvane {

QtAppInfo::QtAppInfo(const std::string& lockPath)
    : m_lock(
          std::make_unique<QLockFile>(toQString(lockPath.empty() ? defaultLockPath() : lockPath))) {
    // Only a live holder counts; a lock left by a crashed run is taken over.
    m_lock->setStaleLockTime(0);
}

namespace {

// A folder of the user's own that nobody else can write.
bool isPrivateFolder(const std::string& folder) {
    struct stat info {};
    return !folder.empty() && folder.front() == '/' && ::stat(folder.c_str(), &info) == 0 &&
           S_ISDIR(info.st_mode) && info.st_uid == ::getuid() &&
           (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// From the password database: $HOME may point anywhere.
std::string userHome() {
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir && *entry->pw_dir) {
        return entry->pw_dir;
    }
    return toStdString(QDir::homePath());
}

} // namespace

std::string QtAppInfo::defaultLockPath() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && isPrivateFolder(runtime)) {
        return std::string(runtime) + "/quorvane.lock";
    }
    return userHome() + "/.quorvane.lock";
}

std::string QtAppInfo::homeFolder() const {
    return toStdString(QDir::homePath());
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
