#include "Form1Fixture.h"

#include <QLabel>
#include <QPushButton>

namespace gasmixer::test {
namespace {

using ShutdownTest = Form1Test;

bool IsBlack(const TForm1& form, QPoint p) { return form.Schematic.Picture().pixelColor(p) == Qt::black; }

// A pixel of each valve's closed bar, away from where the open bar crosses it.
const std::array<QPoint, 6> ClosedBarPixel{
    QPoint(294, 252), QPoint(294, 105), QPoint(927, 121), QPoint(192, 104), QPoint(903, 89), QPoint(903, 47)};

TEST_F(ShutdownTest, StartupDrawsEveryValveClosed)
{
    for (const QPoint p : ClosedBarPixel) EXPECT_TRUE(IsBlack(*form, p)) << p.x() << "," << p.y();
    EXPECT_FALSE(form->Image1->pixmap().isNull());
}

TEST_F(ShutdownTest, ValvePositionsAreRememberedAndDrawnWhateverTheBoardSays)
{
    ChooseFakePorts();
    form->Mixer().SetValvePositions(1, 1, 0, 0, 0, 0x101);
    EXPECT_EQ(form->Mixer().ValveState, (std::array<std::uint8_t, 6>{1, 1, 0, 0, 0, 1})) << "the low byte counts";
    EXPECT_FALSE(IsBlack(*form, ClosedBarPixel[0]));
    EXPECT_TRUE(IsBlack(*form, ClosedBarPixel[2]));
}

TEST_F(ShutdownTest, ClosingWithValidatedEquipmentClosesTheValves)
{
    ChooseFakePorts();
    form->Mixer().SetValvePositions(0, 0, 1, 0, 0, 0);
    form->close();
    EXPECT_EQ(form->Mixer().ValveState, (std::array<std::uint8_t, 6>{}));
    EXPECT_FALSE(form->isVisible());
}

}  // namespace
}  // namespace gasmixer::test
