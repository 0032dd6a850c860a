#pragma once

#include "ChildProcess.h"

#include <cstdint>
#include <memory>
#include <string>

struct xcb_connection_t;

namespace quorvane::faults {

// An X server of the test's own (Xvfb on a free display), and a client of it that does
// what a window manager or xkill would do to the program's windows.
class XServer {
public:
    XServer();
    ~XServer();
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    // Empty when the server could not be started (the reason is in error()).
    bool started() const { return m_connection != nullptr; }
    const std::string& error() const { return m_error; }
    // ":N", for DISPLAY.
    const std::string& display() const { return m_display; }

    // The top-level window on the screen whose title is `title`, once it is there; 0 after
    // the time.
    std::uint32_t findWindow(const std::string& title, int timeoutMs);
    // What a window manager sends when the window's close button is pressed.
    bool requestClose(std::uint32_t window);
    // What xkill does: the server closes the connection of the window's client.
    bool killClient(std::uint32_t window);
    // The server goes away at once.
    void kill();

private:
    std::uint32_t atom(const char* name);
    std::string title(std::uint32_t window);
    bool isShown(std::uint32_t window);

    std::unique_ptr<ChildProcess> m_process;
    xcb_connection_t* m_connection = nullptr;
    std::string m_display;
    std::string m_error;
};

} // namespace quorvane::faults
