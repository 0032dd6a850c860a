#include "run/RunTimers.h"

#include "run/RunParameters.h"

#include <limits>
#include <string>

namespace quorvane {

namespace {

// A label that does not hold a number is left as it is.
void addToCount(Label& label, std::int32_t step) {
    const auto value = wholeNumber(label.caption());
    if (!value) {
        return;
    }
    const std::int64_t next = static_cast<std::int64_t>(*value) + step;
    if (next < std::numeric_limits<std::int32_t>::min() ||
        next > std::numeric_limits<std::int32_t>::max()) {
        return;
    }
    label.setCaption(std::to_string(next));
}

} // namespace

RunTimers::RunTimers(MainView& view, RunFlags& flags, CommandSender& commands, EventLog& events)
    : m_view(view), m_flags(flags), m_commands(commands), m_events(events) {}

void RunTimers::heatDelayExpired() {
    m_view.tmrHeatDelay->setEnabled(false);
    const auto heatTime = wholeNumber(m_view.txtHeatTime->text());
    if (!heatTime || *heatTime <= 0) {
        return;
    }
    const auto heatLevel = wholeNumber(m_view.txtHeatLevel->text());
    if (!heatLevel) {
        // Start Run refuses such a field; this only guards a text changed behind its back.
        m_events.logEvent("Heater on command not sent: the heat level is not a whole number");
        return;
    }
    m_commands.sendHeaterOnCommand(*heatLevel, *heatTime);
}

void RunTimers::heatTimeExpired() {
    m_commands.sendHeaterOffNow();
    m_view.tmrHeatTime->setEnabled(false);
    m_flags.heatCycleComplete = true;
}

void RunTimers::logIntervalTick() {
    m_commands.sendTCommand();
}

void RunTimers::oneSecondTick() {
    if (m_view.tmrHeatDelay->isEnabled()) {
        addToCount(*m_view.lblHeatDelayRemaining, -1);
    }
    if (m_view.tmrHeatTime->isEnabled()) {
        m_view.lblHeatDelayRemaining->setCaption("0");
        addToCount(*m_view.lblHeatTimeRemaining, -1);
    }
    addToCount(*m_view.lblElapsedTime, 1);
}

} // namespace quorvane
