// SPDX-License-Identifier: GPL-3.0-or-later
// The output scheduler: the packets it formats, its slots, and the scheduler itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <iterator>
#include <limits>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "core/clock.h"
#include "core/geo.h"
#include "core/version.h"
#include "support/recording_host.h"
#include "transmit/output_scheduler.h"
#include "transmit/position_packet.h"
#include "transmit/schedule_slots.h"

namespace plovane {
namespace {

const CDateTime kStart(2026, 3, 14, 12, 0, 0);

// The own station the tests report: 49 03.50 N, 72 01.75 W, fixed, with PHG and a comment.
PositionReportData FixedStation() {
    PositionReportData r;
    r.call = "N0CALL";
    r.hasPosition = true;
    r.colatitude = ParseLatitude("4903.50N");
    r.longitude = ParseLongitude("07201.75W");
    r.symbolTable = '/';
    r.symbolCode = '-';
    r.hasPhg = true;
    r.phgPower = 25;        // code 5
    r.phgHeight = 20;       // code 1
    r.phgGain = 3;          // dB
    r.phgDirectivity = 90;  // code 2
    r.comment = "comment";
    return r;
}

const CDateTime kUtc(2026, 1, 9, 23, 45, 30);

// Our own reports as the scheduler sends them are checked below; these are the other shapes.
TEST(PositionPacket, FormatsEachReportShapeByteForByte) {
    auto moving = [](int speed, int course, const char* call, bool phg) {
        PositionReportData r = FixedStation();
        r.call = call;
        r.moving = true;
        r.speed = static_cast<int16_t>(speed);
        r.course = static_cast<int16_t>(course);
        r.hasPhg = phg;
        r.symbolCode = '>';
        r.comment.clear();
        return r;
    };
    PositionReportData noComment = FixedStation();
    noComment.comment.clear();
    PositionReportData southEast = noComment;
    southEast.hasPhg = false;
    southEast.colatitude = ParseLatitude("3352.07S");
    southEast.longitude = ParseLongitude("15112.34E");
    // Ambiguity blanks digits from the right; four blanks (one degree) are the most APRS carries.
    auto ambiguous = [&](int level) {
        PositionReportData r = noComment;
        r.hasPhg = false;
        r.ambiguity = static_cast<int16_t>(level);
        return r;
    };
    struct Case {
        const char* name;
        PositionReportData record;
        bool mobile;
        const char* expected;
    } cases[] = {
        {"fixed, no comment", noComment, false, "=4903.50N/07201.75W-PHG5132"},
        {"southern and eastern hemispheres", southEast, false, "=3352.07S/15112.34E-"},
        {"ambiguity 2", ambiguous(2), false, "=4903.  N/07201.  W-"},
        {"ambiguity 5", ambiguous(5), false, "=49  .  N/072  .  W-"},
        {"mobile, moving", moving(36, 88, "N0CALL", true), true,
         "@092345z4903.50N/07201.75W>088/036"},
        {"own call moving while not mobile keeps PHG (case ignored)",
         moving(36, 88, "n0call", true), false, "@092345z4903.50N/07201.75W>PHG5132"},
        {"another station moving gets course and speed, limited",
         moving(1500, -20, "W1AW-9", false), false, "@092345z4903.50N/07201.75W>000/999"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatPositionReport(c.record, "N0CALL", c.mobile, kUtc), c.expected);
    }
    EXPECT_EQ(FormatStatusReport("On the air", kUtc), ">092345zOn the air");
    // PHG digits stay digits: no log2 of 0, and values beyond one digit are limited to 9.
    EXPECT_EQ(FormatPhg(0, 0, 0, 0), "PHG0000");
    EXPECT_EQ(FormatPhg(144, 10240, 12, 405), "PHG9999");
    EXPECT_EQ(FormatPhg(30, 60, 0, 0), "PHG5300");  // 60/10 = 6: log2 2.58 + 0.5 -> 3
}

CDateTime At(int64_t seconds) {
    return kStart + CDateTimeSpan(0, 0, 0, static_cast<int32_t>(seconds));
}

int64_t Offset(const ScheduleSlots& slots, int slot) {
    return SecondsBetween(kStart, slots.slot(slot).nextTime);
}

// A day stepped through second by second as the output thread would: the fixed rate decays
// to half-hourly, the digipeat check fires once and disarms.
TEST(ScheduleSlots, FiringADayDecaysTheRateAndTheDigipeatCheckFiresOnce) {
    ScheduleSlots slots(kStart, 14120000);
    slots.Arm(kPositionSlot, 0.25f, 2, 30, kStart);
    slots.Arm(kDigipeatCheckSlot, 0.25f, 1, 0.25f, kStart);
    std::vector<int64_t> positions;
    std::vector<int64_t> checks;
    for (int64_t s = 1; s <= 86400; ++s) {
        for (int slot : slots.FireDue(At(s)))
            (slot == kPositionSlot ? positions : checks).push_back(s);
    }
    ASSERT_EQ(checks.size(), 1u);
    EXPECT_NEAR(checks[0], 15, 5);
    EXPECT_EQ(slots.slot(kDigipeatCheckSlot).cap, 0.0f);

    // 15 s, 30 s, 1, 2, 4, 8, 16 minutes, then every 30 minutes, each +-5 s.
    const int64_t nominal[] = {15, 30, 60, 120, 240, 480, 960, 1800};
    ASSERT_GT(positions.size(), 50u);
    int64_t previous = 0;
    for (size_t i = 0; i < positions.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(positions[i] - previous, nominal[std::min<size_t>(i, 7)], 5);
        previous = positions[i];
    }
    EXPECT_EQ(slots.slot(kPositionSlot).delay, 30.0f);
}

TEST(ScheduleSlots, BadSlotNumbersAndAbsurdDelaysAreHarmless) {
    ScheduleSlots slots(kStart, 1);
    slots.Arm(-1, 1, 1, 1, kStart);
    slots.Arm(kSlotCount, 1, 1, 1, kStart);
    EXPECT_FALSE(slots.IsDue(kSlotCount, At(1000000)));
    EXPECT_EQ(slots.WaitSeconds(kStart), kMaxWaitSeconds);
    // An infinite or huge delay waits like a disarmed slot instead of overflowing.
    slots.Arm(kPositionSlot, 1e30f, 1, 1e30f, kStart);
    EXPECT_GT(Offset(slots, kPositionSlot), int64_t{kDisarmedDays} * 86400 - 10);
    slots.Arm(kPositionSlot, std::numeric_limits<float>::quiet_NaN(), 1, 1, kStart);
    EXPECT_EQ(Offset(slots, kPositionSlot), int64_t{kDisarmedDays} * 86400);
}

class FakeStations : public StationSource {
  public:
    bool GetPositionReportData(std::string_view call, PositionReportData& out) const override {
        std::lock_guard lock(mutex);
        out = own;
        return call == own.call;
    }
    std::string OwnCall() const override {
        std::lock_guard lock(mutex);
        return own.call;
    }
    mutable std::mutex mutex;
    PositionReportData own = FixedStation();
};

class CountingSender : public PendingSender {
  public:
    void SendPending(std::string_view filter) override { calls += filter.empty(); }
    std::atomic<int> calls{0};
};

// Records each queued text with the second (since kStart) it was queued at.
class RecordingPort : public OutputPort {
  public:
    explicit RecordingPort(const Clock& clock) : clock_(clock) {}
    bool IsOpen() const override { return open; }
    void QueueText(const std::string& text, int, int) override {
        std::lock_guard lock(mutex_);
        sent_.push_back({SecondsBetween(kStart, clock_.Now()), text});
    }
    struct Sent {
        int64_t second;
        std::string text;
    };
    // Texts whose first character is one of `types` ("=@/" positions, ">" status).
    std::vector<Sent> Of(const std::string& types = "") const {
        std::lock_guard lock(mutex_);
        std::vector<Sent> out;
        std::copy_if(sent_.begin(), sent_.end(), std::back_inserter(out), [&](const Sent& s) {
            return types.empty() || types.find(s.text[0]) != std::string::npos;
        });
        return out;
    }
    std::atomic<bool> open{true};

