#pragma once

#include "station/StationDescription.h"

#include <QDialog>

class QCheckBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;

namespace quorvane {

class ReductionController;

// The description of the shown penetration's station: cruise or expedition, station name,
// penetration number, position, water depth, probe, depth of the top thermistor below the sea
// floor, comment. It holds for every penetration of the file unless kept for this penetration
// only (the penetration number is always the penetration's own). A value that cannot be used
// is refused with the reason, and the dialog stays open.
class StationDialog : public QDialog {
    Q_OBJECT
public:
    enum Field {
        Cruise,
        Station,
        PenetrationNumber,
        Latitude,
        Longitude,
        WaterDepth,
        ProbeType,
        ProbeLength,
        TopThermistorDepth,
        Comment,
        FieldCount
    };

    explicit StationDialog(ReductionController& controller, QWidget* parent = nullptr);

    // The description as the fields hold it; nullopt with the reason when one cannot be used.
    std::optional<station::StationDescription> description(QString& error) const;
    // Keeps it in the station file; false with the reason shown in the dialog.
    bool save();

    QLineEdit& edit(Field field) { return *m_edits[field]; }
    QCheckBox& ownBox() { return *m_own; }
    QLabel& messageLabel() { return *m_message; }

private:
    void showDescription(const station::StationDescription& d);
    void refuse(const QString& why);

    ReductionController& m_controller;
    QLineEdit* m_edits[FieldCount] = {};
    QCheckBox* m_own;
    QLabel* m_message;
    QDialogButtonBox* m_buttons;
};

} // namespace quorvane
