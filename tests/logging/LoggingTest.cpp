#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeMainView.h"
#include "fakes/FakeTextFiles.h"
#include "logging/DataLog.h"
#include "logging/DisplayPanes.h"
#include "logging/EventLog.h"
#include "logging/EventStamp.h"
#include "logging/HeaderBlock.h"
#include "platform/Failure.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

struct StampCase {
    std::int64_t epochMs;
    const char* stamp;
};

TEST(EventStamp, TwentyCharactersMillisecondsDropped) {
    const StampCase cases[] = {
        {1796651470999, "07-Dec-2026 13:51:10"}, // .999 is dropped, not rounded
        {0, "01-Jan-1970 00:00:00"},
        {951782399000, "28-Feb-2000 23:59:59"},
        {951782400000, "29-Feb-2000 00:00:00"},
        {1782864000000, "01-Jul-2026 00:00:00"},
        {4102444799000, "31-Dec-2099 23:59:59"},
    };
    for (const StampCase& c : cases) {
        const std::string stamp = formatEventStamp(fakes::FakeClock::fromEpochMs(c.epochMs));
        EXPECT_EQ(stamp, c.stamp);
        EXPECT_EQ(stamp.size(), 20u);
    }
}

class EventLogTest : public ::testing::Test {
protected:
    fakes::FakeTimeline timeline;
    fakes::FakeClock clock{timeline};
    fakes::FakeTextPane pane;
    fakes::FakeTextFiles files;
    fakes::FakeDialogs dialogs;
    SystemTime sysTime;
    EventLog log{clock, sysTime, pane, files, dialogs, "/opt/q/QuorvaneEvents.log"};
};

TEST_F(EventLogTest, PaneAndFileGetTheStampedLine) {
    log.logEvent("Program loaded.");
    timeline.advance(61000);
    log.logEvent("Sent wakeup command");
    EXPECT_EQ(pane.text(), "07-Dec-2026 13:51:10: Program loaded.\r\n"
                           "07-Dec-2026 13:52:11: Sent wakeup command\r\n");
    EXPECT_EQ(files.content("/opt/q/QuorvaneEvents.log"), pane.text());
    EXPECT_EQ(sysTime.minute, 52); // the shared clock record was refilled
}

TEST_F(EventLogTest, DeletedFileIsRecreatedByTheNextEvent) {
    log.logEvent("one");
    files.remove("/opt/q/QuorvaneEvents.log");
    log.logEvent("two");
    EXPECT_EQ(files.content("/opt/q/QuorvaneEvents.log"), "07-Dec-2026 13:51:10: two\r\n");
}

TEST_F(EventLogTest, UnwritableFileStillShowsEventsAndRaisesOneBoxUntilItWorksAgain) {
    files.failing.emplace("/opt/q/QuorvaneEvents.log", Failure(EACCES, "Permission denied"));
    log.logEvent("one");
    log.logEvent("two");
    log.logEvent("three");
    EXPECT_EQ(pane.text(), "07-Dec-2026 13:51:10: one\r\n07-Dec-2026 13:51:10: two\r\n"
                           "07-Dec-2026 13:51:10: three\r\n");
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text,
              "logToEventFile: Error writing to the application event file.\r\n"
              "13  Permission denied");
    files.failing.clear();
    log.logEvent("four");
    files.failing.emplace("/opt/q/QuorvaneEvents.log", Failure(EACCES, "Permission denied"));
    EXPECT_TRUE(log.logToEventFile("five"));
    EXPECT_EQ(dialogs.messages().size(), 2u); // a new fault after recovery is told again
}

TEST(DataLog, AppendsToFolderPlusNameAndTellsOnceOfARunOfFailures) {
    fakes::FakeTextFiles files;
    fakes::FakeDialogs dialogs;
    OutputFile output{"/data/", "run.log", 1};
    DataLog log(files, dialogs, output);
    std::size_t recoveredWith = 0;
    log.onRecovered([&](std::size_t written, std::size_t) { recoveredWith = written; });

    EXPECT_FALSE(log.logToFile("# Instrument: "));
    EXPECT_EQ(files.content("/data/run.log"), "# Instrument: \r\n");

    files.failing.emplace("/data/run.log", Failure(ENOSPC, "No space left on device"));
    EXPECT_TRUE(log.logToFile("a"));
    EXPECT_TRUE(log.logToFile("b"));
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text,
              "logToFile: Error writing data to logfile.\r\n28  No space left on device");
    EXPECT_EQ(log.heldLines(), 2u);
    files.failing.clear();
    EXPECT_FALSE(log.logToFile("c"));
    // The held lines go out first, in order: nothing is lost.
    EXPECT_EQ(files.content("/data/run.log"), "# Instrument: \r\na\r\nb\r\nc\r\n");
    EXPECT_EQ(recoveredWith, 2u);
    EXPECT_EQ(log.heldLines(), 0u);
}

