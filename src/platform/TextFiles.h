#pragma once

#include <string>

namespace quorvane {

// Plain text files, written one line at a time: open, write, close. Failures throw
// Failure with errno and strerror.
class TextFiles {
public:
    virtual ~TextFiles() = default;

    // Appends the line and CR LF, creating the file if needed. A line is written whole
    // or not at all.
    virtual void appendLine(const std::string& path, const std::string& line) = 0;
    // Creates the file empty, or empties it.
    virtual void createEmpty(const std::string& path) = 0;
    // Whether a file can be created in the folder now.
    virtual bool isWritableFolder(const std::string& folder) = 0;
};

} // namespace quorvane
