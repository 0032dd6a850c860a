#include "viewer/reduction/StationOutputs.h"

#include "station/CruiseRow.h"
#include "station/GhfdbExport.h"
#include "station/GhfdbExportCommand.h"
#include "viewer/reduction/CruiseTableWindow.h"
#include "viewer/reduction/ReductionController.h"
#include "viewer/reduction/ReportExporter.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QSaveFile>

#include <sstream>

namespace quorvane {

namespace {

QString fileName(const QString& path) {
    return QFileInfo(path).fileName();
}

QStringList lines(const std::string& text) {
    return QString::fromStdString(text).trimmed().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

StationOutputs::StationOutputs(ReductionController& controller, QString settingsFolder,
                               QWidget* dialogParent, QObject* parent)
    : QObject(parent), m_controller(controller), m_settingsFolder(std::move(settingsFolder)),
      m_dialogParent(dialogParent) {}

StationOutputs::~StationOutputs() {
    for (const QPointer<CruiseTableWindow>& window : m_windows) {
        delete window.data();
    }
}

void StationOutputs::addMenuEntries(QMenu& reduction, QMenu& file) {
    reduction.addSeparator();
    reduction.addAction(QStringLiteral("Add to cruise &table..."), this,
                        [this] { addDialog(false); });
    reduction.addAction(QStringLiteral("Add every penetration to the cruise table..."), this,
                        [this] { addDialog(true); });
    reduction.addAction(QStringLiteral("Export for the &Global Heat Flow Database..."), this,
                        [this] { ghfdbDialog(false); });
    reduction.addAction(QStringLiteral("Export a cruise table for the Global Heat Flow "
                                       "Database..."),
                        this, [this] { ghfdbDialog(true); });
    auto* open = new QAction(QStringLiteral("Open &cruise table..."), &file);
    connect(open, &QAction::triggered, this, &StationOutputs::openTableDialog);
    // Above the separator before Quit.
    QAction* before = nullptr;
    for (QAction* action : file.actions()) {
        if (action->isSeparator()) {
            before = action;
        }
    }
    file.insertAction(before, open);
}

QList<StationSnapshot> StationOutputs::stations(bool all) {
    QList<int> indices;
    if (all) {
        for (const PenetrationRow& row : m_controller.penetrations()) {
            indices << row.index;
        }
    } else if (m_controller.chosenIndex() > 0) {
        indices << m_controller.chosenIndex();
    }
    QList<StationSnapshot> out;
    if (indices.isEmpty()) {
        // No penetration told apart (a file without records in the sediment): what is shown.
        m_controller.reduceNow();
        const std::shared_ptr<const analysis::StationRecords> records(std::shared_ptr<void>(),
                                                                      &m_controller.records());
        out << StationSnapshot{m_controller.results(), {}, std::nullopt, records, records};
        return out;
    }
    for (int index : indices) {
        StationSnapshot s;
        s.results = m_controller.resultsFor(index);
        s.description = m_controller.descriptionFor(index);
        out << s;
    }
    // After the reductions, which may move records between the runs and the shown one.
    for (qsizetype i = 0; i < out.size(); ++i) {
        const ReductionController::RecordsOf records = m_controller.recordsFor(indices[i]);
        out[i].records = records.penetration;
        out[i].run = records.run;
        if (!records.wholeRun) {
            out[i].spanS = records.spanS;
        }
    }
    return out;
}

QString StationOutputs::profileSource() const {
    return m_controller.profileNote();
}

bool StationOutputs::exportReport(const QString& path, QString& error) {
    ReportExporter::Input input;
    input.dataFilePath = m_controller.dataFilePath();
    input.profileSource = profileSource();
    input.stations = stations(true);
    const ReportExporter exporter(std::move(input));
    if (!exporter.writeReport(path, error)) {
        return false;
    }
    m_reportFor = m_controller.dataFilePath();
    m_reportPath = QFileInfo(path).absoluteFilePath();
    const QStringList files = path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)
                                  ? QStringList{path}
                                  : exporter.pngPaths(path);
    const int pages = exporter.pageCount();
    emit said(QStringLiteral("Report of %1 written to %2")
                  .arg(pages == 1 ? QStringLiteral("1 penetration")
                                  : QStringLiteral("%1 penetrations").arg(pages),
                       files.size() == 1 ? fileName(files.front())
                                         : fileName(files.front()) + QStringLiteral(" … ") +
                                               fileName(files.back())),
              false);
    return true;
}

QList<station::CruiseRow> StationOutputs::rows(bool all) {
    const QString data = m_controller.dataFilePath();
    const QString report = m_reportFor == data ? m_reportPath : QString();
    QList<station::CruiseRow> out;
    for (const StationSnapshot& s : stations(all)) {
        out << station::CruiseRow::fromResults(s.json(), s.description, data, report);
    }
    return out;
}

station::AddToTable::Outcome StationOutputs::addToCruiseTable(const QString& tablePath, bool all) {
    const QList<station::CruiseRow> list = rows(all);
    const station::AddToTable::Outcome outcome =
        station::AddToTable::add(tablePath, list, m_progress);
    const QString name = fileName(tablePath);
    if (!outcome.ok) {
        emit said(QStringLiteral("Nothing was added to %1: %2").arg(name, outcome.reason), true);
        return outcome;
    }
    rememberTable(tablePath);
    QStringList parts;
    if (outcome.added > 0) {
        parts << QStringLiteral("%1 added").arg(outcome.added);
    }
    if (outcome.replaced > 0) {
        parts << QStringLiteral("%1 replaced").arg(outcome.replaced);
    }
    const QString which = list.size() == 1 ? list.front().label()
                                           : QStringLiteral("%1 penetrations").arg(list.size());
    emit said(QStringLiteral("Cruise table %1: %2 (%3).")
                  .arg(name, parts.join(QStringLiteral(", ")), which),
              false);
    for (const QPointer<CruiseTableWindow>& window : m_windows) {
        if (window && window->path() == tablePath) {
            QString error;
            window->load(tablePath, error);
        }
    }
    return outcome;
}

bool StationOutputs::exportGhfdb(const QString& path, QString& error, QStringList& warnings) {
    const bool ok = station::GhfdbExport::write(path, rows(false), error, warnings);
    if (ok) {
        emit said(QStringLiteral("Written for the Global Heat Flow Database: %1%2")
                      .arg(fileName(path),
                           warnings.isEmpty()
                               ? QString()
                               : QStringLiteral(" (") + warnings.join("; ") + QLatin1Char(')')),
                  !warnings.isEmpty());
    } else {
        emit said(QStringLiteral("Cannot write %1: %2").arg(fileName(path), error), true);
    }
    return ok;
}

bool StationOutputs::exportGhfdbTable(const QString& tablePath, const QString& path, QString& error,
                                      QStringList& warnings) {
    // The command line's checks, word for word: no table written over, no empty export.
    std::ostringstream out;
    std::ostringstream err;
    const int status = station::GhfdbExportCommand().run(
        {QStringLiteral("--export-ghfdb"), tablePath, path}, out, err);
    if (status == 2) {
        error = lines(err.str()).join(QLatin1Char(' '));
        emit said(QStringLiteral("Nothing was exported: %1").arg(error), true);
        return false;
    }
    warnings = lines(err.str());
    emit said(QStringLiteral("%1 (for the Global Heat Flow Database)%2")
                  .arg(lines(out.str()).join(QLatin1Char(' ')),
                       warnings.isEmpty() ? QString() : QStringLiteral("; ") + warnings.join("; ")),
              !warnings.isEmpty());
    return true;
}

CruiseTableWindow* StationOutputs::openCruiseTable(const QString& path) {
    m_windows.removeAll(nullptr);
    CruiseTableWindow* window = nullptr;
    for (const QPointer<CruiseTableWindow>& w : m_windows) {
        if (QFileInfo(w->path()) == QFileInfo(path)) {
            window = w;
        }
    }
    const bool made = !window;
    if (made) {
        window = new CruiseTableWindow(m_dialogParent);
        connect(window, &CruiseTableWindow::openDataFileRequested, this,
                &StationOutputs::openDataFileRequested);
    }
    QString error;
    if (!window->load(path, error)) {
        emit said(QStringLiteral("Cannot show %1: %2").arg(fileName(path), error), true);
        if (made) {
            delete window;
        }
        return nullptr;
    }
    if (made) {
        m_windows << window;
    }
    rememberTable(path);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

QString StationOutputs::statePath() const {
    return m_settingsFolder + QStringLiteral("/viewer-cruise-table.txt");
}

QString StationOutputs::lastTable() const {
    QFile file(statePath());
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readLine(4096)).trimmed();
}

void StationOutputs::rememberTable(const QString& path) {
    QDir().mkpath(m_settingsFolder);
    QSaveFile file(statePath());
    // Losing the remembered name costs a click in the chooser, nothing more.
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QFileInfo(path).absoluteFilePath().toUtf8() + '\n');
        file.commit();
    }
}

