#include "mixer/Mixer.h"

#include "common/TextFormat.h"
#include "humidity/ThermistorCount.h"
#include "instruments/PortAccess.h"
#include "instruments/RelayBoard.h"
#include "instruments/VogtlinPort.h"
#include "instruments/VogtlinRegisters.h"
#include "mixer/GasLists.h"

#include <cmath>

namespace gasmixer {

namespace {

constexpr float EstimatedWaterTemperature = 20.0f;  // ºC

bool IdentifiesAsController(const std::string& deviceType) { return deviceType.starts_with("GSC"); }

bool Answered(const TSerialResponse& response) { return response.Status.empty() && response.ResponseLength >= 2; }

std::string TemperatureText(double celsius) { return "@ " + FormatFloat("0.0", celsius) + "\u00BAC"; }

}  // namespace

void TMixer::ChoosePorts(std::string relayPort, std::string mfcPort)
{
    RelayBoard.SetPort(std::move(relayPort));
    MfcPort = std::move(mfcPort);
}

void TMixer::Validate()
{
    if (BothPortsFake()) {
        view_.SetupFeedback("Fake ports selected. Imaginary mixer used for testing purposes.");
        RelayBoardOK = true;
        MFCOK = true;
        view_.RelayBoardChecked(true);
        view_.MfcChecked(true);
        return;
    }
    if (!RelayBoard.Port().empty()) {
        if (MayOpen(RelayBoard.Port())) {
            TestRelayBoard();
        } else {
            RelayBoardOK = false;
            view_.RelayBoardChecked(false);
        }
    }
    if (!MfcPort.empty()) {
        if (MayOpen(MfcPort)) {
            ValidateMFC();
        } else {
            MFCOK = false;
            view_.MfcChecked(false);
        }
    }
}

// A port this user may not open is said to be so, rather than passing for
// equipment that does not answer.
bool TMixer::MayOpen(const std::string& port)
{
    const std::optional<std::string> problem = PermissionProblem(port);
    if (problem) view_.SetupFeedback(*problem);
    return !problem;
}

void TMixer::TestRelayBoard()
{
    const TDateTime started = services_.clock.Now();
    std::string trace;
    const TSerialResponse response = RelayBoard.LinkTest(trace);
    // The lines appear together once the test is over.
    for (const std::string& line : RelayLinkTestReport(started, trace, RelayLinkTestFrame, response))
        view_.SetupFeedback(line);
    RelayBoardOK = RelayLinkAccepted(response);
    view_.RelayBoardChecked(RelayBoardOK);
}

void TMixer::ValidateMFC()
{
    TVogtlinPort port = MfcLink();
    const std::string type1 = port.ReadS8(1, RegisterNumber(TVogtlinRegister::DeviceType)).AsString;
    Pause(20);
    const std::string type2 = port.ReadS8(2, RegisterNumber(TVogtlinRegister::DeviceType)).AsString;
    Pause(20);
    const bool identified = IdentifiesAsController(type1) && IdentifiesAsController(type2);
    // A failed identification of equipment validated before leaves it validated.
    if (identified) MFCOK = true;
    view_.SetupFeedback("");
    view_.SetupFeedback(identified ? "MFCs are OK" : "One of more MFC failed to be identified");
    if (!identified) MFCOK = false;
    view_.MfcChecked(MFCOK);
}

void TMixer::ChooseGas(int address, const std::string& gas)
{
    const bool gasA = address == 1;
    std::optional<TGasBLimitRange> range;
    if (RelayBoard.Port() == FakePortName && (gasA || BothPortsFake())) {
        // The imaginary mixer has O2 and N2 whatever the list says.
        if (gasA) {
            FlowInfoA = FakeFlowInfoA();
            CompoundA = FindCompound("O2");
            PulseExtraA = 1.0;
        } else {
            FlowInfoB = FakeFlowInfoB();
            CompoundB = FindCompound("N2");
            PulseExtraB = 1.0;
            range = FakeGasBLimitRange(FlowInfoB);
            ApplyGasBLimitRange(*range);
        }
    } else {
        const std::optional<int> table = GasTableOf(gasA ? GasListA() : GasListB(), gas);
        if (!table) throw std::invalid_argument("no gas " + gas + " in the list of MFC " + std::to_string(address));
        const TFlowInfo info = MinMaxFlow(static_cast<std::uint32_t>(address), *table, range);
        (gasA ? FlowInfoA : FlowInfoB) = info;
        (gasA ? CompoundA : CompoundB) = FindCompound(gas);
        (gasA ? PulseExtraA : PulseExtraB) = 1.0;
    }
    (gasA ? GasA : GasB) = gas;
    FlowInfoB.Max = static_cast<float>(GasBLimit);
    // The view plans with what was just read.
    TellState();
    view_.GasChosen(address, range);
}

void TMixer::ForgetGases()
{
    GasA.clear();
    GasB.clear();
}

void TMixer::ApplyGasBLimitRange(const TGasBLimitRange& range)
{
    GasBLimitMax = range.Maximum;
    GasBLimitMin = range.Minimum;
    GasBLimit = range.Value;
}

TFlowInfo TMixer::MinMaxFlow(std::uint32_t Address, int table, std::optional<TGasBLimitRange>& range)
{
    TVogtlinPort port = MfcLink();
    const auto tableNumber = static_cast<std::uint16_t>(table);
    port.WriteU8(Address, RegisterNumber(TVogtlinRegister::GasTableInUse), tableNumber);
    Pause(150);
    port.WriteU8(Address, RegisterNumber(TVogtlinRegister::GasTableSelector), tableNumber);
    Pause(250);

    port.ReadU8(Address, RegisterNumber(TVogtlinRegister::GasTableInUse));
    Pause(20);
    std::string name = port.ReadS8(Address, RegisterNumber(TVogtlinRegister::GasShortName)).AsString;
    Pause(20);
    std::string longName = port.ReadS50(Address, RegisterNumber(TVogtlinRegister::GasLongName)).AsString;
    Pause(20);
    const float fullScale = port.ReadF32(Address, RegisterNumber(TVogtlinRegister::FullScale)).AsFloat;
    Pause(20);
    std::string flowUnit = port.ReadS8(Address, RegisterNumber(TVogtlinRegister::FlowUnit)).AsString;
    Pause(20);
    const auto turnDown =
        static_cast<std::uint32_t>(port.ReadU16(Address, RegisterNumber(TVogtlinRegister::TurnDown)).AsInteger);
    Pause(20);

    range = GasBLimitRangeFor(fullScale, turnDown);
    if (range) {
        ApplyGasBLimitRange(*range);
    } else {
        view_.SetupFeedback("MFC " + std::to_string(Address) + " did not report a usable flow range");
    }
    if (Address != 1) MaxFlowB = std::isfinite(fullScale) ? fullScale : 0.0;
    return FlowInfoFromReadings(std::move(name), std::move(longName), std::move(flowUnit), fullScale, turnDown);
}

void TMixer::ReadWaterTemperature(bool forEdit)
{
    if (BothPortsFake()) {
        PH2O = WaterVapourPressure(EstimatedWaterTemperature);
        view_.WaterTemperatureRead(PH2O, TemperatureText(EstimatedWaterTemperature) + " (Estimated)", forEdit);
        return;
    }
    // Without a chosen board nothing is asked and the reading is a count of 0.
    std::uint32_t count = 0;
    if (!RelayBoard.Port().empty()) {
        const TSerialResponse response = RelayBoard.ReadAnalog();
        // An exchange that failed measured nothing: once the board has
        // answered, its last reading stands rather than a water at 0 ºC that
        // would skew every plan and record after it.
        if (!Answered(response) && waterReadOnce_) {
            view_.DevFeedback("Water temperature not read (" +
                              (response.Status.empty() ? std::string("incomplete reply") : response.Status) +
                              "); the last reading stands");
            view_.WaterTemperatureRead(PH2O, {}, forEdit);
            return;
        }
        waterReadOnce_ = waterReadOnce_ || Answered(response);
        count = AnalogCount(response);
    }
    const TWaterReading reading = WaterReadingOfCount(count);
    for (const std::string& line : reading.Lines) view_.DevFeedback(line);
    PH2O = WaterVapourPressure(static_cast<float>(reading.Temperature));
    view_.WaterTemperatureRead(PH2O, TemperatureText(reading.Temperature), forEdit);
}

void TMixer::SetValvePositions(int iV1O, int iV2O, int iV3O, int iV4O, int iV5O, int iV6O)
{
    RelayBoard.SendValves(ValveMask(iV1O, iV2O, iV3O, iV4O, iV5O, iV6O));
    // The picture shows what was commanded, whether or not the board answered.
    const std::array<int, 6> states{iV1O, iV2O, iV3O, iV4O, iV5O, iV6O};
    std::array<bool, 6> drawn{};
    for (std::size_t i = 0; i < states.size(); ++i) {
        ValveState[i] = static_cast<std::uint8_t>(states[i] & 0xFF);
        drawn[i] = ValveState[i] != 0;
    }
    view_.ValvesDrawn(drawn);
}

}  // namespace gasmixer
