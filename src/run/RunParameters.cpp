#include "run/RunParameters.h"

#include "platform/MainView.h"
#include "util/Util.h"

#include <charconv>

namespace quorvane {

const std::array<RunFieldRule, 4>& runFieldRules() {
    static const std::array<RunFieldRule, 4> rules{{
        {RunField::LogInterval, 64,
         "Log Interval must be a positive integer seconds between 0 and 64"},
        {RunField::HeatDelay, 86400,
         "Heat Delay must be a positive integer seconds between 0 and 86400"},
        {RunField::HeatTime, 86400,
         "HeatTime must be a positive integer seconds between 0 and 86400"},
        {RunField::HeatLevel, 200,
         "Heat level must be a positive integer seconds between 0 and 200"},
    }};
    return rules;
}

const RunFieldRule& runFieldRule(RunField field) {
    return runFieldRules()[static_cast<std::size_t>(field)];
}

TextField& runFieldControl(const MainView& view, RunField field) {
    switch (field) {
    case RunField::LogInterval:
        return *view.txtLogInterval;
    case RunField::HeatDelay:
        return *view.txtHeatDelay;
    case RunField::HeatTime:
        return *view.txtHeatTime;
    case RunField::HeatLevel:
        break;
    }
    return *view.txtHeatLevel;
}

std::optional<std::int32_t> wholeNumber(const std::string& text) {
    std::string digits = trimSpaces(text);
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.erase(0, 1);
    }
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    if (negative) {
        value = -value;
    }
    if (value < INT32_MIN || value > INT32_MAX) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(value);
}

} // namespace quorvane
