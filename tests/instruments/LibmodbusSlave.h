#pragma once

#include "sim/PseudoTerminal.h"

#include <modbus.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace gasmixer::test {

// A libmodbus RTU slave as the independent peer of our register protocol.
//
// Two openers of one pty slave would share its input queue, so the slave and
// our port each get a pty of their own, and a relay thread copies bytes
// between the two masters:
//
//   TSerialPort -> pty A slave | A master <-relay-> B master | pty B slave <- libmodbus
//
// The relay counts what it hands back to our side, so a test can wait until
// a reply nobody reads (the acknowledgement of a write) has been delivered
// and will be flushed by the next exchange, instead of racing it.
class LibmodbusSlave {
public:
    explicit LibmodbusSlave(int slaveId);
    ~LibmodbusSlave();
    LibmodbusSlave(const LibmodbusSlave&) = delete;
    LibmodbusSlave& operator=(const LibmodbusSlave&) = delete;

    const std::string& PortPath() const { return ours_.SlavePath(); }

    void SetRegisters(std::uint16_t first, const std::vector<std::uint8_t>& bytes);
    std::vector<std::uint8_t> Registers(std::uint16_t first, std::size_t byteCount);

    // Waits until `count` requests have been answered and every answer byte
    // has reached our side of the line.
    bool WaitUntilAnswered(std::size_t count);

private:
    void Relay();
    void Serve();

    sim::PseudoTerminal ours_;
    sim::PseudoTerminal theirs_;
    modbus_t* context_ = nullptr;
    modbus_mapping_t* mapping_ = nullptr;
    int stopPipe_[2] = {-1, -1};
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;  // guards mapping_ and the counters
    std::condition_variable changed_;
    std::size_t answered_ = 0;
    std::size_t bytesAnswered_ = 0;
    std::size_t bytesDelivered_ = 0;
    std::thread relay_;
    std::thread server_;
};

}  // namespace gasmixer::test
