#include "PtyDevice.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace quorvane::probesim {

namespace {
std::string errorText(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}
} // namespace

PtyDevice::~PtyDevice() {
    close();
}

bool PtyDevice::open(std::string& error) {
    close();
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0) {
        error = errorText("posix_openpt");
        return false;
    }
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        error = errorText("grantpt/unlockpt");
        close();
        return false;
    }
    char name[256];
    if (ptsname_r(m_master, name, sizeof name) != 0) {
        error = errorText("ptsname_r");
        close();
        return false;
    }
    m_slavePath = name;
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0) {
        error = errorText("open slave");
        close();
        return false;
    }
    termios tio{};
    if (tcgetattr(m_slave, &tio) != 0) {
        error = errorText("tcgetattr");
        close();
        return false;
    }
    cfmakeraw(&tio);
    if (tcsetattr(m_slave, TCSANOW, &tio) != 0) {
        error = errorText("tcsetattr");
        close();
        return false;
    }
    const int flags = fcntl(m_master, F_GETFL);
    fcntl(m_master, F_SETFL, flags | O_NONBLOCK);
    fcntl(m_master, F_SETFD, FD_CLOEXEC);
    return true;
}

void PtyDevice::close() {
    if (m_slave >= 0) {
        ::close(m_slave);
        m_slave = -1;
    }
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
}

int PtyDevice::unreadBytes() const {
    int n = 0;
    if (m_slave < 0 || ioctl(m_slave, FIONREAD, &n) != 0) {
        return 0;
    }
    return n;
}

bool PtyDevice::pointLink(const std::string& linkPath, const std::string& target,
                          std::string& error) {
    struct stat st {};
    if (lstat(linkPath.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) {
        error = linkPath + " exists and is not a symbolic link";
        return false;
    }
    // Link beside it under a temporary name, then rename over: the program never finds the
    // path missing or half-made.
    const std::string temp = linkPath + ".tmp" + std::to_string(getpid());
    ::unlink(temp.c_str());
    if (symlink(target.c_str(), temp.c_str()) != 0) {
        error = errorText(("symlink " + temp).c_str());
        return false;
    }
    if (rename(temp.c_str(), linkPath.c_str()) != 0) {
        error = errorText(("rename to " + linkPath).c_str());
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

void PtyDevice::removeLink(const std::string& linkPath, const std::string& target) {
    char buf[4096];
    const ssize_t n = readlink(linkPath.c_str(), buf, sizeof buf - 1);
    if (n < 0) {
        return;
    }
    if (std::string(buf, std::size_t(n)) == target) {
        ::unlink(linkPath.c_str());
    }
}

} // namespace quorvane::probesim