  private:
    const Clock& clock_;
    mutable std::mutex mutex_;
    std::vector<Sent> sent_;
};

// One own station: clock, stores, ports (the TNC open, the network closed) and the
// scheduler, transmitting position and status.
struct Rig {
    Rig() {
        stations.own.lastInfo = "On the air";
        settings.MyCall = "N0CALL";
        settings.destination = kOwnDestination;
        settings.TransmitPosits = settings.TransmitStatus = true;
        scheduler.Attach(&stations, &messages);
        scheduler.SetPorts(&tnc, &network);
        network.open = false;
    }
    void Start(COutputScheduler::ThreadMode mode = COutputScheduler::ThreadMode::kManual) {
        scheduler.ApplySettings(settings);
        ASSERT_TRUE(scheduler.StartOutput(mode));
        scheduler.MarkReadyToTransmit();
    }
    // Lets `seconds` pass in one-second steps, running the due slots after each.
    void Elapse(int64_t seconds) {
        for (int64_t i = 0; i < seconds; ++i) {
            clock.AdvanceSeconds(1);
            scheduler.RunDueSlots();
        }
    }

    CStationSettings settings;
    FakeClock clock{kStart};
    testing::RecordingHost host;
    FakeStations stations;
    CountingSender messages;
    RecordingPort tnc{clock};
    RecordingPort network{clock};
    COutputScheduler scheduler{clock, host};
};

class OutputSchedulerTest : public ::testing::Test, protected Rig {};

TEST(OutputScheduler, MobileStationBeaconsAtItsFixedRate) {
    struct Case {
        float rate;
        int64_t intervalSeconds;
    } cases[] = {
        {2.5f, 150},
        {0.0f, 600},  // not set: ten minutes
        {0.01f, 30},  // a hand-edited rate below half a minute would flood the channel
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rate);
        Rig rig;
        rig.settings.Mobile = true;
        rig.settings.MobilePositRate = c.rate;
        rig.stations.own.moving = true;
        rig.Start();
        rig.Elapse(10 * c.intervalSeconds);
        const auto positions = rig.tnc.Of("/@");
        ASSERT_GE(positions.size(), 9u);
        ASSERT_LE(positions.size(), 11u);
        EXPECT_NEAR(positions[1].second - positions[0].second, c.intervalSeconds, 5);
        // Moving at speed 0: the "/" form with a time stamp, course and speed.
        EXPECT_EQ(positions[0].text.substr(0, 1) + positions[0].text.substr(8),
                  "/4903.50N/07201.75W-000/000/comment\r");
    }
}

TEST_F(OutputSchedulerTest, TncGetsTheBareReportAndTheNetworkOurHeader) {
    network.open = true;
    settings.TransmitPosits = settings.TransmitStatus = false;  // the commands alone
    clock.SetBias(-60);                                         // UTC is an hour behind local time
    Start();
    scheduler.SendPosition();
    scheduler.SendStatus("");
    scheduler.SendStatus("QRV 145.500");
    const std::vector<std::string> bare = {
        "=4903.50N/07201.75W-PHG5132/comment\r",
        ">141100zOn the air\r",
        ">141100zQRV 145.500\r",
    };
    ASSERT_EQ(tnc.Of().size(), 3u);
    ASSERT_EQ(network.Of().size(), 3u);
    for (size_t i = 0; i < bare.size(); ++i) {
        EXPECT_EQ(tnc.Of()[i].text, bare[i]);
        EXPECT_EQ(network.Of()[i].text, "N0CALL>APQ102,TCPIP*:" + bare[i]);
    }
    EXPECT_EQ(scheduler.FormatPositionPacket("N0CALL") + "\r", bare[0]);
    EXPECT_EQ(scheduler.FormatPositionPacket("W1AW"), "");
    // The TNC's packets were not heard digipeated: one notice about 15 s later.
    Elapse(600);
    EXPECT_EQ(host.notices(), std::vector<std::string>{"No digipeat of your packet was heard."});
}

// The transmit settings silence the schedule but not the menu commands; NOCALL sends nothing
// at all. The slots decay all the same: 15 s ... 8 min fired, 16 min next.
TEST(OutputScheduler, TransmitSettingsAndNocallSilenceTheSchedule) {
    struct Case {
        const char* call;
        bool posits;
        size_t positions, statuses, byCommand;
    } cases[] = {{"N0CALL", true, 6, 0, 2}, {"N0CALL", false, 0, 7, 2}, {"NOCALL", true, 0, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.call) + (c.posits ? " posits" : " status"));
        Rig rig;
        rig.settings.MyCall = c.call;
        rig.settings.TransmitPosits = c.posits;
        rig.settings.TransmitStatus = !c.posits;
        rig.Start();
        rig.scheduler.SendStatusText("Plovane v1.02 online...");
        rig.Elapse(1000);
        EXPECT_EQ(rig.tnc.Of("=").size(), c.positions);
        const auto status = rig.tnc.Of(">");
        ASSERT_EQ(status.size(), c.statuses);
        if (!status.empty()) {
            EXPECT_EQ(status[0].text, ">141200zPlovane v1.02 online...\r");
        }
        EXPECT_EQ(rig.scheduler.SlotState(kPositionSlot)->delay, 16.0f);
        const size_t before = rig.tnc.Of().size();
        rig.scheduler.SendPosition();
        rig.scheduler.SendStatus("");
        EXPECT_EQ(rig.tnc.Of().size(), before + c.byCommand);
    }
}

