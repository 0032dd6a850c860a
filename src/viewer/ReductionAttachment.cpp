#include "viewer/ReductionAttachment.h"

#include "viewer/ChannelLegend.h"
#include "viewer/TemperaturePlot.h"
#include "viewer/UpdateMessage.h"
#include "viewer/ViewerWindow.h"
#include "viewer/reduction/FitMarkers.h"
#include "viewer/reduction/FitPlot.h"
#include "viewer/reduction/ProbeProfileDialog.h"
#include "viewer/reduction/ReductionController.h"
#include "viewer/reduction/ReductionPanel.h"
#include "viewer/reduction/ReportExporter.h"
#include "viewer/reduction/SensorVisibility.h"
#include "viewer/reduction/StationDialog.h"
#include "viewer/reduction/StationOutputs.h"

#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QStandardPaths>
#include <malloc.h>

namespace quorvane {

ReductionAttachment::ReductionAttachment(ViewerWindow& window, QString settingsFolder)
    : QObject(&window), m_window(window), m_store(settingsFolder),
      m_controller(new ReductionController(analysis::ProbeProfile::defaultProfile(), this)) {
    m_panel = new ReductionPanel(*m_controller);
    auto* scroll = new QScrollArea;
    scroll->setWidget(m_panel);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setMinimumWidth(m_panel->sizeHint().width() + 20);
    // The panel has the right side to itself; the other panels (the run's header, the
    // read-out) go to the left, one above the other, so that the read-out is in sight while
    // the panel is.
    for (QDockWidget* dock : window.findChildren<QDockWidget*>()) {
        if (window.dockWidgetArea(dock) == Qt::RightDockWidgetArea) {
            window.addDockWidget(Qt::LeftDockWidgetArea, dock, Qt::Vertical);
        }
    }
    m_dock = window.addSidePanel(scroll, QStringLiteral("Reduction"));
    if (const QScreen* screen = window.screen()) {
        window.resize(
            window.size().expandedTo(QSize(1500, 1000)).boundedTo(screen->availableSize()));
    }
    m_markers = new FitMarkers(window.plot().customPlot(), *m_controller, this);

    QMenu* menu = window.menuBar()->addMenu(QStringLiteral("&Reduction"));
    menu->addAction(QStringLiteral("&Probe profile..."), this, &ReductionAttachment::editProfile);
    menu->addAction(QStringLiteral("&Station..."), this, &ReductionAttachment::editStation);
    menu->addAction(QStringLiteral("Export &results (JSON)..."), this,
                    &ReductionAttachment::exportJsonDialog);
    menu->addAction(QStringLiteral("Export r&eport (PDF/PNG)..."), this,
                    &ReductionAttachment::exportReportDialog);
    menu->addAction(QStringLiteral("&Default windows"), m_controller,
                    &ReductionController::resetChoices);
    menu->addAction(m_dock->toggleViewAction());
    m_outputs = new StationOutputs(*m_controller, settingsFolder, &window, this);
    m_outputs->addMenuEntries(*menu, *window.menuBar()->actions().front()->menu());
    connect(m_outputs, &StationOutputs::said, &window, &ViewerWindow::tell);
    connect(m_outputs, &StationOutputs::openDataFileRequested, &window, &ViewerWindow::openFile);
    m_visibility = new SensorVisibility(window.plot().legend(), *m_controller, *menu, this);

    connect(&window, &ViewerWindow::updateApplied, this, &ReductionAttachment::apply);
    connect(m_controller, &ReductionController::reduced, this, [this] {
        if (m_trimAfterReduction) {
            // A whole file was just reduced: the fits' working room goes back to the system.
            m_trimAfterReduction = false;
            malloc_trim(0);
        }
    });
    connect(m_panel, &ReductionPanel::profileRequested, this, &ReductionAttachment::editProfile);
    connect(m_panel, &ReductionPanel::stationRequested, this, &ReductionAttachment::editStation);
    connect(m_panel, &ReductionPanel::exportJsonRequested, this,
            &ReductionAttachment::exportJsonDialog);
    connect(m_panel, &ReductionPanel::exportReportRequested, this,
            &ReductionAttachment::exportReportDialog);
    chooseProfile();
}

ReductionAttachment::~ReductionAttachment() = default;

QString ReductionAttachment::settingsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Quorvane");
}

bool ReductionAttachment::useProfileFile(const QString& path, QString& error) {
    auto profile = analysis::ProbeProfileStore::readFile(path, error);
    if (!profile) {
        return false;
    }
    m_given = *profile;
    m_givenPath = path;
    chooseProfile();
    return true;
}

