// Runs every Formatter text check on each input: the folder's own target, the one the
// project's fuzz scripts run with the whole seed corpus.
#include "FuzzChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const quorvane::fuzzing::FuzzInput input = quorvane::fuzzing::decode(data, size);
    quorvane::fuzzing::LocaleScope scope(input.locale);
    quorvane::fuzzing::fuzzEveryCheck(input);
    return 0;
}
