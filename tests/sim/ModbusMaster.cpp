#include "ModbusMaster.h"

#include <bit>
#include <cmath>
#include <stdexcept>

namespace gasmixer::sim::test {

void ModbusMaster::Close::operator()(modbus_t* ctx) const
{
    modbus_close(ctx);
    modbus_free(ctx);
}

ModbusMaster::ModbusMaster(const std::string& path) : ctx_(modbus_new_rtu(path.c_str(), 9600, 'N', 8, 2))
{
    if (!ctx_) throw std::runtime_error("modbus_new_rtu failed");
    if (modbus_connect(ctx_.get()) != 0) throw std::runtime_error("cannot open " + path);
    modbus_set_response_timeout(ctx_.get(), 0, 400'000);
}

void ModbusMaster::SetSlave(int address)
{
    modbus_set_slave(ctx_.get(), address);
}

int ModbusMaster::ReadRegisters(int reg, int count, std::vector<std::uint16_t>& out)
{
    out.assign(static_cast<std::size_t>(count), 0);
    return modbus_read_registers(ctx_.get(), reg, count, out.data());
}

int ModbusMaster::WriteRegister(int reg, std::uint16_t value)
{
    return modbus_write_register(ctx_.get(), reg, value);
}

int ModbusMaster::WriteFloat(int reg, float value)
{
    // Encoded here: the float helpers of some libmodbus releases swap bytes.
    const auto bits = std::bit_cast<std::uint32_t>(value);
    std::uint16_t words[2] = {static_cast<std::uint16_t>(bits >> 16), static_cast<std::uint16_t>(bits)};
    return modbus_write_registers(ctx_.get(), reg, 2, words);
}

float ModbusMaster::ReadFloat(int reg)
{
    std::vector<std::uint16_t> words;
    if (ReadRegisters(reg, 2, words) != 2) return std::nanf("");
    return std::bit_cast<float>(std::uint32_t{words[0]} << 16 | words[1]);
}

std::string ModbusMaster::ReadText(int reg, int registers)
{
    std::vector<std::uint16_t> words;
    if (ReadRegisters(reg, registers, words) != registers) return {};
    std::string text;
    for (std::uint16_t w : words) {
        text += static_cast<char>(w >> 8);
        text += static_cast<char>(w & 0xFF);
    }
    return text;
}

}  // namespace gasmixer::sim::test
