#pragma once

#include <QtGlobal>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane {

// The event stamp of data and event lines, "dd-mmm-yyyy hh:mm:ss" in UTC with English
// month abbreviations, as seconds since 1970-01-01 00:00:00 UTC. nullopt for anything that
// is not exactly such a stamp of a real date.
std::optional<qint64> parseEventStampUtc(std::string_view stamp);

// "2026-12-07T13:51:10Z".
std::string isoUtc(qint64 utcSeconds);

// "07-Dec-2026 13:51:10".
std::string eventStampUtc(qint64 utcSeconds);

} // namespace quorvane
