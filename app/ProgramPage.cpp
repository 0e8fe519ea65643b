#include "app/ProgramPage.h"

#include "app/OperatorDialogs.h"
#include "app/Form1.h"
#include "common/ScopedFlag.h"
#include "common/TextFormat.h"
#include "mixer/ProgramRunner.h"
#include "plot/MixturePlot.h"
#include "plot/ProgramPreview.h"
#include "program/ProgramSchedule.h"
#include "records/AtomicFileWriter.h"

#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace gasmixer {

namespace {

constexpr int ColumnCount = ProgramColumnCount;
const QColor RunningStepColour(255, 236, 160);
const QColor FaultyStepColour(255, 205, 205);
constexpr int ClockRefreshMs = 1000;

SaveDialogSettings ProgramFileDialog(const std::string& folder)
{
    return {"Mixture program (*.csv);;Text file (*.txt)", "csv", "", folder};
}

std::string WorkingFolder()
{
    std::error_code ignored;
    return std::filesystem::current_path(ignored).string();
}


std::string StepLabel(const StepProblem& p)
{
    return (p.Step > 0 ? "Step " + std::to_string(p.Step) + ": " : std::string{}) + p.Reason;
}

}  // namespace

TProgramPage::TProgramPage(TForm1& form, OperatorDialogs& dialogs, const Clock& clock, QWidget* parent)
    : QWidget(parent), form_(form), dialogs_(dialogs), clock_(clock), folder_(WorkingFolder())
{
    TableProgram = new QTableWidget(0, ColumnCount, this);
    TableProgram->setHorizontalHeaderLabels(
        {QStringLiteral("Step"), QStringLiteral("Gas A (ppm)"), QStringLiteral("H2O (ppm)"),
         QStringLiteral("Gas B limit (g/min)"), QStringLiteral("Minutes")});
    TableProgram->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    TableProgram->setSelectionBehavior(QAbstractItemView::SelectRows);

    ButtonProgramLoad = new QPushButton(QStringLiteral("Load..."), this);
    ButtonProgramSave = new QPushButton(QStringLiteral("Save..."), this);
    ButtonProgramAddStep = new QPushButton(QStringLiteral("Add step"), this);
    ButtonProgramRemoveStep = new QPushButton(QStringLiteral("Remove step"), this);
    ButtonProgramStart = new QPushButton(QStringLiteral("Start program"), this);
    ButtonProgramStop = new QPushButton(QStringLiteral("Stop program"), this);
    LabelProgramStatus = new QLabel(this);
    EditRampStep = new QDoubleSpinBox(this);
    // Minutes read as the program file writes them, whatever the locale.
    EditRampStep->setLocale(QLocale::c());
    EditRampStep->setDecimals(3);
    EditRampStep->setRange(0.001, 1440.0);
    EditRampStep->setValue(DefaultRampStepMinutes);
    EditRampStep->setSuffix(QStringLiteral(" min"));

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {ButtonProgramLoad, ButtonProgramSave, ButtonProgramAddStep, ButtonProgramRemoveStep})
        buttons->addWidget(b);
    buttons->addSpacing(12);
    buttons->addWidget(new QLabel(QStringLiteral("Ramp stair:"), this));
    buttons->addWidget(EditRampStep);
    buttons->addStretch();
    buttons->addWidget(ButtonProgramStart);
    buttons->addWidget(ButtonProgramStop);

    // As on the Made mixture tab: the table over its plot, sharing the height.
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(TableProgram);
    auto* chartPane = new QWidget(splitter);
    LabelProgramTotal = new QLabel(chartPane);
    ProgramPreview = new TProgramPreview(chartPane);
    auto* chartLayout = new QVBoxLayout(chartPane);
    chartLayout->setContentsMargins(0, 0, 0, 0);
    chartLayout->addWidget(LabelProgramTotal);
    chartLayout->addWidget(ProgramPreview, 1);
    splitter->addWidget(chartPane);
    splitter->setCollapsible(0, false);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({1000, 1000});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);
    layout->addWidget(LabelProgramStatus);

    connect(TableProgram, &QTableWidget::itemChanged, this, &TProgramPage::Edited);
    connect(TableProgram->model(), &QAbstractItemModel::rowsInserted, this, &TProgramPage::Edited);
    connect(TableProgram->model(), &QAbstractItemModel::rowsRemoved, this, &TProgramPage::Edited);
    connect(EditRampStep, &QDoubleSpinBox::valueChanged, this, &TProgramPage::Edited);
    clockTimer_.setInterval(ClockRefreshMs);
    connect(&clockTimer_, &QTimer::timeout, this, [this] {
        if (isVisible() && !status_.Running && !showingRun_) RefreshPreview();
    });
    clockTimer_.start();

    connect(ButtonProgramLoad, &QPushButton::clicked, this, &TProgramPage::ButtonProgramLoadClick);
    connect(ButtonProgramSave, &QPushButton::clicked, this, &TProgramPage::ButtonProgramSaveClick);
    connect(ButtonProgramAddStep, &QPushButton::clicked, this, &TProgramPage::ButtonProgramAddStepClick);
    connect(ButtonProgramRemoveStep, &QPushButton::clicked, this, &TProgramPage::ButtonProgramRemoveStepClick);
    connect(ButtonProgramStart, &QPushButton::clicked, this, &TProgramPage::ButtonProgramStartClick);
    connect(ButtonProgramStop, &QPushButton::clicked, this, &TProgramPage::ButtonProgramStopClick);
    ShowRunState(status_);
    RefreshPreview();
}

