#pragma once

#include "analysis/ProbeProfile.h"
#include "analysis/ProbeProfileStore.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QDialogButtonBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;

namespace quorvane {

// Edits the probe profile of one instrument serial and saves it in the store.
class ProbeProfileDialog : public QDialog {
    Q_OBJECT
public:
    ProbeProfileDialog(const analysis::ProbeProfileStore& store,
                       const analysis::ProbeProfile& profile, QWidget* parent = nullptr);

    // The profile as the fields hold it.
    analysis::ProbeProfile profile() const;
    // Empty when it can be saved, else the reason in words.
    QString problem() const;
    // Saves through the store; false with the reason shown in the dialog.
    bool save();
    const analysis::ProbeProfile& saved() const { return m_saved; }

    QLineEdit& serialEdit() { return *m_serial; }
    QDoubleSpinBox& depthSpin(int sensor) { return *m_depths[static_cast<std::size_t>(sensor)]; }
    QDoubleSpinBox& heaterSpin() { return *m_heater; }
    QDoubleSpinBox& radiusMmSpin() { return *m_radiusMm; }
    QDoubleSpinBox& alphaSpin() { return *m_alpha; }
    // Relative uncertainty in per cent, and metres; the lowest value is "not given".
    QDoubleSpinBox& heaterUncertaintySpin() { return *m_heaterUncertainty; }
    QDoubleSpinBox& depthUncertaintySpin() { return *m_depthUncertainty; }
    QDoubleSpinBox& tiltSpin() { return *m_tilt; }
    QCheckBox& tiltEnteredBox() { return *m_tiltEntered; }
    QLabel& messageLabel() { return *m_message; }
    bool saveEnabled() const;

private:
    void validate();

    const analysis::ProbeProfileStore& m_store;
    analysis::ProbeProfile m_saved;
    QLineEdit* m_serial;
    std::array<QDoubleSpinBox*, 5> m_depths{};
    QDoubleSpinBox* m_heater;
    QDoubleSpinBox* m_radiusMm;
    QDoubleSpinBox* m_alpha;
    QDoubleSpinBox* m_heaterUncertainty;
    QDoubleSpinBox* m_depthUncertainty;
    QDoubleSpinBox* m_tilt;
    QCheckBox* m_tiltEntered;
    QLabel* m_message;
    QDialogButtonBox* m_buttons;
};

} // namespace quorvane
