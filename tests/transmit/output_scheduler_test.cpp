#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "core/clock.h"
#include "core/geo.h"
#include "core/msvc_rand.h"
#include "core/version.h"
#include "own_station.h"
#include "support/recording_host.h"
#include "transmit/output_scheduler.h"

namespace plovane {
namespace {

const CDateTime kStart(2026, 3, 14, 12, 0, 0);
constexpr const char* kNoDigipeat = "No digipeat of your packet was heard.";

class FakeStations : public StationSource {
  public:
    explicit FakeStations(PositionReportData own) : own_(std::move(own)) {}
    bool GetPositionReportData(std::string_view call, PositionReportData& out) const override {
        std::lock_guard lock(mutex_);
        if (call != own_.call)
            return false;
        out = own_;
        return true;
    }
    std::string OwnCall() const override {
        std::lock_guard lock(mutex_);
        return own_.call;
    }
    void Update(const std::function<void(PositionReportData&)>& change) {
        std::lock_guard lock(mutex_);
        change(own_);
    }

  private:
    mutable std::mutex mutex_;
    PositionReportData own_;
};

class CountingSender : public PendingSender {
  public:
    void SendPending(std::string_view filter) override {
        if (filter.empty())
            ++calls;
    }
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
    std::vector<Sent> sent() const {
        std::lock_guard lock(mutex_);
        return sent_;
    }
    // Texts whose first character is one of `types` ("=@/" positions, ">" status).
    std::vector<Sent> Of(const std::string& types) const {
        std::vector<Sent> out;
        for (const Sent& s : sent()) {
            if (!s.text.empty() && types.find(s.text[0]) != std::string::npos)
                out.push_back(s);
        }
        return out;
    }
    std::atomic<bool> open{true};

