#include "viewer/reduction/TitledPlot.h"

#include <QVBoxLayout>
#include <qcustomplot.h>

namespace quorvane {

void TitledPlot::frame(QWidget& owner, QCustomPlot& plot, int minimumHeight) {
    auto* layout = new QVBoxLayout(&owner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(&plot);
    owner.setMinimumHeight(minimumHeight);
    plot.setLocale(QLocale::c());
    plot.plotLayout()->insertRow(0);
    plot.plotLayout()->addElement(
        0, 0, new QCPTextElement(&plot, QString(), QFont(owner.font().family(), 9)));
}

} // namespace quorvane
