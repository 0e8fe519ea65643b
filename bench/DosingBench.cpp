// The pulse methods in real time, through the window's own tick, against the
// simulated controllers (flow lag and line pacing on): the mass the pulsed
// controller delivered against the plan's own flow of that gas times the
// elapsed time, the mixture's composition rather than any internal target.
//
//   bench_dosing                         every pulse method, one after the other, 10 minutes each
//   bench_dosing --pulse A|B             the methods that pulse gas A, or gas B, only
//   bench_dosing --minutes N             run length (the 1, 2, 5, 10 minute marks within it)
//   bench_dosing --pulse A --a-ppm N     another mixture (it must still plan a pulse method)
//
// The masses come from the simulated controller's own totalizer, read every
// 100 ms on a thread of its own, so a tick in progress does not delay them.
#include "app/GuardedApplication.h"
#include "bench/BenchMixer.h"
#include "common/MonotonicClock.h"
#include "mixing/MixturePlanner.h"
#include "regulation/PulseRegulation.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace gasmixer::bench {
namespace {

struct PulseCase {
    char pulsed;         // 'A' or 'B'
    const char* method;  // what the planner must choose
    int gasAPpm;         // O2 in N2; a required flow well inside the pulse range
    int h2oPpm;
};

// O2 at 300 ppm needs about 29 % of the O2 controller's minimum; N2 at
// 50 000 ppm about 40 % of the N2 controller's. Humidified, gas B carries at
// most about 1 150 ppm of water here (pH2O at 20 ºC times its share).
constexpr PulseCase Cases[] = {
    {'A', "A (pulse) in B", 300, 0},
    {'B', "B (pulse) in A", 950000, 0},
    {'B', "B/H2O (pulse) in A", 950000, 1000},
};

struct Mark {
    double minutes = 0.0;  // since the totalizer reset
    double deliveredG = 0.0;
    double targetG = 0.0;
    // delivered - target over the stretch since the mark before: the pulses
    // make a saw-tooth, and one reading alone may catch it anywhere
    double lowG = 0.0;
    double highG = 0.0;
};

constexpr auto SampleEvery = std::chrono::milliseconds(100);

// Pulses as the controller saw them: from the pulse setpoint to the next write.
struct PulseFigures {
    int count = 0;
    double meanMs = 0.0;
    double maxMs = 0.0;
};

PulseFigures Pulses(const std::vector<sim::SetpointWrite>& log, float pulseSetpoint)
{
    PulseFigures figures;
    double sum = 0.0;
    for (std::size_t i = 0; i + 1 < log.size(); ++i) {
        if (log[i].value != pulseSetpoint) continue;
        const double ms = std::chrono::duration<double, std::milli>(log[i + 1].received - log[i].received).count();
        ++figures.count;
        sum += ms;
        figures.maxMs = std::max(figures.maxMs, ms);
    }
    if (figures.count) figures.meanMs = sum / figures.count;
    return figures;
}

std::vector<double> MarksWithin(double minutes)
{
    std::vector<double> marks;
    for (double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m < minutes) marks.push_back(m);
    }
    marks.push_back(minutes);
    return marks;
}

