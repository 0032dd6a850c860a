#include "TruthWriter.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fstream>

namespace quorvane::probesim {

namespace {
const char* const kNames[] = {"TTop", "T2", "T3", "T4", "TBot"};
} // namespace

std::string TruthWriter::isoUtc(std::chrono::sys_seconds start, double seconds) {
    const QDateTime t = QDateTime::fromSecsSinceEpoch(start.time_since_epoch().count(), Qt::UTC)
                            .addMSecs(std::llround(seconds * 1000.0));
    return t.toString(Qt::ISODateWithMs).toStdString();
}

std::string TruthWriter::json() const {
    const ModelParameters p = m_options.fileModel();
    const ForwardModel model(p);
    const FileSchedule schedule = m_options.fileSchedule();
    const auto heater = schedule.heater(0);
    auto time = [this](std::optional<double> s) {
        return s ? QJsonValue(QString::fromStdString(isoUtc(m_options.start, *s)))
                 : QJsonValue(QJsonValue::Null);
    };
    const bool penetrated = !p.penetrations.empty();

    QJsonObject o;
    o["records"] = (m_options.durationS / m_options.intervalS) + 1;
    o["log_interval_s"] = m_options.intervalS;
    o["start_utc"] = time(0.0);
    o["t_p"] = time(penetrated ? std::optional<double>(p.penetrations[0].inS) : std::nullopt);
    o["t_on"] = time(heater ? std::optional<double>(heater->onS) : std::nullopt);
    o["t_off"] = time(heater ? heater->offS : std::nullopt);
    o["heater_level"] = heater ? m_options.heatLevel : 0;
    o["q"] = heater ? model.powerPerMetre(heater->level) : 0.0;
    QJsonArray penetrations;
    for (std::size_t n = 0; n < p.penetrations.size(); ++n) {
        const auto span = schedule.heater(n);
        QJsonObject stay;
        stay["t_p"] = time(p.penetrations[n].inS);
        stay["t_on"] = time(span ? std::optional<double>(span->onS) : std::nullopt);
        stay["t_off"] = time(span ? span->offS : std::nullopt);
        stay["pull_out"] = time(p.penetrations[n].outS);
        penetrations.append(stay);
    }
    o["penetrations"] = penetrations;
    o["alpha"] = p.profile.alpha;
    o["water_time_constant_s"] = p.waterTimeConstantS;
    o["bottom_water_c"] = p.bottomWaterC;
    o["gradient_k_per_m"] = p.gradientKPerM;
    o["heat_flow_mw_per_m2"] = model.heatFlowMwPerM2();
    o["serial"] = QString::fromStdString(p.profile.serial);
    o["radius_m"] = p.profile.radiusM;
    o["tilt_deg"] = p.profile.tiltDeg;
    o["heater_w_per_m_per_level"] = p.profile.heaterWPerMPerLevel;
    o["friction_max_k"] = p.frictionMaxK;
    o["noise_k"] = m_options.noiseK;
    o["layout"] = m_options.rawHexLayout ? "rawhex" : "temperature";
    QJsonArray sensors;
    for (int i = 0; i < ForwardModel::kSensors; ++i) {
        const auto s = std::size_t(i);
        QJsonObject sensor;
        sensor["name"] = kNames[i];
        sensor["depth_m"] = p.profile.depthsM[s];
        sensor["vertical_depth_m"] = model.verticalDepth(i);
        sensor["t_eq_c"] = model.equilibrium(i);
        sensor["k"] = p.conductivity[s];
        sensor["kappa"] = ForwardModel::diffusivity(p.conductivity[s]);
        sensor["friction_a"] = penetrated ? p.frictionAKs[s] : 0.0;
        sensor["friction_energy_j_per_m"] = penetrated ? model.frictionEnergy(i) : 0.0;
        sensor["friction_delay_s"] = p.frictionDelayS[s];
        sensor["offset_c"] = p.offsetK[s];
        sensors.append(sensor);
    }
    o["sensors"] = sensors;
    return QJsonDocument(o).toJson(QJsonDocument::Indented).toStdString();
}

bool TruthWriter::write(std::string& error) const {
    std::ofstream file(m_options.truthPath, std::ios::binary | std::ios::trunc);
    if (file) {
        file << json();
        file.close();
    }
    if (!file) {
        error = "cannot write " + m_options.truthPath + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace quorvane::probesim
