// Mixture programs on the window: the tab, the steps pressed on time with
// their values, the end by the operator or the automatic stop, the check
// before the start, and program files.
#include "Form1Fixture.h"

#include "app/ProgramPage.h"
#include "plot/MixturePlot.h"
#include "plot/ProgramPreview.h"
#include "mixer/ProgramRunner.h"
#include "controls/RtIntegerEdit.h"
#include "controls/RtNumericUpDn.h"
#include "program/ProgramFile.h"
#include "sim/SimulatorHost.h"

#include <QDoubleSpinBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace gasmixer::test {
namespace {

constexpr int ProgramPage = 5;

const char* const ExampleProgram =
    "step;a_ppm;h2o_ppm;b_limit;minutes\n"
    "mixture;2000;0;;120\n"
    "flush;;;;1\n"
    "mixture;500;10000;0.25;120\n"
    "stop;;;;0\n";

MixtureProgram Parse(const std::string& text)
{
    ParsedProgram parsed = ParseProgram(text);
    EXPECT_TRUE(parsed.Program) << parsed.Error.Line << ": " << parsed.Error.Reason;
    return parsed.Program.value_or(MixtureProgram{});
}

class ProgramTabTest : public Form1Test {
protected:
    struct Pressed {
        int Step;
        ProgramOperation Operation;
        int GasAPpm;  // the fields as the operation found them
        int H2OPpm;
        double GasBLimit;
        bool operator==(const Pressed&) const = default;
    };

    TProgramPage* page = nullptr;
    ProgramRunner* runner = nullptr;
    std::vector<Pressed> pressed;

    void SetUp() override
    {
        Form1Test::SetUp();
        ChooseFakePorts();
        page = form->TabSheetProgram;
        runner = &form->Mixer().Runner();
        // The mode buttons set Mode as the operator's press would.
        form->OperationPressedHook = [this](int step, ProgramOperation operation) {
            pressed.push_back({step, operation, form->RtIntegerEditGasAPPM->Value(), form->RtIntegerEditH2Oppm->Value(),
                               form->RtNumericUpDn1->Value()});
            form->Mixer().Mode = ModeOf(operation);
        };
    }

    static TMixerState ModeOf(ProgramOperation operation)
    {
        switch (operation) {
        case ProgramOperation::ApplyMixture: return TMixerState::Dilution;
        case ProgramOperation::Flush: return TMixerState::Flushing;
        case ProgramOperation::Bypass: return TMixerState::Bypass;
        case ProgramOperation::Stop: break;
        }
        return TMixerState::Standby;
    }

    void StartProgram(const std::string& text)
    {
        ASSERT_TRUE(runner->Start(Parse(text)).empty());
        ASSERT_TRUE(runner->Running());
    }

    // A millisecond past the mark: the elapsed time is summed from the clock's
    // steps, and a boundary met to the last bit is the sequencer's own test.
    void PollAt(double minutes)
    {
        clock.Set(start + minutes * OneMinute + OneSecond / 1000);
        runner->Poll();
    }

    std::string LastMemoLine() const
    {
        std::vector<std::string> lines = Lines(form->MemoDevFeedback->toPlainText());
        return lines.empty() ? std::string{} : lines.back();
    }

