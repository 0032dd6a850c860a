#pragma once

#include "datafile/DataFileContent.h"

#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

// Reads a finished data log file at once.
class DataFileReader {
public:
    // nullopt when the file cannot be read, with the reason in `error`.
    static std::optional<DataFileContent> readFile(const std::string& path,
                                                   std::string* error = nullptr);
    static DataFileContent readText(std::string_view text);
};

} // namespace quorvane
