#pragma once

#include "common/DateTime.h"
#include "instruments/SerialPort.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The relay board that switches the six solenoid valves and reads the
// bubbler thermistor. Every frame starts with 254.

namespace gasmixer {

inline constexpr std::array<std::uint8_t, 2> RelayLinkTestFrame{254, 33};
inline constexpr std::uint8_t RelayLinkTestAnswer = 85;
inline constexpr std::uint8_t RelayValveCommand = 40;  // 254 40 mask
inline constexpr std::array<std::uint8_t, 2> RelayAnalogReadFrame{254, 158};

// 115200 baud, two stop bits, no parity, 5 ms poll pause, 50 ms wait.
void ApplyRelayBoardSettings(TSerialPort& port);

// V1 in bit 0 .. V6 in bit 5, a set bit opens the valve. Only the low byte of
// each state counts, in 8-bit arithmetic, as the valve routine receives them.
std::uint8_t ValveMask(int v1, int v2, int v3, int v4, int v5, int v6);

// Both exchanges apply the relay-board settings themselves: the caller only
// sets Port. The link test runs without a trace, the valve command with one.
TSerialResponse RelayLinkTest(TSerialPort& port);
TSerialResponse SendValveCommand(TSerialPort& port, std::uint8_t mask);

// The analog input, 10 bits wide (1024 counts are 5 V): reads the count,
// high byte first; a byte that did not arrive counts as 0.
TSerialResponse ReadAnalogInput(TSerialPort& port);
std::uint32_t AnalogCount(const TSerialResponse& response);

// The first reply byte; 0 when nothing arrived.
std::uint8_t FirstReplyByte(const TSerialResponse& response);
bool RelayLinkAccepted(const TSerialResponse& response);

// The lines the setup feedback shows for a link test, in order: start time,
// the port's trace, the sent bytes, status, first reply byte and the verdict.
std::vector<std::string> RelayLinkTestReport(TDateTime started, const std::string& debugMsg,
                                             std::span<const std::uint8_t> sent,
                                             const TSerialResponse& response);

}  // namespace gasmixer
