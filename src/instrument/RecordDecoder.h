#pragma once

#include "platform/Dialogs.h"

#include <array>
#include <cstdint>
#include <string>

namespace quorvane {

// Decodes the 40-character payload of a data record (eight fields, each a space and four
// hexadecimal digits: Xtra, 100K, 20K, TTop, T2, T3, T4, TBot) into the last record.
class RecordDecoder {
public:
    explicit RecordDecoder(Dialogs& dialogs) : m_dialogs(dialogs) {}

    // False when decoded; true when the record was rejected (after its message). A
    // rejected record may leave some entries overwritten; callers show nothing of it.
    bool processQuorvaneRecord(const std::string& payload);

    // The last record: fields as received (0-7), whole ohms and degrees Celsius per
    // thermistor channel (0-4). The extra slots are never written.
    std::array<std::string, 9> hexFields;
    std::array<std::int32_t, 6> resistanceOhms{};
    std::array<double, 6> temperatureC{};

    // Decoding without a message box: throws Failure on a bad record.
    void decode(const std::string& payload);

private:
    Dialogs& m_dialogs;
};

} // namespace quorvane
