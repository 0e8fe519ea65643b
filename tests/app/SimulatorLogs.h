#pragma once

#include "instruments/RelayBoard.h"
#include "instruments/VogtlinPort.h"
#include "instruments/VogtlinRegisters.h"
#include "sim/SimulatorHost.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace gasmixer::test {

using Floats = std::vector<float>;
using Masks = std::vector<std::uint8_t>;

// Writes are not acknowledged: an answered read on a line shows that the
// instruments have taken every frame sent on it before.
inline void SettleMfcLineOf(sim::SimulatorHost& host)
{
    TVogtlinPort mfc;
    mfc.Port = host.MfcLinePath();
    ApplyMfcLineSettings(mfc);
    mfc.ReadoutTimeoutMS = 5000;
    ASSERT_EQ(mfc.ReadF32(1, RegisterNumber(TVogtlinRegister::Setpoint)).Status, "");
}

inline void SettleRelayBoardOf(sim::SimulatorHost& host)
{
    TSerialPort relay;
    relay.Port = host.RelayBoardPath();
    ApplyRelayBoardSettings(relay);
    relay.ReadoutTimeoutMS = 5000;
    ASSERT_EQ(relay.SendData(RelayLinkTestFrame.data(), RelayLinkTestFrame.size(), true).Status, "");
}

// Every setpoint one controller was sent, in order.
inline Floats SetpointsOf(sim::SimulatorHost& host, int address)
{
    Floats values;
    for (const auto& write : host.Mfc(address).SetpointLog()) values.push_back(write.value);
    return values;
}

// Every valve mask the relay board was sent, in order.
inline Masks ValveMasksOf(sim::SimulatorHost& host)
{
    Masks masks;
    for (const auto& command : host.RelayBoard().ValveLog()) masks.push_back(command.mask);
    return masks;
}

// The entries from `first` on.
template <typename T>
std::vector<T> From(const std::vector<T>& all, std::size_t first)
{
    return {all.begin() + static_cast<std::ptrdiff_t>(std::min(first, all.size())), all.end()};
}

}  // namespace gasmixer::test
