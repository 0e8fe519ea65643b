// "Apply Mixture" adopts the plan, previews leave it alone, and the window
// writes the same plan text as the command-line planner.
#include "Form1Fixture.h"

#include "../tools/PlanProcess.h"
#include "controls/RtIntegerEdit.h"
#include "controls/RtNumericUpDn.h"

#include <QPlainTextEdit>
#include <QPushButton>

namespace gasmixer::test {
namespace {

class PlanAdoptionTest : public Form1Test {
protected:
    void SetUp() override
    {
        Form1Test::SetUp();
        ChooseFakePorts();
    }

    void ApplyMixture() { QTest::mouseClick(form->ButtonDilution, Qt::LeftButton); }

    std::vector<std::string> Memo4Lines() const
    {
        std::vector<std::string> lines = Lines(form->Memo4->toPlainText());
        while (!lines.empty() && lines.back().empty()) lines.pop_back();
        return lines;
    }
};

TEST_F(PlanAdoptionTest, ApplyPublishesThePlanAndResetsTheRegulation)
{
    form->Mixer().PulseCount = 7;
    form->Mixer().PulseExtraA = 4.0;
    form->Mixer().SetpointASent = true;
    form->Mixer().SetpointBSent = true;
    ApplyMixture();
    EXPECT_EQ(form->Mixer().MixingMethod, "A (pulse) in B");
    EXPECT_GT(form->Mixer().RequiredFlowA, 0.0);
    EXPECT_DOUBLE_EQ(form->Mixer().RequiredFlowB, 0.5);
    EXPECT_EQ(form->Mixer().WettingFraction, 0.0);
    EXPECT_EQ(form->Mixer().PulseCount, 0);
    EXPECT_EQ(form->Mixer().PulseExtraA, 1.0);
    EXPECT_EQ(form->Mixer().PulseExtraB, 1.0);
    EXPECT_FALSE(form->Mixer().SetpointASent);
    EXPECT_FALSE(form->Mixer().SetpointBSent);
    EXPECT_FALSE(Memo4Lines().empty());
}

TEST_F(PlanAdoptionTest, APreviewAfterAnApplyLeavesTheRunningPlanExactlyAsItWas)
{
    ApplyMixture();
    const std::string method = form->Mixer().MixingMethod;
    const double flowA = form->Mixer().RequiredFlowA;
    const double flowB = form->Mixer().RequiredFlowB;
    const double wetting = form->Mixer().WettingFraction;

    form->RtIntegerEditH2Oppm->SetValue(10000);
    form->RtIntegerEditGasAPPM->SetValue(500000);
    form->RtNumericUpDn1->SetValue(0.3);
    EXPECT_EQ(form->Mixer().MixingMethod, method);
    EXPECT_EQ(form->Mixer().RequiredFlowA, flowA);
    EXPECT_EQ(form->Mixer().RequiredFlowB, flowB);
    EXPECT_EQ(form->Mixer().WettingFraction, wetting);
    EXPECT_FLOAT_EQ(form->Mixer().FlowInfoB.Max, 0.3f);  // the limit itself is not a plan value
}

struct Request {
    int aPpm;
    int h2oPpm;
    double bLimit;
    friend std::ostream& operator<<(std::ostream& os, const Request& r)
    {
        return os << r.aPpm << " ppm A, " << r.h2oPpm << " ppm H2O, limit " << r.bLimit;
    }
};

class SameTextAsTheCommandLine : public PlanAdoptionTest, public ::testing::WithParamInterface<Request> {};

TEST_P(SameTextAsTheCommandLine, ForTheSameRequest)
{
    const Request& r = GetParam();
    form->RtIntegerEditH2Oppm->SetValue(r.h2oPpm);
    form->RtIntegerEditGasAPPM->SetValue(r.aPpm);
    form->RtNumericUpDn1->SetValue(r.bLimit);

    const PlanRun run = RunPlan({"--gas-a", "O2", "--gas-b", "N2", "--fake", "--a-ppm",
                                 QString::number(r.aPpm), "--h2o-ppm", QString::number(r.h2oPpm),
                                 "--b-limit", QString::number(r.bLimit, 'g', 17)});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::vector<std::string> toolLines = Lines(QString::fromStdString(run.out));
    while (!toolLines.empty() && toolLines.back().empty()) toolLines.pop_back();
    EXPECT_EQ(Memo4Lines(), toolLines);
}

INSTANTIATE_TEST_SUITE_P(Requests, SameTextAsTheCommandLine,
                         ::testing::Values(Request{150, 0, 0.5}, Request{300, 10000, 0.5},
                                           Request{500000, 0, 0.25}, Request{0, 20000, 1.0},
                                           Request{1000000, 0, 0.5}));

}  // namespace
}  // namespace gasmixer::test
