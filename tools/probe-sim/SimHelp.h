#pragma once

#include <string>

namespace quorvane::probesim {

// What --help prints: the commands answered, the model and every option.
class SimHelp {
public:
    static std::string text();
};

} // namespace quorvane::probesim
