#pragma once

namespace quorvane {

// How the data lines of a header block are written ("# DataType: ...").
enum class DataLayout { Unknown, RawHex, Temperature };

} // namespace quorvane
