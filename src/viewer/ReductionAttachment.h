#pragma once

#include "analysis/ProbeProfileStore.h"
#include "viewer/FollowUpdate.h"

#include <QObject>
#include <QString>
#include <optional>

class QDockWidget;

namespace quorvane {

class FitMarkers;
class ReductionController;
class ReductionPanel;
class StationOutputs;
class SensorVisibility;
class ViewerWindow;

// Puts the reduction into the viewer: the panel in a dock beside the plot, the marks on the
// plot, the records of every update into the reduction, the profile of the shown file's
// instrument from the settings folder (or the one given on the command line), the exports.
class ReductionAttachment : public QObject {
    Q_OBJECT
public:
    // `settingsFolder` holds probes/<serial>.json.
    ReductionAttachment(ViewerWindow& window, QString settingsFolder);
    ~ReductionAttachment() override;

    // ~/.config/Quorvane (XDG_CONFIG_HOME is followed).
    static QString settingsFolder();

    // A profile file that holds for every file shown; false with the reason when unusable.
    bool useProfileFile(const QString& path, QString& error);

    bool exportJson(const QString& path, QString& error);
    // PDF for a .pdf name, else PNG.
    bool exportReport(const QString& path, QString& error);
    // Opens the profile dialog for the shown file's instrument; the reduction takes the
    // saved profile at once.
    void editProfile();
    // Opens the Station dialog for the shown penetration.
    void editStation();
    // What the dialog starts from: the profile in use, or a new one for the instrument.
    analysis::ProbeProfile profileToEdit() const;

    ReductionController& controller() { return *m_controller; }
    ReductionPanel& panel() { return *m_panel; }
    FitMarkers& markers() { return *m_markers; }
    StationOutputs& outputs() { return *m_outputs; }
    SensorVisibility& visibility() { return *m_visibility; }
    QDockWidget& dock() { return *m_dock; }
    const analysis::ProbeProfileStore& store() const { return m_store; }

private:
    void apply(const FollowUpdate& update);
    void chooseProfile();
    void exportJsonDialog();
    void exportReportDialog();

    ViewerWindow& m_window;
    analysis::ProbeProfileStore m_store;
    ReductionController* m_controller;
    ReductionPanel* m_panel;
    FitMarkers* m_markers;
    StationOutputs* m_outputs;
    SensorVisibility* m_visibility = nullptr;
    QDockWidget* m_dock;
    std::optional<analysis::ProbeProfile> m_given; // from --probe
    QString m_givenPath;
    QString m_serial;
    bool m_trimAfterReduction = false;
};

} // namespace quorvane
