#pragma once

#include "analysis/PenetrationSplitter.h"
#include "analysis/Reduction.h"
#include "analysis/StationRecords.h"
#include "datafile/LogHeader.h"
#include "datafile/LogRecord.h"
#include "station/PenetrationKey.h"

#include <QString>

#include <optional>
#include <vector>

namespace quorvane {

// The records of every run (header block) of the shown file, split into their penetrations
// and numbered as `--analyze` numbers them, and the records of the penetration shown, which go
// into the shown reduction. A penetration that is all of its run (the usual file) is handed to
// the reduction rather than copied, so that a long file is held once; records of that run
// then go straight on into the reduction.
class FileRuns {
public:
    struct Penetration {
        station::PenetrationKey key;
        int index = 0; // in the whole file, from 1
        std::size_t slot = 0;
        analysis::PenetrationSplitter::Span span;
        double startS = 0.0;         // the first record's time
        double endS = 0.0;           // the last record's time
        std::optional<double> jumpS; // the first record in the sediment, when seen
    };
    // How the shown reduction's records changed.
    enum class Change { None, Grown, Replaced };

    explicit FileRuns(analysis::Reduction& shown) : m_shown(shown) {}

    // Another file (or the same one read again from its start).
    void clear(const QString& fileName);
    // Each run's serial and log interval from its header block.
    void setHeaders(const std::vector<LogHeader>& headers);
    // For runs whose header is not known.
    void setFallback(const QString& serial, double logIntervalS);
    void setBadLines(int badLines);
    void append(const LogRecord& record);

    // The penetrations in file order (the runs that grew are split again).
    const std::vector<Penetration>& penetrations();
    // A penetration's records, copied.
    analysis::StationRecords recordsOf(const Penetration& penetration) const;
    // The records of a penetration's whole run (the report draws the run).
    const analysis::StationRecords& runOf(const Penetration& penetration) const {
        return recordsOfRun(penetration.slot);
    }

    // Puts the records of `penetration` into the shown reduction, or none.
    Change show(const Penetration* penetration);

    bool hasRecords() const;
    int badLines() const { return m_badLines; }

private:
    struct Run {
        analysis::StationRecords records; // empty while lent to the shown reduction
        std::optional<QString> serial;    // from the header
        std::optional<double> intervalS;
        bool split = false; // `spans` are of the records as they are
        std::vector<analysis::PenetrationSplitter::Span> spans;
    };
    struct Shown {
        std::size_t slot = 0;
        std::size_t begin = 0;
        std::size_t end = 0;
    };

    const analysis::StationRecords& recordsOfRun(std::size_t slot) const;
    void giveBack();
    void applyInfo(std::size_t slot);
    std::size_t slotFor(int headerIndex);

    analysis::Reduction& m_shown;
    std::vector<Run> m_runs; // slot 0: records before any header; slot h + 1: header h
    std::vector<Penetration> m_penetrations;
    bool m_numbered = false;
    std::optional<std::size_t> m_lent;
    std::optional<Shown> m_showing;
    QString m_fileName;
    QString m_serial;
    double m_intervalS = 0.0;
    int m_badLines = 0;
};

} // namespace quorvane
