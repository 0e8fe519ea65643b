// Every way out leaves the mixer safe: stop signals take the window's own
// shut-down through the event loop, and a failing tick never stops the timer.
#include "Form1Fixture.h"
#include "SimulatorLogs.h"

#include "mixer/SignalBridge.h"
#include "sim/SimulatorHost.h"

#include <QProcess>
#include <QTimer>

#include <csignal>
#include <fstream>
#include <stdexcept>

namespace gasmixer::test {
namespace {

using namespace std::chrono_literals;

constexpr int Patience = 10'000;  // ms; generous, only a hang should reach it

TEST_F(Form1Test, ATimerWhoseEveryTickFailsKeepsTicking)
{
    QTimer timer;
    int ticks = 0;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] {
        ++ticks;
        throw std::runtime_error("tick failed");
    });
    timer.start(1);
    EXPECT_TRUE(QTest::qWaitFor([&ticks] { return ticks >= 3; }, Patience));
    EXPECT_TRUE(timer.isActive());
    ASSERT_FALSE(dialogs.Errors.empty());
    EXPECT_EQ(dialogs.Errors.front(), "tick failed");
}

// The valves as the simulated relay board saw them: the mixer's own record
// of them changes whether or not a frame left.
class StopSignalTest : public Form1Test, public ::testing::WithParamInterface<int> {
protected:
    sim::SimulatorHost host{{.announce = false, .waterTemperature = 20.0, .pacing = false, .trace = {}}};
    int delivered = 0;

    void SetUp() override
    {
        ports = {host.MfcLinePath(), host.RelayBoardPath()};
        Form1Test::SetUp();
    }

    std::unique_ptr<SignalBridge> BridgeClosingTheWindow()
    {
        return std::make_unique<SignalBridge>([this](int signalNumber) {
            delivered = signalNumber;
            form->close();
        });
    }
};

TEST_P(StopSignalTest, ClosesTheWindowFromTheEventLoopWithTheValvesClosed)
{
    ClickItem(form->ListBoxPortSolenoid, host.RelayBoardPath());
    form->Mixer().SetValvePositions(1, 1, 0, 0, 0, 1);
    SettleRelayBoardOf(host);
    ASSERT_EQ(ValveMasksOf(host).back(), 35);
    const auto bridge = BridgeClosingTheWindow();

    ASSERT_EQ(raise(GetParam()), 0);
    EXPECT_EQ(delivered, 0) << "nothing runs inside the handler";
    EXPECT_TRUE(form->isVisible());

    ASSERT_TRUE(QTest::qWaitFor([this] { return !form->isVisible(); }, Patience));
    EXPECT_EQ(delivered, GetParam());
    SettleRelayBoardOf(host);
    EXPECT_EQ(ValveMasksOf(host).back(), 0);
}

INSTANTIATE_TEST_SUITE_P(EachStopSignal, StopSignalTest, ::testing::ValuesIn(SignalBridge::Signals),
                         [](const auto& info) { return std::string(sigabbrev_np(info.param)); });

TEST_F(Form1Test, StopSignalsThatComeTogetherCloseOnceAndTheOldHandlersComeBack)
{
    struct sigaction before {};
    sigaction(SIGHUP, nullptr, &before);
    {
        int calls = 0;
        const SignalBridge bridge([&calls](int) { ++calls; });
        EXPECT_THROW(SignalBridge([](int) {}), std::logic_error) << "one bridge at a time";
        raise(SIGTERM);
        raise(SIGINT);
        EXPECT_TRUE(QTest::qWaitFor([&calls] { return calls > 0; }, Patience));
        EXPECT_EQ(calls, 1);
    }
    struct sigaction after {};
    sigaction(SIGHUP, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);
    const SignalBridge again([](int) {});  // the slot is free again
}

using StopSignalOnEquipmentTest = StopSignalTest;

TEST_F(StopSignalOnEquipmentTest, TermLeavesAllValvesClosedAndBothSetpointsAtZero)
{
    ClickItem(form->ListBoxPortSolenoid, host.RelayBoardPath());
    ClickItem(form->ListBoxPortMFC, host.MfcLinePath());
    form->Mixer().SetValvePositions(1, 1, 0, 0, 0, 1);
    form->Mixer().SetMFCFlow(1, 0.05);
    form->Mixer().SetMFCFlow(2, 0.5);
    ASSERT_FLOAT_EQ(host.Mfc(2).Setpoint(), 0.5f);
    const auto bridge = BridgeClosingTheWindow();

    ASSERT_EQ(raise(SIGTERM), 0);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !form->isVisible(); }, Patience));

    SettleRelayBoardOf(host);
    SettleMfcLineOf(host);
    EXPECT_EQ(ValveMasksOf(host).back(), 0);
    EXPECT_EQ(host.Mfc(1).Setpoint(), 0.0f);
    EXPECT_EQ(host.Mfc(2).Setpoint(), 0.0f);
}

// Whether the process has a handler of its own for the signal.
bool Catches(qint64 pid, int signalNumber)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.starts_with("SigCgt:"))
            return (std::stoull(line.substr(7), nullptr, 16) >> (signalNumber - 1)) & 1u;
    return false;
}

TEST(ProgramStopSignal, TermEndsTheProgramThroughItsOwnShutDown)
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(environment);
    program.start(GASMIXER_PROGRAM_PATH, {});
    ASSERT_TRUE(program.waitForStarted(Patience));
    const qint64 pid = program.processId();
    // Only once the handler is in place is the signal the program's to handle.
    ASSERT_TRUE(QTest::qWaitFor([pid] { return Catches(pid, SIGTERM); }, Patience));

    ASSERT_EQ(kill(static_cast<pid_t>(pid), SIGTERM), 0);
    ASSERT_TRUE(program.waitForFinished(Patience));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << "not killed by the signal";
    EXPECT_EQ(program.exitCode(), 0);
}

}  // namespace
}  // namespace gasmixer::test
