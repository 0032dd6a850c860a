#include "datafile/DataFileParser.h"

namespace quorvane {

void DataFileParser::feed(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        const std::string_view piece = end == bytes.npos ? bytes : bytes.substr(0, end);
        if (m_skippingLongLine) {
            // the rest of a line already counted as too long
        } else if (m_partial.size() + piece.size() > kMaxLineLength) {
            m_skippingLongLine = true;
            m_partial.clear();
            ++m_lineCount;
            addBadLine("line longer than " + std::to_string(kMaxLineLength) + " characters");
            m_lastWasHeader = false;
        } else if (end == bytes.npos) {
            m_partial.append(piece);
        } else if (m_partial.empty()) {
            ++m_lineCount;
            readLine(piece);
        } else {
            m_partial.append(piece);
            ++m_lineCount;
            readLine(m_partial);
            m_partial.clear();
        }
        if (end == bytes.npos) {
            break;
        }
        m_skippingLongLine = false;
        bytes.remove_prefix(end + 1);
    }
}

void DataFileParser::finish() {
    if (!m_partial.empty()) {
        ++m_lineCount;
        readLine(m_partial);
        m_partial.clear();
    }
    m_skippingLongLine = false;
}

void DataFileParser::reset() {
    m_headers.clear();
    m_records.clear();
    m_badLines.clear();
    m_partial.clear();
    m_skippingLongLine = false;
    m_lastWasHeader = false;
    m_lineCount = 0;
    m_recordCount = 0;
    m_badLineCount = 0;
    m_headerLineCount = 0;
    m_keptBadLines = 0;
}

std::vector<LogRecord> DataFileParser::takeRecords() {
    std::vector<LogRecord> out;
    out.swap(m_records);
    return out;
}

std::vector<BadLine> DataFileParser::takeBadLines() {
    std::vector<BadLine> out;
    out.swap(m_badLines);
    return out;
}

void DataFileParser::readLine(std::string_view line) {
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    if (line.empty()) {
        return;
    }
    if (line.front() == '#') {
        if (LogHeader::isWrittenLine(line)) {
            ++m_headerLineCount;
        }
        if (!m_lastWasHeader || !m_headers.back().add(line)) {
            m_headers.emplace_back();
            m_headers.back().firstLine = m_lineCount;
            m_headers.back().add(line);
        }
        m_lastWasHeader = true;
        return;
    }
    m_lastWasHeader = false;
    const DataLayout layout = m_headers.empty() ? DataLayout::Unknown : m_headers.back().layout;
    LogRecord record;
    std::string reason;
    if (!m_lineParser.parse(line, layout, record, reason)) {
        addBadLine(std::move(reason));
        return;
    }
    record.lineNumber = m_lineCount;
    record.headerIndex = static_cast<int>(m_headers.size()) - 1;
    m_records.push_back(record);
    ++m_recordCount;
}

void DataFileParser::addBadLine(std::string reason) {
    ++m_badLineCount;
    if (m_keptBadLines < kMaxKeptBadLines) {
        ++m_keptBadLines;
        m_badLines.push_back({m_lineCount, std::move(reason)});
    }
}

} // namespace quorvane
