// Any bytes read as a cruise table's CSV: never a crash; what is accepted, written out again,
// reads back to the same cells (a table the program rewrites keeps what it held).
#include "station/CsvText.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using quorvane::station::CsvText;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString error;
    const auto table = CsvText::parse(bytes, error);
    if (!table) {
        if (error.isEmpty()) {
            std::abort();
        }
        return 0;
    }
    const QByteArray written = CsvText::format(table->rows, table->crlf);
    const auto back = CsvText::parse(written, error);
    if (!back || back->rows != table->rows) {
        std::abort();
    }
    return 0;
}
