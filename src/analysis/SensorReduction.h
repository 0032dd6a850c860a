#pragma once

#include "analysis/ReductionResults.h"
#include "analysis/SensorFits.h"
#include "analysis/StationPlan.h"

#include <functional>
#include <optional>

namespace quorvane::analysis {

// One thermistor of a station: its frictional decay (T_eq), then its conductivity from the
// heater, with the decay carried forward and taken off. The decay's κ comes from k: a first
// fit takes k = 1 W/(m K) (or the k entered), and once the heater gave k the decay and the
// heater's fit are done again until the two agree.
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
    void forget() { m_fits.forget(); }

private:
    void agree(double k0, std::optional<ConductivityEstimate>& estimate,
               const std::function<std::optional<ConductivityEstimate>(double)>& at);
    void judge(const QString& what, double rmsC, std::optional<double> riseK, int records,
               bool caps, SensorResult& out) const;

    SensorFits m_fits;
};

} // namespace quorvane::analysis
