#include "datafile/DataFileTail.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quorvane {

namespace {

constexpr std::size_t kCompared = 64;

// Closes the descriptor at the end of a poll.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

bool readAt(int fd, char* buffer, std::size_t size, qint64 offset, std::size_t& got) {
    got = 0;
    while (got < size) {
        const ssize_t n = ::pread(fd, buffer + got, size - got, static_cast<off_t>(offset) + got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

DataFileTail::DataFileTail(std::string path, std::size_t chunk)
    : m_path(std::move(path)), m_chunk(chunk == 0 ? kDefaultChunk : chunk) {}

DataFileTail::Step DataFileTail::poll() {
    Step step;
    const Descriptor fd(::open(m_path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        step.kind = errno == ENOENT ? Kind::Missing : Kind::Failed;
        step.message = std::string(std::strerror(errno));
        return step;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        step.kind = Kind::Failed;
        step.message = std::strerror(errno);
        return step;
    }
    if (!S_ISREG(info.st_mode)) {
        step.kind = Kind::Failed;
        step.message = S_ISDIR(info.st_mode) ? "is a folder" : "is not a regular file";
        return step;
    }
    const bool replaced = m_known && (info.st_dev != m_device || info.st_ino != m_inode);
    const bool shrank = info.st_size < m_offset;
    if (replaced || shrank || (m_offset > 0 && !sameBytesBefore(fd.get()))) {
        restart();
        step.kind = Kind::Restarted;
    }
    m_known = true;
    m_device = info.st_dev;
    m_inode = info.st_ino;
    m_size = info.st_size;

    const std::size_t wanted = static_cast<std::size_t>(
        std::min<qint64>(info.st_size - m_offset, static_cast<qint64>(m_chunk)));
    if (wanted == 0) {
        return step;
    }
    std::vector<char> buffer(wanted);
    std::size_t got = 0;
    if (!readAt(fd.get(), buffer.data(), wanted, m_offset, got)) {
        step.kind = Kind::Failed;
        step.message = std::strerror(errno);
        return step;
    }
    if (got == 0) {
        return step;
    }
    m_parser.feed(std::string_view(buffer.data(), got));
    m_offset += static_cast<qint64>(got);
    if (got >= kCompared) {
        m_lastBytes.assign(buffer.data() + got - kCompared, kCompared);
    } else {
        m_lastBytes.append(buffer.data(), got);
        if (m_lastBytes.size() > kCompared) {
            m_lastBytes.erase(0, m_lastBytes.size() - kCompared);
        }
    }
    if (step.kind == Kind::Unchanged) {
        step.kind = Kind::Appended;
    }
    step.more = m_offset < info.st_size;
    return step;
}

bool DataFileTail::sameBytesBefore(int fd) const {
    std::string now(m_lastBytes.size(), '\0');
    std::size_t got = 0;
    if (!readAt(fd, now.data(), now.size(), m_offset - static_cast<qint64>(now.size()), got)) {
        return true; // cannot tell: keep going
    }
    return got == now.size() && now == m_lastBytes;
}

void DataFileTail::restart() {
    m_parser.reset();
    m_offset = 0;
    m_lastBytes.clear();
}

} // namespace quorvane
