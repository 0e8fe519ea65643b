#pragma once

#include <string>

namespace gasmixer::sim {

// A pseudo-terminal pair in raw mode: the simulated instrument holds the
// master side, the program under test opens the slave path like a serial
// device.
class PseudoTerminal {
public:
    PseudoTerminal();  // throws std::system_error when no pty can be had
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    int MasterFd() const { return master_; }
    const std::string& SlavePath() const { return slavePath_; }

    // Closes the master: the slave side then sees the device vanish.
    void CloseMaster();

private:
    int master_ = -1;
    int slaveKeepAlive_ = -1;  // keeps the slave configured between opens
    std::string slavePath_;
};

}  // namespace gasmixer::sim
