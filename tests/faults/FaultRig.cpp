#include "FaultRig.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <fstream>
#include <unistd.h>

namespace quorvane::faults {

FaultRig::FaultRig(Settings settings) {
    static int counter = 0;
    m_dir = std::filesystem::temp_directory_path() /
            ("quorvane-faults-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
    std::filesystem::remove_all(m_dir);
    std::filesystem::create_directories(m_dir / "program");
    std::filesystem::create_directories(m_dir / "data");
    std::ofstream conf(settingsFile());
    conf << "[Ports]\nCOM2=" << link() << "\n\n[Settings]\n";
    for (auto [key, value] : settings) {
        if (const std::size_t at = value.find("$DATA"); at != std::string::npos) {
            value.replace(at, 5, dataFolder());
        }
        conf << key << "=" << value << "\n";
    }
}

FaultRig::~FaultRig() {
    closeProgram();
    simulator.reset();
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
}

bool FaultRig::startSimulator(const std::vector<std::string>& args) {
    simulator = std::make_unique<support::SimulatorProcess>(link(), path("probe.log"), args);
    return simulator->started();
}

void FaultRig::prepareProgramFolder() {
    const std::filesystem::path icons = m_dir / "program" / "icons";
    if (!std::filesystem::exists(icons)) {
        std::filesystem::create_directories(icons);
        for (const auto& icon : std::filesystem::directory_iterator(QUORVANE_SOURCE_ICONS)) {
            std::filesystem::copy_file(icon.path(), icons / icon.path().filename());
        }
    }
}

void FaultRig::startProgram() {
    prepareProgramFolder();
    m_app = std::make_unique<QtAppInfo>(path("quorvane.lock"));
    MainWindowHost::Options options;
    options.settingsFile = settingsFile();
    options.programFolder = programFolder();
    options.dialogs = &dialogs;
    m_host = std::make_unique<MainWindowHost>(*m_app, options);
    m_host->window().view().CommonDialog1 = &chooser;
    m_host->start();
}

void FaultRig::closeProgram() {
    if (m_host) {
        m_host->close();
        m_host.reset();
    }
}

void FaultRig::setField(const char* name, const std::string& text) {
    m_host->window().findChild<QLineEdit*>(name)->setText(QString::fromStdString(text));
}

void FaultRig::check(const char* name, bool checked) {
    m_host->window().findChild<QAbstractButton*>(name)->setChecked(checked);
}

void FaultRig::click(const char* name) {
    m_host->window().findChild<QAbstractButton*>(name)->click();
}

bool FaultRig::initialize(const std::string& file, int heatDelay, int heatTime) {
    chooser.answer = dataFolder() + "/" + file;
    chooser.answerFilterIndex = 1;
    setField("txtLogInterval", "1");
    setField("txtHeatDelay", std::to_string(heatDelay));
    setField("txtHeatTime", std::to_string(heatTime));
    setField("txtHeatLevel", "120");
    check("Option1(0)", true);
    check("chkHeaterEnabled", true);
    if (!runUntil([&] { return !view().lblInstrumentID->caption().empty(); }, 3000)) {
        return false;
    }
    click("cmdNewRun");
    return status() == "Stopped";
}

bool FaultRig::startRun(const std::string& file, int heatDelay, int heatTime) {
    if (!initialize(file, heatDelay, heatTime)) {
        return false;
    }
    click("cmdRun");
    return status() == "Running - Heater OFF";
}

int FaultRig::boxesStartingWith(const std::string& prefix) const {
    int n = 0;
    for (const std::string& text : dialogs.texts()) {
        n += text.rfind(prefix, 0) == 0 ? 1 : 0;
    }
    return n;
}

std::vector<std::string> FaultRig::payloads(const std::vector<std::string>& lines) {
    std::vector<std::string> out;
    for (const std::string& line : lines) {
        if (line.rfind("# ", 0) != 0) {
            out.push_back(line.size() >= 61 ? line.substr(21, 40) : "<short> " + line);
        }
    }
    return out;
}

} // namespace quorvane::faults
