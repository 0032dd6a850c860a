#pragma once

#include <QTableWidget>

namespace quorvane {

class ReductionController;

// Every penetration of the shown file (run, penetration, time, records, heat flow, quality);
// choosing a row shows that penetration. The shown one is selected.
class PenetrationList : public QTableWidget {
    Q_OBJECT
public:
    enum Column { Run, Penetration, Time, Records, HeatFlow, Quality, ColumnCount };

    explicit PenetrationList(ReductionController& controller, QWidget* parent = nullptr);

    void refresh();

private:
    void chosen();

    ReductionController& m_controller;
};

} // namespace quorvane
