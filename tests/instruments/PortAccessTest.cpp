#include "instruments/PortAccess.h"
#include "sim/PseudoTerminal.h"

#include <gtest/gtest.h>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <filesystem>

namespace gasmixer {
namespace {

constexpr uid_t Nobody = 65534;

std::string GroupOf(const std::string& path)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return "?";
    const group* entry = getgrgid(info.st_gid);
    return entry ? entry->gr_name : std::to_string(info.st_gid);
}

// Root may open any device, so root asks as an ordinary user would, from a
// child process that has become one.
std::optional<std::string> ProblemSeenByAnOrdinaryUser(const std::string& path)
{
    if (geteuid() != 0) return PermissionProblem(path);
    std::array<int, 2> pipeFds{};
    if (pipe(pipeFds.data()) != 0) return "pipe failed";
    const pid_t child = fork();
    if (child == 0) {
        close(pipeFds[0]);
        const bool dropped = setgroups(0, nullptr) == 0 && setgid(Nobody) == 0 && setuid(Nobody) == 0;
        const std::string answer = dropped ? PermissionProblem(path).value_or("") : "could not drop root";
        const bool written = write(pipeFds[1], answer.data(), answer.size()) == static_cast<ssize_t>(answer.size());
        _exit(written ? 0 : 1);
    }
    close(pipeFds[1]);
    std::string answer;
    std::array<char, 512> buffer{};
    for (ssize_t n; (n = read(pipeFds[0], buffer.data(), buffer.size())) > 0;) answer.append(buffer.data(), n);
    close(pipeFds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (answer.empty()) return std::nullopt;
    return answer;
}

TEST(PortAccess, APortTheUserMayNotOpenSaysWhichGroupToJoin)
{
    sim::PseudoTerminal pty;
    const std::string& path = pty.SlavePath();
    // As an ordinary user the pty is our own: take our rights away. Root's
    // child is nobody, whom the pty's own mode (rw for its owner, w for its
    // group) already refuses.
    const mode_t denied = geteuid() == 0 ? 0620 : 0;
    ASSERT_EQ(chmod(path.c_str(), denied), 0);

    EXPECT_EQ(ProblemSeenByAnOrdinaryUser(path),
              "Permission denied on " + path + ": add your user to the group that owns it (" + GroupOf(path) +
                  ") and log in again");
    ASSERT_EQ(chmod(path.c_str(), 0620), 0);
}

TEST(PortAccess, OtherFailuresAreLeftToTheExchange)
{
    sim::PseudoTerminal pty;
    EXPECT_EQ(PermissionProblem(pty.SlavePath()), std::nullopt);  // may be opened
    EXPECT_EQ(PermissionProblem("/dev/gasmixer-no-such-port"), std::nullopt);
    EXPECT_EQ(PermissionProblem("Fake port for testing"), std::nullopt);
}

}  // namespace
}  // namespace gasmixer
