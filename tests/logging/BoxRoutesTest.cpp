// How boxes reach the operator: after the handler that raised them, never stacked, at
// most one per failure at start-up, and held back to the events when they would repeat.
#include "fakes/FakeClock.h"
#include "fakes/FakeDialogs.h"
#include "fakes/FakeEventPump.h"
#include "logging/BoxHoldingPump.h"
#include "logging/DeferredDialogs.h"
#include "logging/MessageGate.h"
#include "logging/RepeatedFailureFilter.h"
#include "logging/ThrottledDialogs.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(DeferredDialogs, EveryBoxWaitsForTheEventLoopAndNoneOpensInsideAHeldPass) {
    fakes::FakeDialogs boxes;
    fakes::FakeEventPump pump;
    DeferredDialogs dialogs(boxes, pump);
    dialogs.showMessage("bad record", "Quorvane");
    dialogs.showMessage("logfile", "Quorvane");
    EXPECT_TRUE(boxes.texts().empty());
    EXPECT_EQ(pump.postedCalls(), 1u);
    // A handler's own pass of the waiting events (Start Run's) shows none of them.
    BoxHoldingPump handlerPump(pump, dialogs);
    pump.pending = [&] { pump.runPostedOnce(); };
    handlerPump.processPendingEvents();
    EXPECT_TRUE(boxes.texts().empty());
    pump.pending = nullptr;
    // While the first one is open a handler queues another, which the loop runs later.
    boxes.whileOpen = [&] {
        boxes.whileOpen = nullptr;
        dialogs.showMessage("third", "Quorvane");
    };
    pump.runPosted();
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{"bad record", "logfile", "third"}));
    EXPECT_EQ(boxes.maxOpenAtOnce(), 1);
    // Shown now, when asked (the load, once its commands have gone out).
    dialogs.showMessage("port", "Quorvane");
    dialogs.showQueuedNow();
    EXPECT_EQ(boxes.texts().back(), "port");
    EXPECT_EQ(dialogs.queued(), 0u);
}

TEST(RepeatedFailureFilter, WhileActiveTheSameFailureIsShownOnce) {
    fakes::FakeDialogs boxes;
    RepeatedFailureFilter filter(boxes);
    std::vector<std::string> heldBack;
    filter.onHeldBack([&](const std::string& text) { heldBack.push_back(text); });
    const std::string gone = "\r\n2  No such file or directory";
    filter.begin();
    filter.showMessage("SendCommand: x\r\nCommand   :#HFN" + gone, "Quorvane");
    filter.showMessage("SendCommand: x\r\nCommand   :#HFH" + gone, "Quorvane");
    filter.showMessage("Error setting serial port:COM2" + gone, "Quorvane");
    filter.showMessage("logToEventFile: y\r\n30  Read-only file system", "Quorvane");
    filter.end();
    filter.showMessage("SendCommand: x\r\nCommand   :#HFN" + gone, "Quorvane");
    EXPECT_EQ(boxes.texts(),
              (std::vector<std::string>{"SendCommand: x\r\nCommand   :#HFN" + gone,
                                        "logToEventFile: y\r\n30  Read-only file system",
                                        "SendCommand: x\r\nCommand   :#HFN" + gone}));
    EXPECT_EQ(heldBack, (std::vector<std::string>{"SendCommand: x\r\nCommand   :#HFH" + gone,
                                                  "Error setting serial port:COM2" + gone}));
}

TEST(MessageGate, ClosedDownItShowsNoBoxAndReportsTheTextInstead) {
    fakes::FakeDialogs boxes;
    MessageGate gate(boxes);
    std::vector<std::string> heldBack;
    gate.onHeldBack([&](const std::string& text) { heldBack.push_back(text); });
    gate.closeDown();
    gate.showMessage("SendCommand: Error", "Quorvane");
    EXPECT_TRUE(boxes.texts().empty());
    EXPECT_EQ(heldBack, std::vector<std::string>{"SendCommand: Error"});
}

TEST(MessageGate, ABoxOpenedWhileAnotherIsOpenIsHeldBackAndReported) {
    fakes::FakeDialogs boxes;
    MessageGate gate(boxes);
    std::vector<std::string> heldBack;
    gate.onHeldBack([&](const std::string& text) {
        heldBack.push_back(text);
        gate.showMessage("reporting failed too", "Quorvane"); // dropped, no recursion
    });
    boxes.whileOpen = [&] {
        gate.showMessage("second", "Quorvane");
        gate.showMessage("third", "Quorvane");
    };
    gate.showMessage("first", "Quorvane");
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"first"});
    EXPECT_EQ(heldBack, (std::vector<std::string>{"second", "third"}));
    EXPECT_EQ(boxes.maxOpenAtOnce(), 1);
    boxes.whileOpen = nullptr;
    gate.showMessage("later", "Quorvane");
    EXPECT_EQ(boxes.texts().back(), "later");
}

TEST(ThrottledDialogs, RepeatsWithinTheQuietPeriodGoToTheEventsInstead) {
    fakes::FakeTimeline timeline;
    fakes::FakeClock clock(timeline);
    fakes::FakeDialogs boxes;
    ThrottledDialogs throttled(boxes, clock, std::chrono::seconds(60));
    int heldBack = 0;
    throttled.onHeldBack([&](const std::string&) { ++heldBack; });
    throttled.showMessage("bad record", "Quorvane");
    timeline.advance(59000);
    throttled.showMessage("bad record", "Quorvane");
    timeline.advance(1000);
    throttled.showMessage("bad record", "Quorvane");
    EXPECT_EQ(boxes.messages().size(), 2u);
    EXPECT_EQ(heldBack, 1);
}

} // namespace
} // namespace quorvane
