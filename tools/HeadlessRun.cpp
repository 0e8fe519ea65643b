#include "tools/HeadlessRun.h"

#include "common/TextFormat.h"
#include "mixer/GasLists.h"
#include "mixer/ProgramRunner.h"
#include "program/ProgramFile.h"
#include "records/ColumnInfo.h"
#include "runreport/AdoptedPlan.h"
#include "runreport/RunPlotImage.h"
#include "runreport/RunReportPdf.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace gasmixer {
namespace {

bool Listed(const std::vector<std::string>& list, const std::string& gas)
{
    return std::find(list.begin(), list.end(), gas) != list.end();
}

std::string Joined(const std::vector<std::string>& list)
{
    std::string text;
    for (const std::string& item : list) text += (text.empty() ? "" : ", ") + item;
    return text;
}

}  // namespace

HeadlessRun::HeadlessRun(RunOptions options, std::ostream& out, std::ostream& err)
    : options_(std::move(options)), out_(out), err_(err), exit_([this] { QCoreApplication::exit(exitStatus_); })
{
}

bool HeadlessRun::SetUp()
{
    TMixer& mixer = *mixer_;
    if (options_.Fake) {
        options_.GasA = "O2";
        options_.GasB = "N2";
        mixer.ChoosePorts(FakePortName, FakePortName);
    } else {
        // Gas names are checked first: a misspelt one is bad input, not a failed set-up.
        for (const auto& [list, name] : {std::pair{&GasListA(), options_.GasA}, std::pair{&GasListB(), options_.GasB}}) {
            if (!Listed(*list, name)) {
                err_ << "gasmixer-run: no gas " << name << "; the list holds " << Joined(*list) << std::endl;
                status_ = BadInput;
                return false;
            }
        }
        mixer.ChoosePorts(options_.RelayPort, options_.MfcPort);
    }
    status_ = Failed;
    mixer.Validate();
    if (!mixer.RelayBoardOK || !mixer.MFCOK) return false;
    mixer.ChooseGas(1, options_.GasA);
    mixer.ChooseGas(2, options_.GasB);
    // As the operator goes on to the Operation tab: the bubbler is read, so
    // humidified steps are planned with its present pH2O.
    mixer.ReadWaterTemperature();
    runLog_.SetSetup({options_.Fake ? FakePortName : options_.RelayPort, options_.Fake ? FakePortName : options_.MfcPort,
                      options_.GasA, options_.GasB, mixer.FlowInfoA, mixer.FlowInfoB});
    status_ = Succeeded;
    return true;
}

bool HeadlessRun::Start(const MixtureProgram& program)
{
    ChooseSavePath();
    // Autosaves beside the table, named as the window names them.
    const std::filesystem::path save(savePath_);
    mixer_->SetAutosavePrefix((save.parent_path() / save.stem()).string());
    program_ = program;
    const std::vector<StepProblem> problems = mixer_->Runner().Start(program);
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
    savePath_ = options_.SavePath.empty() ? FormatDateTime("yyyy-mm-dd hh_mm", mixer_->WallClock().Now()) + ".csv"
                                          : options_.SavePath;
}

void HeadlessRun::SetupFeedback(const std::string& line) { err_ << line << std::endl; }

void HeadlessRun::Error(const std::string& message) { err_ << "gasmixer-run: error: " << message << std::endl; }

void HeadlessRun::Saved(const std::string&, bool ok) { savedOk_ = ok; }

void HeadlessRun::GridRowWritten(int, const std::vector<std::string>& cells) { lastRow_ = cells; }

// Told once the tick is over, as the tick's row is.
void HeadlessRun::RowStored(int, const RecordRow& record)
{
    runLog_.AddRow(record);
    const double gap = std::nan("");
    trace_.AddRecord(record.Time(), record.Mode, record.APpm().value_or(gap), record.H2OPpm().value_or(gap));
    const TColumnInfo& columns = DefaultColumnInfo();
    const auto cell = [&](const char* caption) { return lastRow_[static_cast<std::size_t>(ColumnIdOf(columns, caption))]; };
    rowLine_ = "row;" + cell("Time") + ';' + cell("Mode") + ';' + cell("Method") + ';' + cell("A ppm") + ';' +
               cell("H2O ppm");
}

