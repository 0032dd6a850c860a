#pragma once

#include <functional>

namespace quorvane {

// The toolkit ends the process with exit() when its display goes away (the X server gone,
// or the program's connection closed by the server as xkill does). Such an end must still
// switch the heater off, close the port and save the settings: while an ExitShutdown lives,
// a process ended by exit() runs its reaction first, on the user-interface thread. A normal
// end destroys it beforehand, and nothing runs.
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
