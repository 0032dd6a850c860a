#pragma once

#include <functional>

namespace quorvane::support {

// Lets the real window's event loop run in tests against real time: the program's timers,
// the serial poll and the simulator on the other end of the pty.
class EventLoopWait {
public:
    static void run(int ms);
    // Runs until the condition holds or the time is up; the condition's last value.
    static bool runUntil(const std::function<bool()>& condition, int timeoutMs);
};

} // namespace quorvane::support
