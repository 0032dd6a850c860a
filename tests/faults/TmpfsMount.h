#pragma once

#include <string>

namespace quorvane::faults {

// A small tmpfs mounted on a folder for one test: a disk that fills up, or that turns
// read-only. The mounts live in a mount namespace of the test process where the machine
// allows one, so that a test that dies leaves nothing mounted behind.
class TmpfsMount {
public:
    TmpfsMount() = default;
    ~TmpfsMount();
    TmpfsMount(const TmpfsMount&) = delete;
    TmpfsMount& operator=(const TmpfsMount&) = delete;

    // Mounts a tmpfs of `sizeKb` on the existing folder. False, with `error()`, when the
    // machine does not allow it (not root, no mount rights in a container).
    bool mount(const std::string& folder, int sizeKb);
    // Remounts it read-only or read-write. Fails while a file on it is open for writing.
    bool setReadOnly(bool readOnly);
    void unmount();

    bool mounted() const { return !m_folder.empty(); }
    const std::string& error() const { return m_error; }

    // Writes a file of zeros on the folder until the disk is full; the bytes written.
    static long long fill(const std::string& file);

private:
    std::string m_folder;
    std::string m_options;
    std::string m_error;
};

} // namespace quorvane::faults
