#pragma once

#include "analysis/BullardDecayFit.h"
#include "analysis/ConductivitySearch.h"
#include "analysis/JointDecayFit.h"
#include "analysis/ReductionResults.h"
#include "analysis/StationPlan.h"

#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace quorvane::analysis {

// The fits of one thermistor, kept and reused while nothing they hang on changed (the
// records of their windows, the decay taken off, the heater, the probe), so that a live update
// redoes only what a new record changed; and where a live update's searches start: the last
// answers, kept apart for the first fits (k = 1) and those redone with the heater's k, since a
// start found with another κ lies elsewhere.
class SensorFits {
public:
    enum Kind { Pulse = 1, Heating = 2, Cooling = 3 };

    // The decay in the plan's decay window, with κ from k.
    FitOutcome<DecayCurve> decay(const StationRecords& records, const StationPlan& plan,
                                 std::size_t sensor, double k, FitWindow& window);
    // The heater's rise or fall in `w`, with the decay `d` taken off.
    FitOutcome<ConductivityEstimate> heat(const StationRecords& records, const StationPlan& plan,
                                          std::size_t sensor, Kind kind, const TimeWindow& w,
                                          const DecayCurve& d, FitWindow& window);
    // The decay and the heater's fall in `fallWindow` as one.
    FitOutcome<JointDecayFit::Joint> jointly(const StationRecords& records, const StationPlan& plan,
                                             std::size_t sensor, const DecayCurve& decay,
                                             const ConductivityEstimate& fall,
                                             const FitWindow& fallWindow);
    // 0 for the first fits, 1 for those redone with the heater's k.
    void setPass(int pass) { m_pass = pass; }
    void forget();

    // The friction cannot heat the probe before it left the water.
    static double lowestDelay(const StationPlan& plan);

private:
    struct DecayKey {
        std::size_t first = 0;
        std::size_t last = 0;
        double penetrationS = 0.0;
        double kappa = 0.0;
        double offsetC = 0.0;
        double lowestDelayS = 0.0;
        const void* response = nullptr;
        double radiusM = 0.0;
        bool operator==(const DecayKey&) const = default;
    };
    struct HeatKey {
        int kind = 0; // pulse, heating, cooling
        std::size_t first = 0;
        std::size_t last = 0;
        double tEqC = 0.0;
        double amplitude = 0.0;
        double delayS = 0.0;
        double decayKappa = 0.0;
        double onS = 0.0;
        double offS = 0.0;
        double q = 0.0;
        double offsetC = 0.0;
        const void* response = nullptr;
        double radiusM = 0.0;
        bool operator==(const HeatKey&) const = default;
    };

    struct JointKey {
        std::size_t decayFirst = 0;
        std::size_t decayLast = 0;
        std::size_t fallFirst = 0;
        std::size_t fallLast = 0;
        double penetrationS = 0.0;
        double offsetC = 0.0;
        double onS = 0.0;
        double offS = 0.0;
        double q = 0.0;
        const void* response = nullptr;
        double radiusM = 0.0;
        bool operator==(const JointKey&) const = default;
    };

    std::vector<std::pair<DecayKey, FitOutcome<DecayCurve>>> m_decays;
    std::vector<std::pair<HeatKey, FitOutcome<ConductivityEstimate>>> m_heats;
    std::vector<std::pair<JointKey, FitOutcome<JointDecayFit::Joint>>> m_joints;
    std::optional<JointDecayFit::Joint> m_lastJoint;
    int m_pass = 0;
    std::array<std::optional<double>, 2> m_lastDelayS{};
    std::array<std::array<std::optional<std::pair<double, double>>, 4>, 2> m_lastHeat{};
};

} // namespace quorvane::analysis
