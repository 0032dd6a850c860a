#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorvane {

struct FileFilter {
    std::string description;
    std::string pattern;
};

struct FileChooserRequest {
    std::string title;
    std::vector<FileFilter> filters;
    int filterIndex = 0; // 1-based position in filters
    std::string initialFolder;
    std::string initialFileName;
    bool confirmOverwrite = false;
    bool confirmCreate = false;
};

// The save-kind file chooser. Cancel gives no path; a failure throws Failure.
class FileChooser {
public:
    virtual ~FileChooser() = default;

    virtual std::optional<std::string> choose(const FileChooserRequest& request) = 0;
    // The filter index as it stands after the last choice (1-based).
    virtual int filterIndex() const = 0;
};

} // namespace quorvane
