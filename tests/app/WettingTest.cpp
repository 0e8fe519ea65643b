// The wetting worker against the simulated relay board: its cycle law with
// an idealised clock, its stop, faults on the line and the window's close.
#include "Form1Fixture.h"
#include "SteppedTiming.h"

#include "instruments/SerialDevice.h"
#include "instruments/SerialPort.h"
#include "sim/SimulatorHost.h"

#include <QCheckBox>
#include <QCursor>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <chrono>
#include <cmath>
#include <thread>

namespace gasmixer::test {
namespace {

using namespace std::chrono_literals;

constexpr std::uint8_t Wet = 19;
constexpr std::uint8_t Dry = 24;

// One trace line taken apart.
struct Trace {
    std::string flags;  // "00", "-10", "-1-1"
    double intended = 0.0;
    double previous = 0.0;
    bool drySkip = false;
    bool wetSkip = false;
};

double NumberAfter(const std::string& line, const std::string& key)
{
    const std::size_t at = line.find(key);
    return at == std::string::npos ? NAN : std::stod(line.substr(at + key.size()));
}

Trace Parse(const std::string& line)
{
    Trace t;
    const std::size_t flagsAt = line.find("  ") + 2;
    t.flags = line.substr(flagsAt, line.find(' ', flagsAt) - flagsAt);
    t.intended = NumberAfter(line, "Intended WP:");
    t.previous = NumberAfter(line, "Previous WP:");
    t.drySkip = line.find("D-skip:True") != std::string::npos;
    t.wetSkip = line.find("W-skip:True") != std::string::npos;
    return t;
}

class WettingTest : public Form1Test {
protected:
    sim::SimulatorHost host;
    SteppedTiming timing;

    void SetUp() override
    {
        ports = {host.MfcLinePath(), host.RelayBoardPath()};
        wettingTiming = &timing;
        Form1Test::SetUp();
    }

    void TearDown() override
    {
        timing.Release();
        Form1Test::TearDown();
    }

    void ChooseSimulatedBoard() { ClickItem(form->ListBoxPortSolenoid, host.RelayBoardPath()); }

    // The worker waits for nobody: it is held at its first wait, and each
    // RunUntilHeldAt moves the hold on.
    void Start(double fraction)
    {
        timing.HoldAt(0.0);
        form->Mixer().WettingFraction = fraction;
        form->Mixer().StartWettingThread();
    }

    // Serves the worker's hand-overs until `done`; fails rather than hangs.
    template <typename Done>
    void ServeUntil(Done done)
    {
        const auto deadline = std::chrono::steady_clock::now() + 60s;
        while (!done()) {
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "the worker never got there";
            QApplication::processEvents();
            std::this_thread::sleep_for(2ms);
        }
    }

    void RunUntilHeldAt(double seconds)
    {
        timing.HoldAt(seconds);
        ServeUntil([this] { return timing.Held(); });
    }

    std::vector<std::string> TraceLines()
    {
        form->Mixer().TakeWorkerResults();
        std::vector<std::string> lines;
        for (const std::string& line : Lines(form->MemoDevFeedback->toPlainText())) {
            if (line.starts_with("I:")) lines.push_back(line);
        }
        return lines;
    }

    std::vector<std::uint8_t> ValveMasks()
    {
        std::vector<std::uint8_t> masks;
        for (const auto& command : host.RelayBoard().ValveLog()) masks.push_back(command.mask);
        return masks;
    }

    // The patterns the trace lines of whole cycles announce.
    static std::vector<std::uint8_t> AnnouncedMasks(const std::vector<std::string>& lines)
    {
        std::vector<std::uint8_t> masks;
        for (const std::string& line : lines) {
            const Trace t = Parse(line);
            if (!t.wetSkip) masks.push_back(Wet);
            if (!t.drySkip) masks.push_back(Dry);
        }
        return masks;
    }
};

TEST_F(WettingTest, TheFirstLineAsksForTheFractionOfACycle)
{
    ChooseSimulatedBoard();
    Start(0.3);
    RunUntilHeldAt(0.5);
    const auto lines = TraceLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0],
              "I:1  00 Elapsed:0.00  Desired WT:0.00 - Occured WT:0.00 = Error in WT:0.00"
              "  Intended WP:0.90  Previous WP:0.00  D-skip:False  W-skip:False ");
    EXPECT_EQ(ValveMasks(), std::vector<std::uint8_t>{Wet});
}

