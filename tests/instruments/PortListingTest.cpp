#include "instruments/PortListing.h"
#include "instruments/SimulatorRegistry.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
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

    const std::vector<std::string> ports = ListComPorts();

    ASSERT_GE(ports.size(), 2u);
    EXPECT_EQ(ports[ports.size() - 2], (announced / SimulatorMfcLinkName).string());
    EXPECT_EQ(ports.back(), (announced / SimulatorRelayLinkName).string());
    for (std::size_t i = 0; i + 2 < ports.size(); ++i)
        EXPECT_EQ(ports[i].rfind("tty", 0), 0u) << ports[i];

    if (saved) {
        setenv("XDG_RUNTIME_DIR", savedValue.c_str(), 1);
    } else {
        unsetenv("XDG_RUNTIME_DIR");
    }
    fs::remove_all(runtime);
}

}  // namespace
}  // namespace gasmixer
