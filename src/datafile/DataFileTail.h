#pragma once

#include "datafile/DataFileParser.h"

#include <QtGlobal>
#include <cstddef>
#include <string>

namespace quorvane {

// Follows one data log file on disk: each poll() reads what was appended since the last
// one into the parser. A file that shrank (emptied by a new Initialize) or was replaced by
// another file of the same name is read again from its start. The file is opened only
// for the read, so the program's own opens and renames are never in the way.
class DataFileTail {
public:
    // At most this much is read per poll, so a caller on an event loop stays responsive.
    static constexpr std::size_t kDefaultChunk = 4 * 1024 * 1024;

    enum class Kind {
        Unchanged, // nothing new
        Appended,  // new bytes read
        Restarted, // the file shrank or was replaced: the parser was reset and read anew
        Missing,   // the file does not exist (now); what was read stays
        Failed,    // the file exists but cannot be read; what was read stays
    };
    struct Step {
        Kind kind = Kind::Unchanged;
        bool more = false;   // more bytes wait beyond this chunk
        std::string message; // for Missing and Failed
    };

    explicit DataFileTail(std::string path, std::size_t chunk = kDefaultChunk);

    Step poll();

    const std::string& path() const { return m_path; }
    DataFileParser& parser() { return m_parser; }
    const DataFileParser& parser() const { return m_parser; }
    qint64 bytesRead() const { return m_offset; }
    qint64 fileSize() const { return m_size; }

private:
    // True when the bytes before the offset are still those read (same file, not rewritten).
    bool sameBytesBefore(int fd) const;
    void restart();

    std::string m_path;
    std::size_t m_chunk;
    DataFileParser m_parser;
    qint64 m_offset = 0;
    qint64 m_size = 0;
    bool m_known = false;
    unsigned long long m_device = 0;
    unsigned long long m_inode = 0;
    std::string m_lastBytes; // the last bytes read, to notice a file rewritten in place
};

} // namespace quorvane
