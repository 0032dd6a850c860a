#pragma once

#include "datafile/DataLayout.h"
#include "datafile/LogRecord.h"
#include "datafile/NullDialogs.h"
#include "instrument/RecordDecoder.h"

#include <string>
#include <string_view>

namespace quorvane {

// Reads one data line (without its CR LF) in either layout. RawHex payloads are decoded by
// the program's own decoder, so the numbers are those the program showed.
class DataLineParser {
public:
    DataLineParser();

    // True with `record` filled (all but its line and header numbers); false with the
    // reason. The `expected` layout is tried first, then the other one, so a file whose
    // layout changed without a new header still reads; Unknown picks by the line's shape.
    bool parse(std::string_view line, DataLayout expected, LogRecord& record, std::string& reason);

    bool parseRawHex(std::string_view line, LogRecord& record, std::string& reason);
    bool parseTemperature(std::string_view line, LogRecord& record, std::string& reason);

private:
    NullDialogs m_dialogs;
    RecordDecoder m_decoder;
    std::string m_payload;
};

} // namespace quorvane