void StationOutputs::addDialog(bool all) {
    const QString last = lastTable();
    const QString path = QFileDialog::getSaveFileName(
        m_dialogParent, QStringLiteral("Add to cruise table"),
        last.isEmpty() ? QStringLiteral("cruise.csv") : last, QStringLiteral("CSV (*.csv)"),
        nullptr, QFileDialog::DontConfirmOverwrite);
    if (!path.isEmpty()) {
        addToCruiseTable(path, all);
    }
}

void StationOutputs::ghfdbDialog(bool table) {
    QString tablePath;
    if (table) {
        tablePath =
            QFileDialog::getOpenFileName(m_dialogParent, QStringLiteral("Cruise table to export"),
                                         lastTable(), QStringLiteral("CSV (*.csv)"));
        if (tablePath.isEmpty()) {
            return;
        }
    }
    const QString base = table ? QFileInfo(tablePath).completeBaseName()
                               : QFileInfo(m_controller.dataFilePath()).completeBaseName();
    const QString path = QFileDialog::getSaveFileName(
        m_dialogParent, QStringLiteral("Export for the Global Heat Flow Database"),
        (base.isEmpty() ? QStringLiteral("station") : base) + QStringLiteral(".ghfdb.csv"),
        QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty()) {
        return;
    }
    QString error;
    QStringList warnings;
    if (table) {
        exportGhfdbTable(tablePath, path, error, warnings);
    } else {
        exportGhfdb(path, error, warnings);
    }
}

void StationOutputs::openTableDialog() {
    const QString path =
        QFileDialog::getOpenFileName(m_dialogParent, QStringLiteral("Open a cruise table"),
                                     lastTable(), QStringLiteral("CSV (*.csv);;All files (*)"));
    if (!path.isEmpty()) {
        openCruiseTable(path);
    }
}

} // namespace quorvane
