#pragma once

#include <QObject>
#include <array>

class QAction;
class QMenu;

namespace quorvane {

class ChannelLegend;
class ReductionController;

// Which thermistors the temperature plot shows, as the shown penetration's choices keep it: a
// click on a legend entry, or its menu entry, hides the thermistor or shows it again. A
// thermistor left out of the reduction stays plotted, and its legend entry says so.
class SensorVisibility : public QObject {
    Q_OBJECT
public:
    SensorVisibility(ChannelLegend& legend, ReductionController& controller, QMenu& menu,
                     QObject* parent = nullptr);

    QAction& action(int sensor) { return *m_actions[static_cast<std::size_t>(sensor)]; }

private:
    void toggle(int sensor);
    void refresh();

    ChannelLegend& m_legend;
    ReductionController& m_controller;
    std::array<QAction*, 5> m_actions{};
};

} // namespace quorvane
