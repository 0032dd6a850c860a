#pragma once

#include "SimOptions.h"

#include <string>

namespace quorvane::probesim {

// The true values behind a simulated file, as JSON, for checking a reduction against.
class TruthWriter {
public:
    explicit TruthWriter(const SimOptions& options) : m_options(options) {}

    std::string json() const;
    // Writes json() to the options' truth file. False with the reason on failure.
    bool write(std::string& error) const;

    // The start plus seconds, as ISO 8601 UTC with milliseconds.
    static std::string isoUtc(std::chrono::sys_seconds start, double seconds);

private:
    const SimOptions& m_options;
};

} // namespace quorvane::probesim
