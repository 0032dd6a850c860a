#pragma once

#include <string>

namespace quorvane {

class AppInfo;
class SettingsStore;
struct MainView;
struct OutputFile;

// Reads the settings into the window's controls at load and writes them back at unload.
class PersistentSettings {
public:
    PersistentSettings(SettingsStore& store, MainView& view, OutputFile& outputFile,
                       const AppInfo& app);

    // 1 when every key was read and applied; 0 when it stopped silently at a failure
    // (the keys before it stay applied).
    int loadSettings();
    // 1 when every key was written; 0 when it stopped silently at a failure.
    int saveSettings();

    // "True"/"False" in any case, or a number (zero is false). Throws Failure otherwise.
    static bool readBoolean(const std::string& text);
    // Decimal text rounded half to even into -32768..32767. Throws Failure otherwise.
    static short readInteger16(const std::string& text);
    // A placement value with as many digits as it needs (no point for whole numbers).
    static std::string placementText(float value);

private:
    std::string read(const char* key, const std::string& defaultValue);
    void write(const char* key, const std::string& value);

    SettingsStore& m_store;
    MainView& m_view;
    OutputFile& m_outputFile;
    const AppInfo& m_app;
};

} // namespace quorvane
