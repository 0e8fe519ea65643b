#pragma once

#include "sim/SimClock.h"
#include "sim/UniqueFd.h"

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace gasmixer::sim::test {

// What one request brought back on a raw serial port.
struct Received {
    Bytes bytes;
    bool hungUp = false;  // the device side of the terminal is gone
    std::chrono::steady_clock::duration firstByteAfter{};  // since the request was written
    // Each read: when, since the request was written, and the bytes in so far.
    std::vector<std::pair<std::chrono::steady_clock::duration, std::size_t>> arrivals;
};

// The program's side of a simulated line, spoken to byte by byte.
class RawPort {
public:
    explicit RawPort(const std::string& path);  // throws std::system_error

    // Writes `request`, then gathers the reply: bytes up to a pause of
    // `quiet`, or nothing if none come within `patience`.
    Received Exchange(const Bytes& request, std::chrono::milliseconds patience = std::chrono::milliseconds(500),
                      std::chrono::milliseconds quiet = std::chrono::milliseconds(60));
    void Write(const Bytes& bytes);

private:
    UniqueFd fd_;
};

// A Modbus request with its CRC appended.
Bytes WithCrc(Bytes frame);

}  // namespace gasmixer::sim::test
