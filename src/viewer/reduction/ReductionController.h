#pragma once

#include "analysis/ProbeProfile.h"
#include "analysis/Reduction.h"
#include "analysis/ReductionResults.h"
#include "datafile/LogRecord.h"

#include <QObject>
#include <QTimer>
#include <optional>
#include <vector>

namespace quorvane {

// Keeps the reduction of the shown station up to date. Records and the operator's choices
// arrive at any rate; the reduction runs once on a short single-shot timer after a burst,
// so that a whole file read at once is reduced once, not once per record.
class ReductionController : public QObject {
    Q_OBJECT
public:
    using Window = analysis::ReductionOptions::Window;

    explicit ReductionController(analysis::ProbeProfile profile, QObject* parent = nullptr,
                                 int delayMs = 40);

    // Starts over with another file (or the same file read again): a new run, whose choices
    // are the defaults.
    void restart(const QString& fileName);
    // Records in file order. A later header block begins a new station: only the last is kept,
    // and the choices made on the one before are gone.
    void append(const std::vector<LogRecord>& records);
    // Counts the runs shown: a restart or a new header block gives the next one.
    int run() const { return m_run; }
    void setFileInfo(const QString& serial, double logIntervalS, int badLines);

    // The profile and what the panel says about where it came from.
    void setProfile(const analysis::ProbeProfile& profile, const QString& note);
    const analysis::ProbeProfile& profile() const { return m_reduction.profile(); }
    const QString& profileNote() const { return m_profileNote; }
    QString serial() const { return m_reduction.records().serial; }

    // The operator's choices, for the run shown now only; nullopt gives the default back.
    void setPenetration(std::optional<double> utcS);
    void setDecayWindow(std::optional<Window> fromPenetrationS);
    void setHeatingWindow(std::optional<Window> fromSwitchOnS);
    void resetChoices();
    const analysis::ReductionOptions& options() const { return m_reduction.options(); }

    // While a file's first reading goes on chunk by chunk, the reduction waits for its end.
    void setDeferred(bool deferred);
    // Reduces now instead of on the timer (tests, exports).
    void reduceNow();
    bool pending() const { return m_timer.isActive(); }
    const analysis::ReductionResults& results() const { return m_results; }
    const analysis::StationRecords& records() const { return m_reduction.records(); }
    int reductions() const { return m_reductions; }

signals:
    void reduced();

private:
    void schedule();
    void newRun();

    analysis::Reduction m_reduction;
    analysis::ReductionResults m_results;
    QString m_profileNote;
    QTimer m_timer;
    int m_headerIndex = -1;
    int m_reductions = 0;
    int m_run = 0;
    bool m_deferred = false;
    bool m_due = false;
};

} // namespace quorvane
