#pragma once

#include <optional>
#include <string>

namespace quorvane {

// The tokenizer with one remembered remainder, shared by every caller. std::nullopt is
// the null marker: "no value", distinct from the empty text.
//
// A source other than the empty text starts a new tokenization; nullopt or "" continue
// the current one. Delimiters are never skipped: "a,,b" gives "a", "", "b", then nullopt.
std::optional<std::string> nextToken(const std::optional<std::string>& source,
                                     const std::string& delimiters);

} // namespace quorvane
