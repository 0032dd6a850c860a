// Fuzzes Formatter::FormatLong and FormatLongField against an independent reading.
#include "FuzzSupport.h"
#include "IntegerOracle.h"

using namespace quorvane;
using namespace quorvane::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzInput input = decode(data, size);
    LocaleScope scope(input.locale);
    const auto result = checkPair(
        input,
        [&](Formatter& f, std::string& text, std::int32_t flags) {
            return f.FormatLong(text, flags, input.minimum, input.maximum);
        },
        [&](Formatter& f, TextField& field, std::int32_t flags) {
            return f.FormatLongField(field, flags, input.minimum, input.maximum);
        });
    require(!result || *result == input.text, "integer text rewritten", input.text);

    bool expected = false;
    if (input.text.empty() && !(input.flags & modFormatterConstants::fmtRequired)) {
        expected = true;
    } else if (const auto value = expectedInteger(input.text, false)) {
        expected = expectedInRange(*value, input.flags, input.minimum, input.maximum);
    }
    require(result.has_value() == expected, "acceptance differs from strtod", input.text);
    return 0;
}
