#pragma once

#include "LockstepTiming.h"

#include "common/ManualClock.h"
#include "mixer/Mixer.h"
#include "sim/SimulatorHost.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace gasmixer::test {

// What the mixer tells, as a run on the test's thread sees it.
class RecordingView final : public MixerView {
public:
    explicit RecordingView(const ManualClock& clock) : clock_(clock) {}

    void DevFeedback(const std::string& line) override { Lines.push_back(line); }
    void Error(const std::string& message) override { Errors.push_back(message); }
    void RelayBoardChecked(bool ok) override { RelayBoardOk = ok; }
    void MfcChecked(bool ok) override { MfcOk = ok; }
    void RowStored(int, const RecordRow& row) override
    {
        RowsAt.push_back(clock_.Elapsed());
        Rows.push_back(row);
    }
    void DeliveryAlarmChanged(const DeliveryAlarm& alarm) override
    {
        Alarms.push_back({alarm, clock_.Elapsed()});
    }

    struct SeenAlarm {
        DeliveryAlarm Alarm;
        double At;  // monotonic days
    };
    std::vector<std::string> Lines;
    std::vector<std::string> Errors;
    std::vector<RecordRow> Rows;
    std::vector<double> RowsAt;  // monotonic days of each stored row
    std::vector<SeenAlarm> Alarms;
    bool RelayBoardOk = false;
    bool MfcOk = false;

private:
    const ManualClock& clock_;
};

// A run of the core against the simulated instruments on the test's clock:
// the tick, the pulses' waits, the wetting worker and the instruments all
// see time pass only when the test steps it, so minutes take seconds and
// the wall clock can jump while the elapsed time goes on.
class SteppedRunTest : public ::testing::Test {
protected:
    ManualClock clock{EncodeDateTime(2026, 10, 25, 1, 30)};
    LockstepTiming workerTiming{clock};
    sim::SimulatorHost host{SimulatorOnTheClock()};
    RecordingView view{clock};
    TMixer mixer{MixerServices{.clock = clock,
                               .monotonic = clock,
                               .sleep = [this](std::uint32_t ms) { Step(ms / 1000.0); },
                               .linePause = [](std::uint32_t) {},
                               .wettingTiming = workerTiming,
                               .journalFolder = {}},
                 view};

    void TearDown() override { workerTiming.Release(); }

    sim::SimulatorOptions SimulatorOnTheClock()
    {
        sim::SimulatorOptions options;
        options.pacing = false;
        options.clock = [this] {
            const std::chrono::duration<double> elapsed(clock.Elapsed() * SecondsPerDay);
            return sim::TimePoint{} + std::chrono::duration_cast<sim::SimClock::duration>(elapsed);
        };
        return options;
    }

    bool WorkerRuns()
    {
        return mixer.WettingThread && !mixer.WettingThread->WaitStopped(std::chrono::milliseconds(0));
    }

    void Step(double seconds)
    {
        workerTiming.Advance(seconds * OneSecond, [this] { return WorkerRuns(); });
    }

    // Both lines validated, the gases chosen, the bubbler read.
    void Ready(const std::string& gasA, const std::string& gasB)
    {
        mixer.ChoosePorts(host.RelayBoardPath(), host.MfcLinePath());
        mixer.Validate();
        ASSERT_TRUE(view.RelayBoardOk && view.MfcOk);
        mixer.ChooseGas(1, gasA);
        mixer.ChooseGas(2, gasB);
        mixer.ReadWaterTemperature();
    }

    // Ticks every `tick` seconds for `seconds`, the clock moving in `step`s.
    void RunFor(double seconds, double tick = 1.0, double step = 1.0)
    {
        const double end = clock.Elapsed() + seconds * OneSecond;
        double nextTick = clock.Elapsed();
        while (clock.Elapsed() < end - 1e-9 * OneSecond) {
            if (clock.Elapsed() >= nextTick - 1e-9 * OneSecond) {
                mixer.Timer1Timer();
                nextTick += tick * OneSecond;
            }
            Step(step);
        }
    }

    double Seconds() const { return clock.Elapsed() / OneSecond; }
};

}  // namespace gasmixer::test
