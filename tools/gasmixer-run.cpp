// gasmixer-run: a mixture program on the mixer, unattended and without a
// display: the mixer core alone, with no window.

#include "common/TextFormat.h"
#include "common/Version.h"
#include "mixer/Mixer.h"
#include "mixer/MixerThread.h"
#include "mixer/SignalBridge.h"
#include "mixer/SystemFormatSettings.h"
#include "program/ProgramFile.h"
#include "tools/HeadlessRun.h"
#include "tools/RecoverJournal.h"
#include "tools/RunOptions.h"

#include "uncertainty/AccuracyStore.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

namespace {

std::optional<gasmixer::MixtureProgram> LoadProgram(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::cerr << "gasmixer-run: cannot read " << path << '\n';
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    gasmixer::ParsedProgram parsed = gasmixer::ParseProgram(text.str());
    if (!parsed.Program)
        std::cerr << "gasmixer-run: " << path << ", line " << parsed.Error.Line << ": " << parsed.Error.Reason << '\n';
    return parsed.Program;
}

}  // namespace

int main(int argc, char** argv)
{
    const gasmixer::ParsedRunOptions parsed = gasmixer::ParseRunOptions({argv + 1, argv + argc});
    if (!parsed.Options) {
        std::cerr << "gasmixer-run: " << parsed.Error << '\n' << gasmixer::RunUsage;
        return gasmixer::HeadlessRun::BadInput;
    }
    if (parsed.Options->Help) {
        std::cout << gasmixer::RunUsage;
        return 0;
    }
    if (parsed.Options->Version) {
        std::cout << gasmixer::VersionText("gasmixer-run");
        return 0;
    }
    if (!parsed.Options->RecoverPath.empty())
        return gasmixer::RecoverJournal(parsed.Options->RecoverPath, parsed.Options->SavePath, std::cerr);
    const std::optional<gasmixer::MixtureProgram> program = LoadProgram(parsed.Options->ProgramPath);
    if (!program) return gasmixer::HeadlessRun::BadInput;

    // A report needs fonts, which need a graphical application; with no
    // display it draws off screen.
    const bool report = !parsed.Options->ReportPath.empty();
    if (report && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> application =
        report ? std::make_unique<QGuiApplication>(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
    gasmixer::SetFormatSettings(gasmixer::SystemFormatSettings());

    const gasmixer::SystemClock clock;
    gasmixer::HeadlessRun run(*parsed.Options, std::cout, std::cerr);
    run.SetAccuracy(gasmixer::LoadRememberedAccuracy());
    gasmixer::TMixer mixer({clock}, run);
    run.Attach(mixer);
    if (!run.SetUp()) {
        if (run.SetUpStatus() == gasmixer::HeadlessRun::Failed) std::cerr << "gasmixer-run: the set-up failed\n";
        return run.SetUpStatus();
    }
    if (!run.Start(*program)) return gasmixer::HeadlessRun::BadInput;

    const gasmixer::MixerThread thread(mixer);
    const gasmixer::SignalBridge stopSignals([&run](int signal) {
        run.Finish(gasmixer::HeadlessRun::Succeeded,
                   "stopped by signal " + std::to_string(signal) + "; valves closed, setpoints 0");
    });
    return application->exec();
}
