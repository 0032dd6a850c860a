#pragma once

#include "datafile/DataFileTail.h"
#include "platform/Clock.h"
#include "viewer/FileWatcher.h"
#include "viewer/FollowUpdate.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace quorvane {

// Follows one data log file: at each word of its watcher it reads what was appended, a
// big file a chunk at a time, and hands each update on. Knows when the newest record was
// stamped and whether the file grew while it was watched (a run is going on).
class DataFollower {
public:
    using Reaction = std::function<void(const FollowUpdate&)>;

    DataFollower(FileWatcher& watcher, const Clock& clock, Reaction onUpdate,
                 std::size_t chunk = DataFileTail::kDefaultChunk);

    // Starts over with another file and reads its first chunk at once.
    void open(const std::string& path);
    void close();
    // Reads the next chunk (what the watcher calls).
    void poll();

    bool isOpen() const { return m_tail != nullptr; }
    std::string path() const { return m_tail ? m_tail->path() : std::string(); }
    // True while the first reading of the file is not finished.
    bool loading() const { return m_loading; }
    // The file grew after it had been read through once.
    bool grewWhileWatched() const { return m_grew; }
    std::optional<qint64> lastRecordUtc() const { return m_lastRecordUtc; }
    // Seconds from the newest record's stamp to now; nullopt before any record.
    std::optional<qint64> secondsSinceLastRecord() const;
    // Seconds since the file last grew while watched; nullopt when it never did.
    std::optional<qint64> secondsSinceGrowth() const;
    const std::string& problem() const { return m_problem; }

private:
    qint64 nowSeconds() const;

    FileWatcher& m_watcher;
    const Clock& m_clock;
    Reaction m_onUpdate;
    std::size_t m_chunk;
    std::unique_ptr<DataFileTail> m_tail;
    std::size_t m_headerCount = 0;
    bool m_loading = false;
    bool m_grew = false;
    std::optional<qint64> m_lastRecordUtc;
    std::optional<qint64> m_grewAtUtc; // this computer's clock
    std::string m_problem;
};

} // namespace quorvane
