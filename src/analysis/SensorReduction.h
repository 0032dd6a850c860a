#pragma once

#include "analysis/BullardDecayFit.h"
#include "analysis/ConductivitySearch.h"
#include "analysis/JointDecayFit.h"
#include "analysis/ReductionResults.h"
#include "analysis/StationPlan.h"

#include <array>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace quorvane::analysis {

// One thermistor of a station: its frictional decay (T_eq), then its conductivity from the
// heater, with the decay carried forward and taken off. The decay's κ comes from k: a first
// fit takes k = 1 W/(m K) (or the k entered), and once the heater gave k the decay and the
// heater's fit are done again until the two agree. Fits are kept and reused while nothing they
// depend on changed, so that a live update redoes only what a new record changed.
class SensorReduction {
public:
    static constexpr int kFewestRecords = 5;
    static constexpr double kHighestRmsC = 0.005;
    static constexpr double kHighestRmsShare = 0.05; // of the heater's rise
    static constexpr double kLowestK = 0.2;
    static constexpr double kHighestK = 5.0;
    // k before the heater told it: the decay's first fit.
    static constexpr double kFirstK = 1.0;
    // The decay's k and the heater's agree to this share, in at most this many fits more.
    static constexpr double kAgreement = 1e-4;
    static constexpr int kMostAgreementFits = 8;

    void reduce(const StationRecords& records, const StationPlan& plan, std::size_t sensor,
                SensorResult& out);
    void forget();

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

    static double lowestDelay(const StationPlan& plan);
    FitOutcome<JointDecayFit::Joint> jointly(const StationRecords& records, const StationPlan& plan,
                                             std::size_t sensor, const DecayCurve& decay,
                                             const ConductivityEstimate& fall,
                                             const FitWindow& fallWindow);
    FitOutcome<DecayCurve> decay(const StationRecords& records, const StationPlan& plan,
                                 std::size_t sensor, double k, FitWindow& window);
    FitOutcome<ConductivityEstimate> heat(const StationRecords& records, const StationPlan& plan,
                                          std::size_t sensor, int kind, const TimeWindow& w,
                                          const DecayCurve& decay, FitWindow& window);
    void agree(double k0, std::optional<ConductivityEstimate>& estimate,
               const std::function<std::optional<ConductivityEstimate>(double)>& at);
    void judge(const QString& what, double rmsC, std::optional<double> riseK, int records,
               bool caps, SensorResult& out) const;

    std::vector<std::pair<DecayKey, FitOutcome<DecayCurve>>> m_decays;
    std::vector<std::pair<HeatKey, FitOutcome<ConductivityEstimate>>> m_heats;
    std::vector<std::pair<JointKey, FitOutcome<JointDecayFit::Joint>>> m_joints;
    std::optional<JointDecayFit::Joint> m_lastJoint;
    // The last answers, where a live update's searches start (none after forget()).
    // Kept apart for the first fits (k = 1) and those redone with the heater's k: a start
    // found with another κ lies elsewhere.
    int m_pass = 0;
    std::array<std::optional<double>, 2> m_lastDelayS{};
    std::array<std::array<std::optional<std::pair<double, double>>, 4>, 2> m_lastHeat{};
};

} // namespace quorvane::analysis
