#include "FaultInjector.h"

#include "SimLog.h"

namespace quorvane::probesim {

std::string_view faultName(FaultMode mode) {
    switch (mode) {
    case FaultMode::Garbage:
        return "garbage";
    case FaultMode::LoneCr:
        return "lone-cr";
    case FaultMode::WrongLength:
        return "wrong-length";
    case FaultMode::BadHex:
        return "bad-hex";
    case FaultMode::EqualRefs:
        return "equal-refs";
    }
    return "?";
}

FaultInjector::FaultInjector(FaultConfig config, std::uint64_t seed)
    : m_config(std::move(config)), m_rng(seed) {}

std::string FaultInjector::randomBytes(std::size_t length, std::string_view excluded) {
    std::uniform_int_distribution<int> byte(1, 255);
    std::string out;
    out.reserve(length);
    while (out.size() < length) {
        const char c = char(byte(m_rng));
        if (excluded.find(c) == std::string_view::npos) {
            out += c;
        }
    }
    return out;
}

std::vector<std::string> FaultInjector::badLogs(FaultMode mode, std::string_view bytes) {
    return {"FAULT " + std::string(faultName(mode)), "SENT-BAD " + SimLog::escape(bytes)};
}

std::vector<Chunk> FaultInjector::splitLine(std::string line, std::vector<std::string> logs) {
    if (!m_config.split || line.size() < 2) {
        return {Chunk{std::move(line), {}, std::move(logs)}};
    }
    std::uniform_int_distribution<std::size_t> at(1, line.size() - 1);
    const std::size_t cut = at(m_rng);
    return {Chunk{line.substr(0, cut), {}, {}},
            Chunk{line.substr(cut), m_config.splitDelay, std::move(logs)}};
}

FaultInjector::Emission FaultInjector::emission(const Readings& readings) {
    ++m_records;
    Emission e;
    const bool faulty =
        !m_config.modes.empty() && m_config.every > 0 && m_records % m_config.every == 0;
    auto append = [&e](std::vector<Chunk> chunks) {
        for (auto& c : chunks) {
            e.chunks.push_back(std::move(c));
        }
    };
    const std::string payload = RecordBuilder::payload(readings);
    if (!faulty) {
        append(splitLine(RecordBuilder::line(readings), {"SENT-GOOD " + payload}));
        return e;
    }

    const FaultMode mode = m_config.modes[std::size_t(m_faults++) % m_config.modes.size()];
    e.fault = mode;
    switch (mode) {
    case FaultMode::Garbage: {
        // A line of noise ahead of an intact record: the record must still be taken.
        std::uniform_int_distribution<std::size_t> len(1, 32);
        const std::string junk = garbageLineText(len(m_rng)) + "\r\n";
        e.chunks.push_back(Chunk{junk, {}, badLogs(mode, junk)});
        append(splitLine(RecordBuilder::line(readings), {"SENT-GOOD " + payload}));
        return e;
    }
    case FaultMode::LoneCr: {
        // The record ends in CR alone, and the LF-less line is closed by a bare CR LF that
        // arrives later, so the reader first waits on it, then gets a 44-character line.
        const std::string head = RecordBuilder::record(payload) + "\r";
        e.good = false;
        append(splitLine(head, {}));
        e.chunks.push_back(Chunk{"\r\n", m_config.splitDelay, badLogs(mode, head + "\r\n")});
        return e;
    }
    case FaultMode::WrongLength: {
        // One digit short or one too many in the last field: 42 or 44 characters.
        std::string line = RecordBuilder::record(payload);
        if (std::bernoulli_distribution(0.5)(m_rng)) {
            line.pop_back();
        } else {
            line += '0';
        }
        line += "\r\n";
        e.good = false;
        append(splitLine(line, badLogs(mode, line)));
        return e;
    }
    case FaultMode::BadHex: {
        // Any field but Xtra, which the program never converts.
        std::uniform_int_distribution<std::size_t> field(kRef100k, 7);
        std::uniform_int_distribution<std::size_t> digit(0, 3);
        static constexpr std::string_view kNotHex = "GKXZ";
        std::uniform_int_distribution<std::size_t> letter(0, kNotHex.size() - 1);
        std::string bad = payload;
        bad[field(m_rng) * 5 + 1 + digit(m_rng)] = kNotHex[letter(m_rng)];
        const std::string line = RecordBuilder::record(bad) + "\r\n";
        e.good = false;
        append(splitLine(line, badLogs(mode, line)));
        return e;
    }
    case FaultMode::EqualRefs: {
        Readings r = readings;
        r[kRef20k] = r[kRef100k];
        const std::string line = RecordBuilder::line(r);
        e.good = false;
        append(splitLine(line, badLogs(mode, line)));
        return e;
    }
    }
    return e;
}

} // namespace quorvane::probesim
