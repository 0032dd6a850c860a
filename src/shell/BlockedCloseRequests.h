#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <cstdint>

class QWidget;

namespace quorvane {

// A close asked for while a modal window (a message box, the file chooser) blocks the main
// window: the toolkit drops such a request, so it is noticed here and carried out as soon
// as the main window is no longer blocked, as if its close control had been used then.
// The window manager's requests are seen on X11; elsewhere they are dropped as before.
class BlockedCloseRequests : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit BlockedCloseRequests(QWidget& window);
    ~BlockedCloseRequests() override;

    // Closes the window now, or once the modal window over it has closed.
    void requestClose();
    bool isPending() const { return m_pending; }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isBlocked() const;
    // Whether an X11 event is the window manager's request to close the window.
    bool isCloseRequest(const void* message);

    QWidget& m_window;
    bool m_pending = false;
    std::uint32_t m_protocols = 0;
    std::uint32_t m_deleteWindow = 0;
};

} // namespace quorvane
