#include "DataFileWriter.h"

#include "RecordBuilder.h"
#include "instrument/TemperatureText.h"
#include "logging/EventStamp.h"
#include "logging/HeaderBlock.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

namespace quorvane::probesim {

DataFileWriter::DataFileWriter(const SimOptions& options, std::uint64_t seed)
    : m_options(options), m_seed(seed) {}

std::vector<std::string> DataFileWriter::header() const {
    // The program quotes its controls: the firmware label holds the banner from "Ver" on,
    // the file label the full path the chooser gave.
    HeaderValues v;
    v.instrumentId = m_options.serial;
    v.firmware = "Ver " + m_options.firmware;
    // The program has one heat delay: the first penetration's.
    v.heatDelay = "0";
    for (const auto& delay : m_options.heatDelaysS) {
        if (delay) {
            v.heatDelay = std::to_string(*delay);
            break;
        }
    }
    v.heatTime = std::to_string(m_options.heatTimeS);
    v.heatLevel = std::to_string(m_options.heatLevel);
    v.heaterEnabled = !m_options.fileHeaters().empty();
    v.rawHex = m_options.rawHexLayout;
    v.logInterval = std::to_string(m_options.intervalS);
    std::error_code ec;
    const auto path = std::filesystem::absolute(m_options.writeFilePath, ec);
    v.logfile = ec ? m_options.writeFilePath : path.lexically_normal().string();
    return headerBlock(v);
}

std::vector<std::string> DataFileWriter::lines() const {
    std::vector<std::string> out = header();
    const ForwardModel model(m_options.fileModel());
    const std::vector<HeaterSpan> spans = m_options.fileHeaters();
    const RecordBuilder builder(ReadingEncoder(m_options.ref20k, m_options.ref100k));
    const double lowest = builder.encoder().minTemperature();
    const double highest = builder.encoder().maxTemperature();
    std::mt19937_64 rng(m_seed);
    std::normal_distribution<double> noise(0.0, m_options.noiseK);
    const std::string level = std::to_string(m_options.heatLevel);

    const int records = recordCount();
    out.reserve(out.size() + std::size_t(records));
    for (int n = 0; n < records; ++n) {
        const long long seconds = static_cast<long long>(n) * m_options.intervalS;
        const double t = double(seconds);
        auto temps = model.temperatures(t, spans);
        for (double& c : temps) {
            if (m_options.noiseK > 0.0) {
                c += noise(rng);
            }
            // Both layouts carry only what the instrument's readings can say.
            c = std::clamp(c, lowest, highest);
        }
        const bool on = std::any_of(spans.begin(), spans.end(),
                                    [t](const HeaterSpan& s) { return t > s.onS && t < *s.offS; });
        const std::string heaterColumn = on ? level : std::string("0");
        const std::string stamp = formatEventStamp(m_options.start + std::chrono::seconds(seconds));
        std::string body;
        if (m_options.rawHexLayout) {
            const auto sequence = std::uint16_t((n + 1) & ReadingEncoder::kMaxReading);
            body = RecordBuilder::payload(builder.readings(sequence, temps));
        } else {
            for (double c : temps) {
                body += " " + formatTemperature(c);
            }
        }
        out.push_back(stamp + " " + body + " " + heaterColumn);
    }
    return out;
}

bool DataFileWriter::write(std::string& error) const {
    std::ofstream file(m_options.writeFilePath, std::ios::binary | std::ios::trunc);
    if (!file) {
        error = "cannot write " + m_options.writeFilePath + ": " + std::strerror(errno);
        return false;
    }
    for (const std::string& line : lines()) {
        file << line << "\r\n";
    }
    file.close();
    if (!file) {
        error = "cannot write " + m_options.writeFilePath + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace quorvane::probesim
