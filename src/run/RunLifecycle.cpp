#include "run/RunLifecycle.h"

#include "logging/HeaderBlock.h"
#include "run/AppTitle.h"
#include "run/RunParameters.h"
#include "util/ErrorText.h"
#include "util/Tokenizer.h"
#include "util/Util.h"

namespace quorvane {

namespace {

constexpr const char* kFolderSeparator = "/";

const char* const kHeaterSafetyWarning =
    "WARNING: The Heater Saftey Overide is ON\r\n"
    "\r\n"
    "This program will appear to run normally. However,\r\n"
    "any commands to power on the heater will be intercepted\r\n"
    "at a low level and suppressed.";

} // namespace

RunLifecycle::RunLifecycle(MainView& view, RunFlags& flags, OutputFile& outputFile,
                           EventLog& events, DataLog& dataLog, Dialogs& dialogs, EventPump& pump,
                           Collaborators parts)
    : m_view(view), m_flags(flags), m_outputFile(outputFile), m_events(events), m_dataLog(dataLog),
      m_dialogs(dialogs), m_pump(pump), m_parts(parts) {}

void RunLifecycle::initialize() {
    m_parts.reset.resetRun();
    if (!setOutputFile()) {
        m_parts.states.setGuiState(RunStateView::kReady);
    }
}

bool RunLifecycle::setOutputFile() {
    try {
        const std::string chosen =
            m_parts.outputDialog.ManageOutputDialog(*m_view.CommonDialog1, m_outputFile);
        m_view.lblFilename->setCaption(chosen);
        const std::string path = trimSpaces(chosen);
        if (path.empty()) {
            return true;
        }
        // The name is what follows the last separator, trimmed; a path without one is all name.
        const std::string name =
            reverseString(nextToken(reverseString(path), kFolderSeparator).value_or(std::string()));
        m_outputFile.outputFilterIndex =
            static_cast<std::int16_t>(m_view.CommonDialog1->filterIndex());
        m_outputFile.outputFileName = name;
        m_outputFile.outputDirectory = path.substr(0, path.size() - name.size());
        return false;
    } catch (const std::exception& error) {
        m_dialogs.showMessage("setOutputFile: Trapped Error.\r\n" + errorLine(error), kAppTitle);
        return true;
    }
}

std::optional<RunLifecycle::Parameters> RunLifecycle::checkedParameters() {
    std::int32_t values[4] = {};
    for (const RunFieldRule& rule : runFieldRules()) {
        TextField& field = runFieldControl(m_view, rule.field);
        const std::string text = field.text();
        const auto value = wholeNumber(text);
        if (!value || *value < 0 || *value > rule.maximum) {
            m_dialogs.showMessage("startRun: The run cannot start.\r\n" +
                                      std::string(rule.message) + "\r\nRequested Setting: " + text,
                                  kAppTitle, MessageIcon::Critical);
            field.setFocus();
            return std::nullopt;
        }
        values[static_cast<int>(rule.field)] = *value;
    }
    Parameters p;
    p.logInterval = values[static_cast<int>(RunField::LogInterval)];
    p.heatDelay = values[static_cast<int>(RunField::HeatDelay)];
    return p;
}

void RunLifecycle::startRun() {
    const auto parameters = checkedParameters();
    if (!parameters) {
        return;
    }
    if (!m_view.chkHeaterEnabled->isChecked()) {
        m_dialogs.showMessage(kHeaterSafetyWarning, kAppTitle);
    }
    m_parts.commands.comsCheck();
    m_parts.states.setGuiState(RunStateView::kRunning);
    const unsigned finishesBefore = m_finishes;
    m_pump.processPendingEvents();
    if (m_finishes != finishesBefore) {
        // Finish is enabled from state 3 on: a click let through here has already stopped
        // the run and the heater, so arming the timers now would restart them behind it.
        m_flags.heatCycleComplete = false;
        m_flags.runStarted = true;
        return;
    }

    // At most 64 000 ms: the check above keeps the product inside 32 bits.
    m_view.tmrLogInterval->setInterval(parameters->logInterval * 1000);
    m_view.tmrHeatDelay->setInterval(static_cast<float>(parameters->heatDelay));

    m_events.logEvent("START RUN. HeatDelay: " + m_view.txtHeatDelay->text() + "  HeatDuration: " +
                      m_view.txtHeatTime->text() + "  PowerLevel: " + m_view.txtHeatLevel->text() +
                      "  LogInterval: " + m_view.txtLogInterval->text() +
                      "  Logfile: " + m_view.lblFilename->caption());
    for (const std::string& line : headerBlock(headerValuesFrom(m_view))) {
        m_dataLog.logToFile(line);
    }

    m_view.tmrOneSecond->setEnabled(true);
    m_view.tmrLogInterval->setEnabled(true);
    if (parameters->heatDelay == 0) {
        m_events.logEvent("Zero delay time specified, proceed directly to heat-on cycle.");
        m_parts.timers.heatDelayExpired();
    } else {
        m_view.tmrHeatDelay->setEnabled(true);
    }

    m_flags.heatCycleComplete = false;
    m_flags.runStarted = true;
    m_flags.runInProgress = true;
    m_parts.watchdog.start(parameters->logInterval);
}

void RunLifecycle::finishRun() {
    ++m_finishes;
    m_flags.runInProgress = false;
    m_parts.watchdog.stop();
    m_view.tmrHeatDelay->setEnabled(false);
    m_view.tmrHeatTime->setEnabled(false);
    m_parts.commands.sendHeaterOffNow();
    if (!m_flags.heatCycleComplete) {
        m_view.tmrOneSecond->setEnabled(false);
    }
    m_view.tmrLogInterval->setEnabled(false);
    m_parts.states.setGuiState(RunStateView::kFinished);
    // Lines held while the data log could not be written get one more try: no record may
    // come after Finish to carry them into the file.
    m_dataLog.retryHeld(false);
    m_events.logEvent("END RUN. Elapsed time:" + m_view.lblElapsedTime->caption() + " seconds");
}

void RunLifecycle::resumeRun() {
    if (!m_flags.heatCycleComplete) {
        m_dialogs.showMessage("Run was aborted mid-heatcycle.\r\n"
                              "You cannot resume from here, please initialize\r\n"
                              "a new run.",
                              kAppTitle, MessageIcon::Critical);
        return;
    }
    m_flags.runInProgress = true;
    m_view.tmrOneSecond->setEnabled(true);
    m_view.tmrLogInterval->setEnabled(true);
    m_parts.watchdog.start(m_view.tmrLogInterval->interval() / 1000);
    m_parts.states.setGuiState(RunStateView::kRunning);
    m_events.logEvent("RESUMED RUN. Elapsed time:" + m_view.lblElapsedTime->caption() + " seconds");
}

} // namespace quorvane
