#include "app/Form1.h"

#include "app/ListBox.h"
#include "app/RecordCells.h"
#include "app/RecordGridFile.h"
#include "common/TextFormat.h"
#include "controls/RtFloatEdit.h"
#include "plot/MixturePlot.h"
#include "records/RecordFile.h"
#include "records/RecordJournal.h"

#include <QCoreApplication>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableView>

#include <unistd.h>

#include <filesystem>
#include <limits>
#include <stdexcept>

namespace gasmixer {

namespace {

// Redrawing stays off while a row is written, and comes back on every path.
class SuspendedRedraw {
public:
    explicit SuspendedRedraw(QWidget* widget) : widget_(widget) { widget_->setUpdatesEnabled(false); }
    ~SuspendedRedraw() { widget_->setUpdatesEnabled(true); }
    SuspendedRedraw(const SuspendedRedraw&) = delete;
    SuspendedRedraw& operator=(const SuspendedRedraw&) = delete;

private:
    QWidget* widget_;
};

// The program's folder, or the home folder when the program may not write
// beside itself (an installed program).
std::string SaveStartFolder()
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    if (::access(programFolder.toLocal8Bit().constData(), W_OK) == 0) return programFolder.toStdString();
    return QDir::homePath().toStdString();
}

}  // namespace

std::string TForm1::GridLineOfRow(int row) const
{
    std::vector<std::string> cells;
    RecordGrid.ReadRow(row, cells);
    return RecordFileLine(cells, row == 0);
}

void TForm1::JournalRow(int row)
{
    if (!Journal) {
        const TDateTime now = services_.clock.Now();
        const std::string name = "journal " + FormatDateTime("yyyy-mm-dd hh_nn_ss", now) + " " +
                                 std::to_string(::getpid()) + ".csv";
        Journal = std::make_unique<TRecordJournal>(
            DefaultJournalFolder(), name, GridLineOfRow(0), [this](const std::string& problem) {
                QMetaObject::invokeMethod(
                    this, [this, problem] { MemoDevFeedback->appendPlainText(QString::fromStdString(problem)); },
                    Qt::QueuedConnection);
            });
    }
    Journal->Append(GridLineOfRow(row));
}

void TForm1::StoreData()
{
    RecordInputs in;
    in.Now = services_.clock.Now();
    in.TotalizerBStartTime = TotalizerB.StartTime;
    in.ModeName = std::string(MixerStateName(Mode));
    in.MixingMethod = MixingMethod;
    in.GasAGrams = TotalizerA.Value;
    in.GasBGrams = TotalizerB.Value;
    in.WetTimeOccurred = WetTimeOccurred;
    in.RequiredFlowB = RequiredFlowB;
    in.PH2O = RtIntegerEditpH2O->Value();
    in.InverseMolarMassGasBEntry = static_cast<double>(InverseMolarMass(ListBoxSetupGas2->SelectedText()));
    in.InverseMolarMassA = static_cast<double>(InverseMolarMass(CompoundA.Name));
    in.InverseMolarMassB = static_cast<double>(InverseMolarMass(CompoundB.Name));
    in.InverseMolarMassH2O = static_cast<double>(InverseMolarMass("H2O"));
    in.H2OMolarMass = CompoundH2O.MolarMass;
    const RecordRow record = ComputeRecordRow(in);

    if (!RecordGrid.Cell(0, 1).empty()) RecordGrid.AddRow();
    const int row = RecordGrid.RowCount() - 1;
    {
        const SuspendedRedraw suspended(StringGrid1);
        MemoDevFeedback->appendPlainText(QString::fromStdString(
            "Protective B gas grams:" + FormatFloat("0.0", record.MinutesSinceReset) + " " +
            FormatFloat("0.000 000", record.ProtectiveBGrams)));
        std::vector<std::string> cells;
        RecordGrid.ReadRow(row, cells);
        WriteRecordCells(record, ColumnInfo, cells);
        RecordGrid.SetRow(row, cells);
        LastStoreTime = in.Now;
        StringGrid1->selectRow(row - 1);
        StringGrid1->scrollTo(StringGrid1->model()->index(row - 1, 0));
    }
    JournalRow(row);
    const double gap = std::numeric_limits<double>::quiet_NaN();
    MixturePlot->AddRecord(record.Time(), record.Mode, record.APpm().value_or(gap), record.H2OPpm().value_or(gap));
    if (RowStored) RowStored(record);
}

void TForm1::Save(const std::string& Path)
{
    const WriteOutcome outcome = WriteFile(Path, RecordGridFile(RecordGrid, Memo4->toPlainText().toStdString()));
    // One append of both lines: an empty line appended alone to an empty memo
    // would not show.
    MemoDevFeedback->appendPlainText(outcome.Ok ? QStringLiteral("\nSaving succeeded")
                                                : QStringLiteral("\nSaving failed"));
}

void TForm1::Autosave()
{
    const TDateTime now = services_.clock.Now();
    const QString time = QString::fromStdString(FormatDateTime("mm-dd hh:mm", now));
    try {
        Save(EditAutosaveFilename->text().toStdString() + " autosave " +
             FormatDateTime("mm-dd hh_mm", now) + ".CSV");
        LastAutosaveTime = now;
        Label17->setText(QStringLiteral("Last autosave: ") + time);
    } catch (const std::exception&) {
        // LastAutosaveTime stays, so the next tick tries again.
        Label17->setText(QStringLiteral("Autosave failed: ") + time);
    }
}

void TForm1::StringGrid1MouseDown(Qt::MouseButton Button)
{
    if (Button != Qt::RightButton) return;
    SaveDialog1.FileName = FormatDateTime("yyyy-mm-dd hh_mm", services_.clock.Now());
    SaveDialog1.InitialDir = SaveStartFolder();
    const std::optional<std::string> chosen = services_.dialogs.SaveFile(SaveDialog1);
    if (!chosen) return;
    if (std::filesystem::exists(std::filesystem::symlink_status(*chosen))) {
        // Reported here rather than thrown: an exception must not unwind Qt's mouse handling.
        ReportError("File already exists. Cannot overwrite.");
        return;
    }
    Save(*chosen);
}

}  // namespace gasmixer
