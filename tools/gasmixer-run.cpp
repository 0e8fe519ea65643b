// gasmixer-run: a mixture program on the mixer, unattended and without a
// display, through the same window code the operator uses.

#include "app/Form1.h"
#include "app/GuardedApplication.h"
#include "app/SignalBridge.h"
#include "app/SystemFormatSettings.h"
#include "program/ProgramFile.h"
#include "tools/HeadlessRun.h"
#include "tools/RunOptions.h"
#include "tools/StderrDialogs.h"

#include <fstream>
#include <iostream>
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
    const std::optional<gasmixer::MixtureProgram> program = LoadProgram(parsed.Options->ProgramPath);
    if (!program) return gasmixer::HeadlessRun::BadInput;

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    gasmixer::GuardedApplication application(argc, argv);
    // The run ends when it says so, never because the window closed.
    application.setQuitOnLastWindowClosed(false);
    gasmixer::SetFormatSettings(gasmixer::SystemFormatSettings());

    const gasmixer::SystemClock clock;
    gasmixer::StderrDialogs dialogs(std::cerr);
    const std::vector<std::string> ports = gasmixer::ListedPorts(*parsed.Options);
    gasmixer::TForm1 Form1({clock, [&ports] { return ports; }, dialogs});
    application.SetErrorHandler([&Form1](const std::string& message) { Form1.ReportError(message); });
    auto* run = new gasmixer::HeadlessRun(Form1, clock, *parsed.Options, std::cout, std::cerr);
    Form1.show();

    if (!run->SetUp()) {
        if (run->SetUpStatus() == gasmixer::HeadlessRun::Failed) std::cerr << "gasmixer-run: the set-up failed\n";
        return run->SetUpStatus();
    }
    if (!run->Start(*program)) return gasmixer::HeadlessRun::BadInput;

    QObject::connect(run, &gasmixer::HeadlessRun::Finished, &application, &QCoreApplication::exit);
    const gasmixer::SignalBridge stopSignals([run](int signal) {
        run->Finish(gasmixer::HeadlessRun::Succeeded, "stopped by signal " + std::to_string(signal) +
                                                          "; valves closed, setpoints 0");
    });
    return application.exec();
}
