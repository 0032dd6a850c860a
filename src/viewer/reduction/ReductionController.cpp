#include "viewer/reduction/ReductionController.h"

#include "analysis/batch/FileStations.h"

#include <QFileInfo>

namespace quorvane {

ReductionController::ReductionController(analysis::ProbeProfile profile, QObject* parent,
                                         int delayMs)
    : QObject(parent), m_reduction(std::move(profile)), m_runs(m_reduction) {
    m_timer.setSingleShot(true);
    m_timer.setInterval(delayMs);
    connect(&m_timer, &QTimer::timeout, this, &ReductionController::reduceNow);
    // The other penetrations' numbers, one per turn of the event loop.
    m_rowTimer.setSingleShot(true);
    m_rowTimer.setInterval(0);
    connect(&m_rowTimer, &QTimer::timeout, this, &ReductionController::reduceARow);
}

void ReductionController::restart(const QString& path) {
    m_path = path;
    m_runs.clear(QFileInfo(path).fileName());
    m_rows.clear();
    m_list.clear();
    m_shown.reset();
    m_pinned.reset();
    m_station.load(path);
    m_stationNote.clear();
    m_fresh = true;
    ++m_generation;
    emit stationFileChanged();
    emit penetrationsChanged();
    schedule();
}

void ReductionController::startOver() {
    const QString path = m_path;
    restart(path);
    if (m_station.dropChoices()) {
        m_stationNote = QStringLiteral("%1 was written anew: the choices kept for the records "
                                       "before were dropped")
                            .arg(QFileInfo(path).fileName());
    }
    emit stationFileChanged();
}

void ReductionController::append(const std::vector<LogRecord>& records) {
    for (const LogRecord& r : records) {
        m_runs.append(r);
    }
    if (!records.empty()) {
        schedule();
    }
}

void ReductionController::setHeaders(const std::vector<LogHeader>& headers) {
    m_runs.setHeaders(headers);
    m_rows.clear();
    schedule();
}

void ReductionController::setFileInfo(const QString& serial, double logIntervalS, int badLines) {
    m_runs.setFallback(serial, logIntervalS);
    setBadLines(badLines);
    schedule();
}

void ReductionController::setBadLines(int badLines) {
    if (badLines != m_runs.badLines()) {
        m_runs.setBadLines(badLines);
        schedule();
    }
}

void ReductionController::setProfile(const analysis::ProbeProfile& profile, const QString& note) {
    m_reduction.setProfile(profile);
    m_profileNote = note;
    m_rows.clear();
    m_fresh = true;
    schedule();
}

QList<PenetrationRow> ReductionController::penetrations() const {
    QList<PenetrationRow> rows;
    for (const FileRuns::Penetration& p : m_list) {
        rows << PenetrationRow::of(
            p, m_shown && m_shown->key == p.key ? &m_results : m_rows.find(p.key, p.span));
    }
    return rows;
}

int ReductionController::chosenIndex() const {
    return m_shown ? m_shown->index : 0;
}

const FileRuns::Penetration* ReductionController::find(int index) const {
    for (const FileRuns::Penetration& p : m_list) {
        if (p.index == index) {
            return &p;
        }
    }
    return nullptr;
}

void ReductionController::choosePenetration(int index) {
    const FileRuns::Penetration* p = find(index);
    if (!p) {
        return;
    }
    // The newest one is followed: the next penetration is shown when it appears.
    if (index == m_list.back().index) {
        m_pinned.reset();
    } else {
        m_pinned = p->key;
    }
    if (m_shown && m_shown->index == index) {
        return;
    }
    if (m_deferred) {
        schedule();
    } else {
        reduceNow();
    }
}

analysis::ReductionResults ReductionController::resultsFor(int index) {
    if (m_shown && m_shown->index == index && (m_timer.isActive() || !m_fresh)) {
        // A live reduction carries its fits on from one record to the next; what is handed
        // on is the reduction of the records at once, as a reopened file gives it.
        m_afresh = !m_fresh;
        reduceNow();
    }
    const FileRuns::Penetration* p = find(index);
    if (!p) {
        return {};
    }
    if (m_shown && m_shown->index == index) {
        return m_results;
    }
    const analysis::ReductionResults* cached = m_rows.find(p->key, p->span);
    if (!cached) {
        analysis::Reduction reduction(m_reduction.profile(), optionsOf(p->key));
        reduction.setRecords(m_runs.recordsOf(*p));
        m_rows.put(p->key, p->span, reduction.results());
        cached = m_rows.find(p->key, p->span);
    }
    return decorated(*cached, *p);
}

QJsonObject ReductionController::jsonFor(int index) {
    analysis::FileStations::Reduced reduced;
    reduced.results = resultsFor(index);
    reduced.description = descriptionFor(index);
    return reduced.json();
}

ReductionController::RecordsOf ReductionController::recordsFor(int index) const {
    RecordsOf out;
    const FileRuns::Penetration* p = find(index);
    if (!p) {
        return out;
    }
    const analysis::StationRecords& run = m_runs.runOf(*p);
    out.run = std::shared_ptr<const analysis::StationRecords>(std::shared_ptr<void>(), &run);
    out.spanS = {p->startS, p->endS};
    out.wholeRun = p->span.begin == 0 && p->span.end >= run.size();
    out.penetration = out.wholeRun
                          ? out.run
                          : std::make_shared<const analysis::StationRecords>(m_runs.recordsOf(*p));
    return out;
}

station::StationDescription ReductionController::descriptionFor(int index) const {
    const FileRuns::Penetration* p = find(index);
    return p ? m_station.file().descriptionFor(p->key) : station::StationDescription{};
}

analysis::ReductionOptions ReductionController::optionsFor(int index) const {
    const FileRuns::Penetration* p = find(index);
    return p ? optionsOf(p->key) : analysis::ReductionOptions{};
}

analysis::ReductionOptions
ReductionController::optionsOf(const station::PenetrationKey& key) const {
    return m_station.optionsFor(key);
}

analysis::ReductionResults ReductionController::decorated(analysis::ReductionResults r,
                                                          const FileRuns::Penetration& p) const {
    // As --analyze gives them: where the penetration lies in the file, and its notes first.
    r.run = p.key.run;
    r.penetration = p.key.penetration;
    r.stationIndex = p.index;
    r.badLines = m_runs.badLines();
    QStringList notes;
    if (m_reduction.profile().isDefault && !m_profileNote.isEmpty()) {
        notes << m_profileNote;
    }
    if (m_station.inUse()) {
        notes << QStringLiteral("choices from the station file"); // as --analyze says
    }
    r.flags = notes + r.flags;
    return r;
}

void ReductionController::changeChoice(
    const std::function<void(analysis::ReductionOptions&)>& change) {
    if (!m_shown) {
        return; // nothing shown, nothing to choose for
    }
    const station::PenetrationKey key = m_shown->key;
    analysis::ReductionOptions options = optionsOf(key);
    change(options);
    m_station.setOptions(key, options);
    emit stationFileChanged();
    m_rows.forget(key);
    schedule();
}

void ReductionController::setPenetration(std::optional<double> utcS) {
    changeChoice([&](analysis::ReductionOptions& o) { o.penetrationS = utcS; });
}

void ReductionController::setDecayWindow(std::optional<Window> fromPenetrationS) {
    changeChoice([&](analysis::ReductionOptions& o) { o.decayWindowS = fromPenetrationS; });
}

void ReductionController::setHeatingWindow(std::optional<Window> fromSwitchOnS) {
    changeChoice([&](analysis::ReductionOptions& o) { o.heatingWindowS = fromSwitchOnS; });
}

void ReductionController::setPulseWindow(std::optional<Window> fromPulseS) {
    changeChoice([&](analysis::ReductionOptions& o) { o.pulseWindowS = fromPulseS; });
}

void ReductionController::setCalibrateBottomWater(bool on) {
    changeChoice([&](analysis::ReductionOptions& o) { o.calibrateBottomWater = on; });
}

void ReductionController::setEnteredK(int sensor, std::optional<double> kWPerMK) {
    if (sensor < 0 || sensor >= 5) {
        return;
    }
    changeChoice([&](analysis::ReductionOptions& o) {
        o.enteredK[static_cast<std::size_t>(sensor)] = kWPerMK;
    });
}

void ReductionController::setExclusion(int sensor, bool gradient, bool k, const QString& reason) {
    if (sensor < 0 || sensor >= 5) {
        return;
    }
    changeChoice([&](analysis::ReductionOptions& o) {
        const auto s = static_cast<std::size_t>(sensor);
        o.excludeFromGradient[s] = gradient;
        o.excludeFromK[s] = k;
        o.exclusionReason[s] = gradient || k ? reason.trimmed() : QString();
    });
}

void ReductionController::resetChoices() {
    changeChoice([](analysis::ReductionOptions& o) {
        o.penetrationS.reset();
        o.decayWindowS.reset();
        o.heatingWindowS.reset();
        o.pulseWindowS.reset();
    });
}

bool ReductionController::hidden(int sensor) const {
    return m_shown && m_station.hidden(m_shown->key, sensor);
}

void ReductionController::setHidden(int sensor, bool hide) {
    if (m_shown && m_station.setHidden(m_shown->key, sensor, hide)) {
        emit stationFileChanged();
        emit hiddenChanged();
    }
}

bool ReductionController::setDescriptions(const station::PenetrationKey& key,
                                          const station::StationDescription& common,
                                          const station::StationDescription& own, QString& error) {
    const bool kept = m_station.setDescriptions(key, common, own, error);
    emit stationFileChanged();
    if (kept) {
        emit penetrationsChanged();
    }
    return kept;
}

QString ReductionController::stationFileProblem() const {
    return m_station.problem(m_stationNote);
}

bool ReductionController::setStationFileAside(QString& movedTo, QString& error) {
    const bool moved = m_station.setAside(movedTo, error);
    if (moved) {
        m_stationNote = QStringLiteral("The unreadable station file was moved to %1").arg(movedTo);
        emit stationFileChanged();
    }
    return moved;
}

void ReductionController::setDeferred(bool deferred) {
    m_deferred = deferred;
    if (!deferred && m_due) {
        schedule();
    }
}

const FileRuns::Penetration* ReductionController::shownPenetration() {
    m_list = m_runs.penetrations();
    if (m_pinned) {
        for (const FileRuns::Penetration& p : m_list) {
            if (p.key == *m_pinned) {
                return &p;
            }
        }
        m_pinned.reset();
    }
    return m_list.empty() ? nullptr : &m_list.back();
}

void ReductionController::reduceNow() {
    m_timer.stop();
    m_due = false;
    const FileRuns::Penetration* p = shownPenetration();
    if (m_shown && m_fresh && (!p || p->key != m_shown->key) &&
        m_reduction.options() == optionsOf(m_shown->key)) {
        // The penetration left keeps its numbers for the list, unless its choices changed
        // since they were reduced.
        m_rows.put(m_shown->key, m_shown->span, m_shownRaw);
    }
    const FileRuns::Change change = m_runs.show(p);
    const analysis::ReductionOptions options = p ? optionsOf(p->key) : analysis::ReductionOptions{};
    bool forget = m_afresh && change != FileRuns::Change::Replaced;
    m_afresh = false;
    if (!(options == m_reduction.options())) {
        m_reduction.setOptions(options);
        // Fits carried on from other choices end a little elsewhere than fits done afresh:
        // the numbers of a choice are those a reopened file gives.
        forget = forget || change != FileRuns::Change::Replaced;
    }
    if (forget) {
        m_reduction.setProfile(m_reduction.profile());
    }
    if (change == FileRuns::Change::Replaced || forget) {
        m_fresh = true;
    } else if (change == FileRuns::Change::Grown) {
        m_fresh = false;
    }
    if ((p ? std::optional<station::PenetrationKey>(p->key) : std::nullopt) != shownKey()) {
        ++m_generation;
    }
    m_shown = p ? std::optional<FileRuns::Penetration>(*p) : std::nullopt;
    m_shownRaw = m_reduction.results();
    m_results = p ? decorated(m_shownRaw, *p) : m_shownRaw;
    ++m_reductions;
    emit reduced();
    emit penetrationsChanged();
    if (!m_deferred) {
        m_rowTimer.start();
    }
}

void ReductionController::reduceARow() {
    if (m_deferred || m_timer.isActive()) {
        return; // the shown one first
    }
    for (const FileRuns::Penetration& p : m_list) {
        if ((m_shown && p.key == m_shown->key) || m_rows.find(p.key, p.span)) {
            continue;
        }
        resultsFor(p.index);
        emit penetrationsChanged();
        m_rowTimer.start();
        return;
    }
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
