#include "tools/HeadlessRun.h"

#include "app/ColumnInfo.h"
#include "app/Form1.h"
#include "app/ListBox.h"
#include "app/PageControl.h"
#include "app/ProgramPage.h"
#include "app/ProgramRunner.h"
#include "common/TextFormat.h"
#include "program/ProgramFile.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTimer>

#include <algorithm>
#include <filesystem>

namespace gasmixer {
namespace {

constexpr int ShutdownRetryMs = 100;

}  // namespace

HeadlessRun::HeadlessRun(TForm1& form, const Clock& clock, RunOptions options, std::ostream& out,
                         std::ostream& err)
    : QObject(&form), form_(form), clock_(clock), options_(std::move(options)), out_(out), err_(err),
      lastStore_(form.LastStoreTime)
{
    // Connected after the window's own slot, so it sees what the tick stored.
    connect(form_.Timer1, &QTimer::timeout, this, &HeadlessRun::AfterTick);
    ProgramRunner& runner = form_.TabSheetProgram->Runner();
    connect(&runner, &ProgramRunner::StepStarted, this, &HeadlessRun::PrintStep);
    connect(&runner, &ProgramRunner::Ended, this, [this](const QString& line) {
        out_ << "end;" << line.toStdString() << std::endl;
        // A held step runs on until a signal ends the run.
        if (form_.TabSheetProgram->Runner().ActiveStep() < 0) finishAfterTick_ = true;
    });
}

bool HeadlessRun::Select(TListBox* list, const std::string& text, const char* what)
{
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->text().toStdString() != text) continue;
        // As a click on the item: the selection, then the list's Click.
        list->SetItemIndex(i);
        emit list->Click();
        PrintNewFeedback();
        return true;
    }
    std::string items;
    for (int i = 0; i < list->count(); ++i) items += (i ? ", " : "") + list->item(i)->text().toStdString();
    err_ << "gasmixer-run: no " << what << ' ' << text << "; the list holds " << items << std::endl;
    return false;
}

bool HeadlessRun::SetUp()
{
    if (options_.Fake) {
        if (!Select(form_.ListBoxPortSolenoid, FakePortName, "port")) return false;
    } else {
        // Gas names are checked first: a misspelt one is bad input, not a failed set-up.
        for (const auto& [list, name] : {std::pair{form_.ListBoxSetupGas1, options_.GasA},
                                         std::pair{form_.ListBoxSetupGas2, options_.GasB}}) {
            if (list->findItems(QString::fromStdString(name), Qt::MatchExactly).isEmpty()) {
                Select(list, name, "gas");
                status_ = BadInput;
                return false;
            }
        }
        status_ = Failed;
        if (!Select(form_.ListBoxPortSolenoid, options_.RelayPort, "port")) return false;
        if (!form_.CheckBoxSolenoidOK->isChecked()) return false;
        if (!Select(form_.ListBoxPortMFC, options_.MfcPort, "port")) return false;
        if (!form_.CheckBoxMFCOK->isChecked()) return false;
        if (!Select(form_.ListBoxSetupGas1, options_.GasA, "gas")) return false;
        if (!Select(form_.ListBoxSetupGas2, options_.GasB, "gas")) return false;
    }
    status_ = Failed;
    if (!form_.CheckBoxGasesSelected->isChecked()) return false;
    status_ = Succeeded;
    // On to the Operation tab, as the operator goes: it reads the bubbler,
    // so humidified steps are planned with its present pH2O.
    form_.PageControl1->SetActivePageIndex(1);
    return true;
}

bool HeadlessRun::Start(const MixtureProgram& program)
{
    ChooseSavePath();
    // Autosaves beside the table, named as the window names them.
    const std::filesystem::path save(savePath_);
    form_.EditAutosaveFilename->setText(QString::fromStdString((save.parent_path() / save.stem()).string()));

    form_.TabSheetProgram->SetProgram(program);
    const std::vector<StepProblem> problems = form_.TabSheetProgram->Runner().Start(program);
    for (const StepProblem& problem : problems) {
        err_ << "gasmixer-run: ";
        if (problem.Step > 0) err_ << "step " << problem.Step << ": ";
        err_ << problem.Reason << std::endl;
    }
    if (problems.empty()) return true;
    status_ = BadInput;
    return false;
}

void HeadlessRun::ChooseSavePath()
{
    // The name the window proposes for a table saved by hand.
    savePath_ = options_.SavePath.empty() ? FormatDateTime("yyyy-mm-dd hh_mm", clock_.Now()) + ".csv" : options_.SavePath;
}

void HeadlessRun::PrintNewFeedback()
{
    const QTextDocument* memo = form_.MemoSetupFeedback->document();
    const int lines = memo->isEmpty() ? 0 : memo->blockCount();
    for (; feedbackPrinted_ < lines; ++feedbackPrinted_)
        err_ << memo->findBlockByNumber(feedbackPrinted_).text().toStdString() << '\n';
    err_.flush();
}

void HeadlessRun::PrintStep(int step)
{
    const MixtureProgram& program = form_.TabSheetProgram->Runner().Sequencer()->Program();
    const ProgramStep& s = program.Steps[static_cast<std::size_t>(step)];
    out_ << "step;" << step + 1 << ';' << program.Steps.size();
    for (int column = StepColumn; column < ProgramColumnCount; ++column)
        out_ << ';' << ProgramField(s, static_cast<ProgramColumn>(column));
    out_ << std::endl;
}

void HeadlessRun::AfterTick()
{
    if (form_.LastStoreTime != lastStore_) {
        lastStore_ = form_.LastStoreTime;
        const TRecordGrid& grid = form_.RecordGrid;
        const int row = grid.RowCount() - 1;
        const auto cell = [&](const char* caption) { return grid.Cell(ColumnIdOf(form_.ColumnInfo, caption), row); };
        out_ << "row;" << cell("Time") << ';' << cell("Mode") << ';' << cell("Method") << ';'
             << cell("A ppm") << ';' << cell("H2O ppm") << std::endl;
    }
    if (finishAfterTick_) Finish(Succeeded, {});
}

void HeadlessRun::CloseSafely()
{
    // While the tick holds the window (the flush sequence, a worker stop
    // awaited) its sequence would run on after the close: close once it is over.
    if (!form_.Timer1->isActive()) {
        QTimer::singleShot(ShutdownRetryMs, this, &HeadlessRun::CloseSafely);
        return;
    }
    form_.close();

    form_.Save(savePath_);
    const QTextDocument* memo = form_.MemoDevFeedback->document();
    const bool saved = memo->lastBlock().text() == QStringLiteral("Saving succeeded");
    err_ << "gasmixer-run: " << (saved ? "table saved to " : "the table could not be saved to ") << savePath_
         << std::endl;
    if (!saved && status_ == Succeeded) status_ = Failed;
    emit Finished(status_);
}

void HeadlessRun::Finish(Status status, const std::string& why)
{
    if (finishing_) return;
    finishing_ = true;
    finishAfterTick_ = false;
    status_ = status;
    if (!why.empty()) err_ << "gasmixer-run: " << why << std::endl;
    // The program's last line gives the run's reason, not the operator's button's.
    if (why.empty()) form_.TabSheetProgram->Runner().Stop();
    else form_.TabSheetProgram->Runner().Stop(why + ".");
    if (savePath_.empty()) ChooseSavePath();
    CloseSafely();
}

}  // namespace gasmixer
