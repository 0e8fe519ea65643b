#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Reads and writes on a non-blocking terminal descriptor under the line's
// time-out law. Timing uses the monotonic clock; waiting is done in poll,
// never by spinning.

namespace gasmixer {

struct TReadTimeouts {
    std::chrono::milliseconds interval{20};    // longest gap between two bytes
    std::chrono::milliseconds multiplier{10};  // per byte asked for
    std::chrono::milliseconds constant{200};
};

struct TWriteTimeouts {
    std::chrono::milliseconds multiplier{10};  // per byte written
    std::chrono::milliseconds constant{1000};
};

// Writes every byte and waits until they have left the transmitter, as a
// synchronous write does; false on an error or when the time-out passes
// first.
bool WriteAll(int fd, std::span<const std::uint8_t> bytes, const TWriteTimeouts& timeouts = {});

// Bytes waiting in the receive queue; 0 when the driver cannot tell.
std::size_t BytesWaiting(int fd);

// Reads up to maxBytes: returns when they are all in, when the interval
// passes after a byte, or when multiplier x maxBytes + constant has passed
// in all, with whatever arrived. A device that fails or hangs up ends the
// read with the bytes so far.
std::vector<std::uint8_t> ReadWithTimeouts(int fd, std::size_t maxBytes,
                                           const TReadTimeouts& timeouts = {});

}  // namespace gasmixer