    const TDateTime start = clock.Now();
};

TEST_F(ProgramTabTest, TheSixthTabFollowsDebugBehindTheSetupGuard)
{
    ASSERT_EQ(form->PageControl1->PageCount(), 6);
    EXPECT_EQ(form->PageControl1->Page(ProgramPage), form->TabSheetProgram);
    EXPECT_EQ(form->PageControl1->Caption(ProgramPage), "Program");

    // A fresh window, nothing validated: the guard refuses the new tab too.
    form.reset();
    MakeForm();
    dialogs.Clear();
    ClickTab(ProgramPage);
    EXPECT_EQ(ActivePage(), SetupPage);
    EXPECT_EQ(dialogs.Informations,
              std::vector<std::string>{"Must validate equipment and select gas types before proceeding to operation"});
    ChooseFakePorts();
    ClickTab(ProgramPage);
    EXPECT_EQ(ActivePage(), ProgramPage);
}

TEST_F(ProgramTabTest, EachStepStartsOnTimeWithItsValuesAndTheProgramEndsWithStop)
{
    StartProgram(ExampleProgram);
    EXPECT_EQ(form->RtIntegerEditGasAPPM->Value(), 2000);
    EXPECT_EQ(form->RtIntegerEditH2Oppm->Value(), 0);
    EXPECT_EQ(form->RtIntegerEditGasBPPM->Value(), 998000) << "balanced as if typed";
    EXPECT_FALSE(form->Mixer().MixingMethod.empty()) << "Apply Mixture adopted the plan";
    const double limit = form->RtNumericUpDn1->Value();

    PollAt(60);
    PollAt(119.99);
    ASSERT_EQ(pressed.size(), 1u);
    PollAt(120);
    form->Mixer().Mode = TMixerState::Standby;  // the flush sequence ends by itself
    PollAt(120.5);
    PollAt(121);
    EXPECT_EQ(form->RtIntegerEditGasBPPM->Value(), 989500);
    PollAt(240.9);
    EXPECT_TRUE(runner->Running());
    PollAt(241);
    EXPECT_FALSE(runner->Running());

    const std::vector<Pressed> expected{
        {0, ProgramOperation::ApplyMixture, 2000, 0, limit},
        {1, ProgramOperation::Flush, 2000, 0, limit},
        {2, ProgramOperation::ApplyMixture, 500, 10000, 0.25},
        {3, ProgramOperation::Stop, 500, 10000, 0.25},
    };
    EXPECT_EQ(pressed, expected);
    EXPECT_EQ(LastMemoLine(), "Program finished.");
    EXPECT_EQ(page->LabelProgramStatus->text(), "Program finished.");
}

TEST_F(ProgramTabTest, AClosingStopFollowsALastTimedStepAndHoldKeepsItRunning)
{
    StartProgram("step;a_ppm;h2o_ppm;b_limit;minutes\nbypass;;;;2\n");
    PollAt(2);
    ASSERT_EQ(pressed.size(), 2u);
    EXPECT_EQ(pressed.back().Operation, ProgramOperation::Stop);
    EXPECT_EQ(form->Mixer().Mode, TMixerState::Standby);

    pressed.clear();
    StartProgram("step;a_ppm;h2o_ppm;b_limit;minutes\nmixture;1000;0;;1\nhold;;;;\n");
    PollAt(3);
    ASSERT_EQ(pressed.size(), 1u);
    EXPECT_EQ(form->Mixer().Mode, TMixerState::Dilution);
    EXPECT_FALSE(runner->Running());
    EXPECT_EQ(LastMemoLine(), "Program finished; step 1 keeps running.");
    EXPECT_EQ(runner->ActiveStep(), 0);
}

TEST_F(ProgramTabTest, TheStatusLineCountsDownAndTheRunningStepIsHighlighted)
{
    page->SetProgram(Parse(ExampleProgram));
    QTest::mouseClick(page->ButtonProgramStart, Qt::LeftButton);
    ASSERT_TRUE(runner->Running());
    EXPECT_FALSE(page->ButtonProgramStart->isEnabled());
    EXPECT_TRUE(page->ButtonProgramStop->isEnabled());
    PollAt(121.5);
    EXPECT_EQ(page->LabelProgramStatus->text(),
              "Step 3 of 4 (mixture): 1:59:30 left in step, 1:59:30 left in program");
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(page->TableProgram->item(row, 0)->background() != QBrush(), row == 2) << row;

    QTest::mouseClick(page->ButtonProgramStop, Qt::LeftButton);
    EXPECT_FALSE(runner->Running());
    EXPECT_EQ(form->Mixer().Mode, TMixerState::Dilution) << "the mixer keeps its mode";
    EXPECT_EQ(LastMemoLine(), "Program ended at step 3 of 4: stopped by the operator; the mixer keeps its mode.");
    EXPECT_EQ(page->TableProgram->item(2, 0)->background(), QBrush());
}

// Two passes of a mixture and a ramp of two 1-minute stairs.
const char* const RampProgram =
    "step;a_ppm;h2o_ppm;b_limit;minutes\n"
    "mixture;2000;0;;2\n"
    "ramp;6000;0;;2\n"
    "repeat;2;;;\n"
    "flush;;;;1\n";

TEST_F(ProgramTabTest, EachStairAndPassIsPressedWithItsValuesAndTheStatusCountsPasses)
{
    page->SetProgram(Parse(RampProgram));
    QTest::mouseClick(page->ButtonProgramStart, Qt::LeftButton);
    ASSERT_TRUE(runner->Running());
    for (double minute : {0.5, 2.0, 3.0, 4.0, 6.0, 7.0}) PollAt(minute);
    EXPECT_EQ(page->LabelProgramStatus->text(),
              "Step 2 of 4, pass 2 of 2 (ramp, stair 2 of 2): 0:01:00 left in step, 0:02:00 left in program");
    for (int row = 0; row < 4; ++row)
        EXPECT_EQ(page->TableProgram->item(row, 0)->background() != QBrush(), row == 1) << row;
    PollAt(8);
    PollAt(9);
    const double limit = form->RtNumericUpDn1->Value();
    const std::vector<Pressed> expected{
        {0, ProgramOperation::ApplyMixture, 2000, 0, limit}, {1, ProgramOperation::ApplyMixture, 4000, 0, limit},
        {1, ProgramOperation::ApplyMixture, 6000, 0, limit}, {0, ProgramOperation::ApplyMixture, 2000, 0, limit},
        {1, ProgramOperation::ApplyMixture, 4000, 0, limit}, {1, ProgramOperation::ApplyMixture, 6000, 0, limit},
        {3, ProgramOperation::Flush, 6000, 0, limit}, {3, ProgramOperation::Stop, 6000, 0, limit}};
    EXPECT_EQ(pressed, expected);
    const std::vector<std::string> memo = Lines(form->MemoDevFeedback->toPlainText());
    EXPECT_NE(std::find(memo.begin(), memo.end(), "Program step 2 of 4, pass 2 of 2, stair 1 of 2: 4000 ppm A, 0 ppm H2O."),
              memo.end());
    EXPECT_NE(std::find(memo.begin(), memo.end(), "Program step 1 of 4, pass 2 of 2: mixture 2000 ppm A, 0 ppm H2O, 2 min."),
              memo.end());
}

TEST_F(ProgramTabTest, ThePreviewFollowsTheTableAndMarksAWrongRow)
{
    clock.Set(EncodeDateTime(2026, 12, 11, 10, 0, 0));
    EXPECT_EQ(page->LabelProgramTotal->text(), "No steps yet.");
    EXPECT_TRUE(page->ProgramPreview->Faults().empty()) << "an empty table is no error";
    page->SetProgram(Parse(RampProgram));
    EXPECT_EQ(page->TableProgram->verticalHeader()->count(), 4) << "the view shows the rows";
    const TProgramPreview& preview = *page->ProgramPreview;
    EXPECT_EQ(preview.Profile().A.size(), 13u) << "two passes of a mixture and two stairs, a break for the flush";
    EXPECT_EQ(page->LabelProgramTotal->text(), "Total 0:09:00, ends if started now Dec 11 @ 10:09:00");

    page->TableProgram->item(1, 4)->setText("4");
    EXPECT_EQ(preview.Profile().A.size(), 21u) << "the ramp now climbs four stairs";
    page->EditRampStep->setValue(2.0);
    EXPECT_EQ(preview.Profile().A.size(), 13u);

    page->TableProgram->item(1, 0)->setText("rampe");
    EXPECT_EQ(page->LabelProgramTotal->text().toStdString(),
              "Row 2: unknown step \"rampe\"; a step is mixture, ramp, flush, bypass, stop, hold or repeat");
    ASSERT_EQ(preview.Faults().size(), 1u);
    EXPECT_EQ(preview.Faults()[0].Step, 1) << "marked where the rows before it end";
    EXPECT_EQ(preview.Profile().A.size(), 2u) << "the rows before it are drawn";
    EXPECT_EQ(page->TableProgram->item(1, 2)->background().color(), QColor(255, 205, 205));
    EXPECT_EQ(page->TableProgram->item(0, 2)->background(), QBrush());

    page->TableProgram->item(1, 0)->setText("ramp");
    EXPECT_TRUE(preview.Faults().empty());
    EXPECT_EQ(page->TableProgram->item(1, 2)->background(), QBrush());
}

TEST_F(ProgramTabTest, AStepTheCheckRefusesIsMarkedOnTheChartUntilTheTableChanges)
{
    page->SetProgram(Parse("step;a_ppm;h2o_ppm;b_limit;minutes\nmixture;2000;0;;10\nmixture;0;1000000;;10\n"));
    QTest::mouseClick(page->ButtonProgramStart, Qt::LeftButton);
    ASSERT_FALSE(runner->Running());
    const TProgramPreview& preview = *page->ProgramPreview;
    ASSERT_EQ(preview.Faults().size(), 1u);
    EXPECT_EQ(preview.Faults()[0].Step, 1);
    EXPECT_EQ(preview.Faults()[0].Label, "Step 2: No mixing plan exists for a mixture without gas A and gas B");
    EXPECT_EQ(page->TableProgram->item(1, 0)->background().color(), QColor(255, 205, 205));
    page->TableProgram->item(1, 2)->setText("0");
    EXPECT_TRUE(preview.Faults().empty());
    EXPECT_EQ(page->TableProgram->item(1, 0)->background(), QBrush());
}

TEST_F(ProgramTabTest, WhileAProgramRunsThePreviewShowsWhereItStandsAndWhatWasProduced)
{
    page->SetProgram(Parse(RampProgram));
    QTest::mouseClick(page->ButtonProgramStart, Qt::LeftButton);
    ASSERT_TRUE(runner->Running());
    const TProgramPreview& preview = *page->ProgramPreview;
    EXPECT_NEAR(preview.Profile().Extent.First, start, OneSecond) << "the plan is drawn from the start";
    form->MixturePlot->AddRecord(start + 0.5 * OneMinute, "Dilution", 1990.0, 3.0);
    form->MixturePlot->AddRecord(start + 1.5 * OneMinute, "Dilution", 2010.0, 2.0);
    PollAt(2.5);
    ASSERT_TRUE(preview.RunPosition());
    EXPECT_NEAR((*preview.RunPosition() - start) / OneMinute, 2.5, 1.0 / 60);
    EXPECT_EQ(page->LabelProgramTotal->text().toStdString().rfind("Total 0:09:00, ends ", 0), 0u);
    ASSERT_FALSE(preview.DrawnProducedA().empty());
    EXPECT_EQ(preview.DrawnProducedA().back().Value, 2010.0);

    // Once over, the run stays in view until the table changes, where it ended.
    PollAt(3);
    QTest::mouseClick(page->ButtonProgramStop, Qt::LeftButton);
    ASSERT_FALSE(runner->Running());
    PollAt(5);
    ASSERT_TRUE(preview.RunPosition());
    EXPECT_NEAR((*preview.RunPosition() - start) / OneMinute, 3.0, 1.0 / 60);
    page->TableProgram->item(0, 1)->setText("3000");
    EXPECT_FALSE(preview.RunPosition());
}

struct Interference {
    const char* what;
    std::function<void(TForm1&)> act;
    const char* line;
};

class ProgramInterference : public ProgramTabTest, public testing::WithParamInterface<Interference> {};

// A mode the program did not set ends it there, with one line, and it
// presses nothing more.
TEST_P(ProgramInterference, EndsTheProgramWithOneLine)
{
    StartProgram(ExampleProgram);
    PollAt(10);
    GetParam().act(*form);
    PollAt(11);
    EXPECT_FALSE(runner->Running());
    EXPECT_EQ(LastMemoLine(), GetParam().line);
    PollAt(125);
    EXPECT_EQ(pressed.size(), 1u);
    EXPECT_EQ(Lines(form->MemoDevFeedback->toPlainText()).back(), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgramInterference,
    testing::Values(
        Interference{"Stop clicked",
                     [](TForm1& f) { QTest::mouseClick(f.ButtonStop, Qt::LeftButton); },
                     "Program ended at step 1 of 4: a mode button was pressed."},
        Interference{"Apply Mixture clicked, the mode stays",
                     [](TForm1& f) { QTest::mouseClick(f.ButtonDilution, Qt::LeftButton); },
                     "Program ended at step 1 of 4: a mode button was pressed."},
        Interference{"a mode set without the program",
                     [](TForm1& f) { f.Mixer().Mode = TMixerState::Bypass; },
                     "Program ended at step 1 of 4: a mode button was pressed."},
        Interference{"gases cleared on the Setup tab",
                     [](TForm1& f) { f.Post([](TMixer& mixer) { mixer.ForgetGases(); }); },
                     "Program ended at step 1 of 4: the gas selection was cleared."}));

// The operator shortens the counter; the tick then stops the mixer.
TEST_F(ProgramTabTest, TheAutomaticStopEndsTheProgram)
{
    StartProgram(ExampleProgram);
    form->Mixer().StopDeadline = start + 10.5 * OneMinute;  // "Add hours to counter" with a few minutes
    PollAt(10);
    EXPECT_TRUE(runner->Running()) << "moving the deadline is no interference";
    clock.Set(start + 11 * OneMinute);
    // What the tick does once the deadline has passed.
    form->Mixer().ButtonStopClick();
    form->Mixer().Mode = TMixerState::Standby;
    form->Mixer().StopDeadline = clock.Now() + 1.0;
    runner->Poll();
    EXPECT_FALSE(runner->Running());
    EXPECT_EQ(LastMemoLine(), "Program ended at step 1 of 4: the automatic stop fired.");
}

TEST_F(ProgramTabTest, AnImpossibleStepIsReportedAndNothingStarts)
{
    page->SetProgram(Parse("step;a_ppm;h2o_ppm;b_limit;minutes\n"
                           "mixture;2000;0;;10\n"
                           "mixture;0;1000000;;10\n"));
    dialogs.Clear();
    QTest::mouseClick(page->ButtonProgramStart, Qt::LeftButton);
    EXPECT_FALSE(runner->Running());
    EXPECT_EQ(dialogs.Informations,
              std::vector<std::string>{"The program cannot start:\n"
                                       "Step 2: No mixing plan exists for a mixture without gas A and gas B"});
    EXPECT_TRUE(pressed.empty());
    EXPECT_EQ(form->RtIntegerEditGasAPPM->Value(), 150) << "the window is untouched";
}

TEST_F(ProgramTabTest, AWrongRowIsReportedAndNothingStarts)
{
    page->SetProgram(Parse(ExampleProgram));
    page->TableProgram->item(1, 4)->setText("1,5");
    dialogs.Clear();
    QTest::mouseClick(page->ButtonProgramStart, Qt::LeftButton);
    EXPECT_FALSE(runner->Running());
    EXPECT_EQ(dialogs.Informations,
              std::vector<std::string>{"Row 2: minutes \"1,5\" is not a number; the decimal separator is a point"});
}

// The simulated relay board's bubbler, at 20 ºC, holds at most 23 000 ppm.
class ProgramWaterTest : public ProgramTabTest {
protected:
    sim::SimulatorHost host{{.announce = false, .waterTemperature = 20.0, .pacing = false, .trace = {}}};

    void SetUp() override
    {
        ports = {host.MfcLinePath(), host.RelayBoardPath()};
        ProgramTabTest::SetUp();
        ClickItem(form->ListBoxPortSolenoid, host.RelayBoardPath());
        // Nothing has read the bubbler: the operator came here straight from the set-up.
        form->RtIntegerEditpH2O->SetValue(0.0);
    }

    std::vector<StepProblem> StartWithWater(int h2oPpm)
    {
        return runner->Start(
            Parse("step;a_ppm;h2o_ppm;b_limit;minutes\nmixture;500;" + std::to_string(h2oPpm) + ";;10\n"));
    }
};

TEST_F(ProgramWaterTest, TheStartReadsTheBubblerBeforeCheckingTheWater)
{
    EXPECT_TRUE(StartWithWater(10000).empty());
    EXPECT_TRUE(runner->Running());
}

TEST_F(ProgramWaterTest, WaterBeyondTheBubblerIsRefused)
{
    const std::vector<StepProblem> problems = StartWithWater(50000);
    EXPECT_FALSE(runner->Running());
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].Step, 1);
    EXPECT_EQ(problems[0].Reason.rfind("the bubbler delivers at most 23", 0), 0u) << problems[0].Reason;
}

