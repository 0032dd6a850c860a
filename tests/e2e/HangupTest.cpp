#include "RunSteps.h"

#include <gtest/gtest.h>

namespace quorvane::e2e {
namespace {

// The simulator's log from its second pty on (after the restart).
std::vector<std::string> afterRestart(const std::vector<std::string>& events) {
    std::size_t ptys = 0;
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (events[i].rfind("PTY ", 0) == 0 && ++ptys == 2) {
            return {events.begin() + static_cast<std::ptrdiff_t>(i) + 1, events.end()};
        }
    }
    return {};
}

// The payload of the last good record written before the pty was closed.
std::string lastBeforeHangup(const std::vector<std::string>& events) {
    std::string last;
    for (const std::string& e : events) {
        if (e == "HANGUP") {
            return last;
        }
        if (e.rfind("SENT-GOOD ", 0) == 0) {
            last = e.substr(10);
        }
    }
    return {};
}

// A run whose probe goes away after three records and comes back 0.8 s later on a new
// pty behind the same link; Finish after two records of the new session (a third would
// end that session too).
void runThroughHangup(E2eRig& rig) {
    ASSERT_TRUE(startLoggingRun(rig));
    ASSERT_TRUE(E2eRig::runUntil(
        [&] { return countOf(afterRestart(rig.simulator->logEvents()), "CMD T") >= 2; }, 12000));
    finishLoggingRun(rig, 600);
}

const std::vector<std::string> kHangupArgs = {"--hangup-after", "3", "--restart",
                                              "--restart-delay-ms", "800"};

TEST(Hangup, DeviceBackMidRunIsReopenedByTheNextDataRequestAndLoggingGoesOn) {
    E2eRig rig(kHangupArgs);
    runThroughHangup(rig);
    if (HasFatalFailure()) {
        return;
    }
    const std::string events = rig.events();
    EXPECT_EQ(occurrences(events, "Serial port lost: COM2 "), 1u) << events;
    // The port was opened again by a data request, not by a Coms Check or a menu.
    const std::vector<std::string> restarted = afterRestart(rig.simulator->logEvents());
    ASSERT_FALSE(restarted.empty());
    EXPECT_EQ(restarted.front(), "CMD T");
    EXPECT_EQ(occurrences(events, "Configured Serial Port: "), 1u);
    EXPECT_TRUE(rig.view().MSComm1->isOpen());
    EXPECT_TRUE(rig.dialogs.texts().empty()) << rig.dialogs.texts().front();

    // The records of both sessions, once each, in order, in the one data file under one
    // header. The record on the line when the device went away may be missing (see
    // RecordReadJustBeforeTheHangupIsLogged); nothing else may.
    const std::vector<std::string> sent = rig.simulator->goodPayloads();
    ASSERT_GE(sent.size(), 5u);
    std::vector<std::string> withoutInFlight = sent;
    std::erase(withoutInFlight, lastBeforeHangup(rig.simulator->logEvents()));
    ASSERT_EQ(withoutInFlight.size(), sent.size() - 1);
    const std::vector<std::string> logged = loggedPayloads(dataFile(rig));
    EXPECT_TRUE(logged == sent || logged == withoutInFlight)
        << ::testing::PrintToString(logged) << "\nsent:\n"
        << ::testing::PrintToString(sent);
    EXPECT_EQ(occurrences(E2eRig::read(dataFile(rig)), "# Instrument: "), 1u);
    EXPECT_GT(recordNumber(logged.back()), 3);
}

// The device's last answer was read by the port before the hang-up was noticed; the port
// keeps it when it closes on the lost device, so the record still reaches the data log.
TEST(Hangup, RecordReadJustBeforeTheHangupIsLogged) {
    E2eRig rig(kHangupArgs);
    runThroughHangup(rig);
    if (HasFatalFailure()) {
        return;
    }
    EXPECT_EQ(loggedPayloads(dataFile(rig)), rig.simulator->goodPayloads());
}

} // namespace
} // namespace quorvane::e2e
