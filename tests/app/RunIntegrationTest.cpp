// Whole runs against the simulated instruments: the buttons, the tick, the
// stored rows and what follows them (autosave, journal, plot, TG estimate),
// the wetting worker, and stop signals arriving in the middle of a run.
// Ticks are driven by hand on a hand-stepped clock unless the timer is the
// point; the worker runs on an idealised clock of its own.
#include "RecordsFixture.h"
#include "SimulatorLogs.h"
#include "SteppedTiming.h"

#include "mixer/SignalBridge.h"
#include "controls/RtIntegerEdit.h"
#include "instruments/RelayBoard.h"
#include "instruments/VogtlinPort.h"
#include "instruments/VogtlinRegisters.h"
#include "plot/MixturePlot.h"
#include "sim/SimulatorHost.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cmath>
#include <thread>

namespace gasmixer::test {
namespace {

using namespace std::chrono_literals;

constexpr int Patience = 10'000;  // ms; generous, only a hang should reach it
constexpr std::uint8_t Wet = 19;

class RunIntegrationTest : public RecordsTest {
protected:
    sim::SimulatorHost host{{.announce = false, .waterTemperature = 20.0, .pacing = false, .trace = {}}};
    SteppedTiming timing;
    std::vector<TDateTime> storedAt;  // the time of every row stored

    void SetUp() override
    {
        ports = {host.MfcLinePath(), host.RelayBoardPath()};
        wettingTiming = &timing;
        RecordsTest::SetUp();
        Follow();
    }

    void Follow()
    {
        form->EditAutosaveFilename->setText(QString::fromStdString((folder / "run").string()));
        form->RowStoredHook = [this](const RecordRow& row) { storedAt.push_back(row.Time()); };
    }

    // The window as the program makes it: the mixer on its own thread, ticking by itself.
    void OnItsOwnThread()
    {
        form.reset();
        mixerThread = true;
        MakeForm();
        Follow();
    }

    void TearDown() override
    {
        timing.Release();
        RecordsTest::TearDown();
    }

    // Both ports validated, the gases chosen, on the Operation tab.
    void Ready(const std::string& gasA, const std::string& gasB)
    {
        ClickItem(form->ListBoxPortSolenoid, host.RelayBoardPath());
        ClickItem(form->ListBoxPortMFC, host.MfcLinePath());
        SyncWithMixer();
        ClickItem(form->ListBoxSetupGas1, gasA);
        ClickItem(form->ListBoxSetupGas2, gasB);
        SyncWithMixer();
        ClickTab(OperationPage);
        SyncWithMixer();  // the bubbler was read
        ASSERT_EQ(ActivePage(), OperationPage);
    }

    void Apply(int gasAPpm, int h2oPpm = 0)
    {
        form->RtIntegerEditH2Oppm->SetValue(h2oPpm);
        form->RtIntegerEditGasAPPM->SetValue(gasAPpm);
        QTest::mouseClick(form->ButtonDilution, Qt::LeftButton);
    }

    void Tick(int count = 1, double stepSeconds = 0.25)
    {
        for (int i = 0; i < count; ++i) {
            RunMixerTick(form->Mixer());
            clock.Advance(stepSeconds * OneSecond);
        }
    }

    // Every frame sent before has reached the instruments.
    void Settle()
    {
        SettleMfcLineOf(host);
        SettleRelayBoardOf(host);
    }
    Floats Setpoints(int address) { return SetpointsOf(host, address); }
    Masks ValveMasks() { return ValveMasksOf(host); }

    int LastRow() const { return form->Mixer().RecordGrid.RowCount() - 1; }

    // Serves the worker's hand-overs until `done`; fails rather than hangs.
    template <typename Done>
    void ServeUntil(Done done)
    {
        const auto deadline = std::chrono::steady_clock::now() + 60s;
        while (!done()) {
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "never got there";
            QApplication::processEvents();
            std::this_thread::sleep_for(2ms);
        }
    }

    // A humidified plan applied and its worker started by the next tick,
    // held in its first wet phase.
    void RunHumidified()
    {
        timing.Restart();
        timing.HoldAt(0.5);
        Apply(10000, 10000);
        ASSERT_EQ(form->Mixer().MixingMethod, "A (constant) in B/H2O");
        Tick();
        ASSERT_NE(form->Mixer().WettingThread, nullptr);
        ServeUntil([this] { return timing.Held(); });
    }

    // What each log holds once the window closed.
    struct Logs {
        Masks valves;
        Floats mfc1;
        Floats mfc2;
    };

    Logs Now()
    {
        Settle();
        return {ValveMasks(), Setpoints(1), Setpoints(2)};
    }

