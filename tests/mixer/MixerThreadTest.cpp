// The mixer on a thread of its own, with no window: it ticks by itself,
// runs what is posted to it in order, shares the relay board with its
// wetting worker without either meeting a busy port, and leaves the mixer
// safe when its thread ends.
#include "mixer/Mixer.h"
#include "mixer/MixerThread.h"
#include "sim/SimulatorHost.h"
#include "tests/support/AskMixer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace gasmixer::test {
namespace {

using namespace std::chrono_literals;

// Counts what the mixer tells from its thread.
class CountingView final : public MixerView {
public:
    void Ticked() override { ++ticks; }
    void RelayBoardChecked(bool ok) override { relayBoardOk = ok; }
    void MfcChecked(bool ok) override { mfcOk = ok; }
    std::atomic<int> ticks = 0;
    std::atomic<bool> relayBoardOk = false;
    std::atomic<bool> mfcOk = false;
};

sim::SimulatorOptions Unpaced()
{
    sim::SimulatorOptions options;
    options.pacing = false;
    return options;
}

class MixerThreadTest : public ::testing::Test {
protected:
    sim::SimulatorHost host{Unpaced()};
    SystemClock clock;
    CountingView view;
    // No journal: the test keeps nothing on disk.
    TMixer mixer{MixerServices{.clock = clock, .journalFolder = {}}, view};

    // Validated on the simulated lines.
    void Ready()
    {
        mixer.ChoosePorts(host.RelayBoardPath(), host.MfcLinePath());
        mixer.Validate();
        ASSERT_TRUE(view.relayBoardOk);
        ASSERT_TRUE(view.mfcOk);
    }
};

TEST_F(MixerThreadTest, TicksByItselfAndRunsPostedCommandsInOrderBetweenTicks)
{
    std::vector<int> order;
    {
        const MixerThread thread(mixer);
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        while (view.ticks < 3 && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(10ms);
        EXPECT_GE(view.ticks, 3);

        // A command that posts another: the second runs after the first, not inside it.
        mixer.Post([&order](TMixer& m) {
            m.Post([&order](TMixer&) { order.push_back(2); });
            order.push_back(1);
        });
        mixer.Post([&order](TMixer&) { order.push_back(3); });
        EXPECT_TRUE(AskMixer(mixer, [](TMixer& m) { return !m.Ticking(); })) << "commands run between ticks";
    }
    EXPECT_EQ(order, (std::vector<int>{1, 3, 2}));
}

TEST_F(MixerThreadTest, ItsEndLeavesTheMixerSafe)
{
    Ready();
    mixer.SetMFCFlow(2, 0.5);
    mixer.SetValvePositions(0, 0, 1, 0, 0, 0);
    {
        const MixerThread thread(mixer);
        mixer.Post([](TMixer& m) { m.ButtonBypassClick(); });
    }
    const auto valves = host.RelayBoard().ValveLog();
    ASSERT_FALSE(valves.empty());
    EXPECT_EQ(valves.back().mask, 0);
    EXPECT_EQ(host.Mfc(1).Setpoint(), 0.0f);
    EXPECT_EQ(host.Mfc(2).Setpoint(), 0.0f);
}

// The worker switches the valves on its own thread while water readings come
// from the mixer's: every reading is answered, none meets a busy port.
TEST_F(MixerThreadTest, TheWaterIsReadBesideTheWettingWorkerWithoutFailing)
{
    Ready();
    mixer.WettingFraction = 0.5;
    mixer.StartWettingThread();
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    int readings = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        const TSerialResponse response = mixer.RelayBoard.ReadAnalog();
        EXPECT_EQ(response.Status, "") << "reading " << readings;
        EXPECT_EQ(response.ResponseLength, 2u) << "reading " << readings;
        ++readings;
    }
    mixer.StopThread();
    EXPECT_GT(readings, 10);
    EXPECT_GE(host.RelayBoard().ValveLog().size(), 2u) << "the worker switched meanwhile";
}

}  // namespace
}  // namespace gasmixer::test