void ReductionAttachment::apply(const FollowUpdate& update) {
    if (update.opened) {
        m_controller->restart(m_window.shownFile());
    } else if (update.restarted) {
        m_controller->startOver();
    }
    const std::vector<LogHeader>& headers = m_window.headers();
    if (update.headersChanged) {
        m_controller->setHeaders(headers);
    }
    QString serial;
    double interval = 0.0;
    if (!headers.empty()) {
        serial = QString::fromStdString(headers.back().instrument).trimmed();
        interval = headers.back().logIntervalSeconds.value_or(0.0);
    }
    if (serial != m_serial || update.restarted) {
        m_serial = serial;
        chooseProfile();
    }
    if (!update.more) {
        m_panel->showFileNote(UpdateMessage::notDataLog(update)
                                  ? QStringLiteral("%1 is %2: nothing to reduce.")
                                        .arg(QFileInfo(m_window.shownFile()).fileName(),
                                             QString::fromLatin1(UpdateMessage::kNotDataLog))
                                  : QString());
    }
    if (update.more) {
        m_trimAfterReduction = true;
    }
    m_controller->setDeferred(update.more);
    m_controller->setFileInfo(serial, interval, static_cast<int>(update.badLineCount));
    m_controller->append(update.records);
}

void ReductionAttachment::chooseProfile() {
    if (m_given) {
        m_controller->setProfile(*m_given, QStringLiteral("from %1").arg(m_givenPath));
        return;
    }
    QString note;
    const analysis::ProbeProfile profile = m_store.profileFor(m_serial, note);
    if (!profile.isDefault) {
        note = QStringLiteral("from %1").arg(m_store.pathFor(m_serial));
    }
    m_controller->setProfile(profile, note);
}

bool ReductionAttachment::exportJson(const QString& path, QString& error) {
    m_controller->reduceNow();
    const int shown = m_controller->chosenIndex();
    if (shown == 0) {
        error = QStringLiteral("no penetration to export yet");
        return false;
    }
    // With the station's description and numbers, byte for byte as --analyze --station N.
    return ReportExporter::writeJson(path, m_controller->jsonFor(shown), error);
}

bool ReductionAttachment::exportReport(const QString& path, QString& error) {
    m_controller->reduceNow();
    return m_outputs->exportReport(path, error);
}

analysis::ProbeProfile ReductionAttachment::profileToEdit() const {
    analysis::ProbeProfile profile = m_controller->profile();
    if (profile.isDefault) {
        // A new profile for this instrument, starting from the default values; nobody has
        // measured its tilt yet.
        profile.serial = m_serial;
        profile.isDefault = false;
        profile.tiltEntered = false;
    }
    return profile;
}

void ReductionAttachment::editProfile() {
    ProbeProfileDialog dialog(m_store, profileToEdit(), &m_window);
    if (dialog.exec() == QDialog::Accepted) {
        if (dialog.saved().serial == m_serial || m_given) {
            m_given.reset();
            chooseProfile();
        }
    }
}

void ReductionAttachment::editStation() {
    StationDialog dialog(*m_controller, &m_window);
    dialog.exec();
}

void ReductionAttachment::exportJsonDialog() {
    const QString base = QFileInfo(m_window.shownFile()).completeBaseName();
    const QString path = QFileDialog::getSaveFileName(
        &m_window, QStringLiteral("Export the results"),
        base.isEmpty() ? QStringLiteral("results.json") : base + QStringLiteral(".results.json"),
        QStringLiteral("JSON (*.json)"));
    QString error;
    if (!path.isEmpty() && !exportJson(path, error)) {
        QMessageBox::warning(&m_window, QStringLiteral("Export the results"), error);
    }
}

void ReductionAttachment::exportReportDialog() {
    const QString base = QFileInfo(m_window.shownFile()).completeBaseName();
    const QString path = QFileDialog::getSaveFileName(
        &m_window, QStringLiteral("Export a report"),
        base.isEmpty() ? QStringLiteral("report.pdf") : base + QStringLiteral(".report.pdf"),
        QStringLiteral("PDF (*.pdf);;PNG (*.png)"));
    QString error;
    if (!path.isEmpty() && !exportReport(path, error)) {
        QMessageBox::warning(&m_window, QStringLiteral("Export a report"), error);
    }
}

} // namespace quorvane
