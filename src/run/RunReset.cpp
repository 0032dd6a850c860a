#include "run/RunReset.h"

namespace quorvane {

RunReset::RunReset(MainView& view, RunFlags& flags, RunStateView& states, CommandSender& commands,
                   EventLog& events, RecordWatchdog& watchdog)
    : m_view(view), m_flags(flags), m_states(states), m_commands(commands), m_events(events),
      m_watchdog(watchdog) {}

void RunReset::resetRun() {
    m_view.tmrOneSecond->setEnabled(false);
    m_view.tmrLogInterval->setEnabled(false);
    m_view.tmrHeatDelay->setEnabled(false);
    m_view.tmrHeatTime->setEnabled(false);
    m_watchdog.stop();
    if (m_flags.runStarted) {
        m_flags.runStarted = false;
        m_flags.heatCycleComplete = false;
        m_states.setGuiState(RunStateView::kIdle);
    }
    m_commands.comsCheck();
}

void RunReset::heaterEnabledClicked() {
    resetRun();
    m_events.logEvent(m_view.chkHeaterEnabled->isChecked() ? "Heater On commands are now ENABLED"
                                                           : "Heater On commands are now DISABLED");
}

} // namespace quorvane
