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
#include "core/version.h"
#include "own_station.h"
#include "support/recording_host.h"
#include "transmit/output_scheduler.h"

namespace plovane {
namespace {

const CDateTime kStart(2026, 3, 14, 12, 0, 0);

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
    PositionReportData own = testing::FixedStation();
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
        for (const Sent& s : sent_) {
            if (types.empty() || types.find(s.text[0]) != std::string::npos)
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

TEST_F(OutputSchedulerTest, DigipeatCheckAfterEachTncPacket) {
    settings.TransmitPosits = settings.TransmitStatus = false;
    Start();
    // Not heard: one notice, about 15 s later, then the check is disarmed.
    scheduler.SendPosition();
    Elapse(9);
    EXPECT_TRUE(host.notices().empty());
    Elapse(600);
    EXPECT_EQ(host.notices(), std::vector<std::string>{"No digipeat of your packet was heard."});
    EXPECT_EQ(scheduler.SlotState(kDigipeatCheckSlot)->cap, 0.0f);
    // Heard in time: nothing; a new packet to the TNC forgets it.
    host.Clear();
    scheduler.SendStatus("test");
    Elapse(5);
    scheduler.SetDigipeatHeard();
    Elapse(600);
    EXPECT_TRUE(host.notices().empty());
    scheduler.SendPosition();
    EXPECT_FALSE(scheduler.DigipeatHeard());
    Elapse(600);
    // Only the network took it: no check armed, no notice.
    host.Clear();
    tnc.open = false;
    network.open = true;
    const uint64_t armings = scheduler.SlotState(kDigipeatCheckSlot)->generation;
    scheduler.SendPosition();
    EXPECT_EQ(network.Of("N").size(), 1u);
    EXPECT_EQ(scheduler.SlotState(kDigipeatCheckSlot)->generation, armings);
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
    ASSERT_EQ(tnc.Of().size(), 3u);
    ASSERT_EQ(network.Of().size(), 3u);
    for (size_t i = 0; i < bare.size(); ++i) {
        EXPECT_EQ(tnc.Of()[i].text, bare[i]);
        EXPECT_EQ(network.Of()[i].text, "N0CALL>APQ102,TCPIP*:" + bare[i]);
    }
    EXPECT_EQ(scheduler.FormatPositionPacket("N0CALL") + "\r", bare[0]);
    EXPECT_EQ(scheduler.FormatPositionPacket("W1AW"), "");
}

TEST_F(OutputSchedulerTest, NocallSendsNothingButKeepsTheSchedule) {
    settings.MyCall = "NOCALL";
    network.open = true;
    Start();
    scheduler.SendPosition();
    scheduler.SendStatusText("Plovane v1.02 online...");
    Elapse(3600);
    EXPECT_TRUE(tnc.Of().empty() && network.Of().empty());
    // The slots went on decaying as if they had sent: 15 s ... 16 min, then 30 min.
    EXPECT_EQ(scheduler.SlotState(kPositionSlot)->delay, 30.0f);
    EXPECT_EQ(scheduler.SlotState(kStatusSlot)->delay, 30.0f);
}

TEST(OutputScheduler, TransmitSettingsSilenceTheScheduleButNotTheCommands) {
    for (const bool posits : {false, true}) {
        SCOPED_TRACE(posits);
        Rig rig;
        rig.settings.TransmitPosits = posits;
        rig.settings.TransmitStatus = !posits;
        rig.Start();
        rig.scheduler.SendStatusText("Plovane v1.02 online...");
        rig.Elapse(1000);  // 6 firings of each within 16 min 40 s
        EXPECT_EQ(rig.tnc.Of("=").size(), posits ? 6u : 0u);
        const auto status = rig.tnc.Of(">");
        ASSERT_EQ(status.size(), posits ? 0u : 7u);
        if (!posits) {
            EXPECT_EQ(status[0].text, ">141200zPlovane v1.02 online...\r");
        }
        // The menu commands always go.
        const size_t before = rig.tnc.Of().size();
        rig.scheduler.SendPosition();
        rig.scheduler.SendStatus("");
        EXPECT_EQ(rig.tnc.Of().size(), before + 2);
    }
}

// Nothing is scheduled before the own record is ready; without a position or a status text
// the slots keep their schedule and send nothing.
TEST_F(OutputSchedulerTest, NothingGoesOutBeforeTheOwnRecordHasIt) {
    stations.own.hasPosition = false;
    stations.own.colatitude = kNoColatitude;
    stations.own.longitude = kNoLongitude;
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
    {
        std::lock_guard lock(stations.mutex);
        stations.own = testing::FixedStation();
    }
    Elapse(1000);
    EXPECT_EQ(tnc.Of("=").size(), 1u);
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
                scheduler.ApplySettings(rig.settings);
                scheduler.SetDigipeatHeard();
            }
            rig.clock.AdvanceSeconds(1);
        }
    };
    std::thread a(worker, 0);
    std::thread b(worker, 1);
    go = true;
    a.join();
    b.join();
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
