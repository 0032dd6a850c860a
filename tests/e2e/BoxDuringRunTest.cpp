// A box raised by the parsing pass (an undecodable record) stays open for seconds, as an
// operator leaves it: the poll, the serial pane and the data log go on meanwhile, and each
// record's data line carries the stamp of the pass that read it.
#include "RunSteps.h"

#include <QPlainTextEdit>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <gtest/gtest.h>

namespace quorvane::e2e {
namespace {

using Clock = std::chrono::system_clock;

// "07-Dec-2026 13:51:10" as a UTC time.
Clock::time_point fromEventStamp(const std::string& stamp) {
    static const std::string kMonths = "JanFebMarAprMayJunJulAugSepOctNovDec";
    char month[4] = {};
    std::tm tm{};
    if (std::sscanf(stamp.c_str(), "%d-%3s-%d %d:%d:%d", &tm.tm_mday, month, &tm.tm_year,
                    &tm.tm_hour, &tm.tm_min, &tm.tm_sec) != 6) {
        return {};
    }
    tm.tm_mon = static_cast<int>(kMonths.find(month) / 3);
    tm.tm_year -= 1900;
    return Clock::from_time_t(timegm(&tm));
}

TEST(BoxDuringARun, RecordsAreLoggedWithTheirOwnStampsWhileABoxOfThePassIsOpen) {
    E2eRig rig({"--fault-every", "2", "--bad-hex"});
    rig.dialogs = support::RecordingDialogs(3000);
    std::size_t linesAtOpen = 0;
    std::size_t linesAtClose = 0;
    int paneAtOpen = 0;
    int paneAtClose = 0;
    auto pane = [&] { return rig.control<QPlainTextEdit>("txtComsDisplay")->toPlainText().size(); };
    rig.dialogs.onOpen = [&] {
        linesAtOpen = dataLines(dataFile(rig)).size();
        paneAtOpen = static_cast<int>(pane());
    };
    rig.dialogs.onClose = [&] {
        linesAtClose = dataLines(dataFile(rig)).size();
        paneAtClose = static_cast<int>(pane());
    };
    ASSERT_TRUE(startLoggingRun(rig));
    ASSERT_TRUE(E2eRig::runUntil([&] { return !rig.dialogs.texts().empty(); }, 4000));
    ASSERT_TRUE(E2eRig::runUntil([&] { return linesAtClose > 0; }, 4000));
    finishLoggingRun(rig, 300);

    ASSERT_EQ(rig.dialogs.texts().size(), 1u);
    EXPECT_EQ(rig.dialogs.texts()[0].rfind("processQuorvaneRecord:", 0), 0u)
        << rig.dialogs.texts()[0];
    // Three seconds of a 1 s run: the records of that time reached the file and the pane.
    EXPECT_GE(linesAtClose, linesAtOpen + 2);
    EXPECT_GT(paneAtClose, paneAtOpen + 2 * 43);

    const std::vector<std::string> lines = dataLines(dataFile(rig));
    ASSERT_GE(lines.size(), 3u);
    for (const std::string& line : lines) {
        const std::vector<Clock::time_point> sent =
            rig.simulator->times("SENT-GOOD " + line.substr(21, 40));
        ASSERT_EQ(sent.size(), 1u) << line;
        const auto stamp = fromEventStamp(line.substr(0, 20));
        const auto sentSecond = std::chrono::floor<std::chrono::seconds>(sent[0]);
        EXPECT_GE(stamp, sentSecond) << line;
        EXPECT_LE(stamp - sentSecond, std::chrono::seconds(1)) << line;
    }
}

} // namespace
} // namespace quorvane::e2e
