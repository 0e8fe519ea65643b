// The wetting worker against the simulated relay board, in real time: how
// closely the wet time the board saw follows the wanted share of the time.
//
//   bench_wetting             2 minutes for each fraction
//   bench_wetting --minutes N
//   bench_wetting --hour      60 minutes
//
// The fractions run side by side, each on a board of its own. The figures
// come from the board's valve log, not from the worker's own sums.
#include "mixer/RelayLine.h"
#include "mixer/ThreadWetting.h"
#include "sim/SimulatorHost.h"

#include <algorithm>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace gasmixer;
using namespace std::chrono_literals;

constexpr std::uint8_t WetPattern = 19;

struct Run {
    double fraction = 0.0;
    std::unique_ptr<sim::SimulatorHost> host;
    RelayLine relayBoard;
    double wetTimeOccurred = 0.0;
    std::size_t traceLines = 0;
    std::unique_ptr<TThreadWetting> worker;
    sim::TimePoint started;
};

// Seconds with the wet pattern in force between `from` and `until`.
double WetSeconds(const std::vector<sim::ValveCommand>& log, sim::TimePoint from, sim::TimePoint until)
{
    double wet = 0.0;
    std::optional<sim::TimePoint> wetSince;
    for (const sim::ValveCommand& command : log) {
        if (command.received > until) break;
        if (command.mask == WetPattern) {
            if (!wetSince) wetSince = std::max(command.received, from);
        } else if (wetSince) {
            wet += std::chrono::duration<double>(command.received - *wetSince).count();
            wetSince.reset();
        }
    }
    if (wetSince) wet += std::chrono::duration<double>(until - *wetSince).count();
    return wet;
}

// The wet time the board saw minus the wanted share of the time, at `atS`.
double WetError(const Run& run, const std::vector<sim::ValveCommand>& log, double atS)
{
    const auto at = run.started + std::chrono::duration_cast<sim::SimClock::duration>(std::chrono::duration<double>(atS));
    return WetSeconds(log, run.started, at) - run.fraction * atS;
}

// Takes the worker's hand-overs as the mixer's tick does.
void TakeResults(Run& run)
{
    const TWettingResults results = run.worker->TakeResults();
    run.wetTimeOccurred = results.WetTimeOccurred;
    run.traceLines += results.Trace.size();
}

}  // namespace

int main(int argc, char** argv)
{
    double minutes = 2.0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--hour") == 0) {
            minutes = 60.0;
        } else if (std::strcmp(argv[i], "--minutes") == 0 && i + 1 < argc) {
            minutes = std::stod(argv[++i]);
        } else {
            std::printf("usage: %s [--minutes N | --hour]\n", argv[0]);
            return std::strcmp(argv[i], "--help") == 0 ? 0 : 2;
        }
    }

    std::vector<Run> runs(3);
    const double fractions[] = {0.02, 0.3, 0.97};
    for (std::size_t i = 0; i < runs.size(); ++i) {
        Run& run = runs[i];
        run.fraction = fractions[i];
        run.host = std::make_unique<sim::SimulatorHost>();
        run.relayBoard.SetPort(run.host->RelayBoardPath());
        run.started = sim::SimClock::now();
        run.worker = std::make_unique<TThreadWetting>(SystemWorkerTiming::Instance(), run.relayBoard);
        run.worker->DesiredWETFractionOfTime = run.fraction;
        run.worker->LoopTimeS = 3.0;
        run.worker->Start();
    }
    std::printf("wetting fractions 0.02, 0.3, 0.97 side by side, 3 s cycles, %.0f min\n", minutes);
    std::fflush(stdout);

    const auto end = runs.front().started + std::chrono::duration<double>(minutes * 60.0);
    while (sim::SimClock::now() < end) {
        for (Run& run : runs) TakeResults(run);
        std::this_thread::sleep_for(250ms);
    }
    for (Run& run : runs) run.worker->RequestStop();
    for (Run& run : runs) {
        while (!run.worker->WaitStopped(250ms)) TakeResults(run);
        TakeResults(run);
    }

    std::vector<double> checkpoints{1.0, 2.0};
    if (minutes >= 10.0) checkpoints.push_back(10.0);
    if (minutes >= 30.0) checkpoints.push_back(30.0);
    if (minutes >= 60.0) checkpoints.push_back(60.0);
    std::printf("\naccumulated wet-time error, board's wet time - fraction x elapsed (s),\n"
                "at the minute and its range over the cycle before it (wet comes first in a cycle):\n");
    std::printf("%-9s", "fraction");
    for (double m : checkpoints) std::printf("  %24.0f min", m);
    std::printf("  %10s  %12s\n", "hand-overs", "worker wet s");
    bool measured = true;
    for (Run& run : runs) {
        run.worker.reset();
        const auto log = run.host->RelayBoard().ValveLog();
        std::printf("%-9.2f", run.fraction);
        for (double m : checkpoints) {
            const double at = m * 60.0;
            double low = WetError(run, log, at);
            double high = low;
            for (double t = at - 3.0; t < at; t += 0.01) {
                low = std::min(low, WetError(run, log, t));
                high = std::max(high, WetError(run, log, t));
            }
            std::printf("  %+8.3f [%+7.3f, %+7.3f]", WetError(run, log, at), low, high);
        }
        // The worker's own wet-time sum at its end, for comparison.
        std::printf("  %10zu  %12.1f\n", run.traceLines, run.wetTimeOccurred);
        // A board that saw no wet pattern measured nothing.
        if (run.traceLines == 0 || log.empty()) measured = false;
    }
    if (!measured) std::fprintf(stderr, "bench_wetting: a worker switched no valve; nothing was measured\n");
    return measured ? 0 : 1;
}
