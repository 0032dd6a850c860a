#pragma once

#include "ForwardModel.h"

#include <optional>
#include <string>
#include <vector>

namespace quorvane::probesim {

// When the probe of a written file goes in, is heated and comes out, in whole records as the
// options give them (seconds after the first record), and the model's moments made from them:
// a penetration or a pull-out half an interval before the first record in the sediment or back
// in the water, a heater span from half an interval after the record at its delay.
class FileSchedule {
public:
    struct Plan {
        std::vector<double> penetrationsS; // empty: in the sediment from the start
        std::vector<double> pullOutsS;     // one per penetration; the last may be left out
        std::vector<std::optional<int>> heatDelaysS; // one per penetration; nullopt: no heating
        int intervalS = 1;
        int heatTimeS = 600;
        int heatLevel = 120;
    };

    explicit FileSchedule(Plan plan) : m_plan(std::move(plan)) {}

    const Plan& plan() const { return m_plan; }
    // Empty when the lists fit together, else why not.
    std::string problem() const;

    std::vector<Penetration> penetrations() const;
    // The heater span of one penetration (of the file, when the probe never goes in).
    std::optional<HeaterSpan> heater(std::size_t penetration) const;
    std::vector<HeaterSpan> heaters() const;
    bool heated() const { return m_plan.heatLevel > 0 && m_plan.heatTimeS > 0; }

private:
    // Half an interval before a record: the moment a change between two records is put at.
    double before(double recordS) const { return recordS - m_plan.intervalS / 2.0; }

    Plan m_plan;
};

} // namespace quorvane::probesim
