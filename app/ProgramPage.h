#pragma once

#include "program/MixtureProgram.h"

#include <QWidget>

#include <optional>
#include <string>

class QLabel;
class QPushButton;
class QTableWidget;

namespace gasmixer {

class Clock;
class OperatorDialogs;
class ProgramRunner;
class TForm1;

// The "Program" tab: the steps of a mixture program in an editable table,
// its file, and the runner that plays it on the window.
class TProgramPage final : public QWidget {
    Q_OBJECT
public:
    TProgramPage(TForm1& form, const Clock& clock, OperatorDialogs& dialogs, QWidget* parent = nullptr);

    ProgramRunner& Runner() const { return *runner_; }

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

    QTableWidget* TableProgram = nullptr;
    QPushButton* ButtonProgramLoad = nullptr;
    QPushButton* ButtonProgramSave = nullptr;
    QPushButton* ButtonProgramAddStep = nullptr;
    QPushButton* ButtonProgramRemoveStep = nullptr;
    QPushButton* ButtonProgramStart = nullptr;
    QPushButton* ButtonProgramStop = nullptr;
    QLabel* LabelProgramStatus = nullptr;

private:
    void ShowRunState();
    void AddRow(const ProgramStep* step);
    void RememberFolderOf(const std::string& path);  // for the next file dialog

    OperatorDialogs& dialogs_;
    ProgramRunner* runner_;
    std::string folder_;  // of the last program file loaded or saved; the working folder at first
};

}  // namespace gasmixer
