#include "Form1Fixture.h"

#include "records/ColumnInfo.h"
#include "app/ProgramPage.h"
#include "controls/RtFloatEdit.h"
#include "controls/RtIntegerEdit.h"
#include "controls/RtNumericUpDn.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <cmath>

namespace gasmixer::test {
namespace {

using StartupTest = Form1Test;

TEST_F(StartupTest, WindowOpensMaximizedOnTheSetupTabOfSix)
{
    EXPECT_EQ(form->windowTitle(), "Tarnis - Ortiva prototype");
    EXPECT_TRUE(form->windowState() & Qt::WindowMaximized);
    const std::vector<std::pair<QWidget*, QString>> tabs{
        {form->Setup, "Setup"},
        {form->TabSheet1, "Operation"},
        {form->TabSheet2, "Made mixture"},
        {form->TabSheet4, "Mixture in TG"},
        {form->TabSheet3, "Debug"},
        {form->TabSheetProgram, "Program"},
    };
    ASSERT_EQ(form->PageControl1->PageCount(), 6);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(form->PageControl1->Page(i), tabs[static_cast<std::size_t>(i)].first) << i;
        EXPECT_EQ(form->PageControl1->Caption(i), tabs[static_cast<std::size_t>(i)].second) << i;
    }
    EXPECT_EQ(ActivePage(), SetupPage);
    EXPECT_TRUE(dialogs.Questions.empty()) << "choosing the Setup tab at start asks nothing";
}

TEST_F(StartupTest, MixtureFieldsStartWithTheirDefaultsAndLimits)
{
    EXPECT_EQ(form->RtIntegerEditGasAPPM->Value(), 150);
    EXPECT_EQ(form->RtIntegerEditGasAPPM->MinValue(), 0);
    EXPECT_EQ(form->RtIntegerEditGasAPPM->MaxValue(), 1000000);
    EXPECT_TRUE(form->RtIntegerEditGasAPPM->isEnabled());

    EXPECT_EQ(form->RtIntegerEditGasBPPM->Value(), 999850);
    EXPECT_FALSE(form->RtIntegerEditGasBPPM->isEnabled());

    EXPECT_EQ(form->RtIntegerEditH2Oppm->Value(), 0);
    EXPECT_EQ(form->RtIntegerEditH2Oppm->MaxValue(), 1000000);
    EXPECT_EQ(form->RtIntegerEditH2Oppm->maxLength(), 8);

    EXPECT_FALSE(form->RtIntegerEditpH2O->isEnabled());
    EXPECT_EQ(form->RtIntegerEditpH2O->Format(), "0.000 000");
    EXPECT_TRUE(form->RtIntegerEditpH2O->DoHashes());

    EXPECT_DOUBLE_EQ(form->RtNumericUpDn1->Value(), 0.4);
    EXPECT_DOUBLE_EQ(form->RtNumericUpDn1->MaxValue(), 2.0);
    EXPECT_DOUBLE_EQ(form->RtNumericUpDn1->Increment(), 0.001);
    EXPECT_EQ(form->RtNumericUpDn1->DecimalPlaces(), 6);
    EXPECT_EQ(form->RtNumericUpDn1->text(), "0.400000");

    EXPECT_EQ(form->RtIntegerEdit2->Value(), 1);
    EXPECT_EQ(form->RtIntegerEdit2->MinValue(), 0);
    EXPECT_EQ(form->RtIntegerEdit2->MaxValue(), 60);
    EXPECT_DOUBLE_EQ(form->RtDoubleEditCounter->Value(), 24.0);
    EXPECT_EQ(form->RtIntegerEdit3->Value(), 0);
    EXPECT_EQ(form->RtIntegerEdit4->Value(), 0);
}

TEST_F(StartupTest, CaptionsAndTextsOfTheOperationAndTGTabs)
{
    EXPECT_EQ(form->EditAutosaveFilename->text(), "Filename");
    EXPECT_EQ(form->Label17->text(), "Last autosave: never");
    EXPECT_EQ(form->LabelStatus->text(), "Undefined");
    EXPECT_EQ(form->ButtonDilution->text(), "Apply Mixture");
    EXPECT_EQ(form->GroupBox12->title(), "Automatic stop countdown");
    for (QLabel* label : {form->LabelTGAppm, form->LabelTGBppm, form->LabelTGH2Oppm, form->LabelTGAlog,
                          form->LabelTGBlog, form->LabelTGH2Olog}) {
        EXPECT_EQ(label->text(), "Unknown");
    }
    EXPECT_EQ(form->GroupBoxTGFlows->title(), QString::fromUtf8("Flow inputs, ml/min @ 25\u00BAC"));
}

TEST_F(StartupTest, ModeButtonsCarryTheirHints)
{
    EXPECT_EQ(form->ButtonStop->toolTip(),
              "Stops whatever the mixer is doing and closes all valves as quickly as possible. Note, "
              "that disconnecting the main power is more reliable way to disable the mixer in case "
              "of emergency.");
    EXPECT_EQ(form->ButtonFlush->toolTip(),
              "Short procedure to remove some of the existing gases in the mixer. Multiple rounds "
              "of flushing may be required when input gas types are changed.");
    EXPECT_EQ(form->ButtonBypass->toolTip(), "Switch immediately from diluted mixture to pure, dry gas B.");
    EXPECT_EQ(form->ButtonDilution->toolTip(), "Create mixture according user wishes.");
}

TEST_F(StartupTest, SetupTabHasHiddenValidateButtonAndReadOnlyIndicators)
{
    EXPECT_TRUE(form->ButtonSetupValidate->isHidden());
    EXPECT_EQ(form->ButtonSetupValidate->text(), "Validate ports && equipment");
    for (QCheckBox* box : {form->CheckBoxSolenoidOK, form->CheckBoxMFCOK, form->CheckBoxGasesSelected}) {
        EXPECT_FALSE(box->isEnabled());
        EXPECT_FALSE(box->isChecked());
    }
    EXPECT_EQ(Items(form->ListBoxSetupGas1),
              (std::vector<std::string>{"O2", "5%H2,95%Ar", "H2", "Air", "Air2", "Air3"}));
    EXPECT_EQ(Items(form->ListBoxSetupGas2), (std::vector<std::string>{"Ar", "N2", "H2", "H2O"}));
}

TEST_F(StartupTest, GridHeaderShowsTheColumnTableAndStartPreviewMarksRowOne)
{
    QTableView* grid = form->StringGrid1;
    ASSERT_EQ(grid->model()->columnCount(), RecordColumnCount);
    ASSERT_EQ(form->Mixer().RecordGrid.RowCount(), 2);
    for (const RColInfo& column : DefaultColumnInfo()) {
        EXPECT_EQ(grid->model()->headerData(column.ColID, Qt::Horizontal).toString().toStdString(),
                  column.Caption);
        EXPECT_EQ(grid->columnWidth(column.ColID), column.ColW) << column.Caption;
    }
    EXPECT_EQ(form->Mixer().ColumnInfo[1].Caption, "Mode");
    EXPECT_EQ(form->Mixer().RecordGrid.Cell(1, 1), "Reset");
    EXPECT_EQ(grid->model()->data(grid->model()->index(0, 1)).toString(), "Reset");
    EXPECT_EQ(grid->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
}

TEST_F(StartupTest, RunStateStartsEmptyWithTheStopOneDayAhead)
{
    EXPECT_DOUBLE_EQ(form->Mixer().StopDeadline, clock.Now() + 1.0);
    EXPECT_FALSE(form->Mixer().LastAutosaveTime) << "none yet";
    EXPECT_EQ(form->Mixer().Mode, TMixerState::Unknown);
    EXPECT_EQ(form->Mixer().MixingMethod, "");
    EXPECT_EQ(form->Mixer().CompoundH2O, FindCompound("H2O"));
    EXPECT_EQ(form->Mixer().FlowInfoA, TFlowInfo{});
    EXPECT_FLOAT_EQ(form->Mixer().FlowInfoB.Max, 0.4f) << "the start preview copies the gas B limit";
    EXPECT_EQ(form->Mixer().WettingThread, nullptr);
    EXPECT_EQ(form->SaveDialog1.Filter, "Comma separated file (*.csv);;Text file (*.txt)");
    EXPECT_EQ(form->SaveDialog1.DefaultExt, "csv");
}

TEST_F(StartupTest, NoticeOfTheTGTabFlowsAsOneText)
{
    const std::string text = form->MemoTG->toPlainText().toStdString();
    EXPECT_EQ(text.find('\n'), std::string::npos);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_TRUE(text.starts_with("This program was originally designed"));
    EXPECT_TRUE(text.ends_with("in order to have an exact amount of moles."));
    // An empty line between paragraphs leaves two blanks; one pass halves runs.
    EXPECT_NE(text.find("tab was added.  Unfortunately"), std::string::npos);
    EXPECT_NE(text.find("to begin with.   Each gas"), std::string::npos);
    EXPECT_NE(text.find("a gas that has  similar atomic weight"), std::string::npos);
}

TEST_F(StartupTest, PlanMemoIsRightAlignedAndResizedToFortyPercentOfTheScreen)
{
    // After showing, the window has been resized at least once.
    const int screenWidth = form->screen()->geometry().width();
    EXPECT_EQ(form->Memo4->width(), static_cast<int>(std::floor(screenWidth * 0.4)));
    EXPECT_EQ(form->Memo4->document()->defaultTextOption().alignment(), Qt::AlignRight);
    EXPECT_EQ(form->Memo4->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(form->Memo4->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    form->resize(500, 400);
    QApplication::processEvents();
    EXPECT_EQ(form->Memo4->width(), static_cast<int>(std::floor(screenWidth * 0.4)))
        << "the screen's width counts, not the window's";
}

TEST(StartupUnshown, PlanMemoStartsAt533Pixels)
{
    ManualClock clock{EncodeDateTime(2024, 1, 1)};
    RecordingDialogs dialogs;
    TForm1 form({.clock = clock, .monotonic = clock, .listPorts = [] { return std::vector<TPortChoice>{}; }, .dialogs = dialogs});
    EXPECT_EQ(form.Memo4->minimumWidth(), 533);
    EXPECT_EQ(form.Memo4->maximumWidth(), 533);
}

}  // namespace
}  // namespace gasmixer::test
