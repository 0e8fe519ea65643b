// The control tick on the window thread in real time, against the simulator
// (line pacing on): the period between ticks and how long each tick holds
// the thread, in Standby, in a constant-flow Dilution and in a pulse Dilution.
//
//   bench_ticks                one minute in each mode
//   bench_ticks --minutes N    N minutes in each mode
//
// The window's timer is wired to a wrapper that times Timer1Timer; nothing
// else changes.
#include "app/GuardedApplication.h"
#include "bench/BenchMixer.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace gasmixer::bench {
namespace {

using Steady = std::chrono::steady_clock;

double Ms(Steady::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Times every tick the timer starts; a tick started inside another one (it
// returns at once) is counted, not timed.
class TickTimes {
public:
    explicit TickTimes(TForm1& form) : form_(form)
    {
        QObject::disconnect(form.Timer1, &QTimer::timeout, &form, &TForm1::Timer1Timer);
        QObject::connect(form.Timer1, &QTimer::timeout, &form, [this] { Tick(); });
    }

    void Restart()
    {
        periodsMs_.clear();
        lengthsMs_.clear();
        nested_ = 0;
        lastStart_.reset();
    }

    const std::vector<double>& PeriodsMs() const { return periodsMs_; }
    const std::vector<double>& LengthsMs() const { return lengthsMs_; }
    int Nested() const { return nested_; }

private:
    // Records the length also when the tick ends with an error.
    struct Timing {
        TickTimes& times;
        Steady::time_point start = Steady::now();
        ~Timing()
        {
            if (--times.depth_ == 0) times.lengthsMs_.push_back(Ms(Steady::now() - start));
        }
    };

    void Tick()
    {
        if (depth_ > 0) {
            ++nested_;
        } else {
            const Steady::time_point now = Steady::now();
            if (lastStart_) periodsMs_.push_back(Ms(now - *lastStart_));
            lastStart_ = now;
        }
        ++depth_;
        const Timing timing{*this};
        form_.Timer1Timer();
    }

    TForm1& form_;
    int depth_ = 0;
    int nested_ = 0;
    std::optional<Steady::time_point> lastStart_;
    std::vector<double> periodsMs_;
    std::vector<double> lengthsMs_;
};

// Nearest rank.
double Percentile(std::vector<double> values, double share)
{
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(share * static_cast<double>(values.size()) + 0.999999);
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

void RunFor(double minutes)
{
    QTimer::singleShot(std::chrono::milliseconds(static_cast<long long>(minutes * 60000.0)), qApp,
                       &QCoreApplication::quit);
    QCoreApplication::exec();
}

void PrintRow(const char* mode, const TickTimes& times)
{
    const auto& periods = times.PeriodsMs();
    const auto& lengths = times.LengthsMs();
    std::printf("%-32s %6zu  %7.1f %7.1f %7.1f   %7.1f %7.1f %7.1f  %6d\n", mode, lengths.size(),
                Percentile(periods, 0.5), Percentile(periods, 0.99),
                periods.empty() ? 0.0 : *std::max_element(periods.begin(), periods.end()), Percentile(lengths, 0.5),
                Percentile(lengths, 0.99), lengths.empty() ? 0.0 : *std::max_element(lengths.begin(), lengths.end()),
                times.Nested());
    std::fflush(stdout);
}

void Run(double minutes)
{
    BenchMixer mixer;
    TForm1& form = mixer.Form();
    TickTimes times(form);
    mixer.Ready("O2", "N2");

    std::printf("control tick against the simulator, %.1f min in each mode (ms)\n", minutes);
    std::printf("%-32s %6s  %7s %7s %7s   %7s %7s %7s  %6s\n", "mode", "ticks", "period", "p99", "max",
                "tick", "p99", "max", "nested");

    form.ButtonStop->click();
    times.Restart();
    RunFor(minutes);
    PrintRow("Standby", times);

    struct Mixture {
        int gasAPpm;
        const char* method;
    };
    for (const Mixture& mixture : {Mixture{10000, "A (constant) in B"}, Mixture{300, "A (pulse) in B"}}) {
        mixer.Apply(mixture.gasAPpm);
        if (form.MixingMethod != mixture.method)
            throw std::runtime_error("planned " + form.MixingMethod + ", not " + mixture.method);
        times.Restart();
        RunFor(minutes);
        PrintRow(("Dilution, " + form.MixingMethod).c_str(), times);
    }
    std::printf("errors shown %d\n", mixer.Errors());
}

}  // namespace
}  // namespace gasmixer::bench

int main(int argc, char** argv)
{
    gasmixer::bench::UseOffscreenPlatform();
    gasmixer::GuardedApplication application(argc, argv);
    double minutes = 1.0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--minutes") == 0 && i + 1 < argc) {
            minutes = std::stod(argv[++i]);
        } else {
            std::printf("usage: %s [--minutes N]\n", argv[0]);
            return std::strcmp(argv[i], "--help") == 0 ? 0 : 2;
        }
    }
    try {
        gasmixer::bench::Run(minutes);
    } catch (const std::exception& error) {
        std::printf("%s\n", error.what());
        return 1;
    }
    return 0;
}
