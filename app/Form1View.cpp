#include "app/Form1.h"

#include "app/ProgramPage.h"
#include "common/TextFormat.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace gasmixer {

void TForm1::StateChanged(const MixerSnapshot& snapshot) { snapshot_ = snapshot; }

// The box keeps its design caption until the first tick.
void TForm1::Ticked()
{
    GroupBox12->setTitle(
        QString::fromStdString("Automatic stop: " + FormatDateTime("mmm dd @ hh:mm:ss", snapshot_.StopDeadline)));
    UpdateTGMix();
    if (TickedHook) TickedHook();
}

void TForm1::Error(const std::string& message) { ReportError(message); }

void TForm1::StatusText(const std::string& text) { LabelStatus->setText(QString::fromStdString(text)); }

// The mode buttons wait with the mixer for the worker to finish its cycle.
void TForm1::WorkerStopWaiting(const std::string& caption)
{
    if (!busyCursor_) {
        busyCursor_ = true;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        for (QPushButton* button : {ButtonStop, ButtonFlush, ButtonBypass, ButtonDilution}) button->setEnabled(false);
    }
    setWindowTitle(QString::fromStdString(caption));
}

void TForm1::WorkerStopDone()
{
    if (busyCursor_) {
        busyCursor_ = false;
        QApplication::restoreOverrideCursor();
    }
    setWindowTitle(QStringLiteral("Mix"));
    for (QPushButton* button : {ButtonStop, ButtonFlush, ButtonBypass, ButtonDilution}) button->setEnabled(true);
}

void TForm1::ValvesDrawn(const std::array<bool, 6>& open)
{
    for (int valve = 1; valve <= 6; ++valve) SetValveGraphics(valve, open[static_cast<std::size_t>(valve - 1)]);
}

void TForm1::DevFeedback(const std::string& line) { MemoDevFeedback->appendPlainText(QString::fromStdString(line)); }

void TForm1::ProgramOperationPressed(int step, ProgramOperation operation)
{
    if (OperationPressedHook) OperationPressedHook(step, operation);
}

void TForm1::ProgramStatusChanged(const ProgramRunStatus& status)
{
    TabSheetProgram->ShowRunState(status);
}

void TForm1::ProgramRefused(const std::vector<StepProblem>& problems) { TabSheetProgram->ShowRefusal(problems); }

}  // namespace gasmixer
