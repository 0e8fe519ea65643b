// What every installed command answers before it does anything: its version
// and a help that help2man turns into its manual.
#include <gtest/gtest.h>

#include <QProcess>

#include <string>

namespace gasmixer::test {
namespace {

struct Command {
    const char* name;
    const char* path;
};

const Command Commands[] = {{"gasmixer", GASMIXER_PROGRAM_PATH},
                            {"gasmixer-run", GASMIXER_RUN_PATH},
                            {"gasmixer-plan", GASMIXER_PLAN_PATH},
                            {"gasmixer-sim", GASMIXER_SIM_PATH}};

struct Answer {
    int exitCode = -1;
    std::string out;
};

Answer Ask(const Command& command, const char* option)
{
    QProcess process;
    // No display: the window must answer before it needs one.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(environment);
    process.start(QString::fromUtf8(command.path), {QString::fromUtf8(option)});
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit) return {};
    return {process.exitCode(), process.readAllStandardOutput().toStdString()};
}

TEST(CommandLine, EveryCommandAnswersVersionAndHelp)
{
    for (const Command& command : Commands) {
        SCOPED_TRACE(command.name);
        const Answer version = Ask(command, "--version");
        EXPECT_EQ(version.exitCode, 0);
        EXPECT_EQ(version.out, std::string(command.name) + " " + GASMIXER_VERSION + "\n");

        const Answer help = Ask(command, "--help");
        EXPECT_EQ(help.exitCode, 0);
        EXPECT_TRUE(help.out.starts_with(std::string("Usage: ") + command.name + " ")) << help.out;
        for (const char* part : {"--version", "Exit status:", "Files:", "Examples:"})
            EXPECT_NE(help.out.find(part), std::string::npos) << part;
    }
}

}  // namespace
}  // namespace gasmixer::test
