// Any payload either decodes to finite temperatures or is rejected with a message.
#include "fakes/FakeDialogs.h"
#include "instrument/RecordDecoder.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quorvane::fakes::FakeDialogs dialogs;
    quorvane::RecordDecoder decoder(dialogs);
    const std::string payload(reinterpret_cast<const char*>(data), size);
    const bool rejected = decoder.processQuorvaneRecord(payload);
    if (rejected != !dialogs.messages().empty()) {
        std::abort();
    }
    if (!rejected) {
        for (std::size_t i = 0; i < 5; ++i) {
            if (!std::isfinite(decoder.temperatureC[i])) {
                std::abort();
            }
        }
    }
    return 0;
}
