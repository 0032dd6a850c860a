#include "viewer/QtFileWatcher.h"

#include <QFileInfo>

namespace quorvane {

QtFileWatcher::QtFileWatcher(QObject* parent) : QObject(parent) {
    m_poll.setInterval(kPollMs);
    connect(&m_poll, &QTimer::timeout, this, &QtFileWatcher::notify);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &QtFileWatcher::notify);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &QtFileWatcher::notify);
}

void QtFileWatcher::watch(const std::string& path, std::function<void()> changed) {
    stop();
    m_path = QString::fromStdString(path);
    m_changed = std::move(changed);
    rewatch();
    m_poll.start();
}

void QtFileWatcher::stop() {
    m_poll.stop();
    if (!m_watcher.files().isEmpty()) {
        m_watcher.removePaths(m_watcher.files());
    }
    if (!m_watcher.directories().isEmpty()) {
        m_watcher.removePaths(m_watcher.directories());
    }
    m_changed = nullptr;
}

void QtFileWatcher::pollSoon() {
    if (m_soon) {
        return;
    }
    m_soon = true;
    QTimer::singleShot(0, this, [this] {
        m_soon = false;
        notify();
    });
}

void QtFileWatcher::notify() {
    rewatch();
    if (m_changed) {
        m_changed();
    }
}

void QtFileWatcher::rewatch() {
    if (m_path.isEmpty()) {
        return;
    }
    if (!m_watcher.files().contains(m_path) && QFileInfo::exists(m_path)) {
        m_watcher.addPath(m_path);
    }
    const QString folder = QFileInfo(m_path).absolutePath();
    if (!m_watcher.directories().contains(folder) && QFileInfo::exists(folder)) {
        m_watcher.addPath(folder);
    }
}

} // namespace quorvane