  private:
    const Clock& clock_;
    mutable std::mutex mutex_;
    std::vector<Sent> sent_;
};

PositionReportData OwnRecord() {
    PositionReportData r = testing::FixedStation();
    r.lastInfo = "On the air";
    return r;
}

CStationSettings OwnSettings() {
    CStationSettings s;
    s.MyCall = "N0CALL";
    s.destination = kOwnDestination;
    s.TransmitPosits = true;
    s.TransmitStatus = true;
    return s;
}

// One own station: clock, stores, ports (the TNC open, the network closed) and the
// scheduler, configured from `settings` and `own`.
struct Rig {
    explicit Rig(CStationSettings s = OwnSettings(), PositionReportData own = OwnRecord())
        : settings(std::move(s)), stations(std::move(own)) {
        scheduler.Attach(&stations, &messages);
        scheduler.SetPorts(&tnc, &network);
        network.open = false;
        scheduler.ApplySettings(settings);
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

// The tests below use one rig's members by their plain names.
class OutputSchedulerTest : public ::testing::Test, protected Rig {};

TEST_F(OutputSchedulerTest, FixedStationBeaconsOnTheDecayingSchedule) {
    Start();
    Elapse(6000);
    const auto positions = tnc.Of("=");
    // 12:00:15, 12:00:45, 12:01:45, 12:03:45, 12:07:45, 12:15:45, 12:31:45, 13:01:45,
    // 13:31:45. Each interval is measured from the actual firing, so each interval (not the
    // sum of them) lies within five seconds of its nominal length.
    const int64_t intervals[] = {15, 30, 60, 120, 240, 480, 960, 1800, 1800};
    ASSERT_EQ(positions.size(), 9u);
    int64_t previous = 0;
    for (size_t i = 0; i < positions.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_NEAR(positions[i].second - previous, intervals[i], 5);
        previous = positions[i].second;
        EXPECT_EQ(positions[i].text, "=4903.50N/07201.75W-PHG5132/comment\r");
    }
    // Status and spare slot decay alike; the message slot starts at 30 s.
    EXPECT_EQ(tnc.Of(">").size(), 9u);
    EXPECT_GE(messages.calls.load(), 8);
}

TEST_F(OutputSchedulerTest, MobileStationBeaconsAtItsFixedRate) {
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
        CStationSettings mobile = OwnSettings();
        mobile.Mobile = true;
        mobile.MobilePositRate = c.rate;
        PositionReportData moving = OwnRecord();
        moving.moving = true;
        Rig rig(mobile, moving);
        rig.Start();
        rig.Elapse(10 * c.intervalSeconds);
        // Ten intervals, give or take the jitter that adds up over them.
        const auto positions = rig.tnc.Of("/@");
        ASSERT_GE(positions.size(), 9u);
        ASSERT_LE(positions.size(), 11u);
        int64_t previous = 0;
        for (const auto& p : positions) {
            EXPECT_NEAR(p.second - previous, c.intervalSeconds, 5);
            previous = p.second;
        }
        // Moving at speed 0: the "/" form with a time stamp, course and speed.
        EXPECT_EQ(positions[0].text.substr(0, 1), "/");
        EXPECT_EQ(positions[0].text.substr(8), "4903.50N/07201.75W-000/000/comment\r");
    }
}

TEST_F(OutputSchedulerTest, StartArmsSlotsWithTheJitterOfTheStartTimeSeed) {
    clock.Set(CDateTime(2026, 3, 14, 12, 34, 56));
    Start();
    // Slots 0, 1, 2, 3 are armed in this order, drawing from a generator seeded with
    // 14123456 (day 14, 12:34:56).
    MsvcRand rand(14123456);
    const int baseSeconds[] = {15, 15, 30, 15};
    for (int slot = 0; slot < 4; ++slot) {
        SCOPED_TRACE(slot);
        const int r = rand.Next() * 10 / 32767;
        const auto state = scheduler.SlotState(slot);
        ASSERT_TRUE(state.has_value());
        EXPECT_EQ(SecondsBetween(clock.Now(), state->nextTime), baseSeconds[slot] + r - 5);
    }
    EXPECT_GT(SecondsBetween(clock.Now(), scheduler.SlotState(kDigipeatCheckSlot)->nextTime),
              int64_t{kDisarmedDays} * 86400 - 1);
}

TEST_F(OutputSchedulerTest, DigipeatCheckAfterEachTncPacket) {
    settings.TransmitPosits = false;
    settings.TransmitStatus = false;
    Start();

    // Not heard: one notice, about 15 s later, then the check is disarmed.
    scheduler.SendPosition();
    Elapse(9);
    EXPECT_TRUE(host.notices().empty());
    Elapse(600);
    EXPECT_EQ(host.notices(), std::vector<std::string>{kNoDigipeat});
    EXPECT_EQ(scheduler.SlotState(kDigipeatCheckSlot)->cap, 0.0f);

    // Heard in time: nothing.
    host.Clear();
    scheduler.SendStatus("test");
    Elapse(5);
    scheduler.SetDigipeatHeard();
    Elapse(600);
    EXPECT_TRUE(host.notices().empty());

    // A new packet to the TNC forgets the earlier digipeat.
    scheduler.SendPosition();
    EXPECT_FALSE(scheduler.DigipeatHeard());

    // Only the network took it: no check armed, no notice.
    Elapse(600);
    host.Clear();
    tnc.open = false;
    network.open = true;
    const uint64_t armings = scheduler.SlotState(kDigipeatCheckSlot)->generation;
    scheduler.SendPosition();
    EXPECT_EQ(network.Of("N").size(), 1u);
    EXPECT_EQ(scheduler.SlotState(kDigipeatCheckSlot)->generation, armings);
    Elapse(600);
    EXPECT_TRUE(host.notices().empty());
}

TEST_F(OutputSchedulerTest, TncGetsTheBareReportAndTheNetworkOurHeader) {
    network.open = true;
    clock.SetBias(-60);  // UTC is an hour behind local time
    Start();
    scheduler.SendPosition();
    scheduler.SendStatus("");
    scheduler.SendStatus("QRV 145.500");
    const std::vector<std::string> bare = {
        "=4903.50N/07201.75W-PHG5132/comment\r",
        ">141100zOn the air\r",
        ">141100zQRV 145.500\r",
    };
    ASSERT_EQ(tnc.sent().size(), 3u);
    ASSERT_EQ(network.sent().size(), 3u);
    for (size_t i = 0; i < bare.size(); ++i) {
        EXPECT_EQ(tnc.sent()[i].text, bare[i]);
        EXPECT_EQ(network.sent()[i].text, "N0CALL>APQ102,TCPIP*:" + bare[i]);
    }
    EXPECT_EQ(scheduler.FormatPositionPacket("N0CALL"), "=4903.50N/07201.75W-PHG5132/comment");
    EXPECT_EQ(scheduler.FormatPositionPacket("W1AW"), "");
}

TEST_F(OutputSchedulerTest, NocallSendsNothingButKeepsTheSchedule) {
    settings.MyCall = "NOCALL";
    network.open = true;
    Start();
    scheduler.SendPosition();
    scheduler.SendStatus("hello");
    scheduler.SendStatusText("Plovane v1.02 online...");
    Elapse(3600);
    EXPECT_TRUE(tnc.sent().empty());
    EXPECT_TRUE(network.sent().empty());
    // The slots went on decaying as if they had sent: 15 s ... 16 min, then 30 min.
    EXPECT_EQ(scheduler.SlotState(kPositionSlot)->delay, 30.0f);
    EXPECT_EQ(scheduler.SlotState(kStatusSlot)->delay, 30.0f);
}

TEST_F(OutputSchedulerTest, TransmitSettingsSilenceTheScheduleButNotTheCommands) {
    struct Case {
        bool posits, status;
        size_t scheduledPositions, scheduledStatus;
        bool announced;
    } cases[] = {
        {false, false, 0, 0, false},
        {true, false, 6, 0, false},
        {false, true, 0, 6, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.posits << c.status);
        CStationSettings cs = OwnSettings();
        cs.TransmitPosits = c.posits;
        cs.TransmitStatus = c.status;
        Rig rig(cs);
        rig.Start();
        rig.scheduler.SendStatusText("Plovane v1.02 online...");
        rig.Elapse(1000);  // 6 firings of each within 16 min 40 s
        EXPECT_EQ(rig.tnc.Of("=").size(), c.scheduledPositions);
        const auto status = rig.tnc.Of(">");
        EXPECT_EQ(status.size(), c.scheduledStatus + (c.announced ? 1 : 0));
        if (c.announced) {
            EXPECT_EQ(status[0].text, ">141200zPlovane v1.02 online...\r");
        }
        // The menu commands always go.
        const size_t before = rig.tnc.sent().size();
        rig.scheduler.SendPosition();
        rig.scheduler.SendStatus("");
        EXPECT_EQ(rig.tnc.sent().size(), before + 2);
    }
}

TEST_F(OutputSchedulerTest, NothingScheduledBeforeTheOwnRecordIsReady) {
    ASSERT_TRUE(scheduler.StartOutput(COutputScheduler::ThreadMode::kManual));
    Elapse(300);
    EXPECT_TRUE(tnc.sent().empty());
    EXPECT_GE(messages.calls.load(), 1);  // the message slot does not wait
    scheduler.MarkReadyToTransmit();
    Elapse(300);  // positions and status are due again at about 7:45
    EXPECT_EQ(tnc.Of("=").size(), 1u);
}

TEST_F(OutputSchedulerTest, NoOwnPositionMeansNoPositionReport) {
    stations.Update([](PositionReportData& r) {
        r.hasPosition = false;
        r.colatitude = kNoColatitude;
        r.longitude = kNoLongitude;
    });
    Start();
    scheduler.SendPosition();
    Elapse(1000);
    EXPECT_TRUE(tnc.Of("=@/").empty());
    EXPECT_FALSE(tnc.Of(">").empty());  // status still goes
    // The slot keeps its schedule, so a fix arriving later goes out at the next firing.
    stations.Update([](PositionReportData& r) {
        r.hasPosition = true;
        r.colatitude = ParseLatitude("4903.50N");
        r.longitude = ParseLongitude("07201.75W");
    });
    Elapse(1000);
    EXPECT_EQ(tnc.Of("=").size(), 1u);
}

TEST_F(OutputSchedulerTest, EmptyStatusSendsNothingFromTheSlot) {
    stations.Update([](PositionReportData& r) { r.lastInfo.clear(); });
    Start();
    scheduler.SendStatus("");
    Elapse(1000);
    EXPECT_TRUE(tnc.Of(">").empty());
    scheduler.SendStatusText("Plovane v1.02 online...");  // brings its own text
    EXPECT_EQ(tnc.Of(">").size(), 1u);
}

TEST_F(OutputSchedulerTest, ArmingOutsideTheRunningScheduleDoesNothing) {
    scheduler.ArmSlot(kPositionSlot, 0.25f, 2, 30);
    EXPECT_FALSE(scheduler.SlotState(kPositionSlot).has_value());
    Start();
    scheduler.StopOutput();
    scheduler.ArmSlot(kPositionSlot, 0.25f, 2, 30);
    scheduler.RunDueSlots();
    EXPECT_FALSE(scheduler.SlotState(kPositionSlot).has_value());
}

class FailingThreadScheduler : public COutputScheduler {
  public:
    using COutputScheduler::COutputScheduler;

