#pragma once

#include "analysis/ProbeProfile.h"
#include "analysis/Reduction.h"
#include "analysis/ReductionResults.h"
#include "datafile/LogHeader.h"
#include "datafile/LogRecord.h"
#include "station/StationDescription.h"
#include "viewer/reduction/FileRuns.h"
#include "viewer/reduction/PenetrationResults.h"
#include "viewer/reduction/PenetrationRow.h"
#include "viewer/reduction/StationFileKeeper.h"

#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace quorvane {

// Keeps the reduction of the shown file up to date: every run (header block) of the file split
// into its penetrations, the chosen one reduced as the records come (by default the newest,
// followed as new ones appear, until the operator chooses one), the others reduced once when
// asked for or when the window has time. Records and the operator's choices arrive at any rate;
// the reduction runs once on a short single-shot timer after a burst, so that a whole file read
// at once is reduced once, not once per record. The choices are kept per penetration in the
// station file beside the data log file, which is written after every change.
class ReductionController : public QObject {
    Q_OBJECT
public:
    using Window = analysis::ReductionOptions::Window;

    explicit ReductionController(analysis::ProbeProfile profile, QObject* parent = nullptr,
                                 int delayMs = 40);

    // Shows another file (or the same one opened again), with the choices its station file
    // keeps.
    void restart(const QString& path);
    // The shown file was emptied or written anew: its records are new, and the choices kept for
    // the records before are dropped (the descriptions stay).
    void startOver();
    // Records in file order.
    void append(const std::vector<LogRecord>& records);
    // Each run's serial and log interval, from its header block.
    void setHeaders(const std::vector<LogHeader>& headers);
    // The serial and interval of runs whose header is not known, and the file's bad lines.
    void setFileInfo(const QString& serial, double logIntervalS, int badLines);
    void setBadLines(int badLines);

    // The profile and what the panel says about where it came from.
    void setProfile(const analysis::ProbeProfile& profile, const QString& note);
    const analysis::ProbeProfile& profile() const { return m_reduction.profile(); }
    const QString& profileNote() const { return m_profileNote; }

    // The penetrations of the file; their heat flow and quality once reduced.
    QList<PenetrationRow> penetrations() const;
    // The penetration shown, from 1 (0 when there is none).
    int chosenIndex() const;
    // Shows a penetration; the newest one follows new penetrations again.
    void choosePenetration(int index);
    // The newest penetration is shown, and the next one will be when it appears.
    bool followsNewest() const { return !m_pinned; }
    // A penetration reduced with its own choices: what `--analyze --station N` gives.
    analysis::ReductionResults resultsFor(int index);
    // The same as --analyze writes it, with the station's description.
    QJsonObject jsonFor(int index);
    station::StationDescription descriptionFor(int index) const;
    analysis::ReductionOptions optionsFor(int index) const;
    QString dataFilePath() const { return m_path; }
    // A penetration's records and its whole run's, for the report's plots: lent, not copied,
    // where the penetration is all of its run; valid until the next record or choice.
    struct RecordsOf {
        std::shared_ptr<const analysis::StationRecords> penetration;
        std::shared_ptr<const analysis::StationRecords> run;
        std::pair<double, double> spanS{}; // the penetration's first and last record, UTC
        bool wholeRun = false;
    };
    RecordsOf recordsFor(int index) const;

    // The operator's choices for the penetration shown; nullopt gives the default back.
    // Each is kept in the station file.
    void setPenetration(std::optional<double> utcS);
    void setDecayWindow(std::optional<Window> fromPenetrationS);
    void setHeatingWindow(std::optional<Window> fromSwitchOnS);
    void setPulseWindow(std::optional<Window> fromPulseS);
    void setCalibrateBottomWater(bool on);
    void setEnteredK(int sensor, std::optional<double> kWPerMK);
    // Leaves a thermistor out of the gradient, of the mean k, or both (neither takes it back).
    void setExclusion(int sensor, bool gradient, bool k, const QString& reason);
    void setHidden(int sensor, bool hidden);
    bool hidden(int sensor) const;
    // The penetration time and the windows back to the defaults.
    void resetChoices();
    const analysis::ReductionOptions& options() const { return m_reduction.options(); }

    // The station description: the file's, and the shown penetration's own; false with the
    // reason when it cannot be kept.
    const station::StationFile& stationFile() const { return m_station.file(); }
    std::optional<station::PenetrationKey> shownKey() const {
        return m_shown ? std::optional<station::PenetrationKey>(m_shown->key) : std::nullopt;
    }
    bool setDescriptions(const station::PenetrationKey& key,
                         const station::StationDescription& common,
                         const station::StationDescription& own, QString& error);
    // What the panel says about the station file: why it cannot be read or written.
    QString stationFileProblem() const;
    bool stationFileRefused() const { return !m_station.refusedReason().isEmpty(); }
    QString stationFilePath() const { return m_station.path(); }
    bool setStationFileAside(QString& movedTo, QString& error);

    // While a file's first reading goes on chunk by chunk, the reduction waits for its end.
    void setDeferred(bool deferred);
    // Reduces now instead of on the timer (tests, exports).
    void reduceNow();
    bool pending() const { return m_timer.isActive(); }
    const analysis::ReductionResults& results() const { return m_results; }
    const analysis::StationRecords& records() const { return m_reduction.records(); }
    int reductions() const { return m_reductions; }
    // Counts what was shown: another penetration or file gives the next.
    int generation() const { return m_generation; }

signals:
    void reduced();
    // The list of penetrations or a row's numbers changed.
    void penetrationsChanged();
    // The station file was read, written, refused or set aside.
    void stationFileChanged();
    // A thermistor was hidden in the plot or shown again.
    void hiddenChanged();

private:
    void schedule();
    const FileRuns::Penetration* find(int index) const;
    const FileRuns::Penetration* shownPenetration();
    analysis::ReductionOptions optionsOf(const station::PenetrationKey& key) const;
    void changeChoice(const std::function<void(analysis::ReductionOptions&)>& change);
    void changeHidden(int sensor, bool hidden);
    analysis::ReductionResults decorated(analysis::ReductionResults results,
                                         const FileRuns::Penetration& p) const;
    void reduceARow();

    analysis::Reduction m_reduction;
    FileRuns m_runs;
    PenetrationResults m_rows;
    StationFileKeeper m_station;
    std::vector<FileRuns::Penetration> m_list; // as of the last reduction
    analysis::ReductionResults m_shownRaw;     // the shown one's, as the reduction gave them
    analysis::ReductionResults m_results;
    std::optional<FileRuns::Penetration> m_shown;
    std::optional<station::PenetrationKey> m_pinned; // the operator's choice
    bool m_fresh = true;   // m_results are what a reduction of the records at once gives
    bool m_afresh = false; // the next reduction forgets the fits carried on
    QString m_path;
    QString m_profileNote;
    QString m_stationNote;
    QTimer m_timer;
    QTimer m_rowTimer;
    int m_reductions = 0;
    int m_generation = 0;
    bool m_deferred = false;
    bool m_due = false;
};

} // namespace quorvane
