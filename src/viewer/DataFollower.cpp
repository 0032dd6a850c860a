#include "viewer/DataFollower.h"

#include "logging/EventStamp.h"

namespace quorvane {

DataFollower::DataFollower(FileWatcher& watcher, const Clock& clock, Reaction onUpdate,
                           std::size_t chunk)
    : m_watcher(watcher), m_clock(clock), m_onUpdate(std::move(onUpdate)), m_chunk(chunk) {}

void DataFollower::open(const std::string& path) {
    close();
    m_tail = std::make_unique<DataFileTail>(path, m_chunk);
    m_loading = true;
    m_watcher.watch(path, [this] { poll(); });
    FollowUpdate first;
    first.restarted = true;
    first.opened = true;
    first.headersChanged = true;
    m_onUpdate(first);
    poll();
}

void DataFollower::close() {
    m_watcher.stop();
    m_tail.reset();
    m_headerCount = 0;
    m_loading = false;
    m_grew = false;
    m_grewAtUtc.reset();
    m_lastRecordUtc.reset();
    m_problem.clear();
}

void DataFollower::poll() {
    if (!m_tail) {
        return;
    }
    const DataFileTail::Step step = m_tail->poll();
    FollowUpdate update;
    DataFileParser& parser = m_tail->parser();
    if (step.kind == DataFileTail::Kind::Missing || step.kind == DataFileTail::Kind::Failed) {
        const std::string problem =
            (step.kind == DataFileTail::Kind::Missing ? "file not found (" : "cannot read (") +
            step.message + ")";
        if (problem == m_problem) {
            return; // told already
        }
        m_problem = problem;
        m_loading = false;
        update.problem = problem;
    } else {
        if (step.kind == DataFileTail::Kind::Unchanged && m_problem.empty()) {
            return;
        }
        m_problem.clear();
        if (step.kind == DataFileTail::Kind::Restarted) {
            update.restarted = true;
            m_headerCount = 0;
            m_lastRecordUtc.reset();
        }
        update.records = parser.takeRecords();
        update.badLines = parser.takeBadLines();
        if (parser.headers().size() != m_headerCount || update.restarted) {
            m_headerCount = parser.headers().size();
            update.headersChanged = true;
            update.headers = parser.headers();
        }
        if (!update.records.empty()) {
            m_lastRecordUtc = update.records.back().utcSeconds;
            if (!m_loading) {
                m_grew = true;
                m_grewAtUtc = nowSeconds();
            }
        }
        update.more = step.more;
        if (!step.more) {
            m_loading = false;
        }
    }
    update.recordCount = parser.recordCount();
    update.badLineCount = parser.badLineCount();
    update.lineCount = parser.lineCount();
    update.dataLogFile = parser.isDataLogFile();
    update.bytesRead = m_tail->bytesRead();
    update.fileSize = m_tail->fileSize();
    m_onUpdate(update);
    if (update.more) {
        m_watcher.pollSoon();
    }
}

qint64 DataFollower::nowSeconds() const {
    return systemTimeToDate(m_clock.nowUtc()).time_since_epoch().count();
}

std::optional<qint64> DataFollower::secondsSinceLastRecord() const {
    if (!m_lastRecordUtc) {
        return std::nullopt;
    }
    return nowSeconds() - *m_lastRecordUtc;
}

std::optional<qint64> DataFollower::secondsSinceGrowth() const {
    if (!m_grewAtUtc) {
        return std::nullopt;
    }
    return nowSeconds() - *m_grewAtUtc;
}

} // namespace quorvane
