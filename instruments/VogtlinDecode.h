#pragma once

#include "instruments/SerialResponse.h"
#include "instruments/VogtlinFrames.h"

namespace gasmixer {

// Turns the serial layer's outcome of a register read into the read's result:
// the decoded fields and Status on a reply of the expected length, "No result
// to read" when nothing arrived, "Wrong amount of data waiting" otherwise.
// Only the length is judged; address, function, byte count and CRC are not.
// A failed F32 read yields the quiet NaN FFC00000.
TSerialResponse DecodeRead(TVogtlinValueType type, TSerialResponse exchanged);

// The characters a text register may contribute: blank % * , / 0-9 A-Z a-z _
bool IsAcceptedTextByte(std::uint8_t byte);

}  // namespace gasmixer
