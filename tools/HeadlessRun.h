#pragma once

#include "common/DateTime.h"
#include "program/MixtureProgram.h"
#include "tools/RunOptions.h"

#include <QObject>

#include <ostream>
#include <string>

namespace gasmixer {

class TForm1;

// Drives the window as an operator would for gasmixer-run: the set-up by
// selecting the Setup tab's list items, then the program through the
// Program tab's runner. Step changes and stored rows go to `out`, the set-up
// feedback and everything else the operator would read to `err`.
class HeadlessRun final : public QObject {
    Q_OBJECT
public:
    enum Status { Succeeded = 0, Failed = 1, BadInput = 2 };

    HeadlessRun(TForm1& form, const Clock& clock, RunOptions options, std::ostream& out, std::ostream& err);

    // Selects the ports and the gases; false after saying why.
    bool SetUp();
    // Plans and starts the program; false after saying why.
    bool Start(const MixtureProgram& program);
    // Leaves the mixer safe, saves the table and reports `status` through
    // Finished. Later calls do nothing.
    void Finish(Status status, const std::string& why);

    // What the set-up came to: Succeeded, Failed, or BadInput for a gas the list lacks.
    Status SetUpStatus() const { return status_; }
    std::string SavePath() const { return savePath_; }

signals:
    void Finished(int status);

private:
    bool Select(class TListBox* list, const std::string& text, const char* what);
    void AfterTick();
    void PrintNewFeedback();
    void PrintStep(int step);
    void CloseSafely();
    void ChooseSavePath();

    TForm1& form_;
    const Clock& clock_;
    RunOptions options_;
    std::ostream& out_;
    std::ostream& err_;
    std::string savePath_;
    int feedbackPrinted_ = 0;
    TDateTime lastStore_;
    bool finishAfterTick_ = false;
    bool finishing_ = false;
    Status status_ = Succeeded;
};

}  // namespace gasmixer
