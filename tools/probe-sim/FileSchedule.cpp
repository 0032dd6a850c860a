#include "FileSchedule.h"

namespace quorvane::probesim {

namespace {

std::string secondsText(double s) {
    std::string text = std::to_string(s);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') {
        text.pop_back();
    }
    return text + " s";
}

} // namespace

std::string FileSchedule::problem() const {
    const auto& in = m_plan.penetrationsS;
    const auto& out = m_plan.pullOutsS;
    const std::size_t n = in.size();
    for (std::size_t i = 1; i < n; ++i) {
        if (in[i] <= in[i - 1]) {
            return "--penetration times must increase";
        }
    }
    if (n == 0 && !out.empty()) {
        return "--pull-out needs a penetration";
    }
    if (out.size() > n || out.size() + 1 < n) {
        return "--pull-out needs one value per penetration (the last may be left out: the probe "
               "stays in)";
    }
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (out[i] <= in[i]) {
            return "pull-out " + std::to_string(i + 1) + " at " + secondsText(out[i]) +
                   " must come after its penetration at " + secondsText(in[i]);
        }
        if (i + 1 < n && out[i] >= in[i + 1]) {
            return "pull-out " + std::to_string(i + 1) + " at " + secondsText(out[i]) +
                   " must come before the next penetration at " + secondsText(in[i + 1]);
        }
    }
    if (!heated()) {
        return {};
    }
    const std::size_t spans = std::max<std::size_t>(n, 1);
    if (m_plan.heatDelaysS.size() != spans) {
        return "--heat-delay needs one value per penetration (none for a penetration without "
               "heating)";
    }
    // One penetration without a pull-out keeps the heater wherever it is put.
    if (n < 2 && out.empty()) {
        return {};
    }
    for (std::size_t i = 0; i < n; ++i) {
        const auto& delay = m_plan.heatDelaysS[i];
        if (!delay) {
            continue;
        }
        const std::string which = "penetration " + std::to_string(i + 1) + ": ";
        if (*delay < in[i]) {
            return which + "the heater delay " + secondsText(*delay) +
                   " comes before the penetration at " + secondsText(in[i]);
        }
        if (i < out.size() && *delay + m_plan.heatTimeS + m_plan.intervalS > out[i]) {
            return which + "the heater (on after " + secondsText(*delay) + " for " +
                   secondsText(m_plan.heatTimeS) + ") must be off before the pull-out at " +
                   secondsText(out[i]);
        }
    }
    return {};
}

std::vector<Penetration> FileSchedule::penetrations() const {
    std::vector<Penetration> out;
    for (std::size_t i = 0; i < m_plan.penetrationsS.size(); ++i) {
        Penetration p{before(m_plan.penetrationsS[i]), std::nullopt};
        if (i < m_plan.pullOutsS.size()) {
            p.outS = before(m_plan.pullOutsS[i]);
        }
        out.push_back(p);
    }
    return out;
}

std::optional<HeaterSpan> FileSchedule::heater(std::size_t penetration) const {
    if (!heated() || penetration >= m_plan.heatDelaysS.size() || !m_plan.heatDelaysS[penetration]) {
        return std::nullopt;
    }
    const double on = *m_plan.heatDelaysS[penetration] + m_plan.intervalS / 2.0;
    return HeaterSpan{on, on + m_plan.heatTimeS, double(m_plan.heatLevel)};
}

std::vector<HeaterSpan> FileSchedule::heaters() const {
    std::vector<HeaterSpan> out;
    for (std::size_t i = 0; i < m_plan.heatDelaysS.size(); ++i) {
        if (const auto span = heater(i)) {
            out.push_back(*span);
        }
    }
    return out;
}

} // namespace quorvane::probesim