bool Run(const PulseCase& pulseCase, double minutes)
{
    BenchMixer mixer;
    TForm1& form = mixer.Form();
    mixer.Ready("O2", "N2");
    mixer.Apply(pulseCase.gasAPpm, pulseCase.h2oPpm);
    const std::string method = form.Snapshot().MixingMethod;
    if (method != pulseCase.method) {
        std::printf("%d ppm O2 and %d ppm H2O in N2 plan \"%s\", not \"%s\"\n", pulseCase.gasAPpm,
                    pulseCase.h2oPpm, method.c_str(), pulseCase.method);
        return false;
    }
    const bool gasA = pulseCase.pulsed == 'A';
    // The plan's flow of the pulsed gas, planned again as the Apply did.
    const auto [required, start] = mixer.Ask([gasA, pulseCase](TMixer& m) {
        const PlanResult plan = PlanMixture(m.PlanInputFor({pulseCase.gasAPpm, pulseCase.h2oPpm, {}}));
        return std::pair{gasA ? plan.RequiredFlowA : double{plan.FlowB},
                         gasA ? m.TotalizerA.StartTime : m.TotalizerB.StartTime};
    });
    sim::FlowController& controller = mixer.Host().Mfc(gasA ? 1 : 2);
    const MonotonicClock& clock = SystemMonotonicClock::Instance();

    std::vector<Mark> marks;
    for (double m : MarksWithin(minutes)) marks.push_back({m});
    // A loop of its own: the application's quit would close the window.
    QEventLoop loop;
    std::thread sampler([&] {
        auto next = std::chrono::steady_clock::now();
        double low = 0.0;
        double high = 0.0;
        for (Mark& mark : marks) {
            for (;;) {
                next += SampleEvery;
                std::this_thread::sleep_until(next);
                const double elapsed = (clock.Elapsed() - start) / OneMinute;
                const double delivered = controller.TotalizerKg() * 1000.0;
                low = std::min(low, delivered - required * elapsed);
                high = std::max(high, delivered - required * elapsed);
                if (elapsed < mark.minutes) continue;
                mark = {elapsed, delivered, required * elapsed, low, high};
                low = high = delivered - required * elapsed;
                break;
            }
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    sampler.join();

    const PulseFigures pulses = Pulses(controller.SetpointLog(), gasA ? PulseSetpointA : PulseSetpointB);
    const auto [pulseCount, extra] = mixer.Ask(
        [gasA](TMixer& m) { return std::pair{m.PulseCount, gasA ? m.PulseExtraA : m.PulseExtraB}; });
    std::printf("\n\"%s\", %d ppm O2 and %d ppm H2O in N2: planned flow %c %.9f g/min, controller minimum "
                "%.6f g/min\n",
                pulseCase.method, pulseCase.gasAPpm, pulseCase.h2oPpm, pulseCase.pulsed, required,
                gasA ? form.Snapshot().FlowInfoA.Min : form.Snapshot().FlowInfoB.Min);
    std::printf("%8s  %12s  %12s  %13s  %6s  %29s\n", "minutes", "delivered g", "target g", "difference g",
                "ratio", "difference since the last mark");
    for (const Mark& mark : marks) {
        std::printf("%8.3f  %12.9f  %12.9f  %+13.9f  %6.3f  [%+13.9f, %+13.9f]\n", mark.minutes, mark.deliveredG,
                    mark.targetG, mark.deliveredG - mark.targetG, mark.deliveredG / mark.targetG, mark.lowG,
                    mark.highG);
    }
    std::printf("pulses %d (the mixer counted %d), length at the controller mean %.0f ms, max %.0f ms; "
                "lengthening counter at the end %.0f; errors shown %d\n",
                pulses.count, pulseCount, pulses.meanMs, pulses.maxMs, extra, mixer.Errors());
    std::fflush(stdout);
    // No pulse reached the controller: nothing was dosed, nothing measured.
    if (pulses.count == 0) std::printf("no pulse reached the controller: nothing was measured\n");
    return pulses.count > 0;
}

int Usage(const char* program, bool asked)
{
    std::printf("usage: %s [--pulse A|B] [--minutes N] [--a-ppm N]\n", program);
    return asked ? 0 : 2;
}

}  // namespace
}  // namespace gasmixer::bench

int main(int argc, char** argv)
{
    using namespace gasmixer::bench;
    UseOffscreenPlatform();
    gasmixer::GuardedApplication application(argc, argv);

    double minutes = 10.0;
    std::optional<char> only;
    std::optional<int> gasAPpm;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--minutes") == 0 && hasValue) {
            minutes = std::stod(argv[++i]);
        } else if (std::strcmp(argv[i], "--pulse") == 0 && hasValue) {
            only = argv[++i][0];
        } else if (std::strcmp(argv[i], "--a-ppm") == 0 && hasValue) {
            gasAPpm = std::stoi(argv[++i]);
        } else {
            return Usage(argv[0], std::strcmp(argv[i], "--help") == 0);
        }
    }
    if (minutes <= 0.0 || (only && *only != 'A' && *only != 'B') || (gasAPpm && !only)) return Usage(argv[0], false);

    std::printf("pulse methods through the mixer's tick against the simulator, %.1f min each\n", minutes);
    bool planned = true;
    try {
        for (PulseCase pulseCase : Cases) {
            if (only && pulseCase.pulsed != *only) continue;
            if (gasAPpm) pulseCase.gasAPpm = *gasAPpm;
            planned = Run(pulseCase, minutes) && planned;
        }
    } catch (const std::exception& error) {
        std::printf("%s\n", error.what());
        return 1;
    }
    return planned ? 0 : 1;
}
