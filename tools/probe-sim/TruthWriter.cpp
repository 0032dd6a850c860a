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
    const auto heater = m_options.fileHeater();
    auto time = [this](std::optional<double> s) {
        return s ? QJsonValue(QString::fromStdString(isoUtc(m_options.start, *s)))
                 : QJsonValue(QJsonValue::Null);
    };

    QJsonObject o;
    o["records"] = (m_options.durationS / m_options.intervalS) + 1;
    o["log_interval_s"] = m_options.intervalS;
    o["start_utc"] = time(0.0);
    o["t_p"] = time(p.penetrationS);
    o["t_on"] = time(heater ? std::optional<double>(heater->onS) : std::nullopt);
    o["t_off"] = time(heater ? heater->offS : std::nullopt);
    o["heater_level"] = heater ? m_options.heatLevel : 0;
    o["q"] = heater ? model.powerPerMetre(heater->level) : 0.0;
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
        sensor["friction_a"] = p.penetrationS ? QJsonValue(p.frictionAKs[s]) : QJsonValue(0.0);
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
