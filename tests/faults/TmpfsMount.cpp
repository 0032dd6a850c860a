#include "TmpfsMount.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>
#include <vector>

namespace quorvane::faults {

namespace {

// Once per process: a private mount namespace, if the machine lets us have one.
void enterPrivateNamespace() {
    static const bool done = [] {
        if (::unshare(CLONE_NEWNS) != 0) {
            return false;
        }
        // Without this, mounts would still propagate to the machine's namespace.
        return ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    }();
    (void)done;
}

} // namespace

TmpfsMount::~TmpfsMount() {
    unmount();
}

bool TmpfsMount::mount(const std::string& folder, int sizeKb) {
    enterPrivateNamespace();
    m_options = "size=" + std::to_string(sizeKb) + "k,mode=0777";
    if (::mount("tmpfs", folder.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, m_options.c_str()) != 0) {
        m_error = "cannot mount a tmpfs on " + folder + ": " + std::strerror(errno);
        return false;
    }
    m_folder = folder;
    return true;
}

bool TmpfsMount::setReadOnly(bool readOnly) {
    const unsigned long flags = MS_REMOUNT | MS_NOSUID | MS_NODEV | (readOnly ? MS_RDONLY : 0);
    if (::mount("tmpfs", m_folder.c_str(), "tmpfs", flags, m_options.c_str()) != 0) {
        m_error = "cannot remount " + m_folder + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

void TmpfsMount::unmount() {
    if (!m_folder.empty()) {
        ::umount2(m_folder.c_str(), MNT_DETACH);
        m_folder.clear();
    }
}

long long TmpfsMount::fill(const std::string& file) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return -1;
    }
    const std::vector<char> block(4096, 0);
    long long total = 0;
    for (;;) {
        const ssize_t n = ::write(fd, block.data(), block.size());
        if (n <= 0) {
            break;
        }
        total += n;
    }
    ::close(fd);
    return total;
}

} // namespace quorvane::faults