void TProgramPage::AddRow(const ProgramStep* step)
{
    const int row = TableProgram->rowCount();
    TableProgram->insertRow(row);
    for (int column = 0; column < ColumnCount; ++column) {
        const std::string text = step ? ProgramField(*step, static_cast<ProgramColumn>(column)) : std::string{};
        TableProgram->setItem(row, column, new QTableWidgetItem(QString::fromStdString(text)));
    }
}

void TProgramPage::SetProgram(const MixtureProgram& program)
{
    {
        const ScopedFlag filling(filling_);
        TableProgram->setRowCount(0);
        for (const ProgramStep& step : program.Steps) AddRow(&step);
        EditRampStep->setValue(program.RampStepMinutes);
    }
    Edited();
    ShowRunState(status_);
}

std::vector<ProgramRow> TProgramPage::TableRows() const
{
    std::vector<ProgramRow> rows;
    for (int row = 0; row < TableProgram->rowCount(); ++row) {
        ProgramRow r{row + 1, {}};
        for (int column = 0; column < ColumnCount; ++column) {
            const QTableWidgetItem* item = TableProgram->item(row, column);
            r.Fields.push_back(item ? item->text().toStdString() : std::string{});
        }
        rows.push_back(std::move(r));
    }
    return rows;
}

ParsedProgram TProgramPage::ParseTable() const { return ParseProgramRows(TableRows(), EditRampStep->value()); }

std::optional<MixtureProgram> TProgramPage::Program()
{
    ParsedProgram parsed = ParseTable();
    if (!parsed.Program) dialogs_.Information("Row " + std::to_string(parsed.Error.Line) + ": " + parsed.Error.Reason);
    return std::move(parsed.Program);
}

bool TProgramPage::LoadFrom(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        dialogs_.Information("Cannot read " + path);
        return false;
    }
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const ParsedProgram parsed = ParseProgram(text);
    if (!parsed.Program) {
        dialogs_.Information(path + ", line " + std::to_string(parsed.Error.Line) + ": " + parsed.Error.Reason);
        return false;
    }
    SetProgram(*parsed.Program);
    RememberFolderOf(path);
    return true;
}

bool TProgramPage::SaveTo(const std::string& path)
{
    const std::optional<MixtureProgram> program = Program();
    if (!program) return false;
    // A failed write leaves the file that was there whole.
    const std::string text = WriteProgram(*program);
    const WriteOutcome outcome = WriteFileAtomically(path, [&](const ByteSink& sink) { sink(text); });
    if (!outcome.Ok) {
        dialogs_.Information("Cannot write " + path + ": " + outcome.Error);
        return false;
    }
    RememberFolderOf(path);
    return true;
}

void TProgramPage::RememberFolderOf(const std::string& path)
{
    folder_ = std::filesystem::path(path).parent_path().string();
}

void TProgramPage::ButtonProgramLoadClick()
{
    if (status_.Running) return;
    if (const auto path = dialogs_.OpenFile(ProgramFileDialog(folder_))) LoadFrom(*path);
}

void TProgramPage::ButtonProgramSaveClick()
{
    if (!Program()) return;
    const auto path = dialogs_.SaveFile(ProgramFileDialog(folder_));
    if (!path) return;
    std::error_code ignored;
    if (std::filesystem::exists(*path, ignored) && !dialogs_.Question("Replace " + *path + "?", "Confirm action"))
        return;
    SaveTo(*path);
}

// The mixer plans and starts it; a refusal comes back as ShowRefusal.
void TProgramPage::ButtonProgramStartClick()
{
    std::optional<MixtureProgram> program = Program();
    if (!program) return;
    form_.Post([program = std::move(*program)](TMixer& mixer) {
        const std::vector<StepProblem> problems = mixer.Runner().Start(program);
        if (!problems.empty()) mixer.View().ProgramRefused(problems);
    });
}

void TProgramPage::ShowRefusal(const std::vector<StepProblem>& problems)
{
    std::string text = "The program cannot start:";
    for (const StepProblem& p : problems) text += "\n" + StepLabel(p);
    refusal_ = problems;
    showingRun_ = false;
    RefreshPreview();
    dialogs_.Information(text);
}

