#include "RecordsFixture.h"

#include "common/TextFormat.h"
#include "controls/RtNumericUpDn.h"
#include "records/JournalFolder.h"
#include "records/RecordRow.h"

#include <QDir>
#include <QItemSelectionModel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTableView>

#include <limits>

namespace gasmixer::test {
namespace {

TEST_F(RecordsTest, TheFirstStoreFillsTheResetRowAndLaterOnesAppend)
{
    RunDilution(0.032, 28.0);
    ASSERT_EQ(form->Mixer().RecordGrid.RowCount(), 2);
    ASSERT_EQ(Cell("Mode", 1), "Reset");

    clock.Advance(90 * OneSecond);
    form->Mixer().StoreData();
    EXPECT_EQ(form->Mixer().RecordGrid.RowCount(), 2) << "the start-up row is filled, not appended to";
    EXPECT_EQ(Cell("Time", 1), "09:31:30");
    EXPECT_EQ(Cell("Mode", 1), "Dilution");
    EXPECT_EQ(Cell("Method", 1), "A (constant) in B");
    EXPECT_EQ(Cell("Gas A (g)", 1), "0.032 000");
    EXPECT_EQ(Cell("Gas B (g)", 1), "28.000 000");
    EXPECT_EQ(Cell("H2O (g)", 1), "0.000 000");
    EXPECT_EQ(Cell("H2O ppm", 1), "0 000 000");
    EXPECT_EQ(Cell("log10(pH2O)", 1), "");
    EXPECT_EQ(Cell("log10(pA)", 1), "-3.00");
    EXPECT_EQ(LastMemoLine(), "Protective B gas grams:1.5 0.000 000");
    EXPECT_EQ(form->Mixer().LastStoreTime, clock.Elapsed());

    clock.Advance(OneSecond);
    form->Mixer().Mode = TMixerState::Bypass;
    form->Mixer().StoreData();
    ASSERT_EQ(form->Mixer().RecordGrid.RowCount(), 3);
    EXPECT_EQ(Cell("Method", 2), "Dry B");
    EXPECT_EQ(Cell("Time", 2), "09:31:31");
    EXPECT_TRUE(form->StringGrid1->selectionModel()->isRowSelected(1, {})) << "the last row is selected";
}

TEST_F(RecordsTest, ARowAfterAPlannerResetGoesBelowIt)
{
    RunDilution(0.1, 1.0);
    form->Mixer().StoreData();
    form->RtNumericUpDn1Click(form->RtNumericUpDn1);  // a new calculation marks the table
    const int resetRow = form->Mixer().RecordGrid.RowCount() - 1;
    ASSERT_EQ(Cell("Mode", resetRow), "Reset");
    ASSERT_EQ(Cell("Time", resetRow), "");

    form->Mixer().StoreData();
    EXPECT_EQ(form->Mixer().RecordGrid.RowCount(), resetRow + 2);
    EXPECT_EQ(Cell("Mode", resetRow), "Reset");
    EXPECT_EQ(Cell("Mode", resetRow + 1), "Dilution");
}

TEST_F(RecordsTest, FailedTotalizerReadsStoreTheRowWithEmptyNumbers)
{
    RunDilution(std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::quiet_NaN());
    form->Mixer().StoreData();
    form->Mixer().StoreData();

    ASSERT_EQ(form->Mixer().RecordGrid.RowCount(), 3);
    EXPECT_EQ(Cell("Time", 2), "09:30:00");
    EXPECT_EQ(Cell("Mode", 2), "Dilution");
    EXPECT_EQ(Cell("Method", 2), "A (constant) in B");
    for (int col = 3; col < form->Mixer().RecordGrid.ColCount(); ++col) {
        const std::string cell = form->Mixer().RecordGrid.Cell(col, 2);
        EXPECT_TRUE(cell.find_first_of("naNAiIfF") == std::string::npos) << col << ": " << cell;
    }
    EXPECT_EQ(Cell("Gas A (g)", 2), "");
    EXPECT_EQ(Cell("A ppm", 2), "");
}

// "Clear selected gases?" answered Yes leaves the mixer running: its rows
// keep the compounds of the plan in force, not the emptied selection.
TEST_F(RecordsTest, ClearingTheGasesWhileTheMixerRunsLeavesItsRowsWhole)
{
    ChooseFakePorts();
    form->Mixer().ButtonDilutionClick({1000, 0, {}});
    const auto storeRow = [this] {
        form->Mixer().TotalizerA.Value = 0.032;
        form->Mixer().TotalizerB.Value = 28.0;
        form->Mixer().StoreData();
        std::vector<std::string> cells;
        form->Mixer().RecordGrid.ReadRow(form->Mixer().RecordGrid.RowCount() - 1, cells);
        cells[static_cast<std::size_t>(ColumnIdOf(form->Mixer().ColumnInfo, "Time"))].clear();
        return cells;
    };
    const std::vector<std::string> before = storeRow();
    ASSERT_EQ(Cell("A ppm", 1), "0 001 000") << "a row of O2 in N2";

    ClickTab(OperationPage);
    dialogs.Answers = {true};
    ClickTab(SetupPage);
    ASSERT_TRUE(form->Mixer().GasA.empty() && form->Mixer().GasB.empty());
    ASSERT_EQ(form->Mixer().Mode, TMixerState::Dilution);

    EXPECT_EQ(storeRow(), before);
}

TEST_F(RecordsTest, CellsGoWhereTheColumnTableSays)
{
    RunDilution(0.032, 28.0);
    std::swap(form->Mixer().ColumnInfo[3].ColID, form->Mixer().ColumnInfo[4].ColID);  // Gas A into column 4
    form->Mixer().StoreData();
    EXPECT_EQ(form->Mixer().RecordGrid.Cell(4, 1), "0.032 000");
    EXPECT_EQ(form->Mixer().RecordGrid.Cell(3, 1), "28.000 000");
}

TEST_F(RecordsTest, EachStoredRowIsHandedOn)
{
    std::vector<RecordRow> rows;
    form->RowStoredHook = [&rows](const RecordRow& row) { rows.push_back(row); };
    RunDilution(0.032, 28.0);
    form->Mixer().StoreData();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_DOUBLE_EQ(rows[0].Time(), clock.Now());
    EXPECT_EQ(rows[0].Mode, "Dilution");
    ASSERT_TRUE(rows[0].APpm().has_value());
    EXPECT_EQ(FormatFloat("0 000 000", *rows[0].APpm()), Cell("A ppm", 1));
    EXPECT_EQ(rows[0].H2OPpm(), 0.0);
}

TEST_F(RecordsTest, TheJournalHoldsTheTableAsTheSavedFileWritesIt)
{
    RunDilution(0.032, 28.0);
    form->Mixer().PreviewShown("first plan\n");
    form->Mixer().StoreData();
    clock.Advance(OneSecond);
    // A second plan and its reset row, after the journal began.
    form->Mixer().PreviewShown("Plan \"two\"; 20 \u00baC\r\n\n");
    form->Mixer().StoreData();
    ASSERT_TRUE(form->Mixer().Journal);
    form->Mixer().Journal->WaitIdle();
    const std::filesystem::path journalFolder = stateHome / "gasmixer";
    ASSERT_EQ(std::filesystem::path(form->Mixer().Journal->Path()).parent_path(), journalFolder);

    const std::filesystem::path saved = folder / "saved.csv";
    form->Save(saved);
    FinishSaves();
    const std::optional<RecoveredTable> recovered = RecoverTable(form->Mixer().Journal->Path());
    ASSERT_TRUE(recovered);
    EXPECT_EQ(recovered->File, ReadAll(saved));
    EXPECT_EQ(recovered->Rows, 3);
}

TEST_F(RecordsTest, AJournalFolderThatCannotBeMadeIsReportedOnceAndStoringGoesOn)
{
    std::ofstream(folder / "not a folder") << "x";
    form.reset();
    journalFolder = (folder / "not a folder" / "gasmixer").string();
    MakeForm();
    RunDilution(0.1, 1.0);
    for (int i = 0; i < 3; ++i) {
        form->Mixer().StoreData();
        form->Mixer().Journal->WaitIdle();
        QApplication::processEvents();
    }
    EXPECT_EQ(form->Mixer().RecordGrid.RowCount(), 4);
    int reports = 0;
    for (const std::string& line : Lines(form->MemoDevFeedback->toPlainText())) {
        if (line.starts_with("Record journal not kept")) ++reports;
    }
    EXPECT_EQ(reports, 1);
    EXPECT_TRUE(dialogs.Errors.empty());
}

// Not a check: the Made mixture tab after a few stores, for a person to look
// at. Runs only when GASMIXER_SCREENSHOT_DIR names a folder.
TEST_F(RecordsTest, ScreenshotOfTheMadeMixtureTab)
{
    const QString dir = qEnvironmentVariable("GASMIXER_SCREENSHOT_DIR");
    if (dir.isEmpty()) GTEST_SKIP() << "set GASMIXER_SCREENSHOT_DIR to take screenshots";
    ASSERT_TRUE(QDir().mkpath(dir));
    form->setGeometry(form->screen()->availableGeometry());
    RunDilution(0.0, 0.0);
    for (int i = 0; i < 12; ++i) {
        form->Mixer().TotalizerA.Value += 0.00021;
        form->Mixer().TotalizerB.Value += 0.0712;
        clock.Advance(OneSecond);
        form->Mixer().StoreData();
    }
    form->PageControl1->SetActivePageIndex(2);
    QApplication::processEvents();
    EXPECT_TRUE(form->grab().save(QDir(dir).filePath(QStringLiteral("made-mixture.png"))));
}

}  // namespace
}  // namespace gasmixer::test
