#include "app/Form1.h"

#include "app/GasBLimit.h"
#include "app/ListBox.h"
#include "common/Pause.h"
#include "controls/RtNumericUpDn.h"
#include "instruments/RelayBoard.h"
#include "instruments/VogtlinPort.h"
#include "instruments/VogtlinRegisters.h"

#include <QCheckBox>
#include <QPlainTextEdit>

#include <cmath>

namespace gasmixer {

namespace {

bool IdentifiesAsController(const std::string& deviceType) { return deviceType.starts_with("GSC"); }

}  // namespace

void TForm1::TestRelayBoard()
{
    TSerialPort port;
    port.Port = ListBoxPortSolenoid->SelectedText();
    const TDateTime started = services_.clock.Now();
    const TSerialResponse response = RelayLinkTest(port);
    // The lines appear together once the test is over.
    for (const std::string& line :
         RelayLinkTestReport(started, port.DebugMSG, RelayLinkTestFrame, response)) {
        AppendSetupFeedback(line);
    }
    CheckBoxSolenoidOK->setChecked(RelayLinkAccepted(response));
}

void TForm1::ValidateMFC()
{
    TVogtlinPort port;
    port.Port = ListBoxPortMFC->SelectedText();
    ApplyMfcLineSettings(port);
    const std::string type1 = port.ReadS8(1, RegisterNumber(TVogtlinRegister::DeviceType)).AsString;
    Pause(20);
    const std::string type2 = port.ReadS8(2, RegisterNumber(TVogtlinRegister::DeviceType)).AsString;
    Pause(20);
    const bool identified = IdentifiesAsController(type1) && IdentifiesAsController(type2);
    if (identified) CheckBoxMFCOK->setChecked(true);
    AppendSetupFeedback("");
    AppendSetupFeedback(identified ? "MFCs are OK" : "One of more MFC failed to be identified");
    if (!identified) CheckBoxMFCOK->setChecked(false);
}

TFlowInfo TForm1::MinMaxFlow(const std::string& Port, std::uint32_t Address)
{
    TVogtlinPort port;
    port.Port = Port;
    ApplyMfcLineSettings(port);

    // The controllers hold their gas tables in the order of the gas lists,
    // from table 2 on.
    const TListBox* gasList = Address == 1 ? ListBoxSetupGas1 : ListBoxSetupGas2;
    const auto table = static_cast<std::uint16_t>(gasList->ItemIndex() + 2);
    const std::uint32_t device = Address == 1 ? 1 : 2;
    port.WriteU8(device, RegisterNumber(TVogtlinRegister::GasTableInUse), table);
    Pause(150);
    port.WriteU8(device, RegisterNumber(TVogtlinRegister::GasTableSelector), table);
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
    const auto turnDown = static_cast<std::uint32_t>(port.ReadU16(Address, RegisterNumber(TVogtlinRegister::TurnDown)).AsInteger);
    Pause(20);

    if (const auto range = GasBLimitRangeFor(fullScale, turnDown)) {
        SetGasBLimitRange(*range);
    } else {
        AppendSetupFeedback("MFC " + std::to_string(Address) + " did not report a usable flow range");
    }
    if (Address != 1) MaxFlowB = std::isfinite(fullScale) ? fullScale : 0.0;
    return FlowInfoFromReadings(std::move(name), std::move(longName), std::move(flowUnit), fullScale,
                                turnDown);
}

void TForm1::SetGasBLimitRange(const TGasBLimitRange& range)
{
    // Each write but the increment runs the gas B limit handler and a preview.
    RtNumericUpDn1->SetMaxValue(range.Maximum);
    RtNumericUpDn1->SetMinValue(range.Minimum);
    RtNumericUpDn1->SetValue(range.Value);
    RtNumericUpDn1->SetIncrement(range.Increment);
}

void TForm1::SetValvePositions(int iV1O, int iV2O, int iV3O, int iV4O, int iV5O, int iV6O)
{
    TSerialPort port;
    port.Port = ListBoxPortSolenoid->SelectedText();
    SendValveCommand(port, ValveMask(iV1O, iV2O, iV3O, iV4O, iV5O, iV6O));
    // The picture shows what was commanded, whether or not the board answered.
    const std::array<int, 6> states{iV1O, iV2O, iV3O, iV4O, iV5O, iV6O};
    for (std::size_t i = 0; i < states.size(); ++i) {
        ValveState[i] = static_cast<std::uint8_t>(states[i] & 0xFF);
    }
    for (std::size_t i = 0; i < ValveState.size(); ++i) {
        SetValveGraphics(static_cast<int>(i) + 1, ValveState[i] != 0);
    }
}

void TForm1::SetMFCFlow(std::uint32_t Address, double Flow)
{
    TVogtlinPort port;
    port.Port = ListBoxPortMFC->SelectedText();
    ApplyMfcLineSettings(port);
    port.WriteF32(Address, RegisterNumber(TVogtlinRegister::Setpoint), static_cast<float>(Flow));
    Pause(20);
}

}  // namespace gasmixer
