#include "datafile/UtcStamp.h"

#include <array>
#include <cstdio>

namespace quorvane {

namespace {

constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
qint64 daysFromCivil(qint64 y, unsigned m, unsigned d) {
    y -= m <= 2;
    const qint64 era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<qint64>(doe) - 719468;
}

struct Civil {
    qint64 year;
    unsigned month;
    unsigned day;
};

Civil civilFromDays(qint64 z) {
    z += 719468;
    const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<qint64>(yoe) + era * 400 + (m <= 2), m, d};
}

bool digitsAt(std::string_view s, std::size_t at, std::size_t n, unsigned& value) {
    value = 0;
    for (std::size_t i = at; i < at + n; ++i) {
        if (s[i] < '0' || s[i] > '9') {
            return false;
        }
        value = value * 10 + static_cast<unsigned>(s[i] - '0');
    }
    return true;
}

bool leapYear(unsigned y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

void splitSeconds(qint64 utcSeconds, Civil& date, int& h, int& m, int& s) {
    qint64 days = utcSeconds / 86400;
    qint64 rest = utcSeconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    date = civilFromDays(days);
    h = static_cast<int>(rest / 3600);
    m = static_cast<int>(rest / 60 % 60);
    s = static_cast<int>(rest % 60);
}

} // namespace

std::optional<qint64> parseEventStampUtc(std::string_view s) {
    if (s.size() != 20 || s[2] != '-' || s[6] != '-' || s[11] != ' ' || s[14] != ':' ||
        s[17] != ':') {
        return std::nullopt;
    }
    unsigned day = 0, year = 0, hour = 0, minute = 0, second = 0;
    if (!digitsAt(s, 0, 2, day) || !digitsAt(s, 7, 4, year) || !digitsAt(s, 12, 2, hour) ||
        !digitsAt(s, 15, 2, minute) || !digitsAt(s, 18, 2, second)) {
        return std::nullopt;
    }
    unsigned month = 0;
    for (std::size_t i = 0; i < kMonths.size(); ++i) {
        if (s.substr(3, 3) == kMonths[i]) {
            month = static_cast<unsigned>(i) + 1;
        }
    }
    static constexpr std::array<unsigned, 12> kDays = {31, 28, 31, 30, 31, 30,
                                                       31, 31, 30, 31, 30, 31};
    const unsigned monthDays = kDays[month == 0 ? 0 : month - 1] + (month == 2 && leapYear(year));
    if (month == 0 || day < 1 || day > monthDays || hour > 23 || minute > 59 || second > 59) {
        return std::nullopt;
    }
    return daysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

std::string isoUtc(qint64 utcSeconds) {
    Civil date{};
    int h = 0, m = 0, s = 0;
    splitSeconds(utcSeconds, date, h, m, s);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02uT%02d:%02d:%02dZ",
                  static_cast<long long>(date.year), date.month, date.day, h, m, s);
    return buffer;
}

std::string eventStampUtc(qint64 utcSeconds) {
    Civil date{};
    int h = 0, m = 0, s = 0;
    splitSeconds(utcSeconds, date, h, m, s);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%02u-%s-%04lld %02d:%02d:%02d", date.day,
                  kMonths[date.month - 1].data(), static_cast<long long>(date.year), h, m, s);
    return buffer;
}

} // namespace quorvane
