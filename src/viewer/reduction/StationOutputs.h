#pragma once

#include "station/AddToTable.h"
#include "station/AtomicFile.h"
#include "viewer/reduction/StationSnapshot.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

class QMenu;
class QWidget;

namespace quorvane {

class CruiseTableWindow;
class ReductionController;

// What leaves the viewer for the cruise: the report of every penetration of the file, "Add to
// cruise table" (the shown penetration, or every one of the file), "Export for the Global Heat
// Flow Database" (the shown penetration, or a whole cruise table), and the cruise-table
// window. An outcome is said through said() (the status bar), never in a box; only the file
// choosers the menu entries start are modal.
class StationOutputs : public QObject {
    Q_OBJECT
public:
    // `settingsFolder` keeps the last cruise table chosen; `dialogParent` the choosers' parent.
    StationOutputs(ReductionController& controller, QString settingsFolder, QWidget* dialogParent,
                   QObject* parent = nullptr);
    ~StationOutputs() override;

    // The Reduction menu's entries and File > Open cruise table.
    void addMenuEntries(QMenu& reduction, QMenu& file);

    // The penetrations to write, each reduced with its own choices: the shown one, or every
    // one of the file.
    QList<StationSnapshot> stations(bool all);
    // "Probe 0417 (from …/0417.json)", as the report names the profile.
    QString profileSource() const;

    // A report of every penetration of the file, a page each; remembered as the rows' report.
    bool exportReport(const QString& path, QString& error);
    // Adds the rows and says how it went; the outcome as AddToTable gives it.
    station::AddToTable::Outcome addToCruiseTable(const QString& tablePath, bool all);
    // The shown penetration's row for the database; false with the reason. `warnings`: cells
    // that should hold numbers and did not.
    bool exportGhfdb(const QString& path, QString& error, QStringList& warnings);
    // Every row of a cruise table for the database, as --export-ghfdb writes them.
    bool exportGhfdbTable(const QString& tablePath, const QString& path, QString& error,
                          QStringList& warnings);
    // Opens a cruise table in a window of its own (one window per table).
    CruiseTableWindow* openCruiseTable(const QString& path);

    // The cruise table last added to or opened; empty when there was none.
    QString lastTable() const;
    // Called while a table is written (tests: another program writes it meanwhile).
    void setWriteProgress(station::AtomicFile::Progress progress) {
        m_progress = std::move(progress);
    }

signals:
    void said(const QString& message, bool problem);
    // The cruise-table window asks for a data file to be shown.
    void openDataFileRequested(const QString& path);

private:
    void addDialog(bool all);
    void ghfdbDialog(bool table);
    void openTableDialog();
    void rememberTable(const QString& path);
    QString statePath() const;
    QList<station::CruiseRow> rows(bool all);

    ReductionController& m_controller;
    QString m_settingsFolder;
    QWidget* m_dialogParent;
    station::AtomicFile::Progress m_progress;
    QString m_reportFor; // the data file the last report was of
    QString m_reportPath;
    QList<QPointer<CruiseTableWindow>> m_windows;
};

} // namespace quorvane
