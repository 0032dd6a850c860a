#include "viewer/reduction/ReductionController.h"

#include "analysis/batch/DataFileRecords.h"

namespace quorvane {

ReductionController::ReductionController(analysis::ProbeProfile profile, QObject* parent,
                                         int delayMs)
    : QObject(parent), m_reduction(std::move(profile)) {
    m_timer.setSingleShot(true);
    m_timer.setInterval(delayMs);
    connect(&m_timer, &QTimer::timeout, this, &ReductionController::reduceNow);
}

void ReductionController::restart(const QString& fileName) {
    const analysis::StationRecords& old = m_reduction.records();
    const QString serial = old.serial;
    const double interval = old.logIntervalS;
    m_reduction.setRecords({});
    m_reduction.setFileInfo(fileName, serial, interval, 0);
    m_headerIndex = -1;
    newRun();
    schedule();
}

void ReductionController::newRun() {
    ++m_run;
    analysis::ReductionOptions defaults;
    defaults.penetrationThresholdK = m_reduction.options().penetrationThresholdK;
    m_reduction.setOptions(defaults);
}

void ReductionController::append(const std::vector<LogRecord>& records) {
    for (const LogRecord& r : records) {
        if (r.headerIndex > m_headerIndex) {
            if (m_headerIndex >= 0 && !m_reduction.records().empty()) {
                // A new run in the same file: the reduction is of the last one.
                const analysis::StationRecords& old = m_reduction.records();
                const QString file = old.fileName;
                const QString serial = old.serial;
                const double interval = old.logIntervalS;
                const int bad = old.badLines;
                m_reduction.setRecords({});
                m_reduction.setFileInfo(file, serial, interval, bad);
            }
            if (m_headerIndex >= 0) {
                newRun();
            }
            m_headerIndex = r.headerIndex;
        }
        analysis::DataFileRecords::append(m_reduction, r);
    }
    if (!records.empty()) {
        schedule();
    }
}

void ReductionController::setFileInfo(const QString& serial, double logIntervalS, int badLines) {
    const analysis::StationRecords& r = m_reduction.records();
    if (r.serial == serial && r.logIntervalS == logIntervalS && r.badLines == badLines) {
        return;
    }
    m_reduction.setFileInfo(r.fileName, serial, logIntervalS, badLines);
    schedule();
}

void ReductionController::setProfile(const analysis::ProbeProfile& profile, const QString& note) {
    m_reduction.setProfile(profile);
    m_profileNote = note;
    schedule();
}

void ReductionController::setPenetration(std::optional<double> utcS) {
    analysis::ReductionOptions o = m_reduction.options();
    o.penetrationS = utcS;
    m_reduction.setOptions(o);
    schedule();
}

void ReductionController::setDecayWindow(std::optional<Window> fromPenetrationS) {
    analysis::ReductionOptions o = m_reduction.options();
    o.decayWindowS = fromPenetrationS;
    m_reduction.setOptions(o);
    schedule();
}

void ReductionController::setHeatingWindow(std::optional<Window> fromSwitchOnS) {
    analysis::ReductionOptions o = m_reduction.options();
    o.heatingWindowS = fromSwitchOnS;
    m_reduction.setOptions(o);
    schedule();
}

void ReductionController::resetChoices() {
    analysis::ReductionOptions defaults;
    defaults.penetrationThresholdK = m_reduction.options().penetrationThresholdK;
    m_reduction.setOptions(defaults);
    schedule();
}

void ReductionController::setDeferred(bool deferred) {
    m_deferred = deferred;
    if (!deferred && m_due) {
        schedule();
    }
}

void ReductionController::reduceNow() {
    m_timer.stop();
    m_due = false;
    m_results = m_reduction.results();
    ++m_reductions;
    emit reduced();
}

void ReductionController::schedule() {
    m_due = true;
    if (m_deferred) {
        m_timer.stop();
        return;
    }
    if (!m_timer.isActive()) {
        m_timer.start();
    }
}

} // namespace quorvane