void TProgramPage::ButtonProgramStopClick()
{
    form_.Post([](TMixer& mixer) { mixer.Runner().Stop(); });
}

void TProgramPage::ButtonProgramAddStepClick()
{
    AddRow(nullptr);
    TableProgram->setCurrentCell(TableProgram->rowCount() - 1, 0);
}

void TProgramPage::ButtonProgramRemoveStepClick()
{
    if (TableProgram->currentRow() >= 0) TableProgram->removeRow(TableProgram->currentRow());
}

void TProgramPage::ShowRunState(const ProgramRunStatus& status)
{
    const bool started = status.Running && !status_.Running;
    status_ = status;
    const bool running = status.Running;
    LabelProgramStatus->setText(QString::fromStdString(status.Text.empty() ? "No program has run." : status.Text));
    TableProgram->setEditTriggers(running ? QAbstractItemView::NoEditTriggers
                                          : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                                QAbstractItemView::AnyKeyPressed);
    for (QPushButton* b : {ButtonProgramLoad, ButtonProgramAddStep, ButtonProgramRemoveStep, ButtonProgramStart})
        b->setEnabled(!running);
    EditRampStep->setEnabled(!running);
    ButtonProgramStop->setEnabled(running);
    if (started) {
        showingRun_ = true;
        refusal_.clear();
    }
    PaintRows();
    if (showingRun_) RefreshPreview();
}

void TProgramPage::Edited()
{
    if (filling_) return;
    showingRun_ = false;
    refusal_.clear();
    RefreshPreview();
}

void TProgramPage::RefreshPreview()
{
    const std::vector<ProgramRow> rows = TableRows();
    const ParsedProgram parsed = ParseProgramRows(rows, EditRampStep->value());
    MixtureProgram drawn;
    std::vector<TProfileFault> faults;
    faultyRows_.clear();
    std::string total;
    if (parsed.Program) {
        drawn = *parsed.Program;
        // Refusals name steps by their rows, counted from 1 as the table's.
        for (const StepProblem& p : refusal_) {
            if (p.Step <= 0) continue;
            faults.push_back({p.Step - 1, StepLabel(p)});
            faultyRows_.push_back(p.Step - 1);
        }
    } else if (std::all_of(rows.begin(), rows.end(), [](const ProgramRow& r) {
                   return std::all_of(r.Fields.begin(), r.Fields.end(), [](const std::string& f) { return f.empty(); });
               })) {
        total = "No steps yet.";  // a table still to be filled is no error
    } else {
        // What comes before the faulty row is drawn, the fault where it ends.
        std::vector<ProgramRow> before = rows;
        std::erase_if(before, [&](const ProgramRow& r) { return r.Line >= parsed.Error.Line; });
        const ParsedProgram head = ParseProgramRows(before, EditRampStep->value());
        if (head.Program) drawn = *head.Program;
        const std::string why = "Row " + std::to_string(parsed.Error.Line) + ": " + parsed.Error.Reason;
        faults.push_back({static_cast<int>(drawn.Steps.size()), why});
        faultyRows_.push_back(parsed.Error.Line - 1);
        total = why;
    }
    const ProgramSchedule schedule = ScheduleOf(drawn);
    const TDateTime start = showingRun_ ? status_.StartedAt : clock_.Now();
    if (parsed.Program) {
        const TDateTime end = start + schedule.TotalMinutes * OneMinute;
        total = "Total " + DurationText(schedule.TotalMinutes) + (schedule.Holds ? " before the held step" : "") +
                (showingRun_ ? ", ends " : ", ends if started now ") + FormatDateTime("mmm dd @ hh:nn:ss", end);
    }
    LabelProgramTotal->setText(QString::fromStdString(total));
    const bool unreadable = !parsed.Program && !faults.empty();
    LabelProgramTotal->setStyleSheet(unreadable ? QStringLiteral("color: rgb(200, 30, 30);") : QString());
    ProgramPreview->ShowPlan(schedule, start, std::move(faults));
    if (showingRun_)
        ProgramPreview->ShowRun(status_.StartedAt + status_.ElapsedMinutes * OneMinute, &form_.MixturePlot->Trace());
    else
        ProgramPreview->ShowRun(std::nullopt, nullptr);
    PaintRows();
}

void TProgramPage::PaintRows()
{
    // Colours are no edits.
    const QSignalBlocker quiet(TableProgram);
    const int active = status_.ActiveStep;
    for (int row = 0; row < TableProgram->rowCount(); ++row) {
        QBrush brush;
        if (std::find(faultyRows_.begin(), faultyRows_.end(), row) != faultyRows_.end()) brush = QBrush(FaultyStepColour);
        if (row == active) brush = QBrush(RunningStepColour);
        for (int column = 0; column < ColumnCount; ++column)
            if (QTableWidgetItem* item = TableProgram->item(row, column)) item->setBackground(brush);
    }
}

}  // namespace gasmixer
