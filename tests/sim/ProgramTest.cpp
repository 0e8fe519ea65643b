// The stand-alone simulator program, run as the operator would run it.

#include "RawPort.h"
#include "TempRuntimeDir.h"
#include "instruments/SimulatorRegistry.h"
#include "sim/ThermistorInput.h"
#include "sim/UniqueFd.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace gasmixer::sim {
namespace {

using namespace std::chrono_literals;

// gasmixer-sim as a child process with its standard output on a pipe.
class SimulatorProcess {
public:
    explicit SimulatorProcess(std::vector<std::string> args)
    {
        int fds[2];
        if (pipe(fds) != 0) throw std::runtime_error("pipe");
        UniqueFd readEnd(fds[0]), writeEnd(fds[1]);
        // Its command input and its complaints, on pipes of their own.
        if (pipe(fds) != 0) throw std::runtime_error("pipe");
        UniqueFd commandsIn(fds[0]), commandsOut(fds[1]);
        if (pipe(fds) != 0) throw std::runtime_error("pipe");
        UniqueFd errorsIn(fds[0]), errorsOut(fds[1]);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, writeEnd.Get(), STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, readEnd.Get());
        posix_spawn_file_actions_adddup2(&actions, commandsIn.Get(), STDIN_FILENO);
        posix_spawn_file_actions_addclose(&actions, commandsOut.Get());
        posix_spawn_file_actions_adddup2(&actions, errorsOut.Get(), STDERR_FILENO);
        posix_spawn_file_actions_addclose(&actions, errorsIn.Get());
        args.insert(args.begin(), GASMIXER_SIM_PROGRAM);
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        const int rc = posix_spawn(&pid_, GASMIXER_SIM_PROGRAM, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        if (rc != 0) throw std::runtime_error("cannot start " GASMIXER_SIM_PROGRAM);
        out_ = std::move(readEnd);
        commands_ = std::move(commandsOut);
        errors_ = std::move(errorsIn);
    }

    ~SimulatorProcess()
    {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }

    pid_t Pid() const { return pid_; }

    // One line of its output, or "" when none comes within a few seconds.
    std::string ReadLine() { return ReadLineFrom(out_); }
    std::string ReadErrorLine() { return ReadLineFrom(errors_); }

