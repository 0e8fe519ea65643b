#include "app/Form1.h"

#include "common/TextFormat.h"
#include "plot/MixturePlot.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableView>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <limits>

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

void TForm1::GridRowWritten(int row, const std::vector<std::string>& cells)
{
    const SuspendedRedraw suspended(StringGrid1);
    while (RecordGrid.RowCount() <= row) RecordGrid.AddRow();
    RecordGrid.SetRow(row, cells);
}

void TForm1::RowStored(int row, const RecordRow& record)
{
    StringGrid1->selectRow(row - 1);
    StringGrid1->scrollTo(StringGrid1->model()->index(row - 1, 0));
    const double gap = std::numeric_limits<double>::quiet_NaN();
    MixturePlot->AddRecord(record.Time(), record.Mode, record.APpm().value_or(gap), record.H2OPpm().value_or(gap));
    ShowProducedUncertainty(record);
    runLog_.AddRow(record);
    if (RowStoredHook) RowStoredHook(record);
}

void TForm1::ResetMarked(TDateTime when) { MixturePlot->AddReset(when); }

// The warning stays beside the mixer status while a gas is short; the plot
// marks where each alarm rose and ended.
void TForm1::DeliveryAlarmChanged(const DeliveryAlarm& alarm)
{
    const auto slot = [](char gas) { return gas == 'A' ? 0u : 1u; };
    const std::string gas = std::string("Gas ") + alarm.Gas;
    deliveryShort_[slot(alarm.Gas)] = alarm.Short;
    QStringList warnings;
    for (const char g : {'A', 'B'}) {
        if (deliveryShort_[slot(g)]) warnings << QStringLiteral("Gas %1 delivery short").arg(QChar(g));
    }
    LabelDeliveryWarning->setText(warnings.join(QLatin1Char('\n')));
    LabelDeliveryWarning->setVisible(!warnings.isEmpty());
    if (alarm.Line.empty()) return;
    MixturePlot->AddMarker(alarm.Time, gas + (alarm.Short ? " short" : " recovered"));
    runLog_.AddAlarm(alarm.Time, alarm.Line);
}

void TForm1::AutosaveShown(const std::string& text) { Label17->setText(QString::fromStdString(text)); }

void TForm1::Save(const std::string& Path)
{
    Post([Path](TMixer& mixer) { mixer.Save(Path); });
}

std::optional<std::string> TForm1::ChooseNewTableFile(const std::string& proposedName)
{
    SaveDialog1.FileName = proposedName;
    SaveDialog1.InitialDir = SaveStartFolder();
    const std::optional<std::string> chosen = services_.dialogs.SaveFile(SaveDialog1);
    if (!chosen) return std::nullopt;
    if (std::filesystem::exists(std::filesystem::symlink_status(*chosen))) {
        // Reported here rather than thrown: an exception must not unwind Qt's mouse handling.
        ReportError("File already exists. Cannot overwrite.");
        return std::nullopt;
    }
    return chosen;
}

void TForm1::StringGrid1MouseDown(Qt::MouseButton Button)
{
    if (Button != Qt::RightButton) return;
    if (const auto chosen = ChooseNewTableFile(FormatDateTime("yyyy-mm-dd hh_mm", services_.clock.Now())))
        Save(*chosen);
}

void TForm1::UnsavedRunFound(const UnsavedRun& run)
{
    const std::string question = "The run of " + run.Started + " ended without saving its table (" +
                                 std::to_string(run.Rows) + " rows). Save it now?";
    if (!services_.dialogs.Question(question, "Unsaved run")) {
        Post([journal = run.JournalPath](TMixer& mixer) { mixer.DeclineRun(journal); });
        return;
    }
    std::string name = run.Started;
    std::replace(name.begin(), name.end(), ':', '_');
    // A cancelled dialog decides nothing: the next start asks again.
    if (const auto chosen = ChooseNewTableFile(name)) {
        Post([journal = run.JournalPath, path = *chosen](TMixer& mixer) { mixer.RecoverRun(journal, path); });
    }
}

}  // namespace gasmixer
