#pragma once

#include "datafile/UtcStamp.h"

#include <QtGlobal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace quorvane::viewertest {

// 07-Dec-2026 13:51:10 UTC, the stamp of record 0 in these files.
constexpr qint64 kStart = 1796651470;

inline std::string stamp(qint64 utc) {
    return eventStampUtc(utc);
}

inline std::string header(int logInterval = 1, bool rawHex = true, int level = 120) {
    return "# Instrument: 0417\r\n# Firmware: Ver 2.31\r\n# Delay: 5\r\n# HeatDuration: 4\r\n"
           "# PowerLevel: " +
           std::to_string(level) +
           "\r\n# HeaterEnabled: Yes\r\n# DataType: " + (rawHex ? "RawHex" : "Temperature") +
           "\r\n# PowerLevel: " + std::to_string(level) +
           "\r\n# LogInterval: " + std::to_string(logInterval) + "\r\n# Logfile: /tmp/run.log\r\n" +
           (rawHex ? "# Date        Time    Xtra 100K  20K TTop   T2   T3   T4 TBot Htr\r\n"
                   : "# Date        Time     TTop    T2     T3     T4    TBot Htr\r\n");
}

// A RawHex line of record `n` (seconds after kStart) with the heater column.
inline std::string rawLine(qint64 n, int heater = 0) {
    char payload[64];
    std::snprintf(payload, sizeof payload, " %04X 6000 2000 %04X 3000 2001 6000 2000",
                  static_cast<unsigned>(n & 0xffff), static_cast<unsigned>(0x5000 + n));
    return stamp(kStart + n) + " " + payload + " " + std::to_string(heater) + "\r\n";
}

// A Temperature line: TTop = 1 + n/1000 and so on.
inline std::string temperatureLine(qint64 n, int heater = 0) {
    char values[128];
    std::snprintf(values, sizeof values, " %.3f %.3f %.3f %.3f %.3f", 1 + n / 1000.0,
                  2 + n / 1000.0, 3 + n / 1000.0, 4 + n / 1000.0, 5 + n / 1000.0);
    return stamp(kStart + n) + " " + values + " " + std::to_string(heater) + "\r\n";
}

// A folder of its own for one test.
class TempFolder {
public:
    explicit TempFolder(const std::string& name) {
        static int counter = 0;
        m_dir = std::filesystem::temp_directory_path() /
                ("quorvane-viewer-" + name + "-" + std::to_string(::getpid()) + "-" +
                 std::to_string(++counter));
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    ~TempFolder() { std::filesystem::remove_all(m_dir); }
    std::string path(const std::string& name) const { return (m_dir / name).string(); }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(path(name), std::ios::binary | std::ios::trunc) << text;
    }
    void append(const std::string& name, const std::string& text) const {
        std::ofstream(path(name), std::ios::binary | std::ios::app) << text;
    }

private:
    std::filesystem::path m_dir;
};

} // namespace quorvane::viewertest