class ProgramFileTest : public ProgramTabTest {
protected:
    QTemporaryDir dir;

    std::string Write(const char* name, const std::string& text)
    {
        const std::string path = dir.filePath(QString::fromLatin1(name)).toStdString();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
};

TEST_F(ProgramFileTest, LoadShowsTheStepsAndAFaultyFileChangesNothing)
{
    dialogs.OpenFileAnswer = Write("good.csv", ExampleProgram);
    QTest::mouseClick(page->ButtonProgramLoad, Qt::LeftButton);
    ASSERT_EQ(page->TableProgram->rowCount(), 4);
    EXPECT_EQ(page->TableProgram->item(2, 3)->text(), "0.25");

    const std::string bad = Write("bad.csv", "step;a_ppm;h2o_ppm;b_limit;minutes\nflush;;;;1\nmix;1;1;;1\n");
    dialogs.Clear();
    EXPECT_FALSE(page->LoadFrom(bad));
    EXPECT_EQ(dialogs.Informations,
              std::vector<std::string>{bad + ", line 3: unknown step \"mix\"; a step is mixture, ramp, flush, "
                                             "bypass, stop, hold or repeat"});
    EXPECT_EQ(page->Program(), Parse(ExampleProgram));
}

TEST_F(ProgramFileTest, SaveWritesTheTableAsAProgramFile)
{
    page->SetProgram(Parse(ExampleProgram));
    const std::string path = dir.filePath(QStringLiteral("saved.csv")).toStdString();
    ASSERT_TRUE(page->SaveTo(path));
    std::ifstream file(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), ExampleProgram);
}

