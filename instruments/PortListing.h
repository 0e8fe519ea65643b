#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace gasmixer {

// A port as the lists show it and as it is opened.
struct TPortChoice {
    // A port shown by what is opened: a kernel name or a path.
    TPortChoice(std::string device) : Label(device), Device(std::move(device)) {}
    TPortChoice(const char* device) : TPortChoice(std::string(device)) {}
    TPortChoice(std::string label, std::string device) : Label(std::move(label)), Device(std::move(device)) {}

    std::string Label;   // "usb-FTDI_FT232R_USB_UART_A12345-if00-port0 (ttyUSB0)"
    std::string Device;  // "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A12345-if00-port0"

    friend bool operator==(const TPortChoice&, const TPortChoice&) = default;
};

// Where the kernel publishes its devices; tests give a tree of their own.
struct PortListingRoots {
    std::filesystem::path Sysfs = "/sys";
    std::filesystem::path Dev = "/dev";
};

// The serial ports an operator can choose: the kernel's USB and ACM serial
// devices and the built-in UARTs that have hardware behind them, in natural
// order of their kernel names ("ttyS2" before "ttyS10"), then the ports of
// any running instrument simulator (full paths). A device with a stable name
// (a /dev/gasmixer-* link of our udev rule, else its /dev/serial/by-id link)
// is shown and opened by that name, so a reboot cannot swap two adapters.
std::vector<TPortChoice> ListComPorts();
std::vector<TPortChoice> ListComPortsFrom(const PortListingRoots& roots);

// The stable links to serial devices under a /dev-like root, by the kernel
// name of the device each one leads to.
std::vector<std::pair<std::string, std::filesystem::path>> StableSerialLinks(const std::filesystem::path& devRoot);

// Whether a built-in serial node of a /sys/class/tty-like folder has a UART
// behind it, as the kernel publishes it: its "type" attribute (0 = none), or
// without one, a device the node is bound to. The device node itself is never
// opened: that would raise DTR and RTS on the line.
bool PublishesUart(const std::filesystem::path& ttyClassDir, const std::string& name);

// What the window asks for its port lists; tests substitute their own.
using PortLister = std::function<std::vector<TPortChoice>()>;

// The serial device names registered in a /sys/class/tty-like folder; a
// built-in UART ("ttyS*") counts only when hasUart says so.
std::vector<std::string> ListSerialDevices(const std::filesystem::path& ttyClassDir,
                                           const std::function<bool(const std::string&)>& hasUart);

// "ttyS2" before "ttyS10": runs of digits compare by value.
bool NaturalLess(const std::string& a, const std::string& b);

}  // namespace gasmixer
