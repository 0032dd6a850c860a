#pragma once

#include <string>
#include <vector>

namespace quorvane::support {

// Reads the program's files back as they are on disk.
class FileLines {
public:
    static std::string read(const std::string& file);
    // The lines without their CR LF; a last line without CR LF ends in "<cut>".
    static std::vector<std::string> lines(const std::string& file);
};

} // namespace quorvane::support
