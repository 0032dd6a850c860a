#pragma once

#include <exception>
#include <string>

namespace quorvane {

// Numbers for failures raised by the program's own code (the platform brings its own).
namespace errors {
inline constexpr int kInvalidCall = 5;
inline constexpr int kOverflow = 6;
inline constexpr int kOutOfMemory = 7;
inline constexpr int kDivisionByZero = 11;
inline constexpr int kTypeMismatch = 13;
inline constexpr int kInvalidUseOfNull = 94;
} // namespace errors

// "number  description" of a caught failure, as message boxes show it.
std::string errorLine(const std::exception& error);
int errorNumber(const std::exception& error);
std::string errorDescription(const std::exception& error);

} // namespace quorvane
