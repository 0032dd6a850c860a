// Fuzzes Formatter::FormatFixedNumeric and FormatFixedNumericField.
#include "FuzzSupport.h"

using namespace quorvane;
using namespace quorvane::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzInput input = decode(data, size);
    LocaleScope scope(input.locale);
    const auto result = checkPair(
        input,
        [&](Formatter& f, std::string& text, std::int32_t flags) {
            return f.FormatFixedNumeric(text, flags, input.places);
        },
        [&](Formatter& f, TextField& field, std::int32_t flags) {
            return f.FormatFixedNumericField(field, flags, input.places);
        });
    if (result && !result->empty() && input.places > 0) {
        const auto point = result->find('.');
        require(point != std::string::npos && point > 0 &&
                    result->size() - point - 1 == static_cast<std::size_t>(input.places),
                "not n decimal places", input.text);
    }
    return 0;
}
