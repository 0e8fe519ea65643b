#include "plot/MixturePlot.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace gasmixer {
namespace {

constexpr double Empty = std::numeric_limits<double>::quiet_NaN();
const TDateTime Start = EncodeDateTime(2024, 5, 14, 9, 30, 0);

// The plot with a save dialog that answers from a script and counts its calls.
class MixturePlotTest : public ::testing::Test {
protected:
    std::optional<std::string> answer;
    int asked = 0;
    std::vector<std::string> errors;
    TMixturePlot plot{[this] {
                          ++asked;
                          return answer;
                      },
                      [this](const std::string& message) { errors.push_back(message); }};

    void SetUp() override { plot.resize(800, 400); }

    // One row a second from Start, A ppm around 150 and no water.
    void FeedSeconds(int count)
    {
        for (int i = 0; i < count; ++i)
            plot.AddRecord(Start + i * OneSecond, "Dilution", 150.0 + (i % 10), 0.0);
    }

    void ShowAndSettle()
    {
        plot.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&plot));
        plot.Redraw();
    }

    double Span() const { return plot.VisibleTime().Last - plot.VisibleTime().First; }

    void Wheel(QPoint at, int angle)
    {
        QWheelEvent event(at, plot.viewport()->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(plot.viewport(), &event);
    }
};

TEST_F(MixturePlotTest, RowsAreGatheredIntoOneLaterRedraw)
{
    plot.show();
    FeedSeconds(3);
    EXPECT_TRUE(plot.RedrawPending());
    EXPECT_TRUE(plot.DrawnA().empty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !plot.RedrawPending(); }));
    EXPECT_EQ(plot.DrawnA().size(), 3u);
    EXPECT_EQ(plot.DrawnH2O().size(), 3u);
}

TEST_F(MixturePlotTest, EmptyCellsLeaveAGapAndMarkersFollowModesAndResets)
{
    plot.AddRecord(Start, "Standby", Empty, Empty);
    plot.AddReset(Start + OneSecond);
    plot.AddRecord(Start + 2 * OneSecond, "Dilution", 150.0, 0.0);
    plot.AddRecord(Start + 3 * OneSecond, "Dilution", Empty, Empty);
    plot.AddRecord(Start + 4 * OneSecond, "Dilution", 152.0, 0.0);
    plot.Redraw();
    ASSERT_EQ(plot.DrawnA().size(), 3u);
    EXPECT_EQ(plot.DrawnA()[0].Value, 150.0);
    EXPECT_TRUE(std::isnan(plot.DrawnA()[1].Value));
    EXPECT_EQ(plot.DrawnA()[2].Value, 152.0);
    ASSERT_EQ(plot.Trace().Markers().size(), 3u);
    EXPECT_EQ(plot.Trace().Markers()[0].Label, "Standby");
    EXPECT_EQ(plot.Trace().Markers()[1].Label, "Reset");
    EXPECT_EQ(plot.Trace().Markers()[2].Label, "Dilution");
}

TEST_F(MixturePlotTest, ALongRunIsDrawnWithAFewPointsPerPixelColumn)
{
    FeedSeconds(200000);
    plot.Redraw();
    EXPECT_LE(plot.DrawnA().size(), 2u * static_cast<unsigned>(plot.width()) + 2u);
    EXPECT_GT(plot.DrawnA().size(), 100u);
    EXPECT_EQ(plot.DrawnA().front().Time, Start);
    EXPECT_EQ(plot.DrawnA().back().Time, Start + 199999 * OneSecond);
}

TEST_F(MixturePlotTest, SaveFromTheContextMenuWritesAPngOfThePlotsSize)
{
    EXPECT_EQ(plot.contextMenuPolicy(), Qt::ActionsContextMenu);
    ASSERT_TRUE(plot.actions().contains(plot.SaveImageAction()));
    EXPECT_EQ(plot.SaveImageAction()->text(), QStringLiteral("Save plot as PNG..."));

    FeedSeconds(120);
    plot.SetRequested(150.0, 0.0);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("plot.png"));
    answer = path.toStdString();
    plot.SaveImageAction()->trigger();
    EXPECT_EQ(asked, 1);
    const QImage image(path, "PNG");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), plot.size() * plot.devicePixelRatio());
}

