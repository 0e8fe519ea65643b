// The control tick on the mixer's thread in real time, against the simulator
// (line pacing on), and the window beside it: in Standby, a constant-flow
// Dilution, a pulse Dilution and a humidified Dilution,
//   - the tick period, from the ticks the window is told of;
//   - how long the window thread is held at a time, from a 1 ms probe timer
//     on it: its lateness, the longest in each tick's span;
//   - the latency of a key typed into a text field, posted from another
//     thread, until the field has taken it.
//
//   bench_ticks                one minute in each mode
//   bench_ticks --minutes N    N minutes in each mode
#include "app/GuardedApplication.h"
#include "bench/BenchMixer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QInputDevice>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace gasmixer::bench {
namespace {

using Steady = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto ProbeEvery = 1ms;
constexpr auto KeyEvery = 37ms;  // off the tick's beat

double Ms(Steady::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Nearest rank.
double Percentile(std::vector<double> values, double share)
{
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(share * static_cast<double>(values.size()) + 0.999999);
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

double Max(const std::vector<double>& values)
{
    return values.empty() ? 0.0 : *std::max_element(values.begin(), values.end());
}

// What one mode's run measured, on the window thread.
struct Figures {
    std::vector<double> periodsMs;   // between ticks
    std::vector<double> heldMs;      // the window's longest hold within each tick's span
    std::vector<double> keyMs;       // key posted -> field changed
    std::size_t frames = 0;          // requests the instruments received
    std::size_t rows = 0;            // rows stored
};

// Types into a field from a thread of its own, one key every KeyEvery:
// alternately a letter and a backspace, so the text stays short.
class Typist {
public:
    explicit Typist(QLineEdit& field) : field_(field)
    {
        // Made here, on the window thread, not lazily by the first key event.
        QInputDevice::primaryKeyboard();
        // Through a context of its own: keys still on their way find no Typist.
        QObject::connect(&field_, &QLineEdit::textChanged, &context_, [this] {
            const std::lock_guard lock(mutex_);
            if (sentAt_) latenciesMs_.push_back(Ms(Steady::now() - *sentAt_));
            sentAt_.reset();
        });
        thread_ = std::thread([this] { Type(); });
    }
    ~Typist()
    {
        stop_ = true;
        thread_.join();
    }

    std::vector<double> Latencies()
    {
        const std::lock_guard lock(mutex_);
        return latenciesMs_;
    }

private:
    void Type()
    {
        bool letter = true;
        while (!stop_) {
            std::this_thread::sleep_for(KeyEvery);
            {
                const std::lock_guard lock(mutex_);
                if (sentAt_) continue;  // the last key is not in yet
                sentAt_ = Steady::now();
            }
            const int key = letter ? Qt::Key_A : Qt::Key_Backspace;
            const QString text = letter ? QStringLiteral("a") : QString();
            QCoreApplication::postEvent(&field_, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
            QCoreApplication::postEvent(&field_, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, text));
            letter = !letter;
        }
    }

    QLineEdit& field_;
    QObject context_;
    std::mutex mutex_;
    std::optional<Steady::time_point> sentAt_;
    std::vector<double> latenciesMs_;
    std::atomic<bool> stop_ = false;
    std::thread thread_;
};

Figures Measure(BenchMixer& mixer, double minutes)
{
    TForm1& form = mixer.Form();
    Figures figures;
    const std::size_t framesBefore = mixer.FramesReceived();

    std::optional<Steady::time_point> lastTick;
    double heldThisTick = 0.0;
    form.TickedHook = [&] {
        const Steady::time_point now = Steady::now();
        if (lastTick) {
            figures.periodsMs.push_back(Ms(now - *lastTick));
            figures.heldMs.push_back(heldThisTick);
        }
        lastTick = now;
        heldThisTick = 0.0;
    };
    form.RowStoredHook = [&](const RecordRow&) { ++figures.rows; };

    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    Steady::time_point lastProbe = Steady::now();
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const Steady::time_point now = Steady::now();
        heldThisTick = std::max(heldThisTick, Ms(now - lastProbe - ProbeEvery));
        lastProbe = now;
    });
    probe.start(ProbeEvery);

    {
        Typist typist(*form.EditAutosaveFilename);
        // A loop of its own: the application's quit would close the window,
        // and a closed window's mixer rightly ticks no more.
        QEventLoop loop;
        QTimer::singleShot(std::chrono::milliseconds(static_cast<long long>(minutes * 60000.0)), &loop,
                           &QEventLoop::quit);
        loop.exec();
        figures.keyMs = typist.Latencies();
    }
    probe.stop();
    form.TickedHook = nullptr;
    form.RowStoredHook = nullptr;
    figures.frames = mixer.FramesReceived() - framesBefore;
    return figures;
}

void PrintRow(const std::string& mode, const Figures& f)
{
    std::printf("%-34s %5zu  %6.1f %6.1f %6.1f   %5.1f %5.1f %5.1f   %5.1f %5.1f %5.1f  %6zu %5zu\n", mode.c_str(),
                f.periodsMs.size(), Percentile(f.periodsMs, 0.5), Percentile(f.periodsMs, 0.99), Max(f.periodsMs),
                Percentile(f.heldMs, 0.5), Percentile(f.heldMs, 0.99), Max(f.heldMs), Percentile(f.keyMs, 0.9),
                Percentile(f.keyMs, 0.99), Max(f.keyMs), f.frames, f.rows);
    std::fflush(stdout);
}

// A mode that ticked without frames, or stored nothing where it stores, measured nothing.
void Check(const std::string& mode, const Figures& f, bool stores)
{
    if (f.periodsMs.size() < 10) throw std::runtime_error(mode + ": the mixer hardly ticked");
    if (f.frames == 0) throw std::runtime_error(mode + ": no frame reached the instruments");
    if (stores && f.rows == 0) throw std::runtime_error(mode + ": no row was stored");
    if (f.keyMs.empty()) throw std::runtime_error(mode + ": no key reached the field");
}

void Run(double minutes)
{
    BenchMixer mixer;
    TForm1& form = mixer.Form();
    mixer.Ready("O2", "N2");

    std::printf("mixer tick and window thread against the simulator, %.1f min in each mode (ms)\n", minutes);
    std::printf("%-34s %5s  %6s %6s %6s   %5s %5s %5s   %5s %5s %5s  %6s %5s\n", "mode", "ticks", "period",
                "p99", "max", "held", "p99", "max", "key90", "p99", "max", "frames", "rows");

    form.ButtonStop->click();
    mixer.Sync();
    Figures standby = Measure(mixer, minutes);
    PrintRow("Standby", standby);
    Check("Standby", standby, false);

    struct Mixture {
        int gasAPpm;
        int h2oPpm;
        const char* method;
    };
    for (const Mixture& mixture : {Mixture{10000, 0, "A (constant) in B"}, Mixture{300, 0, "A (pulse) in B"},
                                   Mixture{10000, 10000, "A (constant) in B/H2O"}}) {
        mixer.Apply(mixture.gasAPpm, mixture.h2oPpm);
        const std::string method = form.Snapshot().MixingMethod;
        if (method != mixture.method) throw std::runtime_error("planned " + method + ", not " + mixture.method);
        const std::string mode = "Dilution, " + method;
        const Figures figures = Measure(mixer, minutes);
        PrintRow(mode, figures);
        Check(mode, figures, true);
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
        std::printf("bench_ticks: %s\n", error.what());
        return 1;
    }
    return 0;
}
