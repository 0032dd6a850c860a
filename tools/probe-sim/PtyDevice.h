#pragma once

#include <string>

namespace quorvane::probesim {

// The master side of a pseudo-terminal whose slave, in raw mode, is the simulated serial
// line. A slave descriptor stays open here too, so the master never sees a hang-up while
// the program under test closes and reopens the port.
class PtyDevice {
public:
    PtyDevice() = default;
    ~PtyDevice();
    PtyDevice(const PtyDevice&) = delete;
    PtyDevice& operator=(const PtyDevice&) = delete;

    // Returns false and sets error on failure.
    bool open(std::string& error);
    void close();

    bool isOpen() const { return m_master >= 0; }
    int masterFd() const { return m_master; }
    const std::string& slavePath() const { return m_slavePath; }
    // Bytes written to the master that the reader of the slave has not taken yet.
    int unreadBytes() const;

    // Points a symbolic link at the slave, replacing an existing link atomically. Refuses to
    // replace anything that is not a link.
    static bool pointLink(const std::string& linkPath, const std::string& target,
                          std::string& error);
    // Removes the link if it still points at the target.
    static void removeLink(const std::string& linkPath, const std::string& target);

private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_slavePath;
};

} // namespace quorvane::probesim
