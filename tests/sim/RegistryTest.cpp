#include "RawPort.h"
#include "TempRuntimeDir.h"
#include "instruments/SimulatorRegistry.h"
#include "sim/SimulatorHost.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace gasmixer::sim {
namespace {

namespace fs = std::filesystem;

SimulatorOptions Announced()
{
    SimulatorOptions options;
    options.announce = true;
    return options;
}

class Registry : public ::testing::Test {
protected:
    test::TempRuntimeDir runtime;
    const fs::path dir = SimulatorRegistryDir();
    const fs::path ownEntry = dir / std::to_string(getpid());
};

TEST_F(Registry, AnnouncedHostIsListedUntilItStops)
{
    SimulatorHost host(Announced());
    EXPECT_EQ(ListSimulatorPorts(),
              (std::vector<std::string>{(ownEntry / SimulatorMfcLinkName).string(),
                                        (ownEntry / SimulatorRelayLinkName).string()}));
    EXPECT_EQ(fs::read_symlink(ownEntry / SimulatorMfcLinkName), host.MfcLinePath());
    EXPECT_EQ(fs::read_symlink(ownEntry / SimulatorRelayLinkName), host.RelayBoardPath());
    EXPECT_EQ(fs::status(dir).permissions() & fs::perms::all, fs::perms::owner_all);

    host.Stop();
    EXPECT_TRUE(ListSimulatorPorts().empty());
    EXPECT_FALSE(fs::exists(ownEntry));
}

TEST_F(Registry, HostIsNotAnnouncedUnlessAsked)
{
    SimulatorHost host;
    EXPECT_TRUE(ListSimulatorPorts().empty());
}

TEST_F(Registry, EntriesOfDeadSimulatorsAreSweptAway)
{
    const pid_t child = fork();
    if (child == 0) _exit(0);
    ASSERT_GT(child, 0);
    ASSERT_EQ(waitpid(child, nullptr, 0), child);
    const fs::path stale = dir / std::to_string(child);
    fs::create_directories(stale);
    fs::permissions(dir, fs::perms::owner_all);
    fs::create_symlink("/dev/null", stale / SimulatorMfcLinkName);

    SimulatorHost host(Announced());
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(ownEntry));
}

// A vanished line comes back like a device plugged in again: a new
// pseudo-terminal behind the same link, which a program that opens the port
// by its link finds without being told.
TEST_F(Registry, AVanishedLineComesBackBehindItsLink)
{
    using namespace std::chrono_literals;
    SimulatorHost host(Announced());
    const fs::path link = ownEntry / SimulatorMfcLinkName;
    const std::string relayBefore = host.RelayBoardPath();
    const Bytes typeRequest = test::WithCrc({1, 3, 0, 35, 0, 4});
    host.Mfc(1).Faults().Set({FaultKind::Vanish});
    const std::string gone = host.MfcLinePath();
    ASSERT_TRUE(test::RawPort(link).Exchange(typeRequest).hungUp);

    host.ReconnectVanishedLines();
    // Generous: the service thread only has to wake once.
    for (auto deadline = std::chrono::steady_clock::now() + 10s;
         host.MfcLinePath() == gone && std::chrono::steady_clock::now() < deadline;)
        std::this_thread::sleep_for(5ms);

    ASSERT_NE(host.MfcLinePath(), gone);
    EXPECT_EQ(fs::read_symlink(link), host.MfcLinePath());
    EXPECT_EQ(test::RawPort(link).Exchange(typeRequest).bytes.size(), 13u) << "the controllers answer again";
    EXPECT_EQ(host.RelayBoardPath(), relayBefore) << "a healthy line stays where it is";
    EXPECT_EQ(ListSimulatorPorts().size(), 2u);
}

// Announcing through a directory someone else could control would hand the
// program's port list to them.
TEST_F(Registry, RefusesADirectoryOthersCanReach)
{
    for (const auto& prepare : {+[](const fs::path& d) { fs::create_directory(d); fs::permissions(d, fs::perms::all); },
                                +[](const fs::path& d) {
                                    fs::create_directory(d.string() + "-elsewhere");
                                    fs::permissions(d.string() + "-elsewhere", fs::perms::owner_all);
                                    fs::create_directory_symlink(d.string() + "-elsewhere", d);
                                }}) {
        fs::remove_all(dir);
        prepare(dir);
        EXPECT_THROW(SimulatorHost{Announced()}, std::runtime_error);
    }
    fs::remove_all(dir);
    EXPECT_NO_THROW(SimulatorHost{Announced()}) << "a refusal left the process marked as announced";
}

}  // namespace
}  // namespace gasmixer::sim