// A query answered by the message store: position and status at once, or the position after
// the spare slot's short random delay.
TEST_F(OutputSchedulerTest, QueriesAreAnsweredAtOnceOrAfterTheSpareDelay) {
    Start();
    Elapse(1000);  // the beacons have slowed down to one in 16 minutes
    const size_t positions = tnc.Of("=").size(), statuses = tnc.Of(">").size();
    scheduler.AnswerQuery(QueryAnswer::kPosition);
    scheduler.AnswerQuery(QueryAnswer::kStatus);
    EXPECT_EQ(tnc.Of().back().text, ">141216zOn the air\r");
    EXPECT_EQ(tnc.Of("=").size(), positions + 1);
    EXPECT_EQ(tnc.Of(">").size(), statuses + 1);
    scheduler.AnswerQuery(QueryAnswer::kPositionAfterDelay);  // 15 s, five either way
    Elapse(9);
    EXPECT_EQ(tnc.Of("=").size(), positions + 1);
    Elapse(12);
    EXPECT_EQ(tnc.Of("=").size(), positions + 2);
}

// Nothing is scheduled before the own record is ready; without a position or a status text
// the slots keep their schedule and send nothing.
TEST_F(OutputSchedulerTest, NothingGoesOutBeforeTheOwnRecordHasIt) {
    stations.own.hasPosition = false;
    stations.own.lastInfo.clear();
    scheduler.ApplySettings(settings);
    ASSERT_TRUE(scheduler.StartOutput(COutputScheduler::ThreadMode::kManual));
    Elapse(300);
    EXPECT_GE(messages.calls.load(), 1);  // the message slot does not wait
    scheduler.MarkReadyToTransmit();
    scheduler.SendPosition();
    scheduler.SendStatus("");
    Elapse(1000);
    EXPECT_TRUE(tnc.Of().empty());
    scheduler.SendStatusText("Plovane v1.02 online...");  // brings its own text
    EXPECT_EQ(tnc.Of(">").size(), 1u);
}

