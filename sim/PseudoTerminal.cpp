#include "sim/PseudoTerminal.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace gasmixer::sim {
namespace {

[[noreturn]] void Fail(const char* what)
{
    throw std::system_error(errno, std::generic_category(), what);
}

}  // namespace

PseudoTerminal::PseudoTerminal()
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0) Fail("posix_openpt");
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
        const int saved = errno;
        close(master_);
        errno = saved;
        Fail("unlockpt");
    }
    char name[128];
    if (ptsname_r(master_, name, sizeof name) != 0) {
        const int saved = errno;
        close(master_);
        errno = saved;
        Fail("ptsname_r");
    }
    slavePath_ = name;

    // Holding one slave descriptor open keeps the line discipline settings and
    // stops the master from seeing a hang-up between the program's opens.
    // It is never read, so it takes no bytes away from the program.
    slaveKeepAlive_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slaveKeepAlive_ < 0) {
        const int saved = errno;
        close(master_);
        errno = saved;
        Fail("open pty slave");
    }
    termios tio{};
    tcgetattr(slaveKeepAlive_, &tio);
    cfmakeraw(&tio);
    tcsetattr(slaveKeepAlive_, TCSANOW, &tio);
    tcgetattr(master_, &tio);
    cfmakeraw(&tio);
    tcsetattr(master_, TCSANOW, &tio);
}

PseudoTerminal::~PseudoTerminal()
{
    CloseMaster();
    if (slaveKeepAlive_ >= 0) close(slaveKeepAlive_);
}

void PseudoTerminal::CloseMaster()
{
    if (master_ >= 0) close(master_);
    master_ = -1;
}

}  // namespace gasmixer::sim
