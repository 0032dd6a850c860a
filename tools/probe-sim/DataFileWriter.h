#pragma once

#include "SimOptions.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quorvane::probesim {

// A whole data log file as the program would have logged the simulated run: its header
// block, then one record per log interval in the chosen layout, all at once.
class DataFileWriter {
public:
    DataFileWriter(const SimOptions& options, std::uint64_t seed);

    // The lines without their CR LF.
    std::vector<std::string> lines() const;
    // Writes the lines to the options' file, replacing it. False with the reason on failure.
    bool write(std::string& error) const;

    int recordCount() const { return m_options.durationS / m_options.intervalS + 1; }

private:
    std::vector<std::string> header() const;

    const SimOptions& m_options;
    std::uint64_t m_seed;
};

} // namespace quorvane::probesim
