#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace gasmixer {

// The serial ports an operator can choose: the kernel's USB and ACM serial
// devices and the built-in UARTs that have hardware behind them, as short
// names in natural order ("ttyS2" before "ttyS10"), then the ports of any
// running instrument simulator (full paths).
std::vector<std::string> ListComPorts();

// What the window asks for its port lists; tests substitute their own.
using PortLister = std::function<std::vector<std::string>()>;

// The serial device names registered in a /sys/class/tty-like folder; a
// built-in UART ("ttyS*") counts only when hasUart says so.
std::vector<std::string> ListSerialDevices(const std::filesystem::path& ttyClassDir,
                                           const std::function<bool(const std::string&)>& hasUart);

// "ttyS2" before "ttyS10": runs of digits compare by value.
bool NaturalLess(const std::string& a, const std::string& b);

}  // namespace gasmixer
