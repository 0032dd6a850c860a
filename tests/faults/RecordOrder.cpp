#include "RecordOrder.h"

#include <algorithm>

namespace quorvane::faults {

std::string compareRecords(const std::vector<std::string>& logged,
                           const std::vector<std::string>& sent) {
    if (logged == sent) {
        return {};
    }
    const auto [a, b] = std::mismatch(logged.begin(), logged.end(), sent.begin(), sent.end());
    const std::size_t at = static_cast<std::size_t>(a - logged.begin());
    std::string text = std::to_string(logged.size()) + " records logged, " +
                       std::to_string(sent.size()) + " sent; first difference at record " +
                       std::to_string(at + 1) + ": logged \"" +
                       (a != logged.end() ? *a : "(none)") + "\", sent \"" +
                       (b != sent.end() ? *b : "(none)") + "\"";
    if (a != logged.end()) {
        const auto found = std::find(sent.begin(), sent.end(), *a);
        text += found == sent.end()
                    ? "; the logged one was never sent"
                    : "; the logged one is sent record " + std::to_string(found - sent.begin() + 1);
    }
    return text;
}

bool isOrderedSubset(const std::vector<std::string>& logged, const std::vector<std::string>& sent) {
    auto next = sent.begin();
    for (const std::string& record : logged) {
        next = std::find(next, sent.end(), record);
        if (next == sent.end()) {
            return false;
        }
        ++next;
    }
    return true;
}

bool isDataLine(const std::string& line) {
    if (line.size() < 63 || line[20] != ' ' || line[61] != ' ') {
        return false;
    }
    const std::string heater = line.substr(62);
    return heater.find_first_not_of("0123456789") == std::string::npos && heater.size() <= 3;
}

} // namespace quorvane::faults
