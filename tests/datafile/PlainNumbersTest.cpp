#include "datafile/PlainNumbers.h"
#include "datafile/UtcStamp.h"

#include <clocale>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

// The process's C locale set to German for one test, restored after it.
class GermanLocale {
public:
    GermanLocale() : m_before(std::setlocale(LC_ALL, nullptr)) {
        m_set = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    }
    ~GermanLocale() { std::setlocale(LC_ALL, m_before.c_str()); }
    bool set() const { return m_set; }

private:
    std::string m_before;
    bool m_set = false;
};

TEST(PlainNumbers, ReadAndWrittenWithAPointWhateverTheLocale) {
    GermanLocale german;
    if (!german.set()) {
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    }
    const struct {
        const char* text;
        std::optional<double> value;
    } reads[] = {
        {"3.472", 3.472}, {"-1.076", -1.076}, {"+2", 2.0},  {"3,5", 3.5}, {"1e3", 1000.0},
        {"", {}},         {"1.2.3", {}},      {" 1", {}},   {"1 ", {}},   {"nan", {}},
        {"inf", {}},      {"+-1", {}},        {"0x10", {}}, {"-", {}},    {"1e999", {}},
    };
    for (const auto& r : reads) {
        EXPECT_EQ(parsePlainNumber(r.text), r.value) << r.text;
    }
    EXPECT_EQ(formatFixed(3.4725, 3), "3.473");
    EXPECT_EQ(formatFixed(-1.0756, 3), "-1.076");
    EXPECT_EQ(formatFixed(100000, 0), "100000");
    EXPECT_EQ(formatFixed(0.5, 1), "0.5");
}

TEST(PlainNumbers, CountsAreDigitsOnly) {
    const struct {
        const char* text;
        std::optional<int> value;
    } cases[] = {{"0", 0},    {"120", 120}, {"007", 7},          {"-1", {}},  {"+1", {}},
                 {"1.0", {}}, {"", {}},     {"99999999999", {}}, {"12a", {}}, {" 12", {}}};
    for (const auto& c : cases) {
        EXPECT_EQ(parsePlainCount(c.text), c.value) << c.text;
    }
}

TEST(UtcStamp, StampsToSecondsAndBack) {
    const struct {
        const char* stamp;
        std::optional<qint64> seconds;
    } cases[] = {
        {"01-Jan-1970 00:00:00", 0},          {"07-Dec-2026 13:51:10", 1796651470},
        {"29-Feb-2024 23:59:59", 1709251199}, {"31-Dec-1969 23:59:59", -1},
        {"29-Feb-2025 00:00:00", {}},         {"29-Feb-1900 00:00:00", {}},
        {"29-Feb-2000 00:00:00", 951782400},  {"00-Jan-2026 00:00:00", {}},
        {"07-dec-2026 13:51:10", {}},         {"07-Dec-2026 13:60:10", {}},
        {"07-Dec-2026 13:51:60", {}},         {"07-Dec-2026T13:51:10", {}},
        {"7-Dec-2026 13:51:10 ", {}},         {"07-Dec-2026 13:51:1", {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(parseEventStampUtc(c.stamp), c.seconds) << c.stamp;
        if (c.seconds) {
            EXPECT_EQ(eventStampUtc(*c.seconds), c.stamp);
        }
    }
    EXPECT_EQ(isoUtc(1796651470), "2026-12-07T13:51:10Z");
}

} // namespace
} // namespace quorvane