TEST(DataLog, HeldLinesGoToTheFileTheyWereMeantForEvenAfterANewChoice) {
    fakes::FakeTextFiles files;
    fakes::FakeDialogs dialogs;
    OutputFile output{"/data/", "old.log", 1};
    DataLog log(files, dialogs, output);
    files.failing.emplace("/data/old.log", Failure(EIO, "Input/output error"));
    EXPECT_TRUE(log.logToFile("old 1"));
    output.outputFileName = "new.log";
    EXPECT_FALSE(log.logToFile("new 1")); // the new file works while the old still fails
    EXPECT_EQ(files.content("/data/new.log"), "new 1\r\n");
    EXPECT_EQ(log.heldLines(), 1u);
    files.failing.clear();
    EXPECT_FALSE(log.logToFile("new 2"));
    EXPECT_EQ(files.content("/data/old.log"), "old 1\r\n");
    EXPECT_EQ(files.content("/data/new.log"), "new 1\r\nnew 2\r\n");
}

// A second file chosen while the first one's lines are held: each failing file raises its
// own box, and the choice settles the held lines of the file before with one last try.
struct NewFileCase {
    const char* name;
    bool oldFileBackAtTheChoice;
    bool newFileFails;
    std::size_t writtenToOld;
    std::size_t unwritten;
    std::vector<std::string> boxes; // the files named in the boxes, in order
};

void PrintTo(const NewFileCase& c, std::ostream* out) {
    *out << c.name;
}

class DataLogNewFile : public ::testing::TestWithParam<NewFileCase> {};

