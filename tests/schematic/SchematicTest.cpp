#include "app/Schematic.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPoint>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>
#include <tuple>
#include <ostream>
#include <vector>

namespace gasmixer {
namespace {

// The labels need fonts, and fonts need a running application.
class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override { FApp = std::make_unique<QGuiApplication>(FArgc, FArgv); }
    void TearDown() override { FApp.reset(); }

private:
    int FArgc = 1;
    char FName[16] = "test_schematic";
    char* FArgv[2] = {FName, nullptr};
    std::unique_ptr<QGuiApplication> FApp;
};

[[maybe_unused]] ::testing::Environment* const Gui =
    ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

constexpr QRgb Black = 0xff000000;
constexpr QRgb White = 0xffffffff;
constexpr int InnerRadius = 12;  // inside the circle's outline

struct Bar {
    QPoint first;
    QPoint second;
};

// The bar positions the operators know, written out independently of the code.
struct ValveCase {
    int id;
    QPoint centre;
    Bar open;
    Bar closed;
};

const ValveCase Valves[] = {
    {1, {301, 252}, {{301, 242}, {301, 260}}, {{291, 252}, {309, 252}}},
    {2, {301, 104}, {{301, 113}, {301, 95}}, {{291, 105}, {309, 105}}},
    {3, {933, 120}, {{933, 129}, {933, 111}}, {{924, 121}, {942, 121}}},
    {4, {199, 104}, {{199, 113}, {199, 95}}, {{189, 104}, {207, 104}}},
    {5, {903, 95}, {{893, 96}, {912, 96}}, {{903, 104}, {903, 86}}},
    {6, {903, 53}, {{893, 54}, {912, 54}}, {{903, 44}, {903, 62}}},
};

std::ostream& operator<<(std::ostream& out, const ValveCase& valve)
{
    return out << "V" << valve.id;
}

bool IsVertical(const Bar& bar) { return bar.first.x() == bar.second.x(); }

// Every pixel of an axis-aligned bar, both ends included.
std::vector<QPoint> Pixels(const Bar& bar)
{
    const int left = std::min(bar.first.x(), bar.second.x());
    const int right = std::max(bar.first.x(), bar.second.x());
    const int top = std::min(bar.first.y(), bar.second.y());
    const int bottom = std::max(bar.first.y(), bar.second.y());
    std::vector<QPoint> pixels;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            pixels.emplace_back(x, y);
    return pixels;
}

int Distance(const QPoint& a, const QPoint& b) { return (a - b).manhattanLength(); }

// The start of the window: artwork with every valve drawn closed.
TValveSchematic StartState()
{
    TValveSchematic schematic;
    for (int id = 1; id <= ValveCount; ++id)
        schematic.SetValveGraphics(id, false);
    return schematic;
}

void SetMask(TValveSchematic& schematic, int mask)
{
    for (int id = 1; id <= ValveCount; ++id)
        schematic.SetValveGraphics(id, (mask >> (id - 1)) & 1);
}

TEST(ValveSchematic, ArtworkIsA998x315TrueColourPictureOnWhite)
{
    const TValveSchematic schematic;
    const QImage& picture = schematic.Picture();
    EXPECT_EQ(picture.width(), 998);
    EXPECT_EQ(picture.height(), 315);
    EXPECT_EQ(picture.format(), QImage::Format_RGB888);
    EXPECT_EQ(picture.pixel(0, 0), White);
    EXPECT_EQ(picture.pixel(997, 314), White);
}

class ValveBarTest : public ::testing::TestWithParam<ValveCase> {};

TEST_P(ValveBarTest, ArtworkLeavesBothBarAreasWhite)
{
    const ValveCase& valve = GetParam();
    const TValveSchematic schematic;
    for (const Bar& bar : {valve.open, valve.closed})
        for (const QPoint& p : Pixels(bar))
            for (int dx = -1; dx <= 1; ++dx)
                for (int dy = -1; dy <= 1; ++dy)
                    EXPECT_EQ(schematic.Picture().pixel(p + QPoint(dx, dy)), White)
                        << "at " << p.x() + dx << "," << p.y() + dy;
}

// A bar along the pipe means open, so the pipes leave the circle that way.
TEST_P(ValveBarTest, PipesMeetTheCircleAlongTheOpenBar)
{
    const ValveCase& valve = GetParam();
    const TValveSchematic schematic;
    const QImage& picture = schematic.Picture();
    const QPoint along = IsVertical(valve.open) ? QPoint(0, 19) : QPoint(19, 0);
    const QPoint across = QPoint(along.y(), along.x());
    EXPECT_EQ(picture.pixel(valve.centre + along), Black);
    EXPECT_EQ(picture.pixel(valve.centre - along), Black);
    EXPECT_EQ(picture.pixel(valve.centre + across), White);
    EXPECT_EQ(picture.pixel(valve.centre - across), White);
}

class ValveStateTest : public ::testing::TestWithParam<std::tuple<ValveCase, bool>> {};

TEST_P(ValveStateTest, DrawsTheRequestedBarAndErasesTheOther)
{
    const auto& [valve, open] = GetParam();
    TValveSchematic schematic = StartState();
    schematic.SetValveGraphics(valve.id, !open);
    schematic.SetValveGraphics(valve.id, open);
    const QImage& picture = schematic.Picture();
    const Bar& drawn = open ? valve.open : valve.closed;
    const Bar& erased = open ? valve.closed : valve.open;

    const std::vector<QPoint> line = Pixels(drawn);
    for (const QPoint& p : line)
        EXPECT_EQ(picture.pixel(p), Black) << "drawn bar at " << p.x() << "," << p.y();
    const QPoint step = IsVertical(drawn) ? QPoint(0, 1) : QPoint(1, 0);
    EXPECT_EQ(picture.pixel(line.front() - 2 * step), White) << "bar too long";
    EXPECT_EQ(picture.pixel(line.back() + 2 * step), White) << "bar too long";
    for (const QPoint& p : Pixels(erased)) {
        if (Distance(p, valve.centre) > 3) {
            EXPECT_EQ(picture.pixel(p), White) << "erased bar at " << p.x() << "," << p.y();
        }
    }

    // Two pixels wide, and no grey anywhere in the circle: no antialiasing.
    const QPoint middle = line[line.size() / 4];
    const QPoint across(step.y(), step.x());
    int width = 0;
    for (int k = -5; k <= 5; ++k)
        width += picture.pixel(middle + k * across) == Black;
    EXPECT_EQ(width, 2);
    for (int dx = -InnerRadius; dx <= InnerRadius; ++dx)
        for (int dy = -InnerRadius; dy <= InnerRadius; ++dy)
            if (dx * dx + dy * dy <= InnerRadius * InnerRadius) {
                const QRgb pixel = picture.pixel(valve.centre + QPoint(dx, dy));
                EXPECT_TRUE(pixel == Black || pixel == White)
                    << "grey at " << valve.centre.x() + dx << "," << valve.centre.y() + dy;
            }
}

INSTANTIATE_TEST_SUITE_P(AllValves, ValveBarTest, ::testing::ValuesIn(Valves));
INSTANTIATE_TEST_SUITE_P(AllValves, ValveStateTest,
                         ::testing::Combine(::testing::ValuesIn(Valves), ::testing::Bool()));

TEST(ValveSchematic, IdsOutsideOneToSixDrawNothing)
{
    TValveSchematic schematic = StartState();
    const QImage before = schematic.Picture();
    for (int id : {0, 7, -1, INT_MIN, INT_MAX})
        for (bool open : {false, true}) {
            schematic.SetValveGraphics(id, open);
            EXPECT_EQ(schematic.Picture(), before) << "ID " << id << (open ? " open" : " closed");
        }
}

// Valve patterns come and go all day; each change must leave no trace of the
// previous one and never eat into the artwork around the circles.
TEST(ValveSchematic, ClosingEveryValveRestoresTheStartState)
{
    const QImage start = StartState().Picture();
    TValveSchematic schematic = StartState();
    for (int mask : {35, 63, 19, 24, 4, 40, 0})
        SetMask(schematic, mask);
    EXPECT_EQ(schematic.Picture(), start);
}

TEST(ValveSchematic, DrawingStaysInsideTheValveCircles)
{
    const TValveSchematic artwork;
    TValveSchematic schematic;
    SetMask(schematic, 35);
    const QImage& before = artwork.Picture();
    const QImage& after = schematic.Picture();
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x) {
            if (before.pixel(x, y) == after.pixel(x, y))
                continue;
            bool inside = false;
            for (const ValveCase& valve : Valves) {
                const QPoint d = QPoint(x, y) - valve.centre;
                inside = inside || d.x() * d.x() + d.y() * d.y() <= InnerRadius * InnerRadius;
            }
            EXPECT_TRUE(inside) << "changed pixel at " << x << "," << y;
        }
}

// Set GASMIXER_SCREENSHOT_DIR to look at the schematic as the operator sees it.
TEST(ValveSchematic, WritesScreenshotsOnRequest)
{
    const char* dir = std::getenv("GASMIXER_SCREENSHOT_DIR");
    if (dir == nullptr || *dir == '\0')
        GTEST_SKIP() << "GASMIXER_SCREENSHOT_DIR not set";
    ASSERT_TRUE(QDir().mkpath(QString::fromLocal8Bit(dir)));
    const QDir out(QString::fromLocal8Bit(dir));
    for (int mask : {0, 35, 24, 4}) {
        TValveSchematic schematic;
        SetMask(schematic, mask);
        const QString name = out.filePath(QStringLiteral("schematic-mask%1.png").arg(mask));
        EXPECT_TRUE(schematic.Picture().save(name)) << name.toStdString();
    }
}

}  // namespace
}  // namespace gasmixer
