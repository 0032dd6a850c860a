#include "viewer/reduction/FileRuns.h"

#include <algorithm>

namespace quorvane {

void FileRuns::clear(const QString& fileName) {
    m_runs.clear();
    m_penetrations.clear();
    m_numbered = false;
    m_lent.reset();
    m_showing.reset();
    m_fileName = fileName;
    m_badLines = 0;
    m_shown.setRecords({});
    m_shown.setFileInfo(m_fileName, m_serial, m_intervalS, 0);
}

void FileRuns::setHeaders(const std::vector<LogHeader>& headers) {
    if (m_runs.size() < headers.size() + 1) {
        m_runs.resize(headers.size() + 1);
    }
    for (std::size_t h = 0; h < headers.size(); ++h) {
        Run& run = m_runs[h + 1];
        run.serial = QString::fromStdString(headers[h].instrument).trimmed();
        run.intervalS = headers[h].logIntervalSeconds.value_or(0.0);
    }
    for (std::size_t slot = 0; slot < m_runs.size(); ++slot) {
        applyInfo(slot);
    }
}

void FileRuns::setFallback(const QString& serial, double logIntervalS) {
    m_serial = serial;
    m_intervalS = logIntervalS;
    for (std::size_t slot = 0; slot < m_runs.size(); ++slot) {
        applyInfo(slot);
    }
    if (m_runs.empty()) {
        m_shown.setFileInfo(m_fileName, m_serial, m_intervalS, m_badLines);
    }
}

void FileRuns::setBadLines(int badLines) {
    if (badLines == m_badLines) {
        return;
    }
    m_badLines = badLines;
    for (std::size_t slot = 0; slot < m_runs.size(); ++slot) {
        applyInfo(slot);
    }
    if (m_runs.empty()) {
        m_shown.setFileInfo(m_fileName, m_serial, m_intervalS, m_badLines);
    }
}

void FileRuns::applyInfo(std::size_t slot) {
    // As --analyze reads a file: each run has its header's serial and interval, and records
    // before the first header take the next run's.
    const std::size_t from = slot == 0 && m_runs.size() > 1 ? 1 : slot;
    const Run& source = m_runs[from];
    const QString serial = source.serial.value_or(m_serial);
    const double interval = source.intervalS.value_or(m_intervalS);
    analysis::StationRecords& records = m_runs[slot].records;
    records.fileName = m_fileName;
    records.serial = serial;
    records.logIntervalS = interval;
    records.badLines = m_badLines;
    if ((m_lent && *m_lent == slot) || (!m_lent && m_showing && m_showing->slot == slot)) {
        m_shown.setFileInfo(m_fileName, serial, interval, m_badLines);
    }
}

std::size_t FileRuns::slotFor(int headerIndex) {
    const auto slot = static_cast<std::size_t>(std::max(headerIndex, -1) + 1);
    if (slot >= m_runs.size()) {
        const std::size_t before = m_runs.size();
        m_runs.resize(slot + 1);
        for (std::size_t s = before; s < m_runs.size(); ++s) {
            applyInfo(s);
        }
        if (before == 1) {
            applyInfo(0); // it takes the first header's information now
        }
    }
    return slot;
}

void FileRuns::append(const LogRecord& record) {
    const std::size_t slot = slotFor(record.headerIndex);
    const auto time = static_cast<double>(record.utcSeconds);
    if (m_lent && *m_lent == slot) {
        m_shown.append(time, record.temperatureC, record.heater);
    } else {
        m_runs[slot].records.append(time, record.temperatureC, record.heater);
    }
    m_runs[slot].split = false;
    m_numbered = false;
}

const analysis::StationRecords& FileRuns::recordsOfRun(std::size_t slot) const {
    return m_lent && *m_lent == slot ? m_shown.records() : m_runs[slot].records;
}

bool FileRuns::hasRecords() const {
    for (std::size_t slot = 0; slot < m_runs.size(); ++slot) {
        if (!recordsOfRun(slot).empty()) {
            return true;
        }
    }
    return false;
}

const std::vector<FileRuns::Penetration>& FileRuns::penetrations() {
    if (m_numbered) {
        return m_penetrations;
    }
    m_penetrations.clear();
    // Numbered as --analyze numbers them: runs by header block (records before the first
    // header are a run of their own when there are any), runs without records counted too.
    const bool before = !m_runs.empty() && !recordsOfRun(0).empty();
    int index = 0;
    for (std::size_t slot = 0; slot < m_runs.size(); ++slot) {
        const analysis::StationRecords& records = recordsOfRun(slot);
        if (records.empty()) {
            continue;
        }
        Run& run = m_runs[slot];
        if (!run.split) {
            run.spans = analysis::PenetrationSplitter::split(records);
            run.split = true;
        }
        int penetration = 0;
        for (const auto& span : run.spans) {
            Penetration p;
            p.key = {static_cast<int>(before ? slot + 1 : slot), ++penetration};
            p.index = ++index;
            p.slot = slot;
            p.span = span;
            p.startS = records.timeS()[span.begin];
            p.endS = records.timeS()[std::max(span.end, span.begin + 1) - 1];
            if (span.jump) {
                p.jumpS = records.timeS()[*span.jump];
            }
            m_penetrations.push_back(p);
        }
    }
    m_numbered = true;
    return m_penetrations;
}

analysis::StationRecords FileRuns::recordsOf(const Penetration& penetration) const {
    return analysis::PenetrationSplitter::slice(recordsOfRun(penetration.slot), penetration.span);
}

void FileRuns::giveBack() {
    if (m_lent) {
        m_runs[*m_lent].records = m_shown.records();
        m_lent.reset();
    }
}

FileRuns::Change FileRuns::show(const Penetration* penetration) {
    if (!penetration) {
        if (!m_showing) {
            return Change::None;
        }
        giveBack();
        m_showing.reset();
        m_shown.setRecords({});
        m_shown.setFileInfo(m_fileName, m_serial, m_intervalS, m_badLines);
        return Change::Replaced;
    }
    const std::size_t slot = penetration->slot;
    const auto& span = penetration->span;
    const std::size_t runSize = recordsOfRun(slot).size();
    const bool whole = span.begin == 0 && span.end == runSize;
    if (m_showing && m_showing->slot == slot && m_showing->begin == span.begin &&
        span.end >= m_showing->end && (!m_lent || whole)) {
        // The same penetration, grown at its end: the new records only.
        const std::size_t shownEnd = m_showing->end;
        if (!m_lent) {
            const analysis::StationRecords& run = m_runs[slot].records;
            for (std::size_t i = shownEnd; i < span.end; ++i) {
                std::array<double, analysis::kSensorCount> t{};
                for (std::size_t s = 0; s < analysis::kSensorCount; ++s) {
                    t[s] = run.temperatureC(s)[i];
                }
                m_shown.append(run.timeS()[i], t, run.heater()[i]);
            }
        }
        m_showing->end = span.end;
        return span.end > shownEnd ? Change::Grown : Change::None;
    }
    giveBack();
    if (whole) {
        m_shown.setRecords(std::move(m_runs[slot].records));
        m_runs[slot].records = {};
        m_lent = slot;
    } else {
        m_shown.setRecords(recordsOf(*penetration));
    }
    m_showing = Shown{slot, span.begin, span.end};
    return Change::Replaced;
}

} // namespace quorvane
