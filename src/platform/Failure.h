#pragma once

#include <stdexcept>
#include <string>

namespace quorvane {

// A failed operation, carrying the number and description that the operator is shown.
// Platform services throw it; the procedures that trap errors catch it.
class Failure : public std::runtime_error {
public:
    Failure(int number, const std::string& description)
        : std::runtime_error(description), m_number(number), m_description(description) {}

    int number() const { return m_number; }
    const std::string& description() const { return m_description; }

private:
    int m_number;
    std::string m_description;
};

} // namespace quorvane
