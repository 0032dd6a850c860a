#include "shell/BlockedCloseRequests.h"

#include <QApplication>
#include <QGuiApplication>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace quorvane {

namespace {

std::uint32_t internAtom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const std::uint32_t atom = reply ? reply->atom : static_cast<std::uint32_t>(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

} // namespace

BlockedCloseRequests::BlockedCloseRequests(QWidget& window) : m_window(window) {
    m_window.installEventFilter(this);
    QCoreApplication::instance()->installNativeEventFilter(this);
}

BlockedCloseRequests::~BlockedCloseRequests() {
    if (QCoreApplication::instance()) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
}

bool BlockedCloseRequests::isBlocked() const {
    QWidget* modal = QApplication::activeModalWidget();
    return modal && modal != &m_window;
}

void BlockedCloseRequests::requestClose() {
    if (isBlocked()) {
        m_pending = true;
        return;
    }
    m_pending = false;
    m_window.close();
}

bool BlockedCloseRequests::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_window && event->type() == QEvent::WindowUnblocked && m_pending) {
        m_pending = false;
        m_window.close();
    }
    return QObject::eventFilter(watched, event);
}

bool BlockedCloseRequests::isCloseRequest(const void* message) {
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE) {
        return false;
    }
    const auto* client = static_cast<const xcb_client_message_event_t*>(message);
    if (client->format != 32 || !m_window.testAttribute(Qt::WA_WState_Created) ||
        client->window != static_cast<xcb_window_t>(m_window.winId())) {
        return false;
    }
    if (m_protocols == 0) {
        auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        if (!x11 || !x11->connection()) {
            return false;
        }
        m_protocols = internAtom(x11->connection(), "WM_PROTOCOLS");
        m_deleteWindow = internAtom(x11->connection(), "WM_DELETE_WINDOW");
    }
    return client->type == m_protocols && client->data.data32[0] == m_deleteWindow;
}

bool BlockedCloseRequests::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    // Only what the toolkit would drop is taken up: an unblocked window closes as usual.
    if (eventType == "xcb_generic_event_t" && isBlocked() && isCloseRequest(message)) {
        m_pending = true;
    }
    return false;
}

} // namespace quorvane
