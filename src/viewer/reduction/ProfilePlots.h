#pragma once

#include <QWidget>

namespace quorvane {

class ProfilePlot;
class ReductionController;

// The shown station's temperature-depth and Bullard plots side by side, redrawn after each
// reduction; the reduction panel shows it below the fit plots.
class ProfilePlots : public QWidget {
    Q_OBJECT
public:
    explicit ProfilePlots(ReductionController& controller, QWidget* parent = nullptr);

    ProfilePlot& depthPlot() { return *m_depth; }
    ProfilePlot& bullardPlot() { return *m_bullard; }

private:
    void refresh();

    ReductionController& m_controller;
    ProfilePlot* m_depth;
    ProfilePlot* m_bullard;
};

} // namespace quorvane
