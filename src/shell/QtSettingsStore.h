#pragma once

#include "platform/SettingsStore.h"

#include <QSettings>
#include <memory>
#include <string>

namespace quorvane {

// The per-user settings in an INI file: organisation and application "Quorvane", so
// ~/.config/Quorvane/Quorvane.conf, sections as groups. A path override puts the file
// elsewhere (tests). A store that cannot be read or written throws Failure.
class QtSettingsStore : public SettingsStore {
public:
    // Failure numbers: the file cannot be reached, or its contents are not an INI file.
    static constexpr int kAccessError = 75;
    static constexpr int kFormatError = 5;

    explicit QtSettingsStore(const std::string& filePath = {});

    std::string read(const std::string& section, const std::string& key,
                     const std::string& defaultValue) override;
    void write(const std::string& section, const std::string& key,
               const std::string& value) override;

    std::string fileName() const;
    static QString defaultPath();

private:
    void check() const;

    std::unique_ptr<QSettings> m_settings;
};

} // namespace quorvane
