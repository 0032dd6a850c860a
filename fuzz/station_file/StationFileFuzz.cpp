// Any bytes read as a station file: never a crash; what is accepted writes itself out and
// reads back to the same file, and writing that again gives the same bytes (a reopened file
// must give the same result).
#include "station/StationFile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using quorvane::station::StationFile;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString error;
    const auto file = StationFile::fromJson(bytes, error);
    if (!file) {
        if (error.isEmpty()) {
            std::abort(); // a refusal always says why
        }
        return 0;
    }
    if (!file->problem().isEmpty()) {
        return 0; // kept as read, but not written
    }
    const QByteArray once = file->toJson();
    const auto again = StationFile::fromJson(once, error);
    if (!again || !(*again == *file) || again->toJson() != once) {
        std::abort();
    }
    return 0;
}
