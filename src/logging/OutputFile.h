#pragma once

#include <cstdint>
#include <string>

namespace quorvane {

// The data log file as last chosen: folder (ending in "/"), bare name, chooser filter index.
struct OutputFile {
    std::string outputDirectory;
    std::string outputFileName;
    std::int16_t outputFilterIndex = 0;

    // The file that data lines are appended to.
    std::string path() const { return outputDirectory + outputFileName; }
};

} // namespace quorvane