    // A stop signal closes the window, as in the program; the logs are taken
    // as the mixer's shut-down left them.
    std::unique_ptr<SignalBridge> BridgeClosingTheWindow(std::optional<Logs>& atClose)
    {
        return std::make_unique<SignalBridge>([this, &atClose](int) {
            form->close();
            closing = true;
            SyncWithMixer();
            atClose = Now();
        });
    }

    // Raises SIGTERM from the mixer's thread and waits there until the window
    // has taken it: the close is then the next command the mixer meets.
    void RaiseAndWaitForTheClose()
    {
        static_cast<void>(raise(SIGTERM));
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        while (!closing && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(1ms);
    }

    std::atomic<bool> closing = false;

    // Lets the event loop run on after the close, as it would until the
    // program ends: whatever still ticks or switches shows in the logs.
    void ExpectSafeAndQuietAfterTheClose(const std::optional<Logs>& atClose)
    {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !form->isVisible(); }, Patience));
        ASSERT_TRUE(atClose.has_value());
        ASSERT_FALSE(atClose->valves.empty());
        EXPECT_EQ(atClose->valves.back(), 0);
        ASSERT_FALSE(atClose->mfc1.empty());
        EXPECT_EQ(atClose->mfc1.back(), 0.0f);
        ASSERT_FALSE(atClose->mfc2.empty());
        EXPECT_EQ(atClose->mfc2.back(), 0.0f);
        EXPECT_EQ(form->Mixer().WettingThread, nullptr);

        QTest::qWait(1000);
        const Logs later = Now();
        EXPECT_EQ(later.valves, atClose->valves) << "no valve command after the close";
        EXPECT_EQ(later.mfc1, atClose->mfc1) << "no setpoint after the close";
        EXPECT_EQ(later.mfc2, atClose->mfc2) << "no setpoint after the close";
        EXPECT_EQ(form->Mixer().WettingThread, nullptr) << "no worker after the close";
    }
};

TEST_F(RunIntegrationTest, TheFirstTickAfterEachButtonStoresARowLabelledWithTheNewMode)
{
    Ready("O2", "N2");
    struct Case {
        QPushButton* button;
        std::vector<std::pair<std::string, std::string>> rows;  // mode and method of each row the ticks store
    };
    const Case cases[] = {
        {form->ButtonDilution, {{"Dilution", "A (constant) in B"}}},
        {form->ButtonStop, {{"Standby", ""}}},
        {form->ButtonFlush, {{"Flushing", ""}, {"Standby", ""}}},
        {form->ButtonBypass, {{"Bypass", "Dry B"}}},
    };
    form->RtIntegerEditGasAPPM->SetValue(10000);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button->text().toStdString());
        const std::size_t before = storedAt.size();
        c.button->click();
        for (std::size_t i = 0; i < c.rows.size(); ++i) {
            Tick();
            ASSERT_EQ(storedAt.size(), before + i + 1) << "one row on tick " << i + 1;
            EXPECT_EQ(Cell("Mode", LastRow()), c.rows[i].first);
            EXPECT_EQ(Cell("Method", LastRow()), c.rows[i].second);
        }
        Tick(2);
        EXPECT_EQ(storedAt.size(), before + c.rows.size()) << "nothing more while the mode stands";
    }
    EXPECT_TRUE(dialogs.Errors.empty());
}

// Ticks a little more than a third of a second apart, so that neither the
// one-second nor the thirty-second boundary falls on a tick.
TEST_F(RunIntegrationTest, AfterApplyMixtureRowsComeEverySecondForThirtySecondsThenEachStoreInterval)
{
    Ready("O2", "N2");
    form->RtIntegerEdit2->SetValue(2);
    const double step = 0.35;
    const double interval = 120.0;
    Apply(10000);
    const TDateTime start = clock.Now();  // of the reset
    while (clock.Now() - start < 40 * OneSecond) Tick(1, step);
    while (clock.Now() - start < 450 * OneSecond) Tick(1, 20.0);

    ASSERT_FALSE(storedAt.empty());
    EXPECT_NEAR((storedAt[0] - start) / OneSecond, 0.0, 1e-6) << "the mode change, at once";
    std::size_t fast = 0;
    std::size_t slow = 0;
    for (std::size_t i = 1; i < storedAt.size(); ++i) {
        const double at = (storedAt[i] - start) / OneSecond;
        const double gap = (storedAt[i] - storedAt[i - 1]) / OneSecond;
        if (at < 30.0) {
            ++fast;
            EXPECT_GT(gap, 1.0) << "row at " << at << " s";
            EXPECT_LT(gap, 1.0 + step + 1e-3) << "row at " << at << " s";
        } else {
            ++slow;
            EXPECT_GT(gap, interval) << "row at " << at << " s";
            EXPECT_LT(gap, interval + 20.0 + 1e-3) << "row at " << at << " s";
        }
    }
    EXPECT_EQ(fast, 28u) << "every third tick, 1.05 s apart, the last at 29.4 s";
    EXPECT_EQ(slow, 3u);
    EXPECT_EQ(form->Mixer().RecordGrid.RowCount(), static_cast<int>(storedAt.size()) + 1) << "the header row";
}

