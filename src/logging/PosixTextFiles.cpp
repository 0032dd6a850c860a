#include "logging/PosixTextFiles.h"

#include "platform/Failure.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvane {

namespace {

[[noreturn]] void fail(int error) {
    throw Failure(error, std::strerror(error));
}

int openFile(const std::string& path, int flags) {
    if (path.empty()) {
        fail(ENOENT);
    }
    int fd;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        fail(errno);
    }
    return fd;
}

void closeFile(int fd) {
    if (::close(fd) != 0 && errno != EINTR) {
        fail(errno);
    }
}

} // namespace

void PosixTextFiles::appendLine(const std::string& path, const std::string& line) {
    const std::string data = line + "\r\n";
    const int fd = openFile(path, O_WRONLY | O_CREAT | O_APPEND);
    const off_t start = ::lseek(fd, 0, SEEK_END);
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            if (done > 0 && start >= 0) {
                // Leave the file as it was before this line.
                [[maybe_unused]] int ignored = ::ftruncate(fd, start);
            }
            ::close(fd);
            fail(error);
        }
        done += static_cast<std::size_t>(n);
    }
    closeFile(fd);
}

void PosixTextFiles::createEmpty(const std::string& path) {
    closeFile(openFile(path, O_WRONLY | O_CREAT | O_TRUNC));
}

bool PosixTextFiles::isWritableFolder(const std::string& folder) {
    return !folder.empty() && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

} // namespace quorvane
