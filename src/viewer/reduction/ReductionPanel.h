#pragma once

#include <QWidget>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace quorvane {

class FitPlot;
class PenetrationList;
class ReductionController;
class ThermistorChoices;
class WindowChoices;

// Beside the plot: the penetrations of the file, the reduction of the shown one as it stands,
// the operator's choices for it (penetration time, fit windows, calibration, conductivities
// entered, thermistors left out), the two fit plots of one thermistor, and the exports.
class ReductionPanel : public QWidget {
    Q_OBJECT
public:
    enum Column { Name, Depth, TEq, K, Method, Records, Rms, Flags, ColumnCount };

    explicit ReductionPanel(ReductionController& controller, QWidget* parent = nullptr);

    // A word on the shown file above everything (such as its being no data log file); empty
    // hides it.
    void showFileNote(const QString& note);

    // The thermistor shown in the fit plots.
    void chooseSensor(int sensor);
    int chosenSensor() const;

    QTableWidget& table() { return *m_table; }
    QLabel& fileNoteLabel() { return *m_fileNote; }
    QLabel& profileLabel() { return *m_profile; }
    QLabel& penetrationLabel() { return *m_penetration; }
    QLabel& heaterLabel() { return *m_heater; }
    QLabel& gradientLabel() { return *m_gradient; }
    QLabel& heatFlowLabel() { return *m_heatFlow; }
    QLabel& bullardLabel() { return *m_bullard; }
    QLabel& qualityLabel() { return *m_quality; }
    QLabel& qualityCapLabel() { return *m_qualityCap; }
    QLabel& reasonsLabel() { return *m_reasons; }
    QLabel& stationFileLabel() { return *m_stationFile; }
    QPushButton& setAsideButton() { return *m_setAside; }
    PenetrationList& penetrationList() { return *m_penetrations; }
    WindowChoices& windows() { return *m_windows; }
    ThermistorChoices& thermistors() { return *m_thermistors; }
    QDoubleSpinBox& penetrationSpin();
    QDoubleSpinBox& decayFromSpin();
    QDoubleSpinBox& decayToSpin();
    QDoubleSpinBox& heatingFromSpin();
    QDoubleSpinBox& heatingToSpin();
    QPushButton& defaultsButton();
    FitPlot& decayPlot() { return *m_decayPlot; }
    FitPlot& heatingPlot() { return *m_heatingPlot; }

signals:
    void profileRequested();
    void stationRequested();
    void exportJsonRequested();
    void exportReportRequested();

private:
    void refresh();
    void refreshPlots();
    void refreshStationFile();
    void setAside();

    ReductionController& m_controller;
    QLabel* m_fileNote;
    QLabel* m_profile;
    QLabel* m_penetration;
    QLabel* m_heater;
    QLabel* m_gradient;
    QLabel* m_heatFlow;
    QLabel* m_bullard;
    QLabel* m_meanK;
    QLabel* m_quality;
    QLabel* m_qualityCap;
    QLabel* m_reasons;
    QLabel* m_stationFile;
    QPushButton* m_setAside;
    PenetrationList* m_penetrations;
    QTableWidget* m_table;
    WindowChoices* m_windows;
    ThermistorChoices* m_thermistors;
    QComboBox* m_sensor;
    FitPlot* m_decayPlot;
    FitPlot* m_heatingPlot;
};

} // namespace quorvane
