#pragma once

#include "logging/EventLog.h"
#include "platform/Dialogs.h"
#include "platform/MainView.h"
#include "run/RunFlags.h"
#include "run/RunStateView.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quorvane {

// The instrument's command language. Every command returns true when it FAILED and the
// operator has already been told.
class CommandSender {
public:
    CommandSender(MainView& view, RunFlags& flags, EventLog& events, Dialogs& dialogs,
                  RunStateView& states);

    // Writes one command as it stands (no terminator). Heater commands ("!P", "!Q") are
    // swallowed while "Allow Heater Commands" is cleared, and count as sent.
    bool sendCommand(const std::string& s);
    bool sendNCommand();
    bool sendHCommand();
    // The data request of every log interval. A failure that repeats the last one is
    // logged as an event instead of raising a box on every tick, until a write succeeds.
    bool sendTCommand();
    // A heater-off that could not be sent is owed: it goes out before anything else as soon
    // as the port is open again, and the status says meanwhile that it is pending.
    bool sendHeaterOffNow();
    bool sendPowerLevelCommand(std::int32_t powerLevel);
    bool sendHeaterOnCommand(std::int32_t powerLevel, std::int32_t duration);

    // The port has just been opened (by the serial menus): an owed heater-off goes out now.
    void portOpened();
    bool isHeaterOffOwed() const { return m_heaterOffOwed; }

    // After the window's unload nothing more reaches the instrument: every command then
    // fails quietly, whatever handler is still under way.
    void close() { m_closed = true; }

    // Coms Check: wake-up, then the H command.
    void comsCheck();

    // Upper-case hexadecimal without prefix.
    static std::string hex(std::int32_t value);

private:
    bool send(const std::string& s, bool holdRepeatedFailure);
    // Writes the owed heater-off on the open port; throws when the write fails.
    void sendOwedHeaterOff();

    MainView& m_view;
    RunFlags& m_flags;
    EventLog& m_events;
    Dialogs& m_dialogs;
    RunStateView& m_states;
    // The failure last reported for the data request, while it goes on.
    std::optional<std::string> m_heldDataRequestFailure;
    bool m_heaterOffOwed = false;
    bool m_closed = false;
};

} // namespace quorvane
