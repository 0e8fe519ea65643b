#include "instruments/PortListing.h"
#include "instruments/SimulatorRegistry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <unistd.h>

namespace gasmixer {
namespace {

namespace fs = std::filesystem;

TEST(PortListing, NaturalOrder)
{
    EXPECT_TRUE(NaturalLess("ttyS2", "ttyS10"));
    EXPECT_FALSE(NaturalLess("ttyS10", "ttyS2"));
    EXPECT_TRUE(NaturalLess("ttyS9", "ttyUSB0"));
    EXPECT_TRUE(NaturalLess("ttyACM3", "ttyS0"));
    EXPECT_TRUE(NaturalLess("ttyUSB", "ttyUSB0"));
    EXPECT_FALSE(NaturalLess("ttyUSB1", "ttyUSB1"));
    EXPECT_TRUE(NaturalLess("ttyUSB1", "ttyUSB01a"));
    EXPECT_TRUE(NaturalLess("ttyS1", "ttyS99999999999999999999999"));
}

TEST(PortListing, SerialDevicesOfAClassFolder)
{
    const fs::path dir = fs::path(testing::TempDir()) / "tty-class";
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const char* name : {"tty0", "tty63", "console", "ptmx", "ttyprintk", "ttyS0", "ttyS1",
                             "ttyS10", "ttyS2", "ttyUSB10", "ttyUSB2", "ttyACM0"})
        std::ofstream(dir / name);

    const auto names =
        ListSerialDevices(dir, [](const std::string& name) { return name != "ttyS1"; });

    EXPECT_EQ(names, (std::vector<std::string>{"ttyACM0", "ttyS0", "ttyS2", "ttyS10", "ttyUSB2",
                                               "ttyUSB10"}));
    EXPECT_TRUE(ListSerialDevices(dir / "absent", [](const std::string&) { return true; }).empty());
}

// A sysfs tree as the kernel publishes it for serial nodes; none of these
// names exist under /dev, so the listing can only have read the tree.
class FakeSysfs : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::remove_all(root);
        fs::create_directories(ttyClass);
        fs::create_directories(root / "devices" / "pnp0" / "00:05");
        runtime.emplace(root / "runtime");
    }

    void TearDown() override
    {
        runtime.reset();
        fs::remove_all(root);
    }

    void Node(const std::string& name, const char* type, bool bound)
    {
        fs::create_directories(ttyClass / name);
        if (type) std::ofstream(ttyClass / name / "type") << type;
        if (bound) fs::create_directory_symlink(root / "devices" / "pnp0" / "00:05", ttyClass / name / "device");
    }

    // No simulator announces itself in an empty runtime folder.
    struct ScopedRuntimeDir {
        explicit ScopedRuntimeDir(const fs::path& dir)
        {
            if (const char* old = std::getenv("XDG_RUNTIME_DIR")) saved = old;
            fs::create_directories(dir);
            setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
        }
        ~ScopedRuntimeDir()
        {
            if (saved) setenv("XDG_RUNTIME_DIR", saved->c_str(), 1);
            else unsetenv("XDG_RUNTIME_DIR");
        }
        std::optional<std::string> saved;
    };

    const fs::path root = fs::path(testing::TempDir()) / "fake-sysfs";
    const fs::path ttyClass = root / "class" / "tty";
    std::optional<ScopedRuntimeDir> runtime;
};

TEST_F(FakeSysfs, UartTypeDecidesWhichBuiltInPortsAreListed)
{
    Node("ttyS70", "4\n", true);     // a 16550A
    Node("ttyS71", "0\n", true);     // a placeholder for a UART that is not there
    Node("ttyS72", nullptr, true);   // a driver without the attribute, bound to a device
    Node("ttyS73", nullptr, false);  // nothing published
    Node("ttyS74", "junk", false);
    Node("ttyS9", "1\n", false);
    Node("ttyUSB3", nullptr, true);
    Node("tty5", nullptr, false);

    EXPECT_TRUE(PublishesUart(ttyClass, "ttyS70"));
    EXPECT_FALSE(PublishesUart(ttyClass, "ttyS71"));
    EXPECT_TRUE(PublishesUart(ttyClass, "ttyS72"));
    EXPECT_FALSE(PublishesUart(ttyClass, "ttyS73"));
    EXPECT_FALSE(PublishesUart(ttyClass, "ttyS74"));
    EXPECT_FALSE(PublishesUart(ttyClass, "ttyS99"));

    EXPECT_EQ(ListComPortsFrom({.Sysfs = root, .Dev = root / "dev"}),
              (std::vector<TPortChoice>{"ttyS9", "ttyS70", "ttyS72", "ttyUSB3"}));
    EXPECT_TRUE(ListComPortsFrom({.Sysfs = root / "absent", .Dev = root / "dev"}).empty());
}

// udev's links, as it makes them: relative, from /dev/serial/by-id and, with
// our rule, from /dev itself.
TEST_F(FakeSysfs, AdaptersAreListedAndOpenedByTheirStableNames)
{
    const fs::path dev = root / "dev";
    const fs::path byId = dev / "serial" / "by-id";
    fs::create_directories(byId);
    for (const char* name : {"ttyUSB0", "ttyUSB1", "ttyUSB2"}) {
        Node(name, nullptr, true);
        std::ofstream(dev / name);
    }
    const std::string ftdi = "usb-FTDI_FT232R_USB_UART_A12345-if00-port0";
    const std::string prolific = "usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0";
    fs::create_symlink("../../ttyUSB0", byId / ftdi);
    fs::create_symlink("../../ttyUSB1", byId / prolific);
    fs::create_symlink("ttyUSB1", dev / "gasmixer-relay");
    fs::create_symlink("ttyUSB9", dev / "gasmixer-stale");  // a device that is gone

    EXPECT_EQ(ListComPortsFrom({.Sysfs = root, .Dev = dev}),
              (std::vector<TPortChoice>{
                  {ftdi + " (ttyUSB0)", (byId / ftdi).string()},
                  {"gasmixer-relay (ttyUSB1)", (dev / "gasmixer-relay").string()},
                  {"ttyUSB2"},
              }));
}

TEST(PortListing, SimulatorPortsFollowTheDevices)
{
    const fs::path runtime = fs::path(testing::TempDir()) / "runtime";
    fs::remove_all(runtime);
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    const std::string savedValue = saved ? saved : "";
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    const fs::path announced = SimulatorRegistryDir() / std::to_string(getpid());
    fs::create_directories(announced);
    std::ofstream(announced / SimulatorMfcLinkName);
    std::ofstream(announced / SimulatorRelayLinkName);

    const std::vector<TPortChoice> ports = ListComPorts();

    ASSERT_GE(ports.size(), 2u);
    EXPECT_EQ(ports[ports.size() - 2], TPortChoice((announced / SimulatorMfcLinkName).string()));
    EXPECT_EQ(ports.back(), TPortChoice((announced / SimulatorRelayLinkName).string()));
    for (std::size_t i = 0; i + 2 < ports.size(); ++i)
        EXPECT_FALSE(ports[i].Device.starts_with(runtime.string())) << ports[i].Label;

    if (saved) {
        setenv("XDG_RUNTIME_DIR", savedValue.c_str(), 1);
    } else {
        unsetenv("XDG_RUNTIME_DIR");
    }
    fs::remove_all(runtime);
}

}  // namespace
}  // namespace gasmixer
