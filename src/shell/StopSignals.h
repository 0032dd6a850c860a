#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

namespace quorvane {

// SIGINT, SIGTERM and SIGHUP end the program in an orderly way (heater off, port closed,
// settings saved), as the window's close control does: a heater must not be left on
// because the program was asked to stop. The signal is handed to the event loop through a
// pipe, so the reaction runs on the user-interface thread.
class StopSignals : public QObject {
    Q_OBJECT
public:
    explicit StopSignals(std::function<void(int signal)> reaction, QObject* parent = nullptr);
    ~StopSignals() override;

private:
    void handleReadable();

    std::function<void(int)> m_reaction;
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace quorvane