class FailingThreadScheduler : public COutputScheduler {
  public:
    using COutputScheduler::COutputScheduler;

  protected:
    std::thread CreateOutputThread() override {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    }
};

// Before the start there are no slots to arm, fire or read.
TEST(OutputSchedulerStart, NoSlotsBeforeTheStartAndAThreadFailureIsReported) {
    FakeClock clock{kStart};
    testing::RecordingHost host;
    FailingThreadScheduler scheduler{clock, host};
    scheduler.ArmSlot(kPositionSlot, 0.25f, 2, 30);
    scheduler.RunDueSlots();
    EXPECT_FALSE(scheduler.SlotState(kPositionSlot).has_value());
    EXPECT_FALSE(scheduler.StartOutput());
    EXPECT_TRUE(host.boxes().empty());  // the caller reports it
    EXPECT_FALSE(scheduler.IsRunning());
}

TEST(OutputSchedulerThreads, ArmingFromOtherThreadsWhileRunningThenStopJoinsPromptly) {
    Rig rig;
    rig.network.open = true;
    rig.Start(COutputScheduler::ThreadMode::kOutputThread);
    COutputScheduler& scheduler = rig.scheduler;
    auto worker = [&](int id) {
        for (int i = 0; i < 300; ++i) {
            scheduler.ArmSlot(kSpareSlot, 0.25f, 2, 30);
            scheduler.ArmMessageSlot();
            if (i % 30 == id) {
                scheduler.RearmPositionAndStatus();
                scheduler.SendPosition();
                scheduler.ApplySettings(rig.settings);
                scheduler.SetDigipeatHeard();
            }
            rig.clock.AdvanceSeconds(1);
        }
    };
    std::thread other(worker, 0);
    worker(15);
    other.join();
    // Let the slots come due and wake the thread: it must fire the message slot itself.
    rig.clock.AdvanceSeconds(3600);
    scheduler.Wake();
    for (int i = 0; i < 500 && rig.messages.calls.load() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_GT(rig.messages.calls.load(), 0);
    // The thread is now waiting for minutes; StopOutput must wake and join it at once.
    const auto before = std::chrono::steady_clock::now();
    scheduler.StopOutput();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    EXPECT_FALSE(scheduler.IsRunning());
}

}  // namespace
}  // namespace plovane
