#include "mixer/Mixer.h"

#include "common/TextFormat.h"
#include "records/RecordCells.h"
#include "records/RecordFile.h"
#include "records/RecordGridFile.h"

#include <unistd.h>

namespace gasmixer {

std::string TMixer::GridLineOfRow(int row) const
{
    std::vector<std::string> cells;
    RecordGrid.ReadRow(row, cells);
    return RecordFileLine(cells, row == 0);
}

void TMixer::WriteGridRow(int row, const std::vector<std::string>& cells)
{
    RecordGrid.SetRow(row, cells);
    view_.GridRowWritten(row, cells);
    if (Journal) Journal->AppendRow(row, GridLineOfRow(row));
}

// Opened by the first stored row, with the table as it stands then: the plan
// and every row so far. Later rows and plans follow as they come.
void TMixer::OpenJournal()
{
    if (Journal || services_.journalFolder.empty()) return;
    const std::string name = "journal " + FormatDateTime("yyyy-mm-dd hh_nn_ss", services_.clock.Now()) + " " +
                             std::to_string(::getpid()) + ".csv";
    Journal = std::make_unique<TRecordJournal>(services_.journalFolder, name, GridLineOfRow(0),
                                               [this](const std::string& problem) { view_.DevFeedback(problem); });
    Journal->AppendPlan(PlanText);
    for (int row = 1; row < RecordGrid.RowCount(); ++row) Journal->AppendRow(row, GridLineOfRow(row));
}

void TMixer::AdoptPlanText(std::string planText)
{
    PlanText = std::move(planText);
    if (Journal) Journal->AppendPlan(PlanText);
}

void TMixer::MarkGridReset()
{
    if (!RecordGrid.Cell(0, 1).empty()) RecordGrid.AddRow();
    const int row = RecordGrid.RowCount() - 1;
    std::vector<std::string> cells;
    RecordGrid.ReadRow(row, cells);
    cells[static_cast<std::size_t>(ColumnIdOf(ColumnInfo, "Mode"))] = "Reset";
    WriteGridRow(row, cells);
    view_.ResetMarked(services_.clock.Now());
}

TMixer::RecordGases TMixer::GasesOfRows() const
{
    return planGases_ ? *planGases_ : RecordGases{GasB, CompoundA.Name, CompoundB.Name};
}

void TMixer::StoreData()
{
    RecordInputs in;
    in.Now = services_.clock.Now();
    const double now = services_.monotonic.Elapsed();
    in.MinutesSinceReset = (now - TotalizerB.StartTime) / OneMinute;
    in.ModeName = std::string(MixerStateName(Mode));
    in.MixingMethod = MixingMethod;
    in.GasAGrams = TotalizerA.Value;
    in.GasBGrams = TotalizerB.Value;
    in.WetTimeOccurred = WetTimeOccurred;
    in.RequiredFlowB = RequiredFlowB;
    in.PH2O = PH2O;
    const RecordGases gases = GasesOfRows();
    in.InverseMolarMassGasBEntry = static_cast<double>(InverseMolarMass(gases.GasBEntry));
    in.InverseMolarMassA = static_cast<double>(InverseMolarMass(gases.CompoundA));
    in.InverseMolarMassB = static_cast<double>(InverseMolarMass(gases.CompoundB));
    in.InverseMolarMassH2O = static_cast<double>(InverseMolarMass("H2O"));
    in.H2OMolarMass = CompoundH2O.MolarMass;
    const RecordRow record = ComputeRecordRow(in);

    if (!RecordGrid.Cell(0, 1).empty()) RecordGrid.AddRow();
    const int row = RecordGrid.RowCount() - 1;
    view_.DevFeedback("Protective B gas grams:" + FormatFloat("0.0", record.MinutesSinceReset) + " " +
                      FormatFloat("0.000 000", record.ProtectiveBGrams));
    std::vector<std::string> cells;
    RecordGrid.ReadRow(row, cells);
    WriteRecordCells(record, ColumnInfo, cells);
    WriteGridRow(row, cells);
    LastStoreTime = now;
    OpenJournal();
    view_.RowStored(row, record);
}

void TMixer::Save(const std::string& Path)
{
    SaveTable(Path, [this, Path](const std::optional<WriteOutcome>& outcome) {
        TellSaved(Path, outcome && outcome->Ok);
    });
}

void TMixer::TellSaved(const std::string& path, bool ok)
{
    // One line of both: an empty line appended alone to an empty memo would not show.
    view_.DevFeedback(ok ? "\nSaving succeeded" : "\nSaving failed");
    view_.Saved(path, ok);
}

void TMixer::Autosave()
{
    const TDateTime now = services_.clock.Now();
    const std::string time = FormatDateTime("mm-dd hh:mm", now);
    const std::string path = AutosavePrefix + " autosave " + FormatDateTime("mm-dd hh_mm", now) + ".CSV";
    // Counted from the asking, so the ticks meanwhile do not ask again.
    const std::optional<double> previous = LastAutosaveTime;
    LastAutosaveTime = services_.monotonic.Elapsed();
    SaveTable(path, [this, path, time, previous](const std::optional<WriteOutcome>& outcome) {
        if (!outcome) {
            // The old time comes back, so the next tick tries again.
            LastAutosaveTime = previous;
            view_.AutosaveShown("Autosave failed: " + time);
            return;
        }
        TellSaved(path, outcome->Ok);
        view_.AutosaveShown("Last autosave: " + time);
    });
}

void TMixer::SaveTable(const std::string& path, TBackgroundWriter::Done done)
{
    const int rows = RecordGrid.RowCount() - 1;
    saver_.Submit(path, RecordGridFile(RecordGrid.Snapshot(), PlanText),
                  [this, rows, done = std::move(done)](const std::optional<WriteOutcome>& outcome) {
                      // The journal learns which rows a save holds, so a later start offers only the rest.
                      if (outcome && outcome->Ok && Journal) Journal->AppendSaved(rows);
                      done(outcome);
                  });
}

void TMixer::FinishSaves() { saver_.Finish(); }

}  // namespace gasmixer
