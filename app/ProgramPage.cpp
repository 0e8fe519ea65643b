#include "app/ProgramPage.h"

#include "app/OperatorDialogs.h"
#include "app/Form1.h"
#include "mixer/ProgramRunner.h"
#include "program/ProgramFile.h"
#include "records/AtomicFileWriter.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace gasmixer {

namespace {

constexpr int ColumnCount = ProgramColumnCount;
const QColor RunningStepColour(255, 236, 160);

SaveDialogSettings ProgramFileDialog(const std::string& folder)
{
    return {"Mixture program (*.csv);;Text file (*.txt)", "csv", "", folder};
}

std::string WorkingFolder()
{
    std::error_code ignored;
    return std::filesystem::current_path(ignored).string();
}

}  // namespace

TProgramPage::TProgramPage(TForm1& form, OperatorDialogs& dialogs, QWidget* parent)
    : QWidget(parent), form_(form), dialogs_(dialogs), folder_(WorkingFolder())
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

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {ButtonProgramLoad, ButtonProgramSave, ButtonProgramAddStep, ButtonProgramRemoveStep})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(ButtonProgramStart);
    buttons->addWidget(ButtonProgramStop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(TableProgram, 1);
    layout->addWidget(LabelProgramStatus);

    connect(ButtonProgramLoad, &QPushButton::clicked, this, &TProgramPage::ButtonProgramLoadClick);
    connect(ButtonProgramSave, &QPushButton::clicked, this, &TProgramPage::ButtonProgramSaveClick);
    connect(ButtonProgramAddStep, &QPushButton::clicked, this, &TProgramPage::ButtonProgramAddStepClick);
    connect(ButtonProgramRemoveStep, &QPushButton::clicked, this, &TProgramPage::ButtonProgramRemoveStepClick);
    connect(ButtonProgramStart, &QPushButton::clicked, this, &TProgramPage::ButtonProgramStartClick);
    connect(ButtonProgramStop, &QPushButton::clicked, this, &TProgramPage::ButtonProgramStopClick);
    ShowRunState(status_);
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
    TableProgram->setRowCount(0);
    for (const ProgramStep& step : program.Steps) AddRow(&step);
    ShowRunState(status_);
}

std::optional<MixtureProgram> TProgramPage::Program()
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
    ParsedProgram parsed = ParseProgramRows(rows);
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
    for (const StepProblem& p : problems)
        text += "\n" + (p.Step > 0 ? "Step " + std::to_string(p.Step) + ": " : std::string{}) + p.Reason;
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
    status_ = status;
    const bool running = status.Running;
    LabelProgramStatus->setText(QString::fromStdString(status.Text.empty() ? "No program has run." : status.Text));
    TableProgram->setEditTriggers(running ? QAbstractItemView::NoEditTriggers
                                          : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                                QAbstractItemView::AnyKeyPressed);
    for (QPushButton* b : {ButtonProgramLoad, ButtonProgramAddStep, ButtonProgramRemoveStep, ButtonProgramStart})
        b->setEnabled(!running);
    ButtonProgramStop->setEnabled(running);
    const int active = status.ActiveStep;
    for (int row = 0; row < TableProgram->rowCount(); ++row) {
        for (int column = 0; column < ColumnCount; ++column) {
            if (QTableWidgetItem* item = TableProgram->item(row, column))
                item->setBackground(row == active ? QBrush(RunningStepColour) : QBrush());
        }
    }
}

}  // namespace gasmixer