TEST_F(ProgramFileTest, RampsRepeatsAndTheStairLengthSurviveLoadAndSave)
{
    const std::string text =
        "step;a_ppm;h2o_ppm;b_limit;minutes;ramp_step=0.5\n"
        "mixture;2000;0;;10\n"
        "ramp;10000;0;;4\n"
        "repeat;3;;;\n"
        "stop;;;;0\n";
    ASSERT_TRUE(page->LoadFrom(Write("ramp.csv", text)));
    EXPECT_EQ(page->EditRampStep->value(), 0.5);
    EXPECT_EQ(page->TableProgram->item(2, 1)->text(), "3");
    const std::string path = dir.filePath(QStringLiteral("saved.csv")).toStdString();
    ASSERT_TRUE(page->SaveTo(path));
    std::ifstream file(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), text);
}

TEST_F(ProgramFileTest, AFailedSaveIsReported)
{
    page->SetProgram(Parse(ExampleProgram));
    const std::string path = dir.filePath(QStringLiteral("missing/saved.csv")).toStdString();
    dialogs.Clear();
    EXPECT_FALSE(page->SaveTo(path));
    ASSERT_EQ(dialogs.Informations.size(), 1u);
    EXPECT_EQ(dialogs.Informations[0].rfind("Cannot write " + path + ": ", 0), 0u) << dialogs.Informations[0];
}

TEST_F(ProgramFileTest, FileDialogsOpenInTheFolderOfTheLastProgramFile)
{
    QTest::mouseClick(page->ButtonProgramLoad, Qt::LeftButton);
    ASSERT_EQ(dialogs.OpenDialogs.size(), 1u);
    EXPECT_EQ(dialogs.OpenDialogs[0].InitialDir, std::filesystem::current_path().string()) << "the working folder at first";

    dialogs.OpenFileAnswer = Write("good.csv", ExampleProgram);
    QTest::mouseClick(page->ButtonProgramLoad, Qt::LeftButton);
    QTest::mouseClick(page->ButtonProgramSave, Qt::LeftButton);
    ASSERT_EQ(dialogs.SaveDialogs.size(), 1u);
    EXPECT_EQ(dialogs.SaveDialogs[0].InitialDir, dir.path().toStdString());
}

}  // namespace
}  // namespace gasmixer::test
