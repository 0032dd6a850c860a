#include "ParserFixture.h"

#include "logging/DisplayPanes.h"
#include "platform/Failure.h"

#include <functional>

#include <cstdlib>

namespace quorvane::testing {
namespace {

const std::string kStamp = "07-Dec-2026 13:51:10";
const std::string kHexLine = kStamp + "  0A1B 6000 2000 5000 3000 2001 6000 2000 0";

TEST_F(ParserFixture, RecordSplitAtEveryPositionIsParsedOnceOnTheSecondTick) {
    const std::string full = record();
    for (std::size_t cut = 1; cut < full.size(); ++cut) {
        files.setContent("/data/run.log", "");
        poller.tick();
        receive(full.substr(0, cut));
        EXPECT_EQ(dataFile(), "") << "cut " << cut;
        receive(full.substr(cut));
        EXPECT_EQ(dataFile(), kHexLine + "\r\n") << "cut " << cut;
    }
    EXPECT_TRUE(parser.inputBuffer().empty());
}

TEST_F(ParserFixture, RawHexLineAndDisplayOfOneRecord) {
    receive(record());
    EXPECT_EQ(dataFile(), kHexLine + "\r\n");
    EXPECT_EQ(ui.txtLoggedDataDisplay.text(), kHexLine + "\r\n");
    EXPECT_EQ(ui.txtComsDisplay.text(), record());
    const char* hex[] = {"6000", "2000", "5000", "3000", "2001", "6000", "2000"};
    const char* dec[] = {"24576", "8192", "20480", "12288", "8193", "24576", "8192"};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(ui.txtHex[i].text(), hex[i]);
        EXPECT_EQ(ui.lblDec[i].caption(), dec[i]);
    }
    const char* ohms[] = {"80000", "40000", "20005", "100000", "20000"};
    const char* celsius[] = {"3.472", "18.393", "34.640", "-1.076", "34.646"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(ui.lblResistance[i].caption(), ohms[i]);
        EXPECT_EQ(ui.lblTemperature[i].caption(), celsius[i]);
    }
}

struct LayoutCase {
    const char* name;
    bool logTemperature;
    bool heaterOn;
    std::string line;
    friend void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }
};

