#pragma once

#include <QWidget>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace quorvane {

class FitPlot;
class ReductionController;

// Beside the plot: the reduction of the shown station as it stands, the operator's choice of
// penetration time and fit windows, the two fit plots of one thermistor, and the exports.
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
    QLabel& reasonsLabel() { return *m_reasons; }
    QDoubleSpinBox& penetrationSpin() { return *m_penetrationSpin; }
    QDoubleSpinBox& decayFromSpin() { return *m_decayFrom; }
    QDoubleSpinBox& decayToSpin() { return *m_decayTo; }
    QDoubleSpinBox& heatingFromSpin() { return *m_heatingFrom; }
    QDoubleSpinBox& heatingToSpin() { return *m_heatingTo; }
    QPushButton& defaultsButton() { return *m_defaults; }
    FitPlot& decayPlot() { return *m_decayPlot; }
    FitPlot& heatingPlot() { return *m_heatingPlot; }

signals:
    void profileRequested();
    void exportJsonRequested();
    void exportReportRequested();

private:
    void refresh();
    void refreshPlots();
    void refreshChoices();
    QDoubleSpinBox* spin(double maximum);
    void penetrationEdited(double secondsFromFirst);
    void decayEdited();
    void heatingEdited();

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
    QLabel* m_reasons;
    QTableWidget* m_table;
    QDoubleSpinBox* m_penetrationSpin;
    QDoubleSpinBox* m_decayFrom;
    QDoubleSpinBox* m_decayTo;
    QDoubleSpinBox* m_heatingFrom;
    QDoubleSpinBox* m_heatingTo;
    QPushButton* m_defaults;
    QComboBox* m_sensor;
    FitPlot* m_decayPlot;
    FitPlot* m_heatingPlot;
    int m_shownRun = -1; // the controller's run the fields show
};

} // namespace quorvane
