#pragma once

#include <string>
#include <vector>

namespace quorvane::faults {

// How the records of a data log file compare with those the simulator sent: empty when
// they are the same, in the same order; otherwise where and how they part.
std::string compareRecords(const std::vector<std::string>& logged,
                           const std::vector<std::string>& sent);

// True when every logged record was sent, once, in the order sent (some may be missing).
bool isOrderedSubset(const std::vector<std::string>& logged, const std::vector<std::string>& sent);

// A whole RawHex data line: stamp, payload, heater column ("0" or the heat level).
bool isDataLine(const std::string& line);

} // namespace quorvane::faults
