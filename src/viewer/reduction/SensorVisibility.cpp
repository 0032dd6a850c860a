#include "viewer/reduction/SensorVisibility.h"

#include "station/StationChoices.h"
#include "viewer/ChannelLegend.h"
#include "viewer/reduction/ReductionController.h"

#include <QAction>
#include <QMenu>

namespace quorvane {

SensorVisibility::SensorVisibility(ChannelLegend& legend, ReductionController& controller,
                                   QMenu& menu, QObject* parent)
    : QObject(parent), m_legend(legend), m_controller(controller) {
    QMenu* shown = menu.addMenu(QStringLiteral("&Thermistors in the plot"));
    for (int s = 0; s < 5; ++s) {
        QAction* action = shown->addAction(station::StationChoices::sensorNames()[s]);
        action->setCheckable(true);
        action->setChecked(true);
        connect(action, &QAction::triggered, this, [this, s] { toggle(s); });
        m_actions[static_cast<std::size_t>(s)] = action;
    }
    connect(&m_legend, &ChannelLegend::clicked, this, &SensorVisibility::toggle);
    connect(&m_controller, &ReductionController::hiddenChanged, this, &SensorVisibility::refresh);
    connect(&m_controller, &ReductionController::reduced, this, &SensorVisibility::refresh);
    refresh();
}

void SensorVisibility::toggle(int sensor) {
    m_controller.setHidden(sensor, !m_controller.hidden(sensor));
    refresh(); // also when nothing is shown to keep it for: the entry stays as it was
}

void SensorVisibility::refresh() {
    const analysis::ReductionResults& r = m_controller.results();
    for (int s = 0; s < 5; ++s) {
        const bool hidden = m_controller.hidden(s);
        m_legend.setShown(s, !hidden);
        m_actions[static_cast<std::size_t>(s)]->setChecked(!hidden);
        m_actions[static_cast<std::size_t>(s)]->setEnabled(m_controller.chosenIndex() > 0);
        const QStringList& out = r.sensors[static_cast<std::size_t>(s)].excluded;
        // Marked as in the panel's table: the legend is one short row above the plot.
        m_legend.setNote(s, out.isEmpty() ? QString() : QStringLiteral("✕"));
    }
}

} // namespace quorvane
