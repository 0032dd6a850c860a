#pragma once

#include "datafile/DataLayout.h"

#include <QtGlobal>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quorvane {

// One header block: the "# " lines written at a Start Run. Numbers that cannot be read
// stay empty; the texts as written are kept in `fields`.
struct LogHeader {
    qint64 firstLine = 0; // line number of the block's first line
    std::string instrument;
    std::string firmware;
    std::optional<double> delaySeconds;
    std::optional<double> heatDurationSeconds;
    std::optional<double> powerLevel;
    std::optional<bool> heaterEnabled;
    DataLayout layout = DataLayout::Unknown;
    std::optional<double> logIntervalSeconds;
    std::string logfile;
    std::string columnLine; // the column line without its "# "
    // Every "Key: value" line in order, as written.
    std::vector<std::pair<std::string, std::string>> fields;
    // "# " lines that are neither a known key nor the column line.
    std::vector<std::string> otherLines;

    // Takes one line starting with '#'. False when the line begins a new block (a second
    // "Instrument" line): the caller then starts a new header with it.
    bool add(std::string_view line);

    // A line as the program's header block writes it: one of its keys, or the column line.
    // Any other line starting with '#' (a script's first line, a heading) is not.
    static bool isWrittenLine(std::string_view line);
};

} // namespace quorvane
