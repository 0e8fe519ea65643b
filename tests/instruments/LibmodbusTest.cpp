// Our register protocol against libmodbus, which nobody here wrote: its RTU
// slave only answers frames whose address, function, layout and CRC it
// accepts, and its master builds the frames we compare ours with.
#include "instruments/ModbusCrc.h"
#include "instruments/VogtlinFrames.h"
#include "instruments/VogtlinPort.h"
#include "sim/PseudoTerminal.h"
#include "tests/instruments/LibmodbusSlave.h"

#include <gtest/gtest.h>

#include <modbus.h>
#include <poll.h>
#include <unistd.h>

#include <bit>
#include <limits>
#include <memory>
#include <random>

namespace gasmixer {
namespace {

using Bytes = std::vector<std::uint8_t>;
using test::LibmodbusSlave;

constexpr int SlaveId = 2;

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes FloatBytes(std::uint32_t bits)
{
    return {static_cast<std::uint8_t>(bits >> 24), static_cast<std::uint8_t>(bits >> 16),
            static_cast<std::uint8_t>(bits >> 8), static_cast<std::uint8_t>(bits)};
}

class LibmodbusPeer : public testing::Test {
protected:
    LibmodbusPeer()
    {
        ApplyMfcLineSettings(port_);
        port_.Port = slave_.PortPath();
    }

    // Every exchange is answered by the slave before the next one starts.
    void Answered()
    {
        ASSERT_TRUE(slave_.WaitUntilAnswered(++exchanges_)) << "libmodbus did not answer";
    }

    LibmodbusSlave slave_{SlaveId};
    TVogtlinPort port_;
    std::size_t exchanges_ = 0;
};

TEST_F(LibmodbusPeer, FloatsReadAsStored)
{
    for (const std::uint32_t bits : {0x3F800000u, 0x00000000u, 0x80000000u, 0x3E6147AEu,
                                     0x00000001u, 0x007FFFFFu, 0x7F800000u, 0xFF800000u,
                                     0x7FC00000u, 0xFFC00000u, 0x7F800001u}) {
        slave_.SetRegisters(4, FloatBytes(bits));
        const TSerialResponse r = port_.ReadF32(SlaveId, 4);
        Answered();
        EXPECT_EQ(r.Status, "");
        EXPECT_EQ(std::bit_cast<std::uint32_t>(r.AsFloat), bits) << std::hex << bits;
    }
}

TEST_F(LibmodbusPeer, IntegersReadAsStored)
{
    slave_.SetRegisters(16697, {0x01, 0x2C});
    EXPECT_EQ(port_.ReadU8(SlaveId, 16697).AsInteger, 300);
    Answered();
    slave_.SetRegisters(24866, {0xFF, 0xFE});
    EXPECT_EQ(port_.ReadU16(SlaveId, 24866).AsInteger, 65534);
    Answered();
    slave_.SetRegisters(100, {0xDE, 0xAD, 0xBE, 0xEF});
    const TSerialResponse u32 = port_.ReadU32(SlaveId, 100);
    Answered();
    EXPECT_EQ(static_cast<std::uint32_t>(u32.AsInteger), 0xDEADBEEFu);
    EXPECT_EQ(u32.AsFloat, static_cast<float>(0xDEADBEEFu));
    // The device address travels as its low byte: 258 reaches slave 2.
    EXPECT_EQ(port_.ReadU8(256 + SlaveId, 16697).AsInteger, 300);
    Answered();
}

TEST_F(LibmodbusPeer, TextsReadThroughTheAcceptedSet)
{
    Bytes s8 = Text("N2");
    s8.resize(8, 0);
    slave_.SetRegisters(24642, s8);
    EXPECT_EQ(port_.ReadS8(SlaveId, 24642).AsString, "N2");
    Answered();

    slave_.SetRegisters(35, Bytes{'G', 'S', 'C', '-', 0xD6, '.', '2', 0x07});
    EXPECT_EQ(port_.ReadS8(SlaveId, 35).AsString, "GSC2");
    Answered();

    Bytes s50 = Text("O2");
    s50.resize(50, ' ');
    slave_.SetRegisters(24610, s50);
    EXPECT_EQ(port_.ReadS50(SlaveId, 24610).AsString, "O2" + std::string(48, ' '));
    Answered();

    Bytes odd = Text("5% H2 in N2 (dry); \xC4\xF6 g/min");
    odd.resize(50, 0xFF);
    slave_.SetRegisters(24610, odd);
    EXPECT_EQ(port_.ReadS50(SlaveId, 24610).AsString, "5% H2 in N2 dry  g/min");
    Answered();
}

TEST_F(LibmodbusPeer, WritesLandInTheRegisters)
{
    EXPECT_EQ(port_.WriteU8(SlaveId, 24575, 300).Status, "");
    Answered();
    EXPECT_EQ(slave_.Registers(24575, 2), (Bytes{0x01, 0x2C}));

    EXPECT_EQ(port_.WriteU16(SlaveId, 24866, 0x12345).Status, "");
    Answered();
    EXPECT_EQ(slave_.Registers(24866, 2), (Bytes{0x23, 0x45}));

    for (const float value : {0.22f, -0.0f, std::numeric_limits<float>::denorm_min(),
                              std::numeric_limits<float>::infinity()}) {
        EXPECT_EQ(port_.WriteF32(SlaveId, 6, value).Status, "");
        Answered();
        EXPECT_EQ(slave_.Registers(6, 4), FloatBytes(std::bit_cast<std::uint32_t>(value)));
        const TSerialResponse back = port_.ReadF32(SlaveId, 6);
        Answered();
        EXPECT_EQ(std::bit_cast<std::uint32_t>(back.AsFloat), std::bit_cast<std::uint32_t>(value));
    }

    EXPECT_EQ(port_.WriteS50(SlaveId, 24610, "Nitrogen").Status, "");
    Answered();
    Bytes expected = Text("Nitrogen");
    expected.resize(50, ' ');
    EXPECT_EQ(slave_.Registers(24610, 50), expected);
}

// A libmodbus master on a pty of its own; what it sends is read off the
// master side.
class LibmodbusFrames : public testing::Test {
protected:
    LibmodbusFrames() : context_(modbus_new_rtu(pty_.SlavePath().c_str(), 9600, 'N', 8, 2))
    {
        EXPECT_NE(context_, nullptr);
        EXPECT_EQ(modbus_connect(context_), 0);
        modbus_set_response_timeout(context_, 0, 1000);
    }
    ~LibmodbusFrames() override
    {
        modbus_close(context_);
        modbus_free(context_);
    }

