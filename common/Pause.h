#pragma once

#include <chrono>
#include <cstdint>
#include <thread>

namespace gasmixer {

// A fixed pause of the calling thread: the instruments need these gaps
// between and inside their exchanges.
inline void Pause(std::uint32_t ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace gasmixer
