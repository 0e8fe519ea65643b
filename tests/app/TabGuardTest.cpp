#include "Form1Fixture.h"

#include "controls/RtFloatEdit.h"

#include <QCheckBox>
#include <QLabel>

namespace gasmixer::test {
namespace {

using TabGuardTest = Form1Test;

constexpr const char* RefusalText =
    "Must validate equipment and select gas types before proceeding to operation";

TEST_F(TabGuardTest, EveryTabIsRefusedBeforeSetupIsComplete)
{
    for (int page = 1; page < 5; ++page) {
        dialogs.Clear();
        ClickTab(page);
        EXPECT_EQ(ActivePage(), SetupPage) << page;
        EXPECT_EQ(dialogs.Informations, (std::vector<std::string>{RefusalText})) << page;
    }
    EXPECT_TRUE(dialogs.Questions.empty());
}

TEST_F(TabGuardTest, KeyboardAndProgramRequestsPassTheSameGuard)
{
    form->PageControl1->TabBar()->setFocus();
    QTest::keyClick(form->PageControl1->TabBar(), Qt::Key_Right);
    EXPECT_EQ(ActivePage(), SetupPage);
    form->PageControl1->SetActivePageIndex(DebugPage);
    EXPECT_EQ(ActivePage(), SetupPage);
    EXPECT_EQ(dialogs.Informations, (std::vector<std::string>{RefusalText, RefusalText}));
}

TEST_F(TabGuardTest, OneUncheckedBoxIsEnoughToRefuse)
{
    ChooseFakePorts();
    for (QCheckBox* box : {form->CheckBoxSolenoidOK, form->CheckBoxMFCOK, form->CheckBoxGasesSelected}) {
        box->setChecked(false);
        dialogs.Clear();
        ClickTab(OperationPage);
        EXPECT_EQ(ActivePage(), SetupPage) << box->text().toStdString();
        EXPECT_EQ(dialogs.Informations, (std::vector<std::string>{RefusalText}));
        box->setChecked(true);
    }
}

TEST_F(TabGuardTest, AfterSetupEveryTabIsReachableInAnyOrder)
{
    ChooseFakePorts();
    for (int page : {DebugPage, 2, OperationPage, 3, 2}) {
        ClickTab(page);
        EXPECT_EQ(ActivePage(), page);
    }
    QTest::keyClick(form->PageControl1->TabBar(), Qt::Key_Right);
    EXPECT_EQ(ActivePage(), 3);
    EXPECT_TRUE(dialogs.Informations.empty());
    EXPECT_TRUE(dialogs.Questions.empty()) << "only a return to Setup asks";
}

TEST_F(TabGuardTest, EnteringOperationRefreshesTheWaterEstimate)
{
    ChooseFakePorts();
    form->RtIntegerEditpH2O->SetValue(0.0);
    ClickTab(OperationPage);
    EXPECT_DOUBLE_EQ(form->RtIntegerEditpH2O->Value(), WaterVapourPressure(20.0f));
    EXPECT_EQ(form->Label14->text(), QString::fromUtf8("@ 20.0\u00BAC (Estimated)"));
}

TEST_F(TabGuardTest, ReturningToSetupAndAnsweringYesClearsTheGases)
{
    ChooseFakePorts();
    ClickTab(2);
    dialogs.Answers = {true};
    ClickTab(SetupPage);

    ASSERT_EQ(dialogs.Questions.size(), 1u);
    EXPECT_EQ(dialogs.Questions[0].Text, "Clear selected gases?");
    EXPECT_EQ(dialogs.Questions[0].Title, "Confirm action");
    EXPECT_EQ(dialogs.Informations, (std::vector<std::string>{"Gas selections removed"}));
    EXPECT_FALSE(form->CheckBoxGasesSelected->isChecked());
    EXPECT_EQ(form->ListBoxSetupGas1->ItemIndex(), -1);
    EXPECT_EQ(form->ListBoxSetupGas2->ItemIndex(), -1);
    EXPECT_TRUE(form->CheckBoxSolenoidOK->isChecked()) << "the equipment stays validated";

    dialogs.Clear();
    ClickTab(DebugPage);
    EXPECT_EQ(ActivePage(), SetupPage);
    EXPECT_EQ(dialogs.Informations, (std::vector<std::string>{RefusalText}));

    // Choosing both gases again opens the tabs.
    ClickItem(form->ListBoxSetupGas1, "O2");
    ClickItem(form->ListBoxSetupGas2, "N2");
    ClickTab(DebugPage);
    EXPECT_EQ(ActivePage(), DebugPage);
}

TEST_F(TabGuardTest, ReturningToSetupAndAnsweringNoKeepsTheGases)
{
    ChooseFakePorts();
    ClickTab(OperationPage);
    dialogs.Answers = {false};
    ClickTab(SetupPage);

    EXPECT_EQ(ActivePage(), SetupPage);
    EXPECT_EQ(dialogs.Questions.size(), 1u);
    EXPECT_TRUE(dialogs.Informations.empty());
    EXPECT_TRUE(form->CheckBoxGasesSelected->isChecked());
    EXPECT_EQ(form->ListBoxSetupGas1->SelectedText(), "O2");
    EXPECT_EQ(form->ListBoxSetupGas2->SelectedText(), "N2");
}

}  // namespace
}  // namespace gasmixer::test
