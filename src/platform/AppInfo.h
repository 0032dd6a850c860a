#pragma once

#include <string>

namespace quorvane {

struct Version {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// What the program knows about itself.
class AppInfo {
public:
    virtual ~AppInfo() = default;

    virtual std::string title() const = 0;
    // The folder that holds the program, without a trailing separator.
    virtual std::string programFolder() const = 0;
    virtual Version version() const = 0;
    // The home folder of the user running the program.
    virtual std::string homeFolder() const = 0;
    virtual bool isAnotherInstanceRunning() = 0;
};

} // namespace quorvane