    // Writes to its standard input; closing it ends the input.
    void Command(const std::string& text)
    {
        ASSERT_EQ(write(commands_.Get(), text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }
    void EndCommands() { commands_ = UniqueFd(); }

    std::string ReadLineFrom(const UniqueFd& fd)
    {
        std::string line;
        char c = 0;
        while (poll(std::array{pollfd{fd.Get(), POLLIN, 0}}.data(), 1, 5000) > 0 && read(fd.Get(), &c, 1) == 1) {
            if (c == '\n') return line;
            line += c;
        }
        return line;
    }

    // The exit status, or -1 when the process has not ended within a few seconds.
    int Wait()
    {
        for (auto waited = 0ms; waited < 5s; waited += 10ms) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(10ms);
        }
        return -1;
    }

private:
    pid_t pid_ = -1;
    UniqueFd out_;
    UniqueFd commands_;
    UniqueFd errors_;
};

std::string After(const std::string& text, const std::string& prefix)
{
    return text.rfind(prefix, 0) == 0 ? text.substr(prefix.size()) : std::string();
}

class Program : public ::testing::TestWithParam<int> {
protected:
    test::TempRuntimeDir runtime;
};

TEST_P(Program, AnnouncesItsPortsAndLeavesCleanlyOnSignal)
{
    SimulatorProcess sim({"--water-temp", "35"});
    const std::string mfcLine = After(sim.ReadLine(), "MFC line: ");
    const std::string relayBoard = After(sim.ReadLine(), "Relay board: ");
    ASSERT_EQ(mfcLine.rfind("/dev/pts/", 0), 0u) << mfcLine;
    ASSERT_EQ(relayBoard.rfind("/dev/pts/", 0), 0u) << relayBoard;

    const auto entry = SimulatorRegistryDir() / std::to_string(sim.Pid());
    EXPECT_EQ(ListSimulatorPorts(), (std::vector<std::string>{(entry / SimulatorMfcLinkName).string(),
                                                               (entry / SimulatorRelayLinkName).string()}));
    const Bytes count = test::RawPort(relayBoard).Exchange({254, 158}).bytes;
    ASSERT_EQ(count.size(), 2u);
    EXPECT_EQ(count[0] * 256 + count[1], CountForTemperature(35.0));

    ASSERT_EQ(kill(sim.Pid(), GetParam()), 0);
    EXPECT_EQ(sim.Wait(), 0);
    EXPECT_FALSE(std::filesystem::exists(entry));
    EXPECT_TRUE(ListSimulatorPorts().empty());
}

INSTANTIATE_TEST_SUITE_P(Signals, Program, ::testing::Values(SIGTERM, SIGINT),
                         [](const auto& info) { return info.param == SIGTERM ? "Term" : "Int"; });

TEST_F(Program, AnswersWithoutPacingWhenAsked)
{
    SimulatorProcess sim({"--no-pacing"});
    After(sim.ReadLine(), "MFC line: ");
    const std::string relayBoard = After(sim.ReadLine(), "Relay board: ");
    EXPECT_EQ(test::RawPort(relayBoard).Exchange({254, 33}).bytes, (Bytes{85}));
    ASSERT_EQ(kill(sim.Pid(), SIGTERM), 0);
    EXPECT_EQ(sim.Wait(), 0);
}

TEST_F(Program, FollowsFaultCommandsWhileRunningAndOutlivesTheirEnd)
{
    SimulatorProcess sim({"--no-pacing"});
    const std::string mfcLine = After(sim.ReadLine(), "MFC line: ");
    const std::string relayBoard = After(sim.ReadLine(), "Relay board: ");
    test::RawPort relay(relayBoard);
    ASSERT_EQ(relay.Exchange({254, 33}).bytes, (Bytes{85}));

    sim.Command("fault relay silent\n");
    // The command is taken in its own time: ask until the board falls silent.
    bool silent = false;
    for (int i = 0; i < 50 && !silent; ++i) silent = relay.Exchange({254, 33}, 100ms).bytes.empty();
    EXPECT_TRUE(silent);

    sim.Command("fault relay sleepy\nwobble\n");
    EXPECT_EQ(sim.ReadErrorLine(), "gasmixer-sim: unknown fault sleepy; nothing changed");
    EXPECT_EQ(sim.ReadErrorLine(), "gasmixer-sim: unknown command wobble; nothing changed");
    EXPECT_TRUE(relay.Exchange({254, 33}, 100ms).bytes.empty()) << "a wrong command changed the fault";

    sim.Command("clear all\n");
    sim.EndCommands();
    bool answers = false;
    for (int i = 0; i < 50 && !answers; ++i) answers = relay.Exchange({254, 33}, 100ms).bytes == Bytes{85};
    EXPECT_TRUE(answers);
    EXPECT_EQ(test::RawPort(mfcLine).Exchange(test::WithCrc({1, 3, 0, 35, 0, 4})).bytes.size(), 13u)
        << "the simulator stopped serving at the end of its input";

    ASSERT_EQ(kill(sim.Pid(), SIGTERM), 0);
    EXPECT_EQ(sim.Wait(), 0);
}

TEST(ProgramOptions, HelpSucceedsAndNonsenseFails)
{
    struct Case {
        std::vector<std::string> args;
        bool ok;
    };
    for (const Case& c : {Case{{"--help"}, true}, Case{{"--bogus"}, false}, Case{{"--water-temp"}, false},
                          Case{{"--water-temp", "warm"}, false}, Case{{"--water-temp", "nan"}, false}}) {
        SimulatorProcess sim(c.args);
        const int status = sim.Wait();
        EXPECT_NE(status, -1) << c.args[0] << " kept running";
        EXPECT_EQ(status == 0, c.ok) << c.args.back();
    }
}

}  // namespace
}  // namespace gasmixer::sim
