#include "XServer.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace quorvane::faults {

namespace {

std::string findProgram(const char* name) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const std::size_t end = std::min(dirs.find(':', start), dirs.size());
        const std::string candidate = dirs.substr(start, end - start) + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        start = end + 1;
    }
    return {};
}

} // namespace

XServer::XServer() {
    const std::string xvfb = findProgram("Xvfb");
    if (xvfb.empty()) {
        m_error = "Xvfb is not installed";
        return;
    }
    // The server picks a free display and writes its number to its standard output.
    m_process = std::make_unique<ChildProcess>(
        std::vector<std::string>{xvfb, "-displayfd", "1", "-nolisten", "tcp", "-noreset", "-screen",
                                 "0", "1280x1024x24"},
        std::vector<std::pair<std::string, std::string>>{});
    const std::optional<std::string> number = m_process->readLine(10000);
    if (!number || number->empty()) {
        m_error = "Xvfb did not start";
        return;
    }
    m_display = ":" + *number;
    xcb_connection_t* connection = xcb_connect(m_display.c_str(), nullptr);
    if (xcb_connection_has_error(connection)) {
        xcb_disconnect(connection);
        m_error = "cannot connect to " + m_display;
        return;
    }
    m_connection = connection;
}

XServer::~XServer() {
    if (m_connection) {
        xcb_disconnect(m_connection);
    }
    if (m_process) {
        m_process->signal(SIGTERM);
        if (!m_process->wait(3000)) {
            m_process->signal(SIGKILL);
            m_process->wait(3000);
        }
    }
}

std::uint32_t XServer::atom(const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(m_connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(m_connection, cookie, nullptr);
    const std::uint32_t value = reply ? reply->atom : static_cast<std::uint32_t>(XCB_ATOM_NONE);
    std::free(reply);
    return value;
}

std::string XServer::title(std::uint32_t window) {
    for (const std::uint32_t property : {atom("_NET_WM_NAME"), std::uint32_t{XCB_ATOM_WM_NAME}}) {
        const xcb_get_property_cookie_t cookie =
            xcb_get_property(m_connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
        xcb_get_property_reply_t* reply = xcb_get_property_reply(m_connection, cookie, nullptr);
        std::string text;
        if (reply) {
            text.assign(static_cast<const char*>(xcb_get_property_value(reply)),
                        static_cast<std::size_t>(xcb_get_property_value_length(reply)));
            std::free(reply);
        }
        if (!text.empty()) {
            return text;
        }
    }
    return {};
}

bool XServer::isShown(std::uint32_t window) {
    xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
        m_connection, xcb_get_window_attributes(m_connection, window), nullptr);
    const bool shown = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(attributes);
    return shown;
}

std::uint32_t XServer::findWindow(const std::string& wanted, int timeoutMs) {
    if (!m_connection) {
        return 0;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    for (;;) {
        xcb_query_tree_reply_t* tree =
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, root), nullptr);
        if (tree) {
            const xcb_window_t* children = xcb_query_tree_children(tree);
            const int count = xcb_query_tree_children_length(tree);
            for (int i = 0; i < count; ++i) {
                if (isShown(children[i]) && title(children[i]) == wanted) {
                    const std::uint32_t found = children[i];
                    std::free(tree);
                    return found;
                }
            }
            std::free(tree);
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

bool XServer::requestClose(std::uint32_t window) {
    if (!m_connection || window == 0) {
        return false;
    }
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = atom("WM_PROTOCOLS");
    event.data.data32[0] = atom("WM_DELETE_WINDOW");
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(m_connection, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&event));
    return xcb_flush(m_connection) > 0;
}

bool XServer::killClient(std::uint32_t window) {
    if (!m_connection || window == 0) {
        return false;
    }
    xcb_kill_client(m_connection, window);
    // A round trip: the server has done it once the reply comes.
    std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    return true;
}

void XServer::kill() {
    if (m_process) {
        m_process->signal(SIGKILL);
        m_process->wait(3000);
    }
}

} // namespace quorvane::faults
