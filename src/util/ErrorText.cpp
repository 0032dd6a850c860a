#include "util/ErrorText.h"

#include "platform/Failure.h"

#include <new>

namespace quorvane {

int errorNumber(const std::exception& error) {
    if (const auto* failure = dynamic_cast<const Failure*>(&error)) {
        return failure->number();
    }
    if (dynamic_cast<const std::bad_alloc*>(&error)) {
        return errors::kOutOfMemory;
    }
    return errors::kInvalidCall;
}

std::string errorDescription(const std::exception& error) {
    if (const auto* failure = dynamic_cast<const Failure*>(&error)) {
        return failure->description();
    }
    if (dynamic_cast<const std::bad_alloc*>(&error)) {
        return "Out of memory";
    }
    return error.what();
}

std::string errorLine(const std::exception& error) {
    return std::to_string(errorNumber(error)) + "  " + errorDescription(error);
}

} // namespace quorvane