  protected:
    std::thread CreateOutputThread() override {
        throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    }
};

TEST(OutputSchedulerStart, ThreadFailureIsReported) {
    FakeClock clock{kStart};
    testing::RecordingHost host;
    FailingThreadScheduler scheduler{clock, host};
    EXPECT_FALSE(scheduler.StartOutput());
    EXPECT_TRUE(host.boxes().empty());  // the caller reports it
    EXPECT_FALSE(scheduler.IsRunning());
}

TEST(OutputSchedulerThreads, ArmingFromOtherThreadsWhileRunningThenStopJoinsPromptly) {
    Rig rig;
    rig.network.open = true;
    rig.Start(COutputScheduler::ThreadMode::kOutputThread);
    COutputScheduler& scheduler = rig.scheduler;
    FakeClock& clock = rig.clock;
    ASSERT_TRUE(scheduler.IsRunning());

    std::atomic<bool> go{false};
    auto worker = [&](int id) {
        while (!go)
            std::this_thread::yield();
        for (int i = 0; i < 300; ++i) {
            scheduler.ArmSlot(kSpareSlot, 0.25f, 2, 30);
            scheduler.ArmMessageSlot();
            if (i % 50 == id)
                scheduler.RearmPositionAndStatus();
            if (i % 30 == id)
                scheduler.SendPosition();
            if (i % 40 == id) {
                CStationSettings s = OwnSettings();
                s.Comments = "edited";
                scheduler.ApplySettings(s);
                scheduler.SetDigipeatHeard();
            }
            clock.AdvanceSeconds(1);
        }
    };
    std::thread a(worker, 0);
    std::thread b(worker, 1);
    go = true;
    a.join();
    b.join();

    // Let the slots come due and wake the thread: it must fire the message slot itself.
    clock.AdvanceSeconds(3600);
    scheduler.Wake();
    for (int i = 0; i < 500 && rig.messages.calls.load() == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_GT(rig.messages.calls.load(), 0);

    // The thread is now waiting for minutes; StopOutput must wake and join it at once.
    const auto before = std::chrono::steady_clock::now();
    scheduler.StopOutput();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(2));
    EXPECT_FALSE(scheduler.IsRunning());
    EXPECT_FALSE(scheduler.SlotState(kPositionSlot).has_value());
}

}  // namespace
}  // namespace plovane
