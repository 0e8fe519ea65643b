#pragma once

#include "instruments/SerialResponse.h"

#include <cstdint>
#include <mutex>
#include <string>

namespace gasmixer {

// The one owner of the relay-board line. The run and the wetting worker both
// talk to the board, from their own threads; their exchanges take turns here,
// so neither ever finds the port held by the other.
class RelayLine {
public:
    void SetPort(std::string port);
    std::string Port() const;

    TSerialResponse SendValves(std::uint8_t mask);
    TSerialResponse ReadAnalog();
    // The link test with the port's own trace, as the setup feedback shows it.
    TSerialResponse LinkTest(std::string& trace);

private:
    mutable std::mutex mutex_;
    std::string port_;
};

}  // namespace gasmixer
