#include "shell/ExitShutdown.h"

#include <QCoreApplication>
#include <QThread>
#include <csignal>
#include <cstdlib>

namespace quorvane {

namespace {

// The one armed guard; exit handlers take no argument.
ExitShutdown* armed = nullptr;

} // namespace

ExitShutdown::ExitShutdown(std::function<void()> reaction) : m_reaction(std::move(reaction)) {
    // A write to a display that is gone must not end the process before the handler runs.
    std::signal(SIGPIPE, SIG_IGN);
    static const bool registered = std::atexit(&ExitShutdown::onExit) == 0;
    if (registered) {
        armed = this;
    }
}

ExitShutdown::~ExitShutdown() {
    if (armed == this) {
        armed = nullptr;
    }
}

void ExitShutdown::onExit() {
    ExitShutdown* guard = armed;
    armed = nullptr;
    // The window lives on the user-interface thread; from any other one nothing is safe.
    if (!guard || !guard->m_reaction || !QCoreApplication::instance() ||
        QThread::currentThread() != QCoreApplication::instance()->thread()) {
        return;
    }
    guard->m_reaction();
}

} // namespace quorvane
