// Fuzzes Formatter::FormatDate and FormatDateField.
#include "FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const quorvane::fuzzing::FuzzInput input = quorvane::fuzzing::decode(data, size);
    quorvane::fuzzing::LocaleScope scope(input.locale);
    quorvane::fuzzing::fuzzDate(input);
    return 0;
}
