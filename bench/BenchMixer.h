#pragma once

#include "app/Form1.h"
#include "app/OperatorDialogs.h"
#include "common/DateTime.h"
#include "sim/SimulatorHost.h"
#include "tests/support/AskMixer.h"

#include <QTemporaryDir>

#include <atomic>
#include <memory>
#include <string>

namespace gasmixer::bench {

// Boxes that never block: errors and notices go to stderr and are counted,
// questions are answered No, file dialogs are cancelled.
class QuietDialogs final : public OperatorDialogs {
public:
    void Information(const std::string& text) override;
    bool Question(const std::string& text, const std::string& title) override;
    void Error(const std::string& text) override;
    std::optional<std::string> SaveFile(const SaveDialogSettings& settings) override;

    int Errors() const { return errors_; }

private:
    int errors_ = 0;
};

// The program's window offscreen on the wall clock, its mixer ticking on a
// thread of its own, wired to a simulator of its own (flow lag and line pacing as the real
// instruments have them), set up as an operator does it. Autosaves and the
// record journal go to a scratch folder that goes with it.
class BenchMixer {
public:
    // Needs the application object (a GuardedApplication); makes the window
    // the target of its error handler. The working folder changes to the
    // scratch folder for the life of the object.
    BenchMixer();
    ~BenchMixer();
    BenchMixer(const BenchMixer&) = delete;
    BenchMixer& operator=(const BenchMixer&) = delete;

    // Both ports validated and the gases chosen by clicks, on the Operation
    // tab. Throws when the window refuses.
    void Ready(const std::string& gasA, const std::string& gasB);
    // The ppm of gas A and water, then "Apply Mixture"; returns once the
    // mixer has adopted the plan.
    void Apply(int gasAPpm, int h2oPpm = 0);
    // Waits until the mixer has run everything posted so far and the window
    // has taken its news.
    void Sync();
    // Runs `read` on the mixer's thread between ticks and returns its answer.
    template <class Read>
    auto Ask(Read read)
    {
        return test::AskMixer(form_->Mixer(), read);
    }

    TForm1& Form() { return *form_; }
    sim::SimulatorHost& Host() { return host_; }
    // Requests the simulated instruments have received on both lines so far.
    std::size_t FramesReceived() const { return framesReceived_; }
    const Clock& WallClock() const { return clock_; }
    int Errors() const { return dialogs_.Errors(); }

private:
    QTemporaryDir scratch_;
    std::string oldFolder_;
    std::atomic<std::size_t> framesReceived_ = 0;
    sim::SimulatorHost host_;
    SystemClock clock_;
    QuietDialogs dialogs_;
    std::unique_ptr<TForm1> form_;
};

// Offscreen unless told otherwise; before the application object exists.
void UseOffscreenPlatform();

}  // namespace gasmixer::bench
