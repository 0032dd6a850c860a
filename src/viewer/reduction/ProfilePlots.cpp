#include "viewer/reduction/ProfilePlots.h"

#include "viewer/reduction/ProfilePlot.h"
#include "viewer/reduction/ReductionController.h"

#include <QHBoxLayout>

namespace quorvane {

ProfilePlots::ProfilePlots(ReductionController& controller, QWidget* parent)
    : QWidget(parent), m_controller(controller), m_depth(new ProfilePlot(ProfilePlot::Kind::Depth)),
      m_bullard(new ProfilePlot(ProfilePlot::Kind::Bullard)) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_depth);
    layout->addWidget(m_bullard);
    setMinimumHeight(220);
    connect(&m_controller, &ReductionController::reduced, this, &ProfilePlots::refresh);
    refresh();
}

void ProfilePlots::refresh() {
    m_depth->show(m_controller.results());
    m_bullard->show(m_controller.results());
}

} // namespace quorvane
