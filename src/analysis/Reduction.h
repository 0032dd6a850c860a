#pragma once

#include "analysis/ProbeProfile.h"
#include "analysis/ReductionOptions.h"
#include "analysis/ReductionResults.h"
#include "analysis/StationRecords.h"

#include <array>
#include <memory>

namespace quorvane::analysis {

class CylinderResponse;
class HeaterTimes;
class PenetrationDetector;
class SensorReduction;
struct StationPlan;

// Reduces one station: penetration, heater times, equilibrium temperatures, conductivities,
// gradient and heat flow. Records may be appended one by one while a run goes on; each
// results() call brings the reduction up to date, reusing what the new records left as it was.
class Reduction {
public:
    Reduction(ProbeProfile profile, ReductionOptions options = {});
    ~Reduction();
    Reduction(const Reduction&) = delete;
    Reduction& operator=(const Reduction&) = delete;

    // Takes a whole file's records at once.
    void setRecords(StationRecords records);
    void append(double timeS, const std::array<double, kSensorCount>& temperaturesC, int heater);
    // What the file's header says; the records stay.
    void setFileInfo(const QString& fileName, const QString& serial, double logIntervalS,
                     int badLines);
    const StationRecords& records() const { return m_records; }

    void setOptions(const ReductionOptions& options);
    const ReductionOptions& options() const { return m_options; }
    void setProfile(const ProbeProfile& profile);
    const ProbeProfile& profile() const { return m_profile; }

    ReductionResults results();

    // The default windows and limits.
    static constexpr double kDecayShareBullard = 0.8;
    static constexpr double kDecayShareLine = 0.6;
    static constexpr double kHeatingShare = 0.7;
    static constexpr int kFewestRecords = 5;
    static constexpr double kPulseUnderS = 60.0;
    // The cooling window: from t_off for twice the heat time, at least this long.
    static constexpr double kShortestCoolingS = 300.0;
    // Calibration offsets above this are worth a look.
    static constexpr double kLargestOffsetC = 0.05;

private:
    void plan(StationPlan& plan, ReductionResults& out);
    void planDecay(StationPlan& plan, ReductionResults& out, double decayEnd);
    void planHeater(StationPlan& plan, ReductionResults& out);
    void calibrate(StationPlan& plan, ReductionResults& out,
                   const std::array<bool, kSensorCount>& inUse);

    ProbeProfile m_profile;
    ReductionOptions m_options;
    StationRecords m_records;
    std::shared_ptr<const CylinderResponse> m_response;
    std::unique_ptr<PenetrationDetector> m_penetration;
    std::unique_ptr<HeaterTimes> m_heater;
    std::array<std::unique_ptr<SensorReduction>, kSensorCount> m_sensors;
};

} // namespace quorvane::analysis