void HeadlessRun::ProgramStepStarted(const ScheduledStep& entry)
{
    if (entry.Stair <= 1) {
        const ProgramStep& s = program_.Steps[static_cast<std::size_t>(entry.Step)];
        out_ << "step;" << entry.Step + 1 << ';' << program_.Steps.size();
        for (int column = StepColumn; column < ProgramColumnCount; ++column)
            out_ << ';' << ProgramField(s, static_cast<ProgramColumn>(column));
        out_ << ';' << entry.Pass << ';' << entry.Passes << std::endl;
    }
    if (entry.Stair > 0)
        out_ << "stair;" << entry.Stair << ';' << entry.Stairs << ';' << entry.GasAPpm << ';' << entry.H2OPpm
             << std::endl;
}

void HeadlessRun::ProgramEnded(const std::string& line)
{
    out_ << "end;" << line << std::endl;
    // A held step runs on until a signal ends the run; otherwise the tick
    // after the end stores the last mode's row first.
    if (mixer_->Runner().ActiveStep() < 0) finishAfterTick_ = true;
}

void HeadlessRun::DeliveryAlarmChanged(const DeliveryAlarm& alarm)
{
    if (alarm.Line.empty()) return;
    out_ << "alarm;" << alarm.Line << std::endl;
    runLog_.AddAlarm(alarm.Time, alarm.Line);
    trace_.AddMarker(alarm.Time, std::string("Gas ") + alarm.Gas + (alarm.Short ? " short" : " recovered"));
}

void HeadlessRun::PlanAdopted(const std::vector<std::string>& report, int gasAPpm, int h2oPpm, bool defined)
{
    if (!defined) return;
    const std::optional<TAdoptedPlan> adopted = PlanAgain(mixer_->Snapshot(), report, gasAPpm, h2oPpm, mixer_->GasBLimit);
    runLog_.AddPlan(AppliedPlanOf(mixer_->WallClock().Now(), report, gasAPpm, h2oPpm, adopted, accuracy_));
    requestedA_ = gasAPpm;
    requestedH2O_ = h2oPpm;
}

bool HeadlessRun::WriteReport(const std::string& path)
{
    const QImage plot = RunPlotImage(trace_, requestedA_, requestedH2O_, QSize(1000, 500));
    if (WriteRunReport(path, runLog_, accuracy_, plot)) return true;
    err_ << "gasmixer-run: the run report could not be written to " << path << std::endl;
    return false;
}

void HeadlessRun::Ticked()
{
    if (rowLine_) out_ << *rowLine_ << std::endl;
    rowLine_.reset();
    if (finishAfterTick_) Finish(Succeeded, {});
}

void HeadlessRun::Finish(Status status, const std::string& why)
{
    if (finishing_.exchange(true)) return;
    if (!why.empty()) err_ << "gasmixer-run: " << why << std::endl;
    // After the command that ended the program, on the mixer's thread.
    mixer_->Post([this, status, why](TMixer& mixer) {
        // The program's last line gives the run's reason, not the operator's button's.
        if (why.empty()) mixer.Runner().Stop();
        else mixer.Runner().Stop(why + ".");
        Shutdown(mixer, status);
    });
}

void HeadlessRun::Shutdown(TMixer& mixer, Status status)
{
    mixer.Close();
    if (savePath_.empty()) ChooseSavePath();
    mixer.Save(savePath_);
    mixer.FinishSaves();
    const bool saved = savedOk_;
    err_ << "gasmixer-run: " << (saved ? "table saved to " : "the table could not be saved to ") << savePath_
         << std::endl;
    if (!saved && status == Succeeded) status = Failed;
    // Here, on the thread that filled the run's log, once no row can come.
    if (!options_.ReportPath.empty() && !WriteReport(options_.ReportPath) && status == Succeeded) status = Failed;
    exitStatus_ = status;
    exit_.Wake();
}

}  // namespace gasmixer
