#pragma once

#include <QWidget>

class QCheckBox;
class QDoubleSpinBox;
class QPushButton;

namespace quorvane {

class ReductionController;

// The operator's choice of the shown penetration's time, its fit windows (decay, heating, or
// a pulse's) and the calibration against the bottom water. What the fields show is what the
// reduction used; only the operator's own edits reach the controller.
class WindowChoices : public QWidget {
    Q_OBJECT
public:
    explicit WindowChoices(ReductionController& controller, QWidget* parent = nullptr);

    void refresh();

    QDoubleSpinBox& penetrationSpin() { return *m_penetration; }
    QDoubleSpinBox& decayFromSpin() { return *m_decayFrom; }
    QDoubleSpinBox& decayToSpin() { return *m_decayTo; }
    QDoubleSpinBox& heatingFromSpin() { return *m_heatingFrom; }
    QDoubleSpinBox& heatingToSpin() { return *m_heatingTo; }
    QDoubleSpinBox& pulseFromSpin() { return *m_pulseFrom; }
    QDoubleSpinBox& pulseToSpin() { return *m_pulseTo; }
    QCheckBox& calibrateBox() { return *m_calibrate; }
    QPushButton& defaultsButton() { return *m_defaults; }

private:
    static QDoubleSpinBox* spin(double maximum);
    void penetrationEdited(double secondsFromFirst);

    ReductionController& m_controller;
    QDoubleSpinBox* m_penetration;
    QDoubleSpinBox* m_decayFrom;
    QDoubleSpinBox* m_decayTo;
    QDoubleSpinBox* m_heatingFrom;
    QDoubleSpinBox* m_heatingTo;
    QDoubleSpinBox* m_pulseFrom;
    QDoubleSpinBox* m_pulseTo;
    QCheckBox* m_calibrate;
    QPushButton* m_defaults;
    int m_shown = -1; // the controller's generation the fields show
};

} // namespace quorvane
