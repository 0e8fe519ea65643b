// Redraw of the mixture plot at 1920 x 1080 on the offscreen platform, for
// runs of 1 000, 100 000 and 1 000 000 rows. "Redraw" reduces the rows for
// the plot's width and updates the axes; "RedrawAndPaint" also paints the
// whole widget into an image, which is what the operator waits for.
#include "plot/MixturePlot.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <limits>
#include <memory>

namespace gasmixer::bench {
namespace {

constexpr double Empty = std::numeric_limits<double>::quiet_NaN();

// A run stored every 250 ms: a settling A ppm with noise, humid stretches,
// Standby rows with empty cells between plans, and a reset before each plan.
std::unique_ptr<TMixturePlot> PlotWithRows(long long rows)
{
    auto plot = std::make_unique<TMixturePlot>([] { return std::nullopt; }, nullptr);
    plot->resize(1920, 1080);
    plot->show();
    QApplication::processEvents();
    const TDateTime start = EncodeDateTime(2024, 5, 14, 9, 0, 0);
    const long long planRows = std::max(rows / 10, 1LL);
    for (long long i = 0; i < rows; ++i) {
        const TDateTime time = start + static_cast<double>(i) * 0.25 * OneSecond;
        const long long inPlan = i % planRows;
        if (inPlan == 0) plot->AddReset(time);
        if (inPlan < planRows / 50) {
            plot->AddRecord(time, "Standby", Empty, Empty);
            continue;
        }
        const double noise = std::sin(static_cast<double>(i) * 0.37) * 3.0;
        const double settle = std::exp(-static_cast<double>(inPlan) / (planRows / 20.0 + 1.0));
        plot->AddRecord(time, "Dilution", 150.0 * (1.0 + settle) + noise, 10000.0 + 40.0 * noise);
    }
    plot->SetRequested(150.0, 10000.0);
    plot->Redraw();
    return plot;
}

void BM_Redraw(benchmark::State& state)
{
    const auto plot = PlotWithRows(state.range(0));
    for (auto _ : state) plot->Redraw();
    state.counters["points"] = static_cast<double>(plot->DrawnA().size());
}

void BM_RedrawAndPaint(benchmark::State& state)
{
    const auto plot = PlotWithRows(state.range(0));
    QImage image(plot->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        plot->Redraw();
        QPainter painter(&image);
        plot->render(&painter);
    }
}

BENCHMARK(BM_Redraw)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawAndPaint)->Arg(1000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace gasmixer::bench

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