TEST_F(MixturePlotTest, ACancelledDialogWritesNothingAndAFailedWriteIsAnError)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    answer.reset();
    plot.SaveImageAction()->trigger();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());

    answer = dir.filePath(QStringLiteral("no such folder/plot.png")).toStdString();
    plot.SaveImageAction()->trigger();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors.front().find("Could not write the plot to"), std::string::npos);
}

TEST_F(MixturePlotTest, TheWheelZoomsTheTimeAxisAboutThePointerAndADoubleClickShowsAll)
{
    FeedSeconds(3600);
    ShowAndSettle();
    const double whole = Span();
    EXPECT_NEAR(whole, 3599 * OneSecond, 1e-9);

    const QPoint centre = plot.viewport()->rect().center();
    const double centreTime = (plot.VisibleTime().First + plot.VisibleTime().Last) / 2;
    Wheel(centre, 120);
    EXPECT_NEAR(Span(), 0.8 * whole, 1e-9);
    // Near the centre of the plot area, which is near the centre of the view.
    EXPECT_NEAR((plot.VisibleTime().First + plot.VisibleTime().Last) / 2, centreTime, 0.1 * whole);
    Wheel(centre, 3 * 120);
    EXPECT_NEAR(Span(), 0.8 * 0.8 * 0.8 * 0.8 * whole, 1e-9);
    EXPECT_LT(plot.DrawnA().size(), 3600u);

    // A zoomed plot stays where it is while rows arrive.
    const TTimeExtent zoomed = plot.VisibleTime();
    plot.AddRecord(Start + 4000 * OneSecond, "Dilution", 150.0, 0.0);
    EXPECT_EQ(plot.VisibleTime().Last, zoomed.Last);

    QTest::mouseDClick(plot.viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    EXPECT_NEAR(Span(), 4000 * OneSecond, 1e-9);

    Wheel(centre, 120);
    Wheel(centre, -2 * 120);  // out past the whole run
    EXPECT_NEAR(Span(), 4000 * OneSecond, 1e-9);
}

}  // namespace
}  // namespace gasmixer

namespace gasmixer {
namespace {

// Not a check: the plot after a synthetic run, for a person to look at.
// Runs only when GASMIXER_SCREENSHOT_DIR names a folder.
TEST(MixturePlotScreenshot, ASyntheticRun)
{
    const QString dir = qEnvironmentVariable("GASMIXER_SCREENSHOT_DIR");
    if (dir.isEmpty()) GTEST_SKIP() << "set GASMIXER_SCREENSHOT_DIR to take a screenshot";
    ASSERT_TRUE(QDir().mkpath(dir));
    TMixturePlot plot([] { return std::nullopt; }, nullptr);
    plot.resize(1200, 500);
    TDateTime t = Start;
    const auto store = [&](std::string_view mode, double a, double w) {
        plot.AddRecord(t, mode, a, w);
        t += OneSecond;
    };
    for (int i = 0; i < 30; ++i) store("Standby", Empty, Empty);
    plot.AddReset(t);
    for (int i = 0; i < 600; ++i) store("Dilution", 150.0 * (1.0 + 2.0 * std::exp(-i / 60.0)) + std::sin(i) * 4, 0.0);
    plot.AddReset(t);
    for (int i = 0; i < 900; ++i)
        store("Dilution", 500.0 + std::sin(i * 0.7) * 10, 10000.0 * (1.0 - std::exp(-i / 90.0)) + std::cos(i) * 80);
    for (int i = 0; i < 60; ++i) store("Bypass", 0.0, 0.0);
    for (int i = 0; i < 60; ++i) store("Standby", Empty, Empty);
    plot.SetRequested(500.0, 10000.0);
    plot.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&plot));
    plot.Redraw();
    EXPECT_TRUE(plot.SaveImage(QDir(dir).filePath(QStringLiteral("mixture-plot.png")).toStdString()));
}

}  // namespace
}  // namespace gasmixer
