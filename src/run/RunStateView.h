#pragma once

#include "platform/AppInfo.h"
#include "platform/Dialogs.h"
#include "platform/MainView.h"
#include "run/RunFlags.h"

#include <cstdint>
#include <optional>

namespace quorvane {

// The run states as the window shows them: the run buttons, count labels, status panel
// and the parameter lock. The state lives only in the controls.
class RunStateView {
public:
    static constexpr std::int16_t kIdle = 0;
    static constexpr std::int16_t kReady = 1;
    static constexpr std::int16_t kRunning = 3;
    static constexpr std::int16_t kHeating = 4;
    static constexpr std::int16_t kFinished = 5;

    RunStateView(MainView& view, const RunFlags& flags, Dialogs& dialogs, const AppInfo& app);

    void setGuiState(std::int16_t state);
    // Locks or unlocks the run frame; the four fields stay enabled, only their frame is not.
    void enableRunParameters(bool enabled);

    // A heater-off is owed (it could not be sent): the status panel says so, with the red
    // light, instead of the state's own words, until it has gone out.
    void setHeaterOffPending(bool pending);
    // The last valid state shown, if any.
    std::optional<std::int16_t> shownState() const { return m_shownState; }

private:
    void showPicture(const char* file);
    // The status panel's text and picture for a valid state.
    void showStatus(std::int16_t state);

    MainView& m_view;
    const RunFlags& m_flags;
    Dialogs& m_dialogs;
    const AppInfo& m_app;
    bool m_heaterOffPending = false;
    // For the status panel alone to be redrawn.
    std::optional<std::int16_t> m_shownState;
};

} // namespace quorvane
