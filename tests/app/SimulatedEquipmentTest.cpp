// The setup workflow and the valve and setpoint commands against the
// simulated instruments on pseudo-terminals: real exchanges end to end.
#include "Form1Fixture.h"

#include "controls/RtNumericUpDn.h"
#include "sim/SimulatorHost.h"

#include <QCheckBox>
#include <QPlainTextEdit>

#include <algorithm>

namespace gasmixer::test {
namespace {

class SimulatedEquipmentTest : public Form1Test {
protected:
    sim::SimulatorHost host;

    void SetUp() override
    {
        ports = {host.MfcLinePath(), host.RelayBoardPath()};
        Form1Test::SetUp();
    }

    std::vector<std::string> Feedback() const { return Lines(form->MemoSetupFeedback->toPlainText()); }

    bool FeedbackHas(const std::string& line) const
    {
        const auto lines = Feedback();
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    void ValidateBothPorts()
    {
        ClickItem(form->ListBoxPortSolenoid, host.RelayBoardPath());
        ClickItem(form->ListBoxPortMFC, host.MfcLinePath());
    }

    std::vector<std::uint8_t> ValveMasks()
    {
        std::vector<std::uint8_t> masks;
        for (const auto& command : host.RelayBoard().ValveLog()) masks.push_back(command.mask);
        return masks;
    }
};

TEST_F(SimulatedEquipmentTest, ValidatesTheRelayBoardAndBothControllers)
{
    ClickItem(form->ListBoxPortSolenoid, host.RelayBoardPath());
    const auto lines = Feedback();
    ASSERT_GE(lines.size(), 6u);
    EXPECT_TRUE(lines[0].starts_with("Time  0: "));
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "Write 254 33  : 254 33");
    EXPECT_EQ(lines[3], "Comm Status   : ");
    EXPECT_EQ(lines[4], "Comm Response : 85");
    EXPECT_EQ(lines[5], "Relay board controlling solenoids is OK");
    EXPECT_TRUE(form->CheckBoxSolenoidOK->isChecked());
    EXPECT_FALSE(form->CheckBoxMFCOK->isChecked());

    ClickItem(form->ListBoxPortMFC, host.MfcLinePath());
    EXPECT_EQ(Feedback().back(), "MFCs are OK");
    EXPECT_TRUE(form->CheckBoxMFCOK->isChecked());
    EXPECT_FALSE(form->CheckBoxGasesSelected->isChecked());
}

TEST_F(SimulatedEquipmentTest, ChoosingGasesSwitchesTheControllersTablesAndReadsTheirRanges)
{
    ValidateBothPorts();
    ClickItem(form->ListBoxSetupGas1, "Air3");
    EXPECT_EQ(host.Mfc(1).TableInUse(), 7);
    EXPECT_EQ(host.Mfc(1).TableShown(), 7);
    EXPECT_EQ(form->Mixer().FlowInfoA.Name, "Air3");
    EXPECT_EQ(form->Mixer().FlowInfoA.FlowUnit, "g/min");
    EXPECT_GT(form->Mixer().FlowInfoA.MaxOrig, 0.0f);
    EXPECT_EQ(form->Mixer().FlowInfoA.Min, form->Mixer().FlowInfoA.MaxOrig / static_cast<float>(form->Mixer().FlowInfoA.Dyn));
    EXPECT_EQ(form->Mixer().CompoundA.Name, "Air3");

    ClickItem(form->ListBoxSetupGas2, "H2O");
    EXPECT_EQ(host.Mfc(2).TableInUse(), 5);
    EXPECT_EQ(form->Mixer().FlowInfoB.Name, "H2O");
    EXPECT_EQ(form->Mixer().MaxFlowB, static_cast<double>(form->Mixer().FlowInfoB.MaxOrig));
    EXPECT_EQ(form->RtNumericUpDn1->MaxValue(), form->Mixer().FlowInfoB.MaxOrig);
    EXPECT_DOUBLE_EQ(form->RtNumericUpDn1->Value(), form->Mixer().FlowInfoB.MaxOrig / 2.0);
    EXPECT_EQ(form->Mixer().CompoundB.Name, "H2O");
    EXPECT_TRUE(form->CheckBoxGasesSelected->isChecked());
}

TEST_F(SimulatedEquipmentTest, ThePlanOnShowUsesTheControllersJustRead)
{
    ValidateBothPorts();
    ClickItem(form->ListBoxSetupGas1, "O2");
    ClickItem(form->ListBoxSetupGas2, "Ar");
    const auto plan = Lines(form->Memo4->toPlainText());
    const auto controllerB = std::find(plan.begin(), plan.end(), "Controller details for Gas B");
    ASSERT_NE(controllerB, plan.end());
    EXPECT_EQ(*(controllerB + 1), "  Fluid name     : Ar");
    EXPECT_EQ(*(controllerB + 3), "  Flow unit      : g/min");
}

TEST_F(SimulatedEquipmentTest, ASilentRelayBoardIsRejectedWithTheExchangeStatus)
{
    host.RelayBoard().Faults().Set({sim::FaultKind::Silent});
    ClickItem(form->ListBoxPortSolenoid, host.RelayBoardPath());
    EXPECT_TRUE(FeedbackHas("Comm Status   : Timeout while waiting for response"));
    EXPECT_TRUE(FeedbackHas("Comm Response : 0"));
    EXPECT_EQ(Feedback().back(), "Relay board controlling solenoids was NOT OK");
    EXPECT_FALSE(form->CheckBoxSolenoidOK->isChecked());
}

TEST_F(SimulatedEquipmentTest, OneSilentControllerFailsTheIdentification)
{
    host.Mfc(2).Faults().Set({sim::FaultKind::Silent});
    ValidateBothPorts();
    EXPECT_EQ(Feedback().back(), "One of more MFC failed to be identified");
    EXPECT_FALSE(form->CheckBoxMFCOK->isChecked());
}

TEST_F(SimulatedEquipmentTest, ValveCommandsReachTheBoardAndClosingLeavesTheMixerSafe)
{
    ValidateBothPorts();
    form->Mixer().SetValvePositions(1, 1, 0, 0, 0, 1);
    form->Mixer().SetMFCFlow(1, 0.05);
    form->Mixer().SetMFCFlow(2, 0.5);
    EXPECT_FLOAT_EQ(host.Mfc(1).Setpoint(), 0.05f);
    EXPECT_FLOAT_EQ(host.Mfc(2).Setpoint(), 0.5f);

    form->close();
    EXPECT_EQ(ValveMasks(), (std::vector<std::uint8_t>{35, 0}));
    EXPECT_EQ(host.Mfc(1).Setpoint(), 0.0f);
    EXPECT_EQ(host.Mfc(2).Setpoint(), 0.0f);
}

}  // namespace
}  // namespace gasmixer::test
