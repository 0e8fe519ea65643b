// Arbitrary bytes as the reply to every kind of register read.
#include "instruments/VogtlinDecode.h"

#include <bit>
#include <cstddef>
#include <cstdint>

using namespace gasmixer;

namespace {

void Require(bool condition)
{
    if (!condition) __builtin_trap();
}

void Check(TVogtlinValueType type, const TSerialResponse& exchanged)
{
    const TSerialResponse r = DecodeRead(type, exchanged);
    const bool decoded = exchanged.ResponseLength == ExpectedReplyLength(type);
    Require(r.Status.empty() == decoded);
    Require(r.AsHex.size() == (decoded ? 3u * r.ResponseLength : 0u));
    for (char c : r.AsString) Require(IsAcceptedTextByte(static_cast<std::uint8_t>(c)));
    if (type == TVogtlinValueType::S8) Require(r.AsString.size() <= 8);
    if (type == TVogtlinValueType::S50) Require(r.AsString.size() <= 50);
    if (!decoded && type == TVogtlinValueType::F32)
        Require(std::bit_cast<std::uint32_t>(r.AsFloat) == 0xFFC00000u);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TSerialResponse exchanged;
    StoreReply(exchanged, {data, size});
    for (const auto type : {TVogtlinValueType::U8, TVogtlinValueType::U16, TVogtlinValueType::U32,
                            TVogtlinValueType::F32, TVogtlinValueType::S8, TVogtlinValueType::S50})
        Check(type, exchanged);
    return 0;
}
