#include "Form1Fixture.h"

#include "controls/RtNumericUpDn.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>

namespace gasmixer::test {
namespace {

using SetupWorkflowTest = Form1Test;

// A port that no device answers on: every exchange fails at the open.
constexpr const char* SilentPort = "/nonexistent/ttyGM0";

TEST_F(SetupWorkflowTest, PortListsHoldTheListingThenTheFakePort)
{
    const std::vector<std::string> onlyFake{FakePortName};
    EXPECT_EQ(Items(form->ListBoxPortSolenoid), onlyFake) << "no serial ports at all";
    EXPECT_EQ(Items(form->ListBoxPortMFC), onlyFake);

    ports = {"ttyUSB0", "ttyUSB1", "ttyS10"};
    QTest::mouseClick(form->ButtonSetupFindPorts, Qt::LeftButton);
    const std::vector<std::string> expected{"ttyUSB0", "ttyUSB1", "ttyS10", FakePortName};
    EXPECT_EQ(Items(form->ListBoxPortSolenoid), expected);
    EXPECT_EQ(Items(form->ListBoxPortMFC), expected);
}

TEST_F(SetupWorkflowTest, FindPortsDropsSelectionsAndKeepsValidation)
{
    ChooseFakePorts();
    ASSERT_TRUE(form->CheckBoxGasesSelected->isChecked());

    ports = {"ttyUSB0"};
    QTest::mouseClick(form->ButtonSetupFindPorts, Qt::LeftButton);

    EXPECT_EQ(form->ListBoxPortSolenoid->ItemIndex(), -1);
    EXPECT_EQ(form->ListBoxPortMFC->ItemIndex(), -1);
    EXPECT_TRUE(form->CheckBoxSolenoidOK->isChecked());
    EXPECT_TRUE(form->CheckBoxMFCOK->isChecked());
    EXPECT_TRUE(form->CheckBoxGasesSelected->isChecked());
}

TEST_F(SetupWorkflowTest, FakeRelayPortRunsTheImaginaryMixer)
{
    ChooseFakePorts();

    EXPECT_EQ(form->ListBoxPortMFC->SelectedText(), FakePortName) << "the MFC list follows";
    EXPECT_EQ(Lines(form->MemoSetupFeedback->toPlainText()),
              (std::vector<std::string>{"Fake ports selected. Imaginary mixer used for testing purposes."}));
    EXPECT_TRUE(form->CheckBoxSolenoidOK->isChecked());
    EXPECT_TRUE(form->CheckBoxMFCOK->isChecked());
    EXPECT_TRUE(form->CheckBoxGasesSelected->isChecked());
    EXPECT_EQ(form->ListBoxSetupGas1->SelectedText(), "O2");
    EXPECT_EQ(form->ListBoxSetupGas2->SelectedText(), "N2");

    EXPECT_EQ(form->Mixer().FlowInfoA, FakeFlowInfoA());
    TFlowInfo expectedB = FakeFlowInfoB();
    expectedB.Max = 0.5f;  // the gas B limit, as each preview copies it
    EXPECT_EQ(form->Mixer().FlowInfoB, expectedB);
    EXPECT_EQ(form->Mixer().CompoundA, FindCompound("O2"));
    EXPECT_EQ(form->Mixer().CompoundB, FindCompound("N2"));
    EXPECT_EQ(form->Mixer().PulseExtraA, 1.0);
    EXPECT_EQ(form->Mixer().PulseExtraB, 1.0);
    EXPECT_EQ(form->Mixer().MaxFlowB, 0.0) << "the imaginary controller has no full scale to flush with";

    EXPECT_DOUBLE_EQ(form->RtNumericUpDn1->MaxValue(), 1.0);
    EXPECT_DOUBLE_EQ(form->RtNumericUpDn1->MinValue(), static_cast<double>(0.00001f));
    EXPECT_DOUBLE_EQ(form->RtNumericUpDn1->Value(), 0.5);
    EXPECT_DOUBLE_EQ(form->RtNumericUpDn1->Increment(), 0.1);
    EXPECT_TRUE(dialogs.Informations.empty());
}

TEST_F(SetupWorkflowTest, FakePathPreviewsAPlanWithoutAdoptingIt)
{
    ChooseFakePorts();
    EXPECT_FALSE(form->Memo4->toPlainText().isEmpty());
    EXPECT_EQ(form->Mixer().MixingMethod, "") << "a preview leaves the running plan alone";
    EXPECT_EQ(form->Mixer().RequiredFlowA, 0.0);
    EXPECT_EQ(form->Mixer().RecordGrid.RowCount(), 2) << "an empty grid keeps its one Reset row";
    EXPECT_EQ(form->Mixer().RecordGrid.Cell(1, 1), "Reset");
}

TEST_F(SetupWorkflowTest, GasAWithOnlyTheRelayListOnTheFakePortTakesFixedOxygen)
{
    ports = {SilentPort};
    QTest::mouseClick(form->ButtonSetupFindPorts, Qt::LeftButton);
    form->ListBoxPortSolenoid->SetItemIndex(1);  // fake, chosen without validating

    ClickItem(form->ListBoxSetupGas1, "H2");

    EXPECT_EQ(form->ListBoxSetupGas1->SelectedText(), "H2");
    EXPECT_EQ(form->Mixer().FlowInfoA, FakeFlowInfoA());
    EXPECT_EQ(form->Mixer().CompoundA, FindCompound("O2")) << "whatever entry was clicked";
    EXPECT_TRUE(dialogs.Informations.empty());
    EXPECT_FALSE(form->CheckBoxGasesSelected->isChecked());

    // Gas B takes its fixed values only when both lists show the fake port.
    ClickItem(form->ListBoxSetupGas2, "Ar");
    EXPECT_EQ(dialogs.Informations, (std::vector<std::string>{"MFC not validated, cannot select gas yet"}));
    EXPECT_EQ(form->ListBoxSetupGas2->ItemIndex(), -1);
    EXPECT_EQ(form->Mixer().FlowInfoB.Name, "");
}

TEST_F(SetupWorkflowTest, GasClickBeforeValidationIsRefused)
{
    for (TListBox* list : {form->ListBoxSetupGas1, form->ListBoxSetupGas2}) {
        dialogs.Clear();
        ClickItem(list, 0);
        EXPECT_EQ(dialogs.Informations, (std::vector<std::string>{"MFC not validated, cannot select gas yet"}));
        EXPECT_EQ(list->ItemIndex(), -1);
    }
    EXPECT_EQ(form->Mixer().CompoundA.Name, "");
    EXPECT_FALSE(form->CheckBoxGasesSelected->isChecked());
}

TEST_F(SetupWorkflowTest, KeyUpInAGasListRechecksTheGases)
{
    ChooseFakePorts();
    ASSERT_TRUE(form->CheckBoxGasesSelected->isChecked());
    form->ListBoxSetupGas2->SetItemIndex(-1);
    EXPECT_TRUE(form->CheckBoxGasesSelected->isChecked()) << "only a gas click or key-up rechecks";
    QTest::keyRelease(form->ListBoxSetupGas2, Qt::Key_Shift);
    EXPECT_FALSE(form->CheckBoxGasesSelected->isChecked());
}

TEST_F(SetupWorkflowTest, SilentRealPortsAreReportedAsNotValidated)
{
    ports = {SilentPort};
    QTest::mouseClick(form->ButtonSetupFindPorts, Qt::LeftButton);
    form->ListBoxPortMFC->SetItemIndex(1);  // fake MFC port: identification fails there
    ClickItem(form->ListBoxPortSolenoid, SilentPort);

    const std::vector<std::string> lines = Lines(form->MemoSetupFeedback->toPlainText());
    ASSERT_EQ(lines.size(), 8u) << form->MemoSetupFeedback->toPlainText().toStdString();
    EXPECT_TRUE(lines[0].starts_with("Time  0: "));
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "Write 254 33  : 254 33");
    EXPECT_TRUE(lines[3].starts_with("Comm Status   : "));
    EXPECT_NE(lines[3], "Comm Status   : ");
    EXPECT_EQ(lines[4], "Comm Response : 0");
    EXPECT_EQ(lines[5], "Relay board controlling solenoids was NOT OK");
    EXPECT_EQ(lines[6], "");
    EXPECT_EQ(lines[7], "One of more MFC failed to be identified");
    EXPECT_FALSE(form->CheckBoxSolenoidOK->isChecked());
    EXPECT_FALSE(form->CheckBoxMFCOK->isChecked());
}

TEST_F(SetupWorkflowTest, AFailedValidationUnticksEarlierSuccess)
{
    ChooseFakePorts();
    ports = {SilentPort};
    QTest::mouseClick(form->ButtonSetupFindPorts, Qt::LeftButton);
    ClickItem(form->ListBoxPortMFC, SilentPort);

    EXPECT_TRUE(form->CheckBoxSolenoidOK->isChecked()) << "the relay list has no selection now";
    EXPECT_FALSE(form->CheckBoxMFCOK->isChecked());
    EXPECT_EQ(form->ListBoxSetupGas1->SelectedText(), "O2") << "chosen gases stay selected";
}

TEST_F(SetupWorkflowTest, SilentControllerLeavesTheGasBLimitAloneAndSaysSo)
{
    ports = {SilentPort};
    QTest::mouseClick(form->ButtonSetupFindPorts, Qt::LeftButton);
    form->ListBoxPortMFC->SetItemIndex(0);
    form->CheckBoxMFCOK->setChecked(true);  // as after an earlier good validation

    ClickItem(form->ListBoxSetupGas2, "H2O");

    EXPECT_EQ(form->ListBoxSetupGas2->SelectedText(), "H2O") << "the gas still counts as chosen";
    EXPECT_EQ(form->Mixer().CompoundB, FindCompound("H2O"));
    EXPECT_DOUBLE_EQ(form->RtNumericUpDn1->MaxValue(), 2.0);
    EXPECT_DOUBLE_EQ(form->RtNumericUpDn1->MinValue(), 0.0);
    EXPECT_DOUBLE_EQ(form->RtNumericUpDn1->Value(), 0.4);
    EXPECT_EQ(form->Mixer().FlowInfoB.MaxOrig, 0.0f);
    EXPECT_EQ(form->Mixer().FlowInfoB.Min, 0.0f);
    EXPECT_EQ(form->Mixer().MaxFlowB, 0.0);
    EXPECT_EQ(Lines(form->MemoSetupFeedback->toPlainText()).back(),
              "MFC 2 did not report a usable flow range");
}

}  // namespace
}  // namespace gasmixer::test
