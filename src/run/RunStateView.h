#pragma once

#include "platform/AppInfo.h"
#include "platform/Dialogs.h"
#include "platform/MainView.h"
#include "run/RunFlags.h"

#include <cstdint>

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

private:
    void showPicture(const char* file);

    MainView& m_view;
    const RunFlags& m_flags;
    Dialogs& m_dialogs;
    const AppInfo& m_app;
};

} // namespace quorvane
