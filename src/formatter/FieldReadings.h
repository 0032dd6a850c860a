#pragma once

#include <QDate>
#include <QTime>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The readings behind the Formatter's checks: what an operator's text means as a number,
// an amount, a date or a time. All take UTF-8 text and never throw for bad input.
namespace quorvane::fieldReadings {

// The value of a numeric text rounded to the nearest integer, a tie going to the even
// neighbour, from its exact digits; empty when the text is not numeric or the value
// does not fit 32 bits.
std::optional<std::int32_t> roundedInt32(std::string_view text);

// Currency amounts are kept in units of 1/10000.
constexpr int kCurrencyScale = 4;

// A finite number in the C locale (no thousands separators), else in the system locale
// (QLocale(), its separators allowed). The C reading comes first so that the "0.00" and
// scientific forms written by the Formatter read back as themselves in every locale.
std::optional<double> readNumber(const std::string& text);

// An amount as the system locale writes it (its currency symbol or ISO code before or
// after the number, a leading sign or parentheses for negative, thousands separators),
// or a plain number in the system locale or the C locale. The system locale comes first
// here because the Formatter writes amounts in that locale's form. The result is the
// amount in units of 1/10000, rounded from the typed digits (a tie to the even unit);
// empty when it does not fit 64 bits.
std::optional<std::int64_t> readCurrencyUnits(const std::string& text);

// A calendar date in years 1 to 9999; see Formatter.h for the accepted spellings.
std::optional<QDate> readDate(const std::string& text);

// A time of day; see Formatter.h for the accepted spellings.
std::optional<QTime> readTime(const std::string& text);

} // namespace quorvane::fieldReadings
