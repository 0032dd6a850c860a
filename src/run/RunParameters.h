#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace quorvane {

struct MainView;
class TextField;

// The four run parameter fields, in focus order.
enum class RunField { LogInterval, HeatDelay, HeatTime, HeatLevel };

// What a field admits (0 to maximum, whole numbers) and what the operator is told otherwise.
struct RunFieldRule {
    RunField field;
    std::int32_t maximum;
    const char* message;
};

const std::array<RunFieldRule, 4>& runFieldRules();
const RunFieldRule& runFieldRule(RunField field);
TextField& runFieldControl(const MainView& view, RunField field);

// A field's or count label's text as a 32-bit whole number: optional blanks, an optional
// sign and decimal digits only. Anything else (empty, "1.5", "1e3", too large) gives nothing.
std::optional<std::int32_t> wholeNumber(const std::string& text);

} // namespace quorvane
