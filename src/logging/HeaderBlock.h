#pragma once

#include <string>
#include <vector>

namespace quorvane {

struct MainView;

// What the header block of a run is made of: the controls' texts as they stand.
struct HeaderValues {
    std::string instrumentId;
    std::string firmware;
    std::string heatDelay;
    std::string heatTime;
    std::string heatLevel;
    bool heaterEnabled = false;
    bool rawHex = true;
    std::string logInterval;
    std::string logfile;
};

HeaderValues headerValuesFrom(const MainView& view);

// The eleven "# " lines written at each Start Run, in order.
std::vector<std::string> headerBlock(const HeaderValues& values);

} // namespace quorvane
