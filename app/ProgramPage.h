#pragma once

#include "mixer/MixerView.h"
#include "program/MixtureProgram.h"
#include "program/ProgramFile.h"

#include <QTimer>
#include <QWidget>

#include <optional>
#include <string>
#include <vector>

class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace gasmixer {

class Clock;
class OperatorDialogs;
class TForm1;
class TProgramPreview;

// The "Program" tab: the steps of a mixture program in an editable table,
// its file, its profile drawn under the table, and the view of the mixer's
// program runner.
class TProgramPage final : public QWidget {
    Q_OBJECT
public:
    TProgramPage(TForm1& form, OperatorDialogs& dialogs, const Clock& clock, QWidget* parent = nullptr);

    void SetProgram(const MixtureProgram& program);
    // The table as a program; nothing, and the operator told why, when a row is wrong.
    std::optional<MixtureProgram> Program();
    // A file with an error changes nothing and is reported with its line.
    bool LoadFrom(const std::string& path);
    bool SaveTo(const std::string& path);

    void ButtonProgramLoadClick();
    void ButtonProgramSaveClick();
    void ButtonProgramStartClick();
    void ButtonProgramStopClick();
    void ButtonProgramAddStepClick();
    void ButtonProgramRemoveStepClick();

    // The runner's news: the status line, the highlighted step, the buttons.
    void ShowRunState(const ProgramRunStatus& status);
    void ShowRefusal(const std::vector<StepProblem>& problems);

    QTableWidget* TableProgram = nullptr;
    QPushButton* ButtonProgramLoad = nullptr;
    QPushButton* ButtonProgramSave = nullptr;
    QPushButton* ButtonProgramAddStep = nullptr;
    QPushButton* ButtonProgramRemoveStep = nullptr;
    QPushButton* ButtonProgramStart = nullptr;
    QPushButton* ButtonProgramStop = nullptr;
    QLabel* LabelProgramStatus = nullptr;
    QDoubleSpinBox* EditRampStep = nullptr;  // minutes per stair of a ramp
    QLabel* LabelProgramTotal = nullptr;     // above the preview
    TProgramPreview* ProgramPreview = nullptr;

    // Redraws the preview: of the table as it stands, from now; of the
    // program that runs or ran, from its start, until the table changes.
    void RefreshPreview();

private:
    void AddRow(const ProgramStep* step);
    std::vector<ProgramRow> TableRows() const;
    ParsedProgram ParseTable() const;
    // The table or the stair length changed: what the last run or the last refusal showed is gone.
    void Edited();
    // The running step in yellow, the faulty ones in red.
    void PaintRows();
    void RememberFolderOf(const std::string& path);  // for the next file dialog

    TForm1& form_;
    OperatorDialogs& dialogs_;
    const Clock& clock_;
    ProgramRunStatus status_;
    bool filling_ = false;                 // SetProgram's rows are no edits
    bool showingRun_ = false;              // the preview shows the last run, not the table from now
    std::vector<StepProblem> refusal_;     // of the last start, until the table changes
    std::vector<int> faultyRows_;          // from 0
    std::string folder_;  // of the last program file loaded or saved; the working folder at first
    QTimer clockTimer_;   // moves "if started now" on
};

}  // namespace gasmixer
