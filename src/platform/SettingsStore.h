#pragma once

#include <string>

namespace quorvane {

// The per-user settings store: text values by (section, key). Failures throw Failure.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    virtual std::string read(const std::string& section, const std::string& key,
                             const std::string& defaultValue) = 0;
    virtual void write(const std::string& section, const std::string& key,
                       const std::string& value) = 0;
};

} // namespace quorvane
