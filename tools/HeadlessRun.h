#pragma once

#include "mixer/Mixer.h"
#include "mixer/MixerView.h"
#include "mixer/ThreadWake.h"
#include "plot/MixtureTrace.h"
#include "program/MixtureProgram.h"
#include "runreport/RunLog.h"
#include "tools/RunOptions.h"
#include "uncertainty/AccuracySettings.h"

#include <atomic>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace gasmixer {

// gasmixer-run's view of the mixer, with no window: the set-up by port and
// gas names, then the program through the mixer's runner. Step changes and
// stored rows go to `out`, the set-up feedback and errors to `err`. The
// set-up and the start run before the mixer has a thread of its own; what
// the mixer tells afterwards comes from its thread.
class HeadlessRun final : public MixerView {
public:
    enum Status { Succeeded = 0, Failed = 1, BadInput = 2 };

    HeadlessRun(RunOptions options, std::ostream& out, std::ostream& err);

    // The mixer this view watches; set before anything runs.
    void Attach(TMixer& mixer) { mixer_ = &mixer; }

    // Chooses the ports and the gases; false after saying why.
    bool SetUp();
    // Plans and starts the program; false after saying why.
    bool Start(const MixtureProgram& program);
    // Any thread: stops the program, leaves the mixer safe, saves the table
    // and ends the application with the status. Later calls do nothing.
    // Made on the application's thread.
    void Finish(Status status, const std::string& why);

    Status SetUpStatus() const { return status_; }

    // The run report (--report) is written with this accuracy, the window's
    // remembered one, after the table is saved.
    void SetAccuracy(const TAccuracySettings& accuracy) { accuracy_ = accuracy; }

    void SetupFeedback(const std::string& line) override;
    void Error(const std::string& message) override;
    void GridRowWritten(int row, const std::vector<std::string>& cells) override;
    void RowStored(int row, const RecordRow& record) override;
    void ProgramStepStarted(const ScheduledStep& entry) override;
    void ProgramEnded(const std::string& line) override;
    void Saved(const std::string& path, bool ok) override;
    void DeliveryAlarmChanged(const DeliveryAlarm& alarm) override;
    void PlanAdopted(const std::vector<std::string>& report, int gasAPpm, int h2oPpm, bool defined) override;
    void Ticked() override;

private:
    void ChooseSavePath();
    // On the mixer's thread: the shut-down, the save, the report, the exit.
    void Shutdown(TMixer& mixer, Status status);
    // False after saying why not.
    bool WriteReport(const std::string& path);

    RunOptions options_;
    std::ostream& out_;
    std::ostream& err_;
    TMixer* mixer_ = nullptr;
    MixtureProgram program_;
    std::string savePath_;
    std::vector<std::string> lastRow_;  // cells of the row last written
    std::optional<std::string> rowLine_;  // the tick's stored row, told once the tick is over
    bool savedOk_ = false;
    bool finishAfterTick_ = false;
    std::atomic<bool> finishing_ = false;
    std::atomic<int> exitStatus_ = Succeeded;
    ThreadWake exit_;  // ends the application on the thread that made the run
    Status status_ = Succeeded;
    // The run report's, filled on the mixer's thread.
    TAccuracySettings accuracy_;
    TRunLog runLog_;
    TMixtureTrace trace_;
    double requestedA_ = 0.0;
    double requestedH2O_ = 0.0;
};

}  // namespace gasmixer