TEST_F(RunIntegrationTest, TheFirstDilutionTickAutosavesAtOnceThenHourly)
{
    Ready("O2", "N2");
    ASSERT_FALSE(form->Mixer().LastAutosaveTime);
    const auto saved = [this] {
        std::vector<std::string> names;
        for (const auto& [name, content] : Snapshot()) names.push_back(name);
        return names;
    };
    Apply(10000);
    Tick();
    FinishSaves();
    EXPECT_EQ(saved(), std::vector<std::string>{"run autosave 05-14 09_30.CSV"});
    EXPECT_EQ(form->Label17->text().toStdString(), "Last autosave: 05-14 09:30");
    const std::string first = ReadAll(folder / "run autosave 05-14 09_30.CSV");
    EXPECT_NE(first.find("Dilution"), std::string::npos) << "the row stored by the same tick";

    clock.Advance(OneHour - OneSecond - 0.25 * OneSecond);
    Tick();
    FinishSaves();
    EXPECT_EQ(saved().size(), 1u) << "not before the hour is over";
    clock.Advance(OneSecond);
    Tick();
    FinishSaves();
    EXPECT_EQ(saved(), (std::vector<std::string>{"run autosave 05-14 09_30.CSV", "run autosave 05-14 10_30.CSV"}));

    form->ButtonBypass->click();
    Tick(3, 3600);
    FinishSaves();
    EXPECT_EQ(saved().size(), 2u) << "only in Dilution";
    EXPECT_TRUE(dialogs.Errors.empty());
}

TEST_F(RunIntegrationTest, AHumidifiedMethodStartsItsWorkerOnceAndEachButtonStopsItFirst)
{
    Ready("O2", "N2");
    struct Case {
        QPushButton* button;
        int ticks;
        Masks pattern;  // what the ticks after the click send
    };
    const Case cases[] = {
        {form->ButtonStop, 2, {0, 0}},
        {form->ButtonFlush, 1, {4, 35, 40, 0}},
        {form->ButtonBypass, 2, {4, 4}},
        {form->ButtonDilution, 2, {24}},  // a dry mixture this time
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button->text().toStdString());
        RunHumidified();
        const std::size_t sentBefore = ValveMasks().size();
        const TThreadWetting* worker = form->Mixer().WettingThread.get();
        Tick(4);
        QApplication::processEvents();
        EXPECT_EQ(form->Mixer().WettingThread.get(), worker) << "started once";
        Settle();
        EXPECT_EQ(From(ValveMasks(), sentBefore), Masks{}) << "the worker holds its first wet phase";
        EXPECT_EQ(ValveMasks().back(), Wet);

        // Let go, the worker finishes its cycles within the click.
        timing.Release();
        if (c.button == form->ButtonDilution) {
            Apply(10000, 0);
        } else {
            c.button->click();
        }
        EXPECT_EQ(form->Mixer().WettingThread, nullptr) << "stopped by the click";
        Settle();
        const std::size_t sentByTheWorker = ValveMasks().size();
        Tick(c.ticks);
        Settle();
        EXPECT_EQ(From(ValveMasks(), sentByTheWorker), c.pattern);
    }
    EXPECT_TRUE(dialogs.Errors.empty());
}

