#pragma once

#include "mixer/MixerView.h"
#include "program/MixtureProgram.h"

#include <QWidget>

#include <optional>
#include <string>

class QLabel;
class QPushButton;
class QTableWidget;

namespace gasmixer {

class OperatorDialogs;
class TForm1;

// The "Program" tab: the steps of a mixture program in an editable table,
// its file, and the view of the mixer's program runner.
class TProgramPage final : public QWidget {
    Q_OBJECT
public:
    TProgramPage(TForm1& form, OperatorDialogs& dialogs, QWidget* parent = nullptr);

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

private:
    void AddRow(const ProgramStep* step);
    void RememberFolderOf(const std::string& path);  // for the next file dialog

    TForm1& form_;
    OperatorDialogs& dialogs_;
    ProgramRunStatus status_;
    std::string folder_;  // of the last program file loaded or saved; the working folder at first
};

}  // namespace gasmixer