// With an idealised clock every phase lasts what it was meant to, and the
// patterns sent follow the skips cycle by cycle.
TEST_F(WettingTest, TheCycleLawRunsAsAnnouncedAtEveryFraction)
{
    ChooseSimulatedBoard();
    for (const double fraction : {0.3, 0.02, 0.97}) {
        SCOPED_TRACE(fraction);
        form->MemoDevFeedback->clear();
        const std::size_t sentBefore = ValveMasks().size();
        timing.Restart();
        Start(fraction);
        RunUntilHeldAt(90.5);
        const auto lines = TraceLines();
        ASSERT_GE(lines.size(), 29u);

        auto masks = ValveMasks();
        masks.erase(masks.begin(), masks.begin() + static_cast<std::ptrdiff_t>(sentBefore));
        // The cycle in progress may have sent its first pattern.
        const auto announced = AnnouncedMasks({lines.begin(), lines.end() - 1});
        ASSERT_GE(masks.size(), announced.size());
        EXPECT_LE(masks.size(), announced.size() + 1);
        masks.resize(announced.size());
        EXPECT_EQ(masks, announced);

        const Trace first = Parse(lines[0]);
        if (fraction == 0.3) {
            for (std::size_t i = 1; i < lines.size(); ++i) {
                const Trace t = Parse(lines[i]);
                EXPECT_EQ(t.intended, 0.90) << lines[i];
                EXPECT_EQ(t.previous, 0.90) << lines[i];
                EXPECT_NE(lines[i].find("Elapsed:" + std::to_string(3 * i) + ".00 "), std::string::npos) << lines[i];
                EXPECT_FALSE(t.wetSkip || t.drySkip) << lines[i];
            }
        } else {
            const bool wetIsMinor = fraction < 0.5;
            EXPECT_TRUE(wetIsMinor ? first.wetSkip : first.drySkip);
            int switched = 0;
            for (const std::string& line : lines) {
                const Trace t = Parse(line);
                const double minor = wetIsMinor ? t.intended : 3.0 - t.intended;
                const bool skipped = wetIsMinor ? t.wetSkip : t.drySkip;
                EXPECT_EQ(skipped, minor < 0.15 - 0.005) << line;
                EXPECT_FALSE(wetIsMinor ? t.drySkip : t.wetSkip) << line;
                if (!skipped) ++switched;
            }
            EXPECT_GE(switched, 3) << "the error brings the minor phase in every few cycles";
            EXPECT_LE(switched, static_cast<int>(lines.size()) / 2);
        }
        timing.Release();
        form->Mixer().StopThread();
    }
}

TEST_F(WettingTest, TheTemperatureIsReadAtTheEndOfTheFirstCycleThenOnceAMinute)
{
    ChooseSimulatedBoard();
    host.RelayBoard().SetAnalogCount(512);
    Start(0.3);
    RunUntilHeldAt(3.5);
    EXPECT_NEAR(form->Mixer().WettingThread->Temperature, 24.41, 0.01) << "read at the end of cycle 1";
    RunUntilHeldAt(6.5);
    EXPECT_EQ(form->Mixer().WettingThread->Temperature, 20.0) << "no reading due";
    RunUntilHeldAt(63.5);
    EXPECT_NEAR(form->Mixer().WettingThread->Temperature, 24.41, 0.01) << "due again after a minute";

    // A count the worker reads as below 0 ºC leaves the reading due.
    host.RelayBoard().SetAnalogCount(1023);
    RunUntilHeldAt(126.5);
    EXPECT_LT(form->Mixer().WettingThread->Temperature, 0.0);
    RunUntilHeldAt(129.5);
    EXPECT_LT(form->Mixer().WettingThread->Temperature, 0.0) << "tried again the next cycle";
}