TEST_F(RunIntegrationTest, TheMadeMixtureRowsThePlotTheJournalAndTheTGTabFollowTheTick)
{
    Ready("O2", "N2");
    form->RtIntegerEdit3->SetValue(300);
    form->RtIntegerEdit4->SetValue(100);
    Apply(10000);
    const int rowsBefore = form->Mixer().RecordGrid.RowCount();
    const std::size_t samplesBefore = form->MixturePlot->Trace().Samples().size();
    EXPECT_EQ(form->LabelTGAppm->text(), "Unknown");

    // A flowing gas: the totalizers count up between the ticks.
    while (storedAt.size() < 5) Tick(1, 0.35);
    const int last = LastRow();
    EXPECT_EQ(form->Mixer().RecordGrid.RowCount(), rowsBefore + 4) << "the reset row filled, four appended";
    EXPECT_EQ(Cell("Mode", last), "Dilution");
    EXPECT_EQ(Cell("Method", last), "A (constant) in B");

    const auto& samples = form->MixturePlot->Trace().Samples();
    ASSERT_EQ(samples.size(), samplesBefore + 5);
    EXPECT_DOUBLE_EQ(samples.back().Time, storedAt.back());
    const auto& markers = form->MixturePlot->Trace().Markers();
    EXPECT_TRUE(std::any_of(markers.begin(), markers.end(), [](const TPlotMarker& m) { return m.Label == "Dilution"; }));

    ASSERT_TRUE(form->Mixer().Journal);
    form->Mixer().Journal->WaitIdle();
    std::vector<std::string> journal;
    for (const std::string& line : Lines(QString::fromStdString(ReadAll(form->Mixer().Journal->Path())).trimmed())) {
        if (!line.starts_with('#')) journal.push_back(line);
    }
    EXPECT_TRUE(ReadAll(form->Mixer().Journal->Path()).find("#plan 1;") != std::string::npos) << "the plan with them";
    ASSERT_EQ(journal.size(), 1 + storedAt.size()) << "the header and each stored row";
    EXPECT_NE(journal.back().find(Cell("Time", last)), std::string::npos) << journal.back();

    // The TG tab shows the last row diluted by the protective gas: 100 in 400.
    const auto ppm = [](const std::string& text) {
        std::string digits;
        std::copy_if(text.begin(), text.end(), std::back_inserter(digits), [](char ch) { return ch != ' '; });
        return std::stod(digits);
    };
    const std::string shown = form->LabelTGAppm->text().toStdString();
    ASSERT_NE(shown, "Unknown");
    EXPECT_NEAR(ppm(shown), ppm(Cell("A ppm", last)) / 4, 1.0) << shown;
    const auto log = Lines(form->MemoDevFeedback->toPlainText());
    EXPECT_NE(std::find(log.begin(), log.end(), "A source ppm   : " + Cell("A ppm", last)), log.end());
    EXPECT_TRUE(dialogs.Errors.empty());
}

// A stop signal in the middle of the flush, of a pulse and of a wetting
// cycle, with the mixer on its own thread as in the program: the signal
// takes the window's close through the event loop, the mixer meets it at its
// next pause, and nothing reaches the instruments after the all-shut.
TEST_F(RunIntegrationTest, TermDuringTheFlushEndsItWithEverythingShut)
{
    OnItsOwnThread();
    Ready("O2", "N2");
    std::optional<Logs> atClose;
    const auto bridge = BridgeClosingTheWindow(atClose);
    // Raised in the first wait, taken at the sequence's next pause.
    whileSleeping = [this](std::uint32_t) {
        if (sleeps.size() == 1) RaiseAndWaitForTheClose();
    };
    form->ButtonFlush->click();
    ExpectSafeAndQuietAfterTheClose(atClose);
    EXPECT_EQ(sleeps, std::vector<std::uint32_t>{2000}) << "the flush went no further";
    EXPECT_EQ(atClose->valves, (Masks{4, 35, 0}));
    EXPECT_EQ(atClose->mfc2, (Floats{static_cast<float>(form->Mixer().MaxFlowB), 0}));
}

TEST_F(RunIntegrationTest, TermDuringAPulseEndsWithEverythingShut)
{
    OnItsOwnThread();
    Ready("O2", "Ar");
    std::optional<Logs> atClose;
    const auto bridge = BridgeClosingTheWindow(atClose);
    whileSleeping = [this](std::uint32_t) {
        if (sleeps.size() == 1) RaiseAndWaitForTheClose();
    };
    Apply(150);
    SyncWithMixer();
    ASSERT_EQ(form->Snapshot().MixingMethod, "A (pulse) in B");
    clock.Advance(OneHour);  // far behind: every tick pulses
    ExpectSafeAndQuietAfterTheClose(atClose);
    EXPECT_EQ(atClose->valves, (Masks{24, 0}));
    EXPECT_EQ(std::count(atClose->mfc1.begin(), atClose->mfc1.end(), 0.035f), 1) << "one pulse";
}

TEST_F(RunIntegrationTest, TermWhileTheWorkerRunsStopsItThenShutsEverything)
{
    OnItsOwnThread();
    Ready("O2", "N2");
    timing.Restart();
    timing.HoldAt(0.5);
    Apply(10000, 10000);
    ServeUntil([this] { return timing.Held(); });
    std::optional<Logs> atClose;
    const auto bridge = BridgeClosingTheWindow(atClose);
    timing.Release();
    ASSERT_EQ(raise(SIGTERM), 0);
    ExpectSafeAndQuietAfterTheClose(atClose);
    const Masks& valves = atClose->valves;
    ASSERT_GE(valves.size(), 3u);
    EXPECT_EQ(valves[valves.size() - 2], 24) << "the worker's last pattern came before the shut-down";
}

}  // namespace
}  // namespace gasmixer::test