class DataLineLayout : public ParserFixture, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(DataLineLayout, ExactBytes) {
    const LayoutCase& c = GetParam();
    ui.Option1[c.logTemperature ? 1 : 0].setSelected(true);
    flags.heaterOn = c.heaterOn;
    ui.txtHeatLevel.setText("120");
    receive(record());
    EXPECT_EQ(dataFile(), c.line + "\r\n");
    EXPECT_EQ(ui.txtLoggedDataDisplay.text(), c.line + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, DataLineLayout,
    ::testing::Values(LayoutCase{"HexHeaterOff", false, false, kHexLine},
                      LayoutCase{"HexHeaterOn", false, true,
                                 kStamp + "  0A1B 6000 2000 5000 3000 2001 6000 2000 120"},
                      LayoutCase{"TemperatureHeaterOff", true, false,
                                 kStamp + "  3.472 18.393 34.640 -1.076 34.646 0"},
                      LayoutCase{"TemperatureHeaterOn", true, true,
                                 kStamp + "  3.472 18.393 34.640 -1.076 34.646 120"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ParserFixture, NeitherOptionSelectedStillLogsTheRecordAsTemperatures) {
    ui.Option1[0].setSelected(false);
    receive(record());
    EXPECT_EQ(dataFile(), kStamp + "  3.472 18.393 34.640 -1.076 34.646 0\r\n");
}

TEST_F(ParserFixture, TwoRecordsInOneTickShareTheStamp) {
    ui.MSComm1.receive(record());
    ui.MSComm1.receive(record(" 0000 6000 2000 6000 6000 6000 6000 6000"));
    timeline.advance(2500); // the clock moves before the tick reads it
    poller.tick();
    const std::string stamp = "07-Dec-2026 13:51:12";
    EXPECT_EQ(dataFile(), stamp + "  0A1B 6000 2000 5000 3000 2001 6000 2000 0\r\n" + stamp +
                              "  0000 6000 2000 6000 6000 6000 6000 6000 0\r\n");
}

struct IgnoredLineCase {
    const char* name;
    std::string bytes;
    friend void PrintTo(const IgnoredLineCase& c, std::ostream* os) { *os << c.name; }
};

class NotARecord : public ParserFixture, public ::testing::WithParamInterface<IgnoredLineCase> {};

TEST_P(NotARecord, ShowsInTheSerialPaneOnly) {
    receive(GetParam().bytes);
    EXPECT_EQ(ui.txtComsDisplay.text(), GetParam().bytes);
    EXPECT_EQ(dataFile(), "");
    EXPECT_EQ(ui.txtHex[0].text(), "");
    EXPECT_TRUE(dialogs.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, NotARecord,
    ::testing::Values(
        IgnoredLineCase{"FortyTwo", std::string(":\x03T") + kPayload.substr(0, 39) + "\r\n"},
        IgnoredLineCase{"FortyFour", std::string(":\x03T") + kPayload + "0\r\n"},
        IgnoredLineCase{"WrongControlCharacter", std::string(":\x02T") + kPayload + "\r\n"},
        IgnoredLineCase{"NoColon", std::string(";\x03T") + kPayload + "\r\n"},
        IgnoredLineCase{"EmptyLine", "\r\n"},
        IgnoredLineCase{"LoneCrInsideTheLine", std::string(":\x03T") + kPayload.substr(0, 20) +
                                                   "\r" + kPayload.substr(20) + "\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ParserFixture, LineEndingInLoneCrWaitsAndThenFailsTheRecordTest) {
    receive(record().substr(0, 44)); // ends in CR alone
    EXPECT_EQ(dataFile(), "");
    EXPECT_EQ(parser.inputBuffer(), record().substr(0, 44));
    receive("\r\n");
    EXPECT_EQ(dataFile(), "");
    EXPECT_TRUE(parser.inputBuffer().empty());
}

TEST_F(ParserFixture, TwoLinesInOneBuffer) {
    receive("A\r\nB\r\n");
    EXPECT_TRUE(parser.inputBuffer().empty());
}

TEST_F(ParserFixture, BannerUpdatesTheFirmwareEveryTimeAndLogsNothing) {
    receive("Quorvane Serial Heatflow, Ver 2.31\r\n");
    EXPECT_EQ(ui.lblFirmwareID.caption(), "Ver 2.31");
    receive("x Serial Heatflow, Ver 2.40 Vermont\r\n");
    EXPECT_EQ(ui.lblFirmwareID.caption(), "Ver 2.40 Vermont");
    EXPECT_EQ(ui.txtEventLog.text(), "");
}

TEST_F(ParserFixture, SameSerialNumberTwiceLogsOnce) {
    receive("#HFN  0417 \r\n#HFN 0417\r\n");
    EXPECT_EQ(ui.lblInstrumentID.caption(), "0417");
    EXPECT_EQ(ui.txtEventLog.text(), "07-Dec-2026 13:51:10: Instrument S/N: 0417 detected.\r\n");
    EXPECT_EQ(eventFile(), "07-Dec-2026 13:51:10: Instrument S/N: 0417 detected.\r\n");
    receive("#HFN 0418\r\n");
    EXPECT_EQ(ui.lblInstrumentID.caption(), "0418");
}

TEST_F(ParserFixture, BadRecordIsSkippedAndTheNextOneParsed) {
    receive(record(" 0A1B 6000 2000 5G00 3000 2001 6000 2000") + record());
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dataFile(), kHexLine + "\r\n");
}

TEST_F(ParserFixture, FailedWriteEndsThePassAndTheNextTickParsesTheRest) {
    files.failing.emplace("/data/run.log", Failure(EROFS, "Read-only file system"));
    ui.MSComm1.receive(record() + record(" 0000 6000 2000 6000 6000 6000 6000 6000"));
    poller.tick();
    ASSERT_EQ(dialogs.messages().size(), 1u);
    EXPECT_EQ(dialogs.messages()[0].text,
              "logToFile: Error writing data to logfile.\r\n30  Read-only file system");
    EXPECT_EQ(ui.txtLoggedDataDisplay.text(), "");
    EXPECT_EQ(ui.txtHex[0].text(), ""); // the pass ended before the record was shown
    EXPECT_EQ(parser.inputBuffer(), record(" 0000 6000 2000 6000 6000 6000 6000 6000"));

    files.failing.clear();
    ui.MSComm1.receive("\r\n"); // any new input runs the next pass
    poller.tick();
    // The line that failed was held and goes out first: no record is lost.
    EXPECT_EQ(dataFile(),
              kHexLine + "\r\n" + kStamp + "  0000 6000 2000 6000 6000 6000 6000 6000 0\r\n");
}

TEST_F(ParserFixture, ClosedPortReadsNothing) {
    ui.MSComm1.close();
    ui.MSComm1.receive(record());
    poller.tick();
    EXPECT_EQ(ui.txtComsDisplay.text(), "");
    EXPECT_TRUE(parser.inputBuffer().empty());
}

TEST_F(ParserFixture, ClearingTheSerialPaneKeepsAnIncompleteLine) {
    receive(record().substr(0, 20));
    ui.txtComsDisplay.setText("");
    receive(record().substr(20));
    EXPECT_EQ(dataFile(), kHexLine + "\r\n");
}

TEST_F(ParserFixture, IncompleteTailIsBoundedAndALaterLineSurvives) {
    receive(std::string(40000, 'x'));
    EXPECT_EQ(parser.inputBuffer().size(), InputParser::kMaxIncompleteLine);
    receive("\r\n" + record());
    EXPECT_EQ(dataFile(), kHexLine + "\r\n");
}

TEST_F(ParserFixture, CompleteLinesWaitingForAPassAreNotCutByTheBound) {
    std::string many;
    for (int i = 0; i < 1000; ++i) {
        many += record();
    }
    parser.append(many);
    EXPECT_EQ(parser.inputBuffer().size(), many.size());
    parser.parseInput();
    EXPECT_EQ(files.appends(), 1000);
}

TEST_F(ParserFixture, PollDuringAnOpenBoxDoesNotStartASecondPassNorStackBoxes) {
    // The first record is bad: its box is open while two more polls arrive, each bringing
    // another bad record and a good one.
    int nested = 0;
    dialogs.whileOpen = [&] {
        if (nested++ < 2) {
            receive(record(" 0A1B 6000 6000 5000 3000 2001 6000 2000") + record());
        }
    };
    receive(record(" 0A1B 6000 6000 5000 3000 2001 6000 2000"));
    EXPECT_EQ(dialogs.maxOpenAtOnce(), 1);
    EXPECT_EQ(files.appends(), 2); // both good records, once each
    EXPECT_TRUE(parser.inputBuffer().empty());
}

TEST(EventStampTimeZone, StampIsUtcWhateverTheZone) {
    fakes::FakeTimeline timeline;
    fakes::FakeClock clock(timeline, 1796651470999); // 13:51:10.999 UTC
    ::setenv("TZ", "Pacific/Auckland", 1);
    ::tzset();
    fakes::FakeTextPane pane;
    fakes::FakeTextFiles files;
    fakes::FakeDialogs dialogs;
    SystemTime sysTime;
    EventLog log(clock, sysTime, pane, files, dialogs, "/e.log");
    log.logEvent("Program loaded.");
    ::unsetenv("TZ");
    ::tzset();
    EXPECT_EQ(pane.text(), "07-Dec-2026 13:51:10: Program loaded.\r\n");
}

// All three panes keep their last 800,000 characters above 1,000,000; the files behind the
// Events and logged-data panes keep every line.
TEST_F(ParserFixture, EveryPaneIsCutAboveAMillionCharactersTheFilesKeepAll) {
    ui.Option1[0].setSelected(true);
    struct PaneCase {
        const char* name;
        fakes::FakeTextPane& pane;
        std::function<void()> write;
        std::string written; // what the write appends to the pane
    };
    const std::string eventLine = kStamp + ": Sent wakeup command\r\n";
    PaneCase cases[] = {
        {"serial", ui.txtComsDisplay, [&] { receive(record()); }, record()},
        {"events", ui.txtEventLog, [&] { eventLog.logEvent("Sent wakeup command"); }, eventLine},
        {"logged data", ui.txtLoggedDataDisplay, [&] { receive(record()); }, kHexLine + "\r\n"},
    };
    for (PaneCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string before(kPaneLimit - c.written.size() + 1, 'x');
        c.pane.setText(before);
        const int replacements = c.pane.replacements();
        c.write();
        EXPECT_EQ(c.pane.length(), kPaneKeep);
        EXPECT_EQ(c.pane.text(),
                  (before + c.written).substr(before.size() + c.written.size() - kPaneKeep));
        EXPECT_EQ(c.pane.cuts(), 1);
        EXPECT_EQ(c.pane.replacements(), replacements); // the front dropped, no rewrite
    }
    EXPECT_EQ(dataFile(), kHexLine + "\r\n" + kHexLine + "\r\n");
    EXPECT_EQ(eventFile(), eventLine);
}

// The watch for missed records hears of every record decoded and logged, also of one held
// while the data log cannot be written (it is written later, in order).
TEST_F(ParserFixture, RecordLoggedIsToldForEveryDecodedRecord) {
    struct HookCase {
        const char* name;
        std::string input;
        bool fileFails;
        int told;
    };
    const HookCase cases[] = {
        {"good record", record(), false, 1},
        {"two records", record() + record(), false, 2},
        {"refused by the decoder", record(" 0A1B 6000 6000 5000 3000 2001 6000 2000"), false, 0},
        {"held while the data log is not writable", record(), true, 1},
        {"no record", "#HFN 0417\r\n", false, 0},
    };
    for (const HookCase& c : cases) {
        SCOPED_TRACE(c.name);
        int told = 0;
        parser.onRecordLogged([&] { ++told; });
        files.failing.clear();
        if (c.fileFails) {
            files.failing.emplace("/data/run.log", Failure(EROFS, "Read-only file system"));
        }
        receive(c.input);
        EXPECT_EQ(told, c.told);
    }
    files.failing.clear();
}

} // namespace
} // namespace quorvane::testing