TEST_F(WettingTest, AStopDuringAWetPhaseLetsThatCycleAndTheNextFinish)
{
    ChooseSimulatedBoard();
    form->Mixer().MethodStarted = true;
    Start(0.3);
    RunUntilHeldAt(0.5);

    // The caption grows while the stop is awaited; the worker goes on after three.
    std::vector<QString> captions;
    bool controlsLocked = true;
    QObject::connect(form.get(), &QWidget::windowTitleChanged, [&](const QString& title) {
        if (title == QStringLiteral("Mix")) return;
        controlsLocked = controlsLocked && !form->ButtonStop->isEnabled() && !form->ButtonFlush->isEnabled() &&
                         !form->ButtonBypass->isEnabled() && !form->ButtonDilution->isEnabled() &&
                         QGuiApplication::overrideCursor() != nullptr;
        captions.push_back(title);
        if (captions.size() == 4) timing.Release();
    });
    form->Mixer().StopThread();

    const QString waiting = QStringLiteral("Waiting valve operations to finish");
    ASSERT_GE(captions.size(), 3u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(captions[i], waiting + QString(static_cast<int>(i), '.'));
    EXPECT_TRUE(controlsLocked);

    const auto lines = TraceLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(Parse(lines[0]).flags, "00");
    EXPECT_TRUE(lines[1].starts_with("I:2  -10 ")) << lines[1];
    EXPECT_TRUE(lines[2].starts_with("I:2  -1-1 ")) << lines[2];
    EXPECT_EQ(ValveMasks(), (std::vector<std::uint8_t>{Wet, Dry, Wet, Dry}));
    // The last hand-over comes at the start of the last cycle: its wet phase is not in it.
    EXPECT_NEAR(form->Mixer().WetTimeOccurred, 0.9, 1e-3);

    EXPECT_EQ(form->Mixer().WettingThread, nullptr);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Mix"));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(form->Mixer().MethodStarted);
    for (QPushButton* b : {form->ButtonStop, form->ButtonFlush, form->ButtonBypass, form->ButtonDilution}) {
        EXPECT_TRUE(b->isEnabled());
    }
}

TEST_F(WettingTest, StopWithoutAWorkerChangesNothing)
{
    form->Mixer().MethodStarted = true;
    const QString caption = form->windowTitle();
    form->Mixer().StopThread();
    EXPECT_EQ(form->windowTitle(), caption);
    EXPECT_TRUE(form->Mixer().MethodStarted);
    EXPECT_TRUE(form->ButtonStop->isEnabled());
}

// Every exchange fails at once: the timing and the trace go on, and the
// temperature is tried again at the end of every cycle.
TEST_F(WettingTest, OnTheFakePortTheCyclesGoOnWithoutTheBoard)
{
    ChooseFakePorts();
    Start(0.3);
    for (int cycle = 1; cycle <= 4; ++cycle) {
        RunUntilHeldAt(3.0 * cycle + 0.5);
        EXPECT_EQ(form->Mixer().WettingThread->Temperature, 0.0) << cycle;
    }
    RunUntilHeldAt(15.5);
    const auto lines = TraceLines();
    ASSERT_EQ(lines.size(), 6u);
    for (std::size_t i = 1; i < lines.size(); ++i) EXPECT_EQ(Parse(lines[i]).previous, 0.90) << lines[i];
    timing.Release();
    form->Mixer().StopThread();
    EXPECT_EQ(form->Mixer().WettingThread, nullptr);
}

TEST_F(WettingTest, AFailingBoardNeitherStallsTheCyclesNorTheStop)
{
    ChooseSimulatedBoard();
    struct Case {
        const char* name;
        std::function<void()> fail;
    };
    std::optional<TSerialDevice> heldElsewhere;
    const Case cases[] = {
        {"silent", [&] { host.RelayBoard().Faults().Set({sim::FaultKind::Silent}); }},
        {"held by another exchange", [&] { heldElsewhere.emplace(TSerialDevice::OpenExclusive(host.RelayBoardPath())); }},
        {"vanished", [&] { host.RelayBoard().Faults().Set({sim::FaultKind::Vanish}); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form->MemoDevFeedback->clear();
        timing.Restart();
        Start(0.3);
        RunUntilHeldAt(0.5);
        const std::size_t sent = ValveMasks().size();
        c.fail();
        RunUntilHeldAt(12.5);
        EXPECT_EQ(TraceLines().size(), 5u);
        EXPECT_LE(ValveMasks().size(), sent + 1) << "at most the exchange that made it vanish";
        EXPECT_EQ(form->Mixer().WettingThread->Temperature, 0.0) << "the reading stays due";
        timing.Release();
        form->Mixer().StopThread();
        EXPECT_EQ(form->Mixer().WettingThread, nullptr);
        host.RelayBoard().Faults().Set({});
        heldElsewhere.reset();
    }
}

TEST_F(WettingTest, ClosingTheWindowStopsTheWorkerBeforeTheShutDown)
{
    ChooseSimulatedBoard();
    ClickItem(form->ListBoxPortMFC, host.MfcLinePath());
    form->Mixer().SetMFCFlow(2, 0.5);
    Start(0.3);
    RunUntilHeldAt(4.0);
    timing.Release();
    form->close();
    EXPECT_EQ(form->Mixer().WettingThread, nullptr);
    EXPECT_FALSE(form->isVisible());
    const auto masks = ValveMasks();
    ASSERT_GE(masks.size(), 4u);
    EXPECT_EQ(masks.back(), 0);
    EXPECT_EQ(masks[masks.size() - 2], Dry) << "the worker's last pattern came before the shut-down";
    EXPECT_EQ(host.Mfc(2).Setpoint(), 0.0f);
}

TEST_F(WettingTest, ClosingWhileAStopIsAwaitedShutsDownOnceTheStopIsOver)
{
    ChooseSimulatedBoard();
    ClickItem(form->ListBoxPortMFC, host.MfcLinePath());
    form->Mixer().SetMFCFlow(1, 0.05);
    form->Mixer().SetMFCFlow(2, 0.5);
    Start(0.3);
    RunUntilHeldAt(0.5);

    // The close comes while the Stop button's command waits for the worker.
    std::size_t sentWhenClosed = 0;
    QObject::connect(form.get(), &QWidget::windowTitleChanged, [&] {
        if (sentWhenClosed > 0) return;
        form->close();
        sentWhenClosed = ValveMasks().size();
        timing.Release();
    });
    form->ButtonStopClick();

    EXPECT_EQ(sentWhenClosed, 1u) << "nothing is shut while the worker still switches";
    EXPECT_EQ(ValveMasks(), (std::vector<std::uint8_t>{Wet, Dry, Wet, Dry, 0}));
    EXPECT_EQ(host.Mfc(1).Setpoint(), 0.0f);
    EXPECT_EQ(host.Mfc(2).Setpoint(), 0.0f);
    EXPECT_FALSE(form->isVisible());
    RunMixerTick(form->Mixer());
    EXPECT_EQ(ValveMasks().size(), 5u) << "a closed mixer ticks no more";
}

TEST_F(WettingTest, DestroyingTheWindowStopsTheWorkerThenClosesTheValves)
{
    ChooseSimulatedBoard();
    Start(0.3);
    RunUntilHeldAt(0.5);
    timing.Release();
    form.reset();
    const auto masks = ValveMasks();
    ASSERT_GE(masks.size(), 2u);
    EXPECT_EQ(masks[masks.size() - 2], Dry) << "the worker's last pattern";
    EXPECT_EQ(masks.back(), 0) << "then the valves closed";
}

// Real time against the simulator: the valves follow the monotonic clock.
class WettingRealTimeTest : public Form1Test {
protected:
    sim::SimulatorHost host;

    void SetUp() override
    {
        ports = {host.RelayBoardPath()};
        Form1Test::SetUp();
    }
};

TEST_F(WettingRealTimeTest, WetPhasesLastTheirShareOfTheCycle)
{
    ClickItem(form->ListBoxPortSolenoid, host.RelayBoardPath());
    form->Mixer().WettingFraction = 0.3;
    form->Mixer().StartWettingThread();
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (host.RelayBoard().ValveLog().size() < 4 && std::chrono::steady_clock::now() < deadline) {
        QApplication::processEvents();
        std::this_thread::sleep_for(10ms);
    }
    form->Mixer().StopThread();
    const auto log = host.RelayBoard().ValveLog();
    ASSERT_GE(log.size(), 4u);
    for (std::size_t i = 0; i + 1 < log.size(); ++i) {
        EXPECT_EQ(log[i].mask, i % 2 == 0 ? Wet : Dry);
        if (log[i].mask == Wet) {
            const double wetS = std::chrono::duration<double>(log[i + 1].received - log[i].received).count();
            EXPECT_GT(wetS, 0.85) << "wet phase " << i / 2;
        }
    }
    EXPECT_GT(form->Mixer().WetTimeOccurred, 0.85);
}

}  // namespace
}  // namespace gasmixer::test
