#include "sim/Framer.h"

namespace gasmixer::sim {

Framer::Framer(FrameLengthRule rule, std::chrono::milliseconds silence) : rule_(rule), silence_(silence) {}

std::vector<Bytes> Framer::Feed(std::span<const std::uint8_t> bytes, TimePoint now)
{
    std::vector<Bytes> frames;
    if (bytes.empty()) return frames;
    if (auto closed = Expire(now)) frames.push_back(std::move(*closed));
    lastByte_ = now;
    for (std::uint8_t b : bytes) {
        partial_.push_back(b);
        const std::size_t length = rule_(partial_);
        if (length != NeedMoreBytes && length != EndsAtSilence && partial_.size() >= length) {
            frames.push_back(std::move(partial_));
            partial_.clear();
        }
    }
    return frames;
}

std::optional<TimePoint> Framer::Deadline() const
{
    if (partial_.empty()) return std::nullopt;
    return lastByte_ + silence_;
}

std::optional<Bytes> Framer::Expire(TimePoint now)
{
    const auto deadline = Deadline();
    if (!deadline || now < *deadline) return std::nullopt;
    Bytes frame = std::move(partial_);
    partial_.clear();
    if (rule_(frame) == EndsAtSilence) return frame;
    return std::nullopt;
}

}  // namespace gasmixer::sim
