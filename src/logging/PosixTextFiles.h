#pragma once

#include "platform/TextFiles.h"

namespace quorvane {

// Text files on the local file system. Each line goes out in one write; a short write
// (disk full) is cut back so that no half line stays in the file.
class PosixTextFiles : public TextFiles {
public:
    void appendLine(const std::string& path, const std::string& line) override;
    void createEmpty(const std::string& path) override;
    bool isWritableFolder(const std::string& folder) override;
};

} // namespace quorvane
