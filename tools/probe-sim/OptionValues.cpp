#include "OptionValues.h"

#include <QDateTime>
#include <QString>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

namespace quorvane::probesim {

bool OptionValues::toLong(const std::string& s, long& out, int base) {
    if (s.empty()) {
        return false;
    }
    const char* end = s.data() + s.size();
    const auto [p, ec] = std::from_chars(s.data(), end, out, base);
    return ec == std::errc() && p == end;
}

bool OptionValues::toDouble(const std::string& s, double& out) {
    if (s.empty()) {
        return false;
    }
    const char* end = s.data() + s.size();
    const auto [p, ec] = std::from_chars(s.data(), end, out);
    return ec == std::errc() && p == end && std::isfinite(out);
}

bool OptionValues::toFive(const std::string& s, std::array<double, 5>& out, bool allowOne) {
    std::vector<double> values;
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = s.find(',', from);
        double v = 0.0;
        if (!toDouble(s.substr(from, comma - from), v)) {
            return false;
        }
        values.push_back(v);
        if (comma == std::string::npos) {
            break;
        }
        from = comma + 1;
    }
    if (values.size() == 1 && allowOne) {
        out.fill(values[0]);
        return true;
    }
    if (values.size() != out.size()) {
        return false;
    }
    std::copy(values.begin(), values.end(), out.begin());
    return true;
}

bool OptionValues::allAtLeast(const std::array<double, 5>& values, double min, bool inclusive) {
    for (double v : values) {
        if (inclusive ? v < min : v <= min) {
            return false;
        }
    }
    return true;
}

bool OptionValues::toUtcSeconds(const std::string& s, std::chrono::sys_seconds& out) {
    const QDateTime t = QDateTime::fromString(QString::fromStdString(s), Qt::ISODate);
    if (!t.isValid() || t.timeSpec() == Qt::LocalTime || t.time().msec() != 0) {
        return false;
    }
    out = std::chrono::sys_seconds{std::chrono::seconds{t.toSecsSinceEpoch()}};
    return true;
}

std::vector<std::string> OptionValues::split(const std::string& s) {
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = s.find(',', from);
        parts.push_back(s.substr(from, comma - from));
        if (comma == std::string::npos) {
            return parts;
        }
        from = comma + 1;
    }
}

bool OptionValues::toList(const std::string& s, std::vector<double>& out, double min) {
    out.clear();
    for (const std::string& part : split(s)) {
        double v = 0.0;
        if (!toDouble(part, v) || v < min) {
            return false;
        }
        out.push_back(v);
    }
    return true;
}

bool OptionValues::toSecondsOrNone(const std::string& s, std::vector<std::optional<int>>& out) {
    out.clear();
    for (const std::string& part : split(s)) {
        long n = 0;
        if (part == "none") {
            out.emplace_back();
        } else if (toLong(part, n) && n >= 0 && n <= 1000000000L) {
            out.emplace_back(int(n));
        } else {
            return false;
        }
    }
    return true;
}

} // namespace quorvane::probesim
