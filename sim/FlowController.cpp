#include "sim/FlowController.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace gasmixer::sim {
namespace {

using namespace std::chrono_literals;

constexpr auto FlowTimeConstant = 400ms;
constexpr std::uint16_t MaxReadCount = 125;  // what one reply frame can carry

struct RegisterSpan {
    FlowRegister first;
    std::uint16_t width;
    bool readable;
    bool writable;

    bool Holds(std::uint32_t reg) const { return reg >= first && reg < std::uint32_t{first} + width; }
};

constexpr RegisterSpan RegisterMap[] = {
    {RegTotalizer, 2, true, false},   {RegSetpoint, 2, true, true},    {RegDeviceType, 4, true, false},
    {RegTableInUse, 1, true, true},   {RegTableShown, 1, true, true},  {RegFullScale, 2, true, false},
    {RegLongName, 25, true, false},   {RegShortName, 4, true, false},  {RegFlowUnit, 4, true, false},
    {RegTurnDown, 1, true, false},    {RegTotalizerReset, 2, false, true},
};

const RegisterSpan* SpanHolding(std::uint32_t reg)
{
    const auto it = std::find_if(std::begin(RegisterMap), std::end(RegisterMap),
                                 [reg](const RegisterSpan& s) { return s.Holds(reg); });
    return it == std::end(RegisterMap) ? nullptr : &*it;
}

}  // namespace

FlowController::FlowController(std::uint8_t address, ControllerModel model, TimePoint start)
    : address_(address), model_(std::move(model)), flow_(FlowTimeConstant, start)
{
    if (model_.tables.empty()) throw std::invalid_argument("a flow controller needs a gas table");
    inUse_ = shown_ = &model_.tables.front();
}

const GasTable* FlowController::FindTable(std::uint16_t number) const
{
    const auto it = std::find_if(model_.tables.begin(), model_.tables.end(),
                                 [number](const GasTable& t) { return t.number == number; });
    return it == model_.tables.end() ? nullptr : &*it;
}

void FlowController::AdvanceTo(TimePoint now)
{
    // A controller cannot pass more than its full scale, whatever it is told.
    const double target = supplied_ ? std::min(double{setpoint_}, double{inUse_->fullScale}) : 0.0;
    flow_.AdvanceTo(now, target);
}

void FlowController::SetFault(Fault fault, TimePoint now)
{
    {
        const std::lock_guard lock(mutex_);
        // The flow so far ran with the supply as it was.
        AdvanceTo(now);
        supplied_ = fault.kind != FaultKind::NoFlow;
    }
    faults_.Set(fault);
}

Words FlowController::ValueOf(FlowRegister reg) const
{
    switch (reg) {
    case RegTotalizer:
        return EncodeF32(static_cast<float>(flow_.Delivered() / 1000.0));
    case RegSetpoint:
        return EncodeF32(setpoint_);
    case RegDeviceType:
        return EncodeText(model_.deviceType, 4);
    case RegTableInUse:
        return {inUse_->number};
    case RegTableShown:
        return {shown_->number};
    case RegFullScale:
        return EncodeF32(shown_->fullScale);
    case RegLongName:
        return EncodeText(shown_->longName, 25);
    case RegShortName:
        return EncodeText(shown_->shortName, 4);
    case RegFlowUnit:
        return EncodeText(shown_->unit, 4);
    case RegTurnDown:
        return {shown_->turnDown};
    case RegTotalizerReset:
        break;
    }
    return {};
}

ModbusException FlowController::Read(std::uint16_t start, std::uint16_t count, Words& out, TimePoint now)
{
    if (count == 0 || count > MaxReadCount) return ModbusException::IllegalDataValue;
    const std::lock_guard lock(mutex_);
    AdvanceTo(now);
    Words result;
    const RegisterSpan* current = nullptr;
    Words value;
    for (std::uint32_t reg = start; reg < std::uint32_t{start} + count; ++reg) {
        if (!current || !current->Holds(reg)) {
            current = SpanHolding(reg);
            if (!current || !current->readable) return ModbusException::IllegalDataAddress;
            value = ValueOf(current->first);
        }
        result.push_back(value[reg - current->first]);
    }
    out = std::move(result);
    return ModbusException::None;
}

ModbusException FlowController::Write(std::uint16_t start, std::span<const std::uint16_t> words, TimePoint now)
{
    const RegisterSpan* span = SpanHolding(start);
    if (!span || !span->writable || span->first != start || span->width != words.size())
        return ModbusException::IllegalDataAddress;

    const std::lock_guard lock(mutex_);
    switch (span->first) {
    case RegSetpoint: {
        const float value = DecodeF32(words);
        if (!std::isfinite(value) || value < 0.0f) return ModbusException::IllegalDataValue;
        AdvanceTo(now);
        setpoint_ = value;
        setpointLog_.Append({value, now});
        break;
    }
    case RegTotalizerReset:
        if (DecodeF32(words) != 0.0f) return ModbusException::IllegalDataValue;
        AdvanceTo(now);
        flow_.ResetDelivered();
        break;
    case RegTableInUse:
    case RegTableShown: {
        const GasTable* table = FindTable(words[0]);
        if (!table) return ModbusException::IllegalDataValue;
        AdvanceTo(now);
        (span->first == RegTableInUse ? inUse_ : shown_) = table;
        break;
    }
    default:
        return ModbusException::IllegalDataAddress;
    }
    return ModbusException::None;
}

float FlowController::Setpoint() const
{
    const std::lock_guard lock(mutex_);
    return setpoint_;
}

std::vector<SetpointWrite> FlowController::SetpointLog() const
{
    const std::lock_guard lock(mutex_);
    return setpointLog_.Entries();
}

double FlowController::ActualFlow(TimePoint now)
{
    const std::lock_guard lock(mutex_);
    AdvanceTo(now);
    return flow_.Flow();
}

double FlowController::TotalizerKg(TimePoint now)
{
    const std::lock_guard lock(mutex_);
    AdvanceTo(now);
    return flow_.Delivered() / 1000.0;
}

std::uint16_t FlowController::TableInUse() const
{
    const std::lock_guard lock(mutex_);
    return inUse_->number;
}

std::uint16_t FlowController::TableShown() const
{
    const std::lock_guard lock(mutex_);
    return shown_->number;
}

}  // namespace gasmixer::sim
