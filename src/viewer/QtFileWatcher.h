#pragma once

#include "viewer/FileWatcher.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

namespace quorvane {

// QFileSystemWatcher for prompt news of writes, and a short poll because a watch is lost
// when the file is removed or replaced and is never set on a file that does not exist.
class QtFileWatcher : public QObject, public FileWatcher {
    Q_OBJECT
public:
    static constexpr int kPollMs = 200;

    explicit QtFileWatcher(QObject* parent = nullptr);

    void watch(const std::string& path, std::function<void()> changed) override;
    void stop() override;
    void pollSoon() override;

private:
    void notify();
    void rewatch();

    QFileSystemWatcher m_watcher;
    QTimer m_poll;
    QString m_path;
    std::function<void()> m_changed;
    bool m_soon = false;
};

} // namespace quorvane
