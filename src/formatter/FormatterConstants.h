#pragma once

#include <cstdint>

// Flags of the Formatter's checks and field operations; any other bit is ignored.
namespace quorvane::modFormatterConstants {

inline constexpr std::int32_t fmtBeep = 1;        // beep when a field's text is refused
inline constexpr std::int32_t fmtSetFocus = 2;    // give the focus back to a refused field
inline constexpr std::int32_t fmtRequired = 4;    // an empty text is refused
inline constexpr std::int32_t fmtShowMessage = 8; // show a message when a text is refused
inline constexpr std::int32_t fmtShowZero = 16;   // currency: write a zero amount, not ""
inline constexpr std::int32_t fmtCheckRange = 32; // integers: compare with minimum/maximum

} // namespace quorvane::modFormatterConstants
