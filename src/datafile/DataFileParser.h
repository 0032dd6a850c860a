#pragma once

#include "datafile/BadLine.h"
#include "datafile/DataLineParser.h"
#include "datafile/LogHeader.h"
#include "datafile/LogRecord.h"

#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// Reads a data log file piece by piece as it is written: feed() what was appended, and the
// complete lines are read; a last line without its line end waits for the rest. Lines end
// in CR LF (a bare LF is taken too); empty lines are skipped. Never fails: what cannot be
// read is a bad line, counted with its number.
class DataFileParser {
public:
    // A line longer than this is a bad line; the rest of it is skipped up to its line end.
    static constexpr std::size_t kMaxLineLength = 64 * 1024;
    // Bad lines kept with their reasons (all are counted).
    static constexpr std::size_t kMaxKeptBadLines = 1000;

    void feed(std::string_view bytes);
    // The end of the file: a last line without its line end is read as it stands.
    void finish();
    // Back to an empty file (it shrank or was replaced).
    void reset();

    const std::vector<LogHeader>& headers() const { return m_headers; }
    // Records and bad lines read since the last take, in file order.
    std::vector<LogRecord> takeRecords();
    std::vector<BadLine> takeBadLines();
    const std::vector<LogRecord>& pendingRecords() const { return m_records; }

    qint64 lineCount() const { return m_lineCount; }
    qint64 recordCount() const { return m_recordCount; }
    qint64 badLineCount() const { return m_badLineCount; }
    // Lines as the program's header block writes them (see LogHeader::isWrittenLine).
    qint64 headerLineCount() const { return m_headerLineCount; }
    // At least one line is a record or a header line: a '#' line alone is not enough.
    bool isDataLogFile() const { return m_recordCount > 0 || m_headerLineCount > 0; }
    // Characters of a line still waiting for its line end.
    std::size_t waitingCharacters() const { return m_partial.size(); }

private:
    void readLine(std::string_view line);
    void addBadLine(std::string reason);

    DataLineParser m_lineParser;
    std::vector<LogHeader> m_headers;
    std::vector<LogRecord> m_records;
    std::vector<BadLine> m_badLines;
    std::string m_partial;
    bool m_skippingLongLine = false;
    bool m_lastWasHeader = false;
    qint64 m_lineCount = 0;
    qint64 m_recordCount = 0;
    qint64 m_badLineCount = 0;
    qint64 m_headerLineCount = 0;
    std::size_t m_keptBadLines = 0;
};

} // namespace quorvane
