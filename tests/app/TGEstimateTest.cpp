#include "Form1Fixture.h"

#include "controls/RtIntegerEdit.h"

#include <QLabel>
#include <QPlainTextEdit>

#include <array>

namespace gasmixer::test {
namespace {

using LogLines = std::vector<std::string>;
using LabelTexts = std::array<std::string, 6>;

class TGEstimateTest : public Form1Test {
protected:
    // Writes a stored record's time and ppm cells into the given data row,
    // of the mixer's table and of the window's copy.
    void Record(int row, const char* aPpm, const char* bPpm, const char* h2oPpm)
    {
        for (TRecordGrid* grid : {&form->Mixer().RecordGrid, &form->RecordGrid}) {
            while (grid->RowCount() <= row) grid->AddRow();
            grid->SetCell(Column("Time"), row, "09:30:0" + std::to_string(row));
            grid->SetCell(Column("Mode"), row, "Dilution");
            grid->SetCell(Column("A ppm"), row, aPpm);
            grid->SetCell(Column("B ppm"), row, bPpm);
            grid->SetCell(Column("H2O ppm"), row, h2oPpm);
        }
    }

    void ThreeRecords()
    {
        Record(1, "0 000 150", "0 989 850", "0 010 000");
        Record(2, "0 000 155", "0 989 845", "0 010 000");
        Record(3, "0 000 160", "0 989 840", "0 010 000");
    }

    void Flows(int protectiveGas, int mixture)
    {
        form->RtIntegerEdit3->SetValue(protectiveGas);
        form->RtIntegerEdit4->SetValue(mixture);
    }

    // The lines one refresh adds to the device log.
    LogLines Update()
    {
        form->MemoDevFeedback->clear();
        form->UpdateTGMix();
        const LogLines lines = Lines(form->MemoDevFeedback->toPlainText());
        return lines == LogLines{""} ? LogLines{} : lines;
    }

    LabelTexts Labels() const
    {
        LabelTexts texts;
        const QLabel* labels[] = {form->LabelTGAppm, form->LabelTGAlog,   form->LabelTGBppm,
                                  form->LabelTGBlog, form->LabelTGH2Oppm, form->LabelTGH2Olog};
        for (std::size_t i = 0; i < texts.size(); ++i) texts[i] = labels[i]->text().toStdString();
        return texts;
    }

    int Column(const char* caption) const { return ColumnIdOf(form->ColumnInfo, caption); }

    const LabelTexts unknown{"Unknown", "Unknown", "Unknown", "Unknown", "Unknown", "Unknown"};
    const LabelTexts example{"0 000 040", "-4.4", "0 999 960", "0.0", "0 002 500", "-2.6"};
};

TEST_F(TGEstimateTest, ShowsTheLastRecordDilutedByTheProtectiveGas)
{
    ThreeRecords();
    Flows(300, 100);

    EXPECT_EQ(Update(), (LogLines{"TG calculations start", "A source ppm   : 0 000 160",
                               "B source ppm   : 0 989 840", "H2O source ppm : 0 010 000",
                               "TG calculations end"}));
    EXPECT_EQ(Labels(), example);
}

TEST_F(TGEstimateTest, NothingUntilThreeRecordsAreStored)
{
    Flows(300, 100);
    Record(1, "0 000 150", "0 989 850", "0 010 000");
    Record(2, "0 000 155", "0 989 845", "0 010 000");

    EXPECT_EQ(Update(), LogLines{"TG calculations start"});
    EXPECT_EQ(Labels(), unknown);
}

TEST_F(TGEstimateTest, ANewPlanLeavesTheLabelsAsTheyWereUntilTheNextRecord)
{
    ThreeRecords();
    Flows(300, 100);
    Update();

    form->RtIntegerEditGasAPPM->SetValue(300);  // a preview ends the table with "Reset"
    ASSERT_EQ(form->RecordGrid.Cell(Column("Mode"), form->RecordGrid.RowCount() - 1), "Reset");
    EXPECT_EQ(Update(), (LogLines{"TG calculations start", "TG calculations exception"}));
    EXPECT_EQ(Labels(), example);

    Record(form->RecordGrid.RowCount() - 1, "0 000 300", "0 989 700", "0 010 000");
    Update();
    EXPECT_EQ(Labels()[0], "0 000 075");
}

TEST_F(TGEstimateTest, NoMixtureFlowIsAnExceptionAndNoFlowsAtAllUnknown)
{
    ThreeRecords();
    Flows(300, 100);
    Update();

    Flows(300, 0);
    EXPECT_EQ(Update().back(), "TG calculations exception");
    EXPECT_EQ(Labels(), example);

    Flows(0, 0);
    EXPECT_EQ(Update(), LogLines{"TG calculations start"});
    EXPECT_EQ(Labels(), unknown);
}

}  // namespace
}  // namespace gasmixer::test
