#pragma once

#include <QWidget>
#include <array>

class QCheckBox;
class QDoubleSpinBox;
class QLineEdit;

namespace quorvane {

class ReductionController;

// Per thermistor of the shown penetration: a conductivity the operator enters (for a
// penetration without a heat pulse, or to overrule one), and whether it is left out of the
// gradient, of the mean conductivity or of both, with the reason.
class ThermistorChoices : public QWidget {
    Q_OBJECT
public:
    explicit ThermistorChoices(ReductionController& controller, QWidget* parent = nullptr);

    void refresh();

    QDoubleSpinBox& kSpin(int sensor) { return *m_k[static_cast<std::size_t>(sensor)]; }
    // Ticked: the thermistor is used for the gradient, for the mean k.
    QCheckBox& gradientBox(int sensor) { return *m_gradient[static_cast<std::size_t>(sensor)]; }
    QCheckBox& meanKBox(int sensor) { return *m_meanK[static_cast<std::size_t>(sensor)]; }
    QLineEdit& reasonEdit(int sensor) { return *m_reason[static_cast<std::size_t>(sensor)]; }

private:
    void exclusionEdited(int sensor);

    ReductionController& m_controller;
    std::array<QDoubleSpinBox*, 5> m_k{};
    std::array<QCheckBox*, 5> m_gradient{};
    std::array<QCheckBox*, 5> m_meanK{};
    std::array<QLineEdit*, 5> m_reason{};
};

} // namespace quorvane
