// A day in minutes: 24 hours of a humidified pulse method through the
// window's real tick, store cadence, autosave, journal, memos and plot, on a
// stepped clock with the simulated instruments answering in this process.
// Reports rows against the cadence's count, the autosaves, the automatic
// stop at 24 h and its re-arming, the journal's size and the resident memory
// at 1 h and at 24 h; fails when any of them is not what a day gives.
#include "BenchMixer.h"
#include "app/Form1.h"
#include "app/GuardedApplication.h"
#include "common/ManualClock.h"
#include "sim/InProcessInstruments.h"
#include "tests/mixer/LockstepTiming.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <malloc.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace gasmixer::bench {
namespace {

namespace fs = std::filesystem;

constexpr double TickSeconds = 0.25;

// What the heap holds in live blocks, as against what the process keeps.
double HeapInUseMB() { return static_cast<double>(mallinfo2().uordblks) / (1024.0 * 1024.0); }

double ResidentMB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmRSS:")) return std::stod(line.substr(6)) / 1024.0;
    }
    return 0.0;
}

int Fail(const std::string& why)
{
    std::fprintf(stderr, "bench_day: %s\n", why.c_str());
    return 1;
}

int CountAutosaves(const fs::path& folder)
{
    int count = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().find(" autosave ") != std::string::npos) ++count;
    }
    return count;
}

