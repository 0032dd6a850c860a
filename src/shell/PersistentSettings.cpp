#include "shell/PersistentSettings.h"

#include "logging/OutputFile.h"
#include "platform/AppInfo.h"
#include "platform/Failure.h"
#include "platform/MainView.h"
#include "platform/SettingsStore.h"
#include "shell/SettingsKeys.h"
#include "util/ErrorText.h"
#include "util/NumericText.h"
#include "util/Util.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace quorvane {

using namespace settings;

PersistentSettings::PersistentSettings(SettingsStore& store, MainView& view, OutputFile& outputFile,
                                       const AppInfo& app)
    : m_store(store), m_view(view), m_outputFile(outputFile), m_app(app) {}

std::string PersistentSettings::read(const char* key, const std::string& defaultValue) {
    // A settings file that cannot be read or parsed counts as a missing one: the program
    // starts with the defaults instead of empty panels and fields.
    try {
        return m_store.read(kSection, key, defaultValue);
    } catch (const Failure&) {
        return defaultValue;
    }
}

void PersistentSettings::write(const char* key, const std::string& value) {
    m_store.write(kSection, key, value);
}

bool PersistentSettings::readBoolean(const std::string& text) {
    std::string lower = trimSpaces(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (lower == "true") {
        return true;
    }
    if (lower == "false") {
        return false;
    }
    if (const std::optional<double> number = parseNumericText(text)) {
        return *number != 0;
    }
    throw Failure(errors::kTypeMismatch, "Type mismatch");
}

short PersistentSettings::readInteger16(const std::string& text) {
    const std::optional<double> number = parseNumericText(text);
    if (!number) {
        throw Failure(errors::kTypeMismatch, "Type mismatch");
    }
    const double rounded = roundHalfEven(*number);
    if (rounded < -32768 || rounded > 32767) {
        throw Failure(errors::kOverflow, "Overflow");
    }
    return static_cast<short>(rounded);
}

std::string PersistentSettings::placementText(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

int PersistentSettings::loadSettings() {
    try {
        for (int panel = 1; panel <= 5; ++panel) {
            static const char* const kKeys[] = {kComPort, kBaudRate, kParity, kDataBits, kStopBits};
            static const char* const kDefaults[] = {"COM2", "9600", "N", "8", "1"};
            m_view.StatusBar1[static_cast<std::size_t>(panel)]->setText(
                read(kKeys[panel - 1], kDefaults[panel - 1]));
        }
        // Each field whose text changes runs its change reaction, as an edit would.
        m_view.txtLogInterval->setText(read(kLogInterval, "2"));
        m_view.txtHeatDelay->setText(read(kHeatDelay, "4"));
        m_view.txtHeatTime->setText(read(kHeatTime, "6"));
        m_view.txtHeatLevel->setText(read(kHeatLevel, "8"));
        m_outputFile.outputDirectory = read(kDefaultPath, m_app.programFolder() + "/");
        m_outputFile.outputFilterIndex = readInteger16(read(kDefaultFileTypeIndex, "0"));
        m_outputFile.outputFileName = read(kDefaultFilename, "Quorvane");
        m_view.Option1[0]->setSelected(readBoolean(read(kLogOption0, "1")));
        m_view.Option1[1]->setSelected(readBoolean(read(kLogOption1, "0")));
    } catch (...) {
        return 0;
    }
    return 1;
}

int PersistentSettings::saveSettings() {
    try {
        if (!m_view.frmMain->isMinimized()) {
            const WindowPlacement placement = m_view.frmMain->placement();
            write(kMainLeft, placementText(static_cast<float>(placement.left)));
            write(kMainTop, placementText(static_cast<float>(placement.top)));
            write(kMainWidth, placementText(static_cast<float>(placement.width)));
            write(kMainHeight, placementText(static_cast<float>(placement.height)));
        }
        write(kComPort, trimSpaces(m_view.StatusBar1[1]->text()));
        write(kBaudRate, trimSpaces(m_view.StatusBar1[2]->text()));
        write(kParity, trimSpaces(m_view.StatusBar1[3]->text()));
        write(kDataBits, trimSpaces(m_view.StatusBar1[4]->text()));
        write(kStopBits, trimSpaces(m_view.StatusBar1[5]->text()));
        write(kLogInterval, trimSpaces(m_view.txtLogInterval->text()));
        write(kHeatDelay, trimSpaces(m_view.txtHeatDelay->text()));
        write(kHeatTime, trimSpaces(m_view.txtHeatTime->text()));
        write(kHeatLevel, trimSpaces(m_view.txtHeatLevel->text()));
        write(kDefaultPath, trimSpaces(m_outputFile.outputDirectory));
        write(kDefaultFileTypeIndex, std::to_string(m_outputFile.outputFilterIndex));
        write(kDefaultFilename, trimSpaces(m_outputFile.outputFileName));
        write(kLogOption0, m_view.Option1[0]->isSelected() ? "True" : "False");
        write(kLogOption1, m_view.Option1[1]->isSelected() ? "True" : "False");
    } catch (...) {
        return 0;
    }
    return 1;
}

} // namespace quorvane
