#include "instruments/RelayBoard.h"

#include "common/TextFormat.h"

namespace gasmixer {

void ApplyRelayBoardSettings(TSerialPort& port)
{
    port.BaudRate = 115200;
    port.StopBits = 2;
    port.Parity = 0;
    port.WindowsReadLoopTimeoutMS = 5;
    port.ReadoutTimeoutMS = 50;
}

std::uint8_t ValveMask(int v1, int v2, int v3, int v4, int v5, int v6)
{
    const auto bit = [](int state, int shift) {
        return static_cast<std::uint8_t>(static_cast<std::uint8_t>(state) << shift);
    };
    return static_cast<std::uint8_t>(bit(v1, 0) + bit(v2, 1) + bit(v3, 2) + bit(v4, 3) +
                                     bit(v5, 4) + bit(v6, 5));
}

TSerialResponse RelayLinkTest(TSerialPort& port)
{
    ApplyRelayBoardSettings(port);
    port.Debug = false;
    return port.SendData(RelayLinkTestFrame.data(), RelayLinkTestFrame.size(), true);
}

TSerialResponse SendValveCommand(TSerialPort& port, std::uint8_t mask)
{
    ApplyRelayBoardSettings(port);
    port.Debug = true;
    const std::array<std::uint8_t, 3> frame{254, RelayValveCommand, mask};
    return port.SendData(frame.data(), frame.size(), true);
}

TSerialResponse ReadAnalogInput(TSerialPort& port)
{
    ApplyRelayBoardSettings(port);
    port.Debug = false;
    return port.SendData(RelayAnalogReadFrame.data(), RelayAnalogReadFrame.size(), true);
}

std::uint32_t AnalogCount(const TSerialResponse& response)
{
    return response.rArray[0] * 256u + response.rArray[1];
}

std::uint8_t FirstReplyByte(const TSerialResponse& response)
{
    return response.rArray[0];
}

bool RelayLinkAccepted(const TSerialResponse& response)
{
    return FirstReplyByte(response) == RelayLinkTestAnswer;
}

std::vector<std::string> RelayLinkTestReport(TDateTime started, const std::string& debugMsg,
                                             std::span<const std::uint8_t> sent,
                                             const TSerialResponse& response)
{
    std::string sentText;
    for (std::uint8_t b : sent) sentText += (sentText.empty() ? "" : " ") + std::to_string(b);
    return {
        "Time  0: " + FormatDateTime("hh:nn:ss.zzz", started),
        debugMsg,
        "Write 254 33  : " + sentText,
        "Comm Status   : " + response.Status,
        "Comm Response : " + std::to_string(FirstReplyByte(response)),
        RelayLinkAccepted(response) ? "Relay board controlling solenoids is OK"
                                    : "Relay board controlling solenoids was NOT OK",
    };
}

}  // namespace gasmixer
