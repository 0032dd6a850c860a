#include "viewer/EventLogFollower.h"

#include <QFile>

namespace quorvane {

namespace {

constexpr std::size_t kStampLength = 20; // "dd-mmm-yyyy hh:mm:ss", then ": "

std::string_view eventText(std::string_view line) {
    if (line.size() < kStampLength + 2 || line.substr(kStampLength, 2) != ": ") {
        return {};
    }
    return line.substr(kStampLength + 2);
}

} // namespace

EventLogFollower::EventLogFollower(FileWatcher& watcher, Reactions reactions)
    : m_watcher(watcher), m_reactions(std::move(reactions)) {}

void EventLogFollower::start(const std::string& eventLogPath) {
    stop();
    m_path = eventLogPath;
    m_watcher.watch(m_path, [this] { poll(); });
    poll();
}

void EventLogFollower::stop() {
    m_watcher.stop();
    m_path.clear();
    m_offset = 0;
    m_partial.clear();
    m_exists = false;
    m_running = false;
    m_firstRead = true;
    m_lastStart.reset();
}

std::optional<std::string> EventLogFollower::startRunFile(std::string_view line) {
    const std::string_view text = eventText(line);
    if (text.rfind("START RUN.", 0) != 0) {
        return std::nullopt;
    }
    const std::string_view key = "Logfile: ";
    const std::size_t at = text.rfind(key);
    if (at == text.npos) {
        return std::string();
    }
    return std::string(text.substr(at + key.size()));
}

void EventLogFollower::poll() {
    if (m_path.empty()) {
        return;
    }
    QFile file(QString::fromStdString(m_path));
    m_exists = file.exists();
    if (!file.open(QIODevice::ReadOnly)) {
        return;
    }
    if (file.size() < m_offset) {
        m_offset = 0; // emptied or replaced: read it again
        m_partial.clear();
    }
    if (!file.seek(m_offset)) {
        return;
    }
    const QByteArray bytes = file.readAll();
    m_offset += bytes.size();
    std::string_view rest(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    for (std::size_t end = rest.find('\n'); end != rest.npos; end = rest.find('\n')) {
        m_partial.append(rest.substr(0, end));
        if (!m_partial.empty() && m_partial.back() == '\r') {
            m_partial.pop_back();
        }
        readLine(m_partial);
        m_partial.clear();
        rest.remove_prefix(end + 1);
    }
    m_partial.append(rest.substr(0, std::min<std::size_t>(rest.size(), 64 * 1024)));
    if (m_firstRead) {
        m_firstRead = false;
        if (m_lastStart && m_reactions.runStarted) {
            m_reactions.runStarted(*m_lastStart);
        }
        if (m_reactions.runStateChanged) {
            m_reactions.runStateChanged(m_running);
        }
    }
}

void EventLogFollower::readLine(std::string_view line) {
    if (const std::optional<std::string> file = startRunFile(line)) {
        m_running = true;
        if (m_firstRead) {
            m_lastStart = file;
            return;
        }
        if (m_reactions.runStarted) {
            m_reactions.runStarted(*file);
        }
        if (m_reactions.runStateChanged) {
            m_reactions.runStateChanged(true);
        }
        return;
    }
    const std::string_view text = eventText(line);
    const bool ended = text.rfind("END RUN.", 0) == 0;
    const bool resumed = text.rfind("RESUMED RUN.", 0) == 0;
    if (!ended && !resumed) {
        return;
    }
    m_running = resumed;
    if (!m_firstRead && m_reactions.runStateChanged) {
        m_reactions.runStateChanged(m_running);
    }
}

} // namespace quorvane
