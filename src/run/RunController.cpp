#include "run/RunController.h"

namespace quorvane {

RunController::RunController(MainView& view, RunFlags& flags, OutputFile& outputFile,
                             EventLog& events, DataLog& dataLog, Formatter& fieldFormatter,
                             Dialogs& dialogs, const AppInfo& app, EventPump& pump,
                             TextFiles& files, Timer& watchTimer, const Clock& clock)
    : m_states(view, flags, dialogs, app), m_commands(view, flags, events, dialogs, m_states),
      m_watchdog(watchTimer, clock, events),
      m_reset(view, flags, m_states, m_commands, events, m_watchdog),
      m_timers(view, flags, m_commands, events), m_outputDialog(files, dialogs, app),
      m_lifecycle(view, flags, outputFile, events, dataLog, dialogs, pump,
                  {m_states, m_commands, m_reset, m_timers, m_outputDialog, m_watchdog}),
      m_parameters(view, fieldFormatter, m_reset) {
    connectControls(view);
    m_outputDialog.onChosen([&dataLog] { dataLog.leaveHeldFiles(); });
}

void RunController::connectControls(MainView& view) {
    view.cmdNewRun->onClicked([this] { m_lifecycle.initialize(); });
    view.cmdRun->onClicked([this] { m_lifecycle.startRun(); });
    view.cmdResume->onClicked([this] { m_lifecycle.resumeRun(); });
    view.cmdFinish->onClicked([this] { m_lifecycle.finishRun(); });
    view.cmdTestComs->onClicked([this] { m_commands.comsCheck(); });
    view.chkHeaterEnabled->onClicked([this] { m_reset.heaterEnabledClicked(); });
    for (OptionButton* option : view.Option1) {
        option->onClicked([this] { m_reset.resetRun(); });
    }
    for (const RunFieldRule& rule : runFieldRules()) {
        TextField& field = runFieldControl(view, rule.field);
        const RunField id = rule.field;
        field.onChanged([this, id] { m_parameters.changed(id); });
        field.onGotFocus([this, id] { m_parameters.gotFocus(id); });
        field.onLostFocus([this, id] { m_parameters.lostFocus(id); });
    }
    view.tmrLogInterval->onTick([this] { m_timers.logIntervalTick(); });
    view.tmrOneSecond->onTick([this] { m_timers.oneSecondTick(); });
    view.tmrHeatDelay->onExpiry([this] { m_timers.heatDelayExpired(); });
    view.tmrHeatTime->onExpiry([this] { m_timers.heatTimeExpired(); });
}

} // namespace quorvane
