#pragma once

#include "platform/Failure.h"
#include "platform/SettingsStore.h"

#include <map>
#include <optional>
#include <vector>

namespace quorvane::fakes {

// Settings in memory, keyed "section/key". Records the order of reads and writes.
class FakeSettingsStore : public SettingsStore {
public:
    std::string read(const std::string& section, const std::string& key,
                     const std::string& defaultValue) override {
        m_reads.push_back(key);
        if (failOn && *failOn == key) {
            throw Failure(5, "Settings store failed");
        }
        auto it = values.find(section + "/" + key);
        return it == values.end() ? defaultValue : it->second;
    }
    void write(const std::string& section, const std::string& key,
               const std::string& value) override {
        if (failOn && *failOn == key) {
            throw Failure(5, "Settings store failed");
        }
        m_writes.push_back(key);
        values[section + "/" + key] = value;
    }

    const std::vector<std::string>& reads() const { return m_reads; }
    const std::vector<std::string>& writes() const { return m_writes; }

    std::map<std::string, std::string> values;
    std::optional<std::string> failOn;

private:
    std::vector<std::string> m_reads;
    std::vector<std::string> m_writes;
};

} // namespace quorvane::fakes