TEST_P(DataLogNewFile, EveryFailingFileIsReportedAndHeldLinesAreSettled) {
    const NewFileCase& c = GetParam();
    fakes::FakeTextFiles files;
    fakes::FakeDialogs dialogs;
    OutputFile output{"/data/", "old.log", 1};
    DataLog log(files, dialogs, output);
    std::vector<std::string> left;
    log.onRetried([&](const std::string& path, std::size_t written, std::size_t unwritten) {
        left.push_back(path + " " + std::to_string(written) + " " + std::to_string(unwritten));
    });
    files.failing.emplace("/data/old.log", Failure(ENOSPC, "No space left on device"));
    EXPECT_TRUE(log.logToFile("old 1"));
    EXPECT_TRUE(log.logToFile("old 2"));

    if (c.oldFileBackAtTheChoice) {
        files.failing.clear();
    }
    log.leaveHeldFiles();
    output.outputFileName = "new.log";
    EXPECT_EQ(left, std::vector<std::string>{"/data/old.log " + std::to_string(c.writtenToOld) +
                                             " " + std::to_string(c.unwritten)});
    EXPECT_EQ(log.heldLines(), 0u);
    EXPECT_EQ(files.content("/data/old.log"), c.writtenToOld ? "old 1\r\nold 2\r\n" : "");

    if (c.newFileFails) {
        files.failing.emplace("/data/new.log", Failure(EROFS, "Read-only file system"));
    }
    EXPECT_EQ(log.logToFile("new 1"), c.newFileFails);
    EXPECT_EQ(log.logToFile("new 2"), c.newFileFails);
    files.failing.clear();
    EXPECT_FALSE(log.logToFile("new 3"));
    // The new file has its own lines only, in order; the old one gets none of them.
    EXPECT_EQ(files.content("/data/new.log"), "new 1\r\nnew 2\r\nnew 3\r\n");
    EXPECT_EQ(files.content("/data/old.log"), c.writtenToOld ? "old 1\r\nold 2\r\n" : "");

    std::vector<std::string> boxes;
    for (const std::string& text : dialogs.texts()) {
        boxes.push_back(text.substr(text.rfind("  ") + 2));
    }
    EXPECT_EQ(boxes, c.boxes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DataLogNewFile,
    ::testing::Values(NewFileCase{"OldStillFailsNewFailsToo",
                                  false,
                                  true,
                                  0,
                                  2,
                                  {"No space left on device", "Read-only file system"}},
                      NewFileCase{
                          "OldStillFailsNewWorks", false, false, 0, 2, {"No space left on device"}},
                      NewFileCase{"OldBackNewFails",
                                  true,
                                  true,
                                  2,
                                  0,
                                  {"No space left on device", "Read-only file system"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DataLog, TheSameFileFailingAgainAfterItRecoveredIsReportedAgain) {
    fakes::FakeTextFiles files;
    fakes::FakeDialogs dialogs;
    OutputFile output{"/data/", "run.log", 1};
    DataLog log(files, dialogs, output);
    for (int round = 0; round < 2; ++round) {
        files.failing.emplace("/data/run.log", Failure(EIO, "Input/output error"));
        EXPECT_TRUE(log.logToFile("a"));
        EXPECT_TRUE(log.logToFile("b"));
        files.failing.clear();
        EXPECT_FALSE(log.logToFile("c"));
    }
    EXPECT_EQ(dialogs.messages().size(), 2u);
}

TEST(DataLog, ARetryWritesWhatItCanAndKeepsTheRestUnlessItGivesUp) {
    fakes::FakeTextFiles files;
    fakes::FakeDialogs dialogs;
    OutputFile output{"/data/", "run.log", 1};
    DataLog log(files, dialogs, output);
    std::vector<std::string> told;
    log.onRetried([&](const std::string& path, std::size_t written, std::size_t unwritten) {
        told.push_back(path + " " + std::to_string(written) + " " + std::to_string(unwritten));
    });
    log.retryHeld(false); // nothing held: nothing to tell
    EXPECT_TRUE(told.empty());
    files.failing.emplace("/data/run.log", Failure(EROFS, "Read-only file system"));
    EXPECT_TRUE(log.logToFile("a"));
    EXPECT_TRUE(log.logToFile("b"));
    log.retryHeld(false);
    EXPECT_EQ(log.heldLines(), 2u);
    files.failing.clear();
    log.retryHeld(false);
    EXPECT_EQ(log.heldLines(), 0u);
    EXPECT_EQ(files.content("/data/run.log"), "a\r\nb\r\n");
    EXPECT_EQ(told, (std::vector<std::string>{"/data/run.log 0 2", "/data/run.log 2 0"}));
    // Written out, the file has recovered: a new failure gets its box again.
    files.failing.emplace("/data/run.log", Failure(EROFS, "Read-only file system"));
    EXPECT_TRUE(log.logToFile("c"));
    EXPECT_EQ(dialogs.messages().size(), 2u);
    log.retryHeld(true);
    EXPECT_EQ(log.heldLines(), 0u);
    EXPECT_EQ(told.back(), "/data/run.log 0 1");
}

TEST(HeaderBlock, ElevenLinesFromTheControlsAsTheyStand) {
    fakes::FakeTimeline timeline;
    fakes::FakeMainView ui(timeline);
    ui.txtHeatDelay.setText("120");
    ui.txtHeatTime.setText("30");
    ui.txtHeatLevel.setText(" 50");
    ui.txtLogInterval.setText("2");
    ui.lblFilename.setCaption("/home/op/run 1.log");
    ui.lblFirmwareID.setCaption("Ver 2.31");

    const std::vector<std::string> hex = headerBlock(headerValuesFrom(ui.view()));
    const std::vector<std::string> expectedHex = {
        "# Instrument: ",
        "# Firmware: Ver 2.31",
        "# Delay: 120",
        "# HeatDuration: 30",
        "# PowerLevel:  50",
        "# HeaterEnabled: No",
        "# DataType: RawHex",
        "# PowerLevel:  50",
        "# LogInterval: 2",
        "# Logfile: /home/op/run 1.log",
        "# Date        Time    Xtra 100K  20K TTop   T2   T3   T4 TBot Htr",
    };
    EXPECT_EQ(hex, expectedHex);

    ui.chkHeaterEnabled.setChecked(true);
    ui.Option1[1].setSelected(true);
    ui.lblInstrumentID.setCaption("0417");
    const std::vector<std::string> temp = headerBlock(headerValuesFrom(ui.view()));
    EXPECT_EQ(temp[0], "# Instrument: 0417");
    EXPECT_EQ(temp[5], "# HeaterEnabled: Yes");
    EXPECT_EQ(temp[6], "# DataType: Temperature");
    EXPECT_EQ(temp[10], "# Date        Time     TTop    T2     T3     T4    TBot Htr");
}

TEST(SerialPane, CutAboveOneMillionToTheLastEightHundredThousand) {
    fakes::FakeTextPane pane;
    std::string text;
    for (int i = 0; i < 1000000; ++i) {
        text.push_back(static_cast<char>('a' + i % 26));
    }
    appendToPane(pane, text.substr(0, 999999));
    appendToPane(pane, text.substr(999999)); // exactly 1000000: kept
    EXPECT_EQ(pane.length(), 1000000u);
    EXPECT_EQ(pane.replacements(), 0);
    appendToPane(pane, "Z");
    EXPECT_EQ(pane.length(), 800000u);
    EXPECT_EQ(pane.text(), text.substr(200001) + "Z");
    EXPECT_EQ(pane.replacements(), 0); // the front is dropped, the pane is not rewritten
    EXPECT_EQ(pane.cuts(), 1);

    appendToPane(pane, std::string(900000, 'q')); // one chunk longer than the keep
    EXPECT_EQ(pane.text(), std::string(800000, 'q'));
    EXPECT_EQ(pane.replacements(), 1);
}

TEST(Panes, ClearEmptiesOnlyThePane) {
    fakes::FakeTextPane pane;
    appendToPane(pane, "line\r\n");
    clearPane(pane);
    EXPECT_EQ(pane.text(), "");
}

} // namespace
} // namespace quorvane
