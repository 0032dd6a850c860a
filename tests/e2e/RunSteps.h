#pragma once

#include "E2eRig.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quorvane::e2e {

// The operator's steps of a logging run, through the window's own widgets.
struct RunParameters {
    int logInterval = 1;
    // Long enough that the heater never comes on in a short run.
    int heatDelay = 3600;
    int heatTime = 2;
    int heatLevel = 120;
    bool logTemperature = false;
};

// The file Initialize chooses.
inline std::string dataFile(const E2eRig& rig) {
    return rig.path("run.log");
}

// Starts the window, waits for the Coms Check's answer, fills the run fields, Initialize
// with the data file chosen, Start Run (heater commands allowed, so no warning box).
inline ::testing::AssertionResult startLoggingRun(E2eRig& rig, const RunParameters& run = {}) {
    if (!rig.simulator->started()) {
        return ::testing::AssertionFailure() << "the simulator did not start";
    }
    rig.host->start();
    rig.chooser.answer = dataFile(rig);
    rig.chooser.answerFilterIndex = 1;
    rig.control<QLineEdit>("txtLogInterval")->setText(QString::number(run.logInterval));
    rig.control<QLineEdit>("txtHeatDelay")->setText(QString::number(run.heatDelay));
    rig.control<QLineEdit>("txtHeatTime")->setText(QString::number(run.heatTime));
    rig.control<QLineEdit>("txtHeatLevel")->setText(QString::number(run.heatLevel));
    rig.control<QRadioButton>(run.logTemperature ? "Option1(1)" : "Option1(0)")->setChecked(true);
    rig.control<QCheckBox>("chkHeaterEnabled")->setChecked(true);
    if (!E2eRig::runUntil([&] { return !rig.view().lblInstrumentID->caption().empty(); }, 3000)) {
        return ::testing::AssertionFailure() << "no answer to the Coms Check";
    }
    rig.control<QPushButton>("cmdNewRun")->click();
    rig.control<QPushButton>("cmdRun")->click();
    const std::string state = rig.view().StatusBar1[6]->text();
    if (state != "Running - Heater OFF") {
        return ::testing::AssertionFailure() << "state after Start Run: " << state;
    }
    return ::testing::AssertionSuccess();
}

// Finish Run, then the answers still under way (split records, late CR LF) arrive.
inline void finishLoggingRun(E2eRig& rig, int settleMs = 1000) {
    rig.control<QPushButton>("cmdFinish")->click();
    E2eRig::run(settleMs);
}

inline std::size_t countOf(const std::vector<std::string>& items, const std::string& item) {
    return static_cast<std::size_t>(std::count(items.begin(), items.end(), item));
}

inline std::size_t occurrences(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + what.size())) {
        ++n;
    }
    return n;
}

// The data lines of a data log file (the header block's lines begin with "#").
inline std::vector<std::string> dataLines(const std::string& file) {
    std::vector<std::string> out;
    for (const std::string& line : E2eRig::lines(file)) {
        if (line.empty() || line.front() != '#') {
            out.push_back(line);
        }
    }
    return out;
}

// The record payloads of "Log Hex" data lines: stamp, a space, the payload, a space, heater.
inline std::vector<std::string> loggedPayloads(const std::string& file) {
    std::vector<std::string> out;
    for (const std::string& line : dataLines(file)) {
        out.push_back(line.size() >= 61 ? line.substr(21, 40) : "<short line> " + line);
    }
    return out;
}

// The record number the simulator puts into a payload's Xtra field.
inline int recordNumber(const std::string& payload) {
    return std::stoi(payload.substr(1, 4), nullptr, 16);
}

} // namespace quorvane::e2e
