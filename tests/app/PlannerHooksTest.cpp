#include "Form1Fixture.h"

#include "common/TextFormat.h"
#include "controls/RtFloatEdit.h"
#include "controls/RtIntegerEdit.h"
#include "controls/RtNumericUpDn.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include <cmath>

namespace gasmixer::test {
namespace {

using PlannerHooksTest = Form1Test;

struct Fractions {
    int A;
    int B;
    int W;
};

Fractions Read(const TForm1& form)
{
    return {form.RtIntegerEditGasAPPM->Value(), form.RtIntegerEditGasBPPM->Value(),
            form.RtIntegerEditH2Oppm->Value()};
}

TEST_F(PlannerHooksTest, GasBTakesWhatGasAAndWaterLeave)
{
    form->RtIntegerEditGasAPPM->SetValue(2000);
    const Fractions f = Read(*form);
    EXPECT_EQ(f.B, 998000);
    EXPECT_EQ(f.A + f.B + f.W, 1000000);
}

TEST_F(PlannerHooksTest, WaterIsCappedAtSaturationUnlessTheMixerIsImaginary)
{
    const double p = WaterVapourPressure(0.0f);  // no board chosen: the water reads 0 ºC
    form->RtIntegerEditH2Oppm->SetValue(500000);
    Fractions f = Read(*form);
    EXPECT_EQ(f.W, RoundHalfEven((1000000 - 150) * p));
    EXPECT_EQ(f.A + f.B + f.W, 1000000);

    ChooseFakePorts();
    form->RtIntegerEditH2Oppm->SetValue(500000);
    f = Read(*form);
    EXPECT_EQ(f.W, 500000);
    EXPECT_EQ(f.B, 500000 - 150);
}

TEST_F(PlannerHooksTest, GasAAndWaterBeyondTheWholeMixtureLeaveNoNegativeGasB)
{
    ChooseFakePorts();
    form->RtIntegerEditH2Oppm->SetValue(600000);
    form->RtIntegerEditGasAPPM->SetValue(600000);
    const Fractions f = Read(*form);
    EXPECT_EQ(f.A, 600000);
    EXPECT_EQ(f.W, 400000);
    EXPECT_EQ(f.B, 0);
}

TEST_F(PlannerHooksTest, MaxButtonAsksForSaturatedWater)
{
    ChooseFakePorts();
    form->RtIntegerEditGasAPPM->SetValue(150);  // reads the water temperature
    QTest::mouseClick(form->Button2, Qt::LeftButton);
    EXPECT_EQ(form->RtIntegerEditH2Oppm->Value(),
              static_cast<int>(std::floor(form->RtIntegerEditpH2O->Value() * 1000000.0)));
}

TEST_F(PlannerHooksTest, EachCalculationMarksAResetOnceTheGridHoldsData)
{
    form->Mixer().RecordGrid.SetCell(0, 1, "09:30:00");  // a stored row
    form->RtIntegerEditGasAPPM->SetValue(300);
    ASSERT_EQ(form->Mixer().RecordGrid.RowCount(), 3);
    EXPECT_EQ(form->Mixer().RecordGrid.Cell(1, 2), "Reset");
    EXPECT_EQ(form->Mixer().RecordGrid.Cell(0, 2), "");
    form->RtNumericUpDn1->SetValue(0.3);
    EXPECT_EQ(form->Mixer().RecordGrid.RowCount(), 4);
    EXPECT_EQ(form->Mixer().RecordGrid.Cell(1, 3), "Reset");
}

TEST_F(PlannerHooksTest, GasBLimitReachesFlowInfoBAtOnce)
{
    form->RtNumericUpDn1->SetValue(0.25);
    EXPECT_FLOAT_EQ(form->Mixer().FlowInfoB.Max, 0.25f);
}

TEST_F(PlannerHooksTest, ApplyAdoptsThePlanAndPreviewsLeaveItAlone)
{
    ChooseFakePorts();
    form->Mixer().PulseCount = 7;
    form->Mixer().PulseExtraA = 3.0;
    form->Mixer().SetpointASent = true;
    form->Mixer().SetpointBSent = true;

    form->ButtonDilutionClick();
    EXPECT_EQ(form->Mixer().MixingMethod, "A (pulse) in B");
    EXPECT_GT(form->Mixer().RequiredFlowA, 0.0);
    EXPECT_DOUBLE_EQ(form->Mixer().RequiredFlowB, 0.5);
    EXPECT_EQ(form->Mixer().PulseCount, 0);
    EXPECT_EQ(form->Mixer().PulseExtraA, 1.0);
    EXPECT_FALSE(form->Mixer().SetpointASent);
    EXPECT_FALSE(form->Mixer().SetpointBSent);
    const QString appliedText = form->Memo4->toPlainText();
    EXPECT_TRUE(appliedText.endsWith('\n')) << "the report ends with a line break";

    const double flowA = form->Mixer().RequiredFlowA;
    form->RtIntegerEditGasAPPM->SetValue(500000);
    EXPECT_EQ(form->Mixer().MixingMethod, "A (pulse) in B");
    EXPECT_EQ(form->Mixer().RequiredFlowA, flowA);
    EXPECT_NE(form->Memo4->toPlainText(), appliedText) << "the preview is shown";
}

TEST_F(PlannerHooksTest, WithoutGasesACalculationOnlyMarksTheGrid)
{
    form->ButtonDilutionClick();
    EXPECT_EQ(form->Mixer().MixingMethod, "");
    EXPECT_TRUE(form->Memo4->toPlainText().isEmpty());
    EXPECT_EQ(form->Mixer().RecordGrid.Cell(1, 1), "Reset");
}

}  // namespace
}  // namespace gasmixer::test