int Run(double hours)
{
    QTemporaryDir scratch;
    if (!scratch.isValid()) return Fail("no scratch folder");
    const fs::path folder = scratch.path().toStdString();
    const fs::path oldFolder = fs::current_path();
    fs::current_path(folder);  // the autosaves go to the working folder

    const TDateTime start = EncodeDateTime(2026, 12, 11, 9, 0, 0);
    ManualClock clock(start);
    test::LockstepTiming workerTiming(clock);
    sim::InProcessInstruments instruments([&clock] {
        const std::chrono::duration<double> elapsed(clock.Elapsed() * SecondsPerDay);
        return sim::TimePoint{} + std::chrono::duration_cast<sim::SimClock::duration>(elapsed);
    });
    QuietDialogs dialogs;
    TForm1* formPointer = nullptr;
    const auto workerRuns = [&formPointer] {
        const TMixer& mixer = formPointer->Mixer();
        return mixer.WettingThread && !mixer.WettingThread->WaitStopped(std::chrono::milliseconds(0));
    };
    // Near the automatic stop the worker goes on in real time, so that the
    // stop can wait for the end of its cycle.
    bool released = false;
    const auto step = [&](double seconds) {
        if (released) clock.Advance(seconds * OneSecond);
        else workerTiming.Advance(seconds * OneSecond, workerRuns);
    };
    FormServices services{.clock = clock,
                          .monotonic = clock,
                          .listPorts = [] { return std::vector<TPortChoice>{}; },
                          .dialogs = dialogs,
                          .sleep = [&step](std::uint32_t ms) { step(ms / 1000.0); },
                          .linePause = [](std::uint32_t) {},
                          .wettingTiming = workerTiming};
    services.journalFolder = (folder / "journal").string();
    services.mixerThread = false;
    TForm1 form(std::move(services));
    formPointer = &form;
    static_cast<GuardedApplication&>(*qApp).SetErrorHandler([&form](const std::string& m) { form.ReportError(m); });
    form.show();
    QApplication::processEvents();

    TMixer& mixer = form.Mixer();
    mixer.ChoosePorts(sim::InProcessInstruments::RelayPort, sim::InProcessInstruments::MfcPort);
    mixer.Validate();
    if (!mixer.RelayBoardOK || !mixer.MFCOK) return Fail("the in-process instruments did not validate");
    mixer.ChooseGas(1, "O2");
    mixer.ChooseGas(2, "N2");
    mixer.ReadWaterTemperature();
    mixer.ButtonDilutionClick({150, 10000, std::nullopt});
    if (mixer.MixingMethod != "A (pulse) in B/H2O") return Fail("planned " + mixer.MixingMethod);
    mixer.SetCounterHours(hours);
    mixer.ButtonAddToCounterClick();
    const TDateTime deadline = mixer.StopDeadline;

    const auto began = std::chrono::steady_clock::now();
    // Resident memory after 1, 2, 4, 8 and 16 hours.
    struct Memory {
        int hour;
        double resident;
        double heap;
    };
    std::vector<Memory> resident;
    int nextHour = 1;
    std::optional<double> stoppedAt;
    double stopReturnedAt = 0.0;
    int rowsInFirst30s = 0;
    form.RowStoredHook = [&](const RecordRow&) {
        if (clock.Elapsed() - mixer.TotalizerB.StartTime <= 30 * OneSecond) ++rowsInFirst30s;
    };
    int ticks = 0;
    double nextTick = clock.Elapsed();
    const double end = clock.Elapsed() + (hours + 0.25) * OneHour;
    while (clock.Elapsed() < end) {
        if (clock.Elapsed() >= nextTick - 1e-9 * OneSecond) {
            if (!released && clock.Now() > deadline - OneSecond) {
                workerTiming.Release(true);
                released = true;
            }
            // The stop waits for the worker's cycle on the worker's own time.
            const TDateTime tickAt = clock.Now();
            mixer.Timer1Timer();
            ++ticks;
            nextTick += TickSeconds * OneSecond;
            // The window takes the news about once a second, as it would.
            if (ticks % 4 == 0) QApplication::processEvents();
            if (!stoppedAt && mixer.Mode == TMixerState::Standby) {
                stoppedAt = tickAt;
                stopReturnedAt = clock.Now();
            }
            if (nextHour < hours && clock.Elapsed() >= mixer.TotalizerB.StartTime + nextHour * OneHour) {
                mixer.FinishSaves();
                QApplication::processEvents();
                resident.push_back({nextHour, ResidentMB(), HeapInUseMB()});
                nextHour *= 2;
            }
        }
        step(std::max(0.0, (nextTick - clock.Elapsed()) / OneSecond));
    }
    mixer.FinishSaves();
    QApplication::processEvents();
    const double residentAt24h = ResidentMB();
    const double heapAt24h = HeapInUseMB();
    const double wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();

    const int rows = mixer.RecordGrid.RowCount() - 1;
    // One a minute from the end of the first 30 s until the stop.
    const int cadenceRowsAfter30s = static_cast<int>((hours * 3600.0 - 30.0) / 60.0);
    const int autosaves = CountAutosaves(folder);
    std::uintmax_t journalBytes = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder / "journal"))
        journalBytes += entry.file_size();
    const int memoLines = form.MemoDevFeedback->document()->blockCount();

    std::printf("day: %d ticks of %.2f h in %.0f s\n", ticks, hours + 0.25, wallSeconds);
    std::printf("rows: %d stored, %d in the first 30 s and %d after, against %d by the cadence "
                "(one a minute after the first 30 s)\n",
                rows, rowsInFirst30s, rows - rowsInFirst30s, cadenceRowsAfter30s);
    std::printf("autosaves: %d (target %.0f)\n", autosaves, std::ceil(hours));
    std::printf("automatic stop: fired by the tick at +%.4f h (deadline +%.4f h), mode %s after it, re-armed "
                "for %.4f h after the stop\n",
                stoppedAt ? (*stoppedAt - start) * 24.0 : -1.0, (deadline - start) * 24.0,
                std::string(MixerStateName(mixer.Mode)).c_str(), (mixer.StopDeadline - stopReturnedAt) * 24.0);
    std::printf("journal: %.2f MB\n", journalBytes / 1e6);
    std::printf("debug memo: %d lines\n", memoLines);
    if (resident.empty()) return Fail("no memory figure");
    const double residentAt1h = resident.front().resident;
    std::printf("resident memory:");
    for (const Memory& m : resident) std::printf(" %.1f MB at %d h,", m.resident, m.hour);
    std::printf(" %.1f MB at the end; growth after the first hour %.1f %% (target < 5 %%)\n", residentAt24h,
                100.0 * (residentAt24h - residentAt1h) / residentAt1h);
    std::printf("heap in use:");
    for (const Memory& m : resident) std::printf(" %.2f MB at %d h,", m.heap, m.hour);
    std::printf(" %.2f MB at the end\n", heapAt24h);

    fs::current_path(oldFolder);
    const int rowsAfter30s = rows - rowsInFirst30s;
    if (rowsInFirst30s < 25 || std::abs(rowsAfter30s - cadenceRowsAfter30s) > 2)
        return Fail("the rows do not follow the cadence");
    if (autosaves != static_cast<int>(std::ceil(hours))) return Fail("not one autosave an hour");
    if (!stoppedAt || std::abs(*stoppedAt - deadline) > OneMinute) return Fail("no automatic stop at 24 h");
    if (std::abs(mixer.StopDeadline - stopReturnedAt - hours * OneHour) > OneMinute)
        return Fail("the automatic stop did not re-arm");
    if (journalBytes == 0) return Fail("no journal");
    return 0;
}

}  // namespace
}  // namespace gasmixer::bench

int main(int argc, char** argv)
{
    gasmixer::bench::UseOffscreenPlatform();
    gasmixer::GuardedApplication application(argc, argv);
    // --hours N: a shorter day, for a memory profiler's run.
    const double hours = argc == 3 && std::string(argv[1]) == "--hours" ? std::stod(argv[2]) : 24.0;
    return gasmixer::bench::Run(hours);
}