    Bytes Sent(std::size_t count)
    {
        Bytes bytes;
        while (bytes.size() < count) {
            pollfd p{pty_.MasterFd(), POLLIN, 0};
            if (poll(&p, 1, 2000) <= 0) break;
            std::uint8_t buffer[300];
            const ssize_t n = read(pty_.MasterFd(), buffer, sizeof buffer);
            if (n <= 0) break;
            bytes.insert(bytes.end(), buffer, buffer + n);
        }
        return bytes;
    }

    sim::PseudoTerminal pty_;
    modbus_t* context_;
};

TEST_F(LibmodbusFrames, CrcAgreesOnRandomFrames)
{
    std::mt19937 random(20240305);
    std::uniform_int_distribution<int> length(2, MODBUS_MAX_PDU_LENGTH + 1);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < 300; ++i) {
        Bytes body(static_cast<std::size_t>(length(random)));
        for (auto& b : body) b = static_cast<std::uint8_t>(byte(random));
        ASSERT_EQ(modbus_send_raw_request(context_, body.data(), static_cast<int>(body.size())),
                  static_cast<int>(body.size() + 2));
        const Bytes sent = Sent(body.size() + 2);
        ASSERT_EQ(sent.size(), body.size() + 2);
        ASSERT_TRUE(std::equal(body.begin(), body.end(), sent.begin()));
        const std::uint16_t crc = ModbusCrc16(body);
        EXPECT_EQ(sent[body.size()], crc & 0xFF) << "frame " << i;
        EXPECT_EQ(sent[body.size() + 1], crc >> 8) << "frame " << i;
    }
}

TEST_F(LibmodbusFrames, RequestsMatchTheLibrarysOwn)
{
    modbus_set_slave(context_, 1);
    std::uint16_t registers[25] = {};

    modbus_read_registers(context_, 24610, 25, registers);
    const ReadRequest read = BuildReadRequest(1, 24610, TVogtlinValueType::S50);
    EXPECT_EQ(Sent(8), Bytes(read.begin(), read.end()));

    modbus_write_register(context_, 16697, 300);
    EXPECT_EQ(Sent(8), BuildWriteU8Request(1, 16697, 300));

    registers[0] = 0x3E61;
    registers[1] = 0x47AE;
    modbus_write_registers(context_, 6, 2, registers);
    EXPECT_EQ(Sent(13), BuildWriteF32Request(1, 6, 0.22f));

    registers[0] = 0xBEEF;
    modbus_write_registers(context_, 24866, 1, registers);
    EXPECT_EQ(Sent(11), BuildWriteU16Request(1, 24866, 0xBEEF));
}

}  // namespace
}  // namespace gasmixer
