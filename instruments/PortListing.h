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

// The same list with the kernel's published device tree read from another
// root than /sys.
std::vector<std::string> ListComPortsFrom(const std::filesystem::path& sysfsRoot);

// Whether a built-in serial node of a /sys/class/tty-like folder has a UART
// behind it, as the kernel publishes it: its "type" attribute (0 = none), or
// without one, a device the node is bound to. The device node itself is never
// opened: that would raise DTR and RTS on the line.
bool PublishesUart(const std::filesystem::path& ttyClassDir, const std::string& name);

// What the window asks for its port lists; tests substitute their own.
using PortLister = std::function<std::vector<std::string>()>;

// The serial device names registered in a /sys/class/tty-like folder; a
// built-in UART ("ttyS*") counts only when hasUart says so.
std::vector<std::string> ListSerialDevices(const std::filesystem::path& ttyClassDir,
                                           const std::function<bool(const std::string&)>& hasUart);

// "ttyS2" before "ttyS10": runs of digits compare by value.
bool NaturalLess(const std::string& a, const std::string& b);

}  // namespace gasmixer
