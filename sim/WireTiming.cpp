#include "sim/WireTiming.h"

#include "instruments/SerialPort.h"

#include <algorithm>

namespace gasmixer::sim {

std::chrono::nanoseconds CharacterTime(const TSerialPort& settings)
{
    // Counted in half bits, for one and a half stop bits.
    const int stopHalfBits = settings.StopBits == 0 ? 2 : settings.StopBits == 1 ? 3 : 4;
    const long long halfBits = 2 * (1 + 8 + (settings.Parity != 0 ? 1 : 0)) + stopHalfBits;
    return std::chrono::nanoseconds(halfBits * 1'000'000'000LL / (2LL * settings.BaudRate));
}

void WireTransmitter::Send(TimePoint due, const Bytes& bytes)
{
    if (bytes.empty()) return;
    const TimePoint start = std::max(due, lineFree_);
    if (onWire_.empty()) nextArrival_ = start + characterTime_;
    onWire_.insert(onWire_.end(), bytes.begin(), bytes.end());
    lineFree_ = start + characterTime_ * static_cast<long long>(bytes.size());
}

Bytes WireTransmitter::Arrived(TimePoint now)
{
    if (onWire_.empty() || now < nextArrival_) return {};
    std::size_t count = onWire_.size();
    if (characterTime_.count() > 0)
        count = std::min<std::size_t>(count, static_cast<std::size_t>((now - nextArrival_) / characterTime_) + 1);
    const auto end = onWire_.begin() + static_cast<std::ptrdiff_t>(count);
    Bytes arrived(onWire_.begin(), end);
    onWire_.erase(onWire_.begin(), end);
    nextArrival_ += characterTime_ * static_cast<long long>(count);
    return arrived;
}

std::optional<TimePoint> WireTransmitter::NextArrival() const
{
    if (onWire_.empty()) return std::nullopt;
    return nextArrival_;
}

}  // namespace gasmixer::sim
