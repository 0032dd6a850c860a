#pragma once

#include "viewer/ViewerOptions.h"

#include <iosfwd>

namespace quorvane {

// The exports of the command line, without a window. Needs a QApplication (offscreen is
// enough) for the plot's fonts.
class BatchExport {
public:
    enum Status { kOk = 0, kBadLines = 1, kUnreadable = 2 };

    static int run(const ViewerOptions& options, std::ostream& errors);
};

} // namespace quorvane
