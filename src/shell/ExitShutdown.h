#pragma once

#include <functional>

namespace quorvane {

// The toolkit ends the process with exit() when its display goes away (the X server gone,
// or the program's connection closed by the server as xkill does). Such an end must still
// switch the heater off, close the port and save the settings: while an ExitShutdown lives,
// exit() runs its reaction on the user-interface thread, with the window and everything
// made before the ExitShutdown still in place (statics made on first use after it are gone
// by then: the reaction must need none). A normal end destroys it beforehand.
class ExitShutdown {
public:
    explicit ExitShutdown(std::function<void()> reaction);
    ~ExitShutdown();
    ExitShutdown(const ExitShutdown&) = delete;
    ExitShutdown& operator=(const ExitShutdown&) = delete;

private:
    static void onExit();

    std::function<void()> m_reaction;
};

} // namespace quorvane
