#pragma once

#include <cstdint>
#include <string>

namespace quorvane {

// Reads a hexadecimal integer literal into a signed 32-bit value. Text without "&H" is
// trimmed of spaces and given the prefix; the digits may be of either case.
//
// Readings of 8000-FFFF: a literal of up to four digits is taken at its unsigned value
// (0-65535), so a reading never changes sign as it crosses 8000; five to eight digits wrap
// to 32-bit two's complement. Throws Failure when the text is not such a literal.
std::int32_t hex2decimal(const std::string& s);

} // namespace quorvane
