#include "sim/Faults.h"

namespace gasmixer::sim {

void FaultSwitch::Set(Fault fault)
{
    const std::lock_guard lock(mutex_);
    fault_ = fault;
}

Fault FaultSwitch::Current() const
{
    const std::lock_guard lock(mutex_);
    return fault_;
}

Fault FaultSwitch::TakeForExchange()
{
    const std::lock_guard lock(mutex_);
    const Fault taken = fault_;
    if (taken.kind == FaultKind::Vanish) fault_ = Fault{};
    return taken;
}

std::optional<Outgoing> AnswerUnder(const Fault& fault, TimePoint now, const std::function<Bytes()>& act,
                                    const std::function<Bytes()>& refuse)
{
    switch (fault.kind) {
    case FaultKind::Silent:
        return std::nullopt;
    case FaultKind::Vanish:
        return Outgoing{{}, now, true};
    default:
        break;
    }

    Outgoing out{fault.kind == FaultKind::Exception ? refuse() : act(), now};
    if (out.bytes.empty()) return std::nullopt;
    switch (fault.kind) {
    case FaultKind::Truncated:
        out.bytes.pop_back();
        break;
    case FaultKind::CorruptChecksum:
        out.bytes.back() = static_cast<std::uint8_t>(~out.bytes.back());
        break;
    case FaultKind::Delayed:
        out.due = now + fault.delay;
        break;
    case FaultKind::Garbage: {
        static constexpr std::uint8_t noise[] = {0x00, 0xFF, 0x5A, 0xC3, 0x17};
        out.bytes.insert(out.bytes.begin(), std::begin(noise), std::end(noise));
        break;
    }
    default:
        break;
    }
    return out;
}

}  // namespace gasmixer::sim
