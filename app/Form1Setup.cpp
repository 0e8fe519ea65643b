#include "app/Form1.h"

#include "app/BusyCursor.h"
#include "app/GasBLimit.h"
#include "app/ListBox.h"
#include "app/PageControl.h"

#include <QCheckBox>
#include <QPlainTextEdit>

namespace gasmixer {

namespace {
constexpr const char* NotValidatedText = "MFC not validated, cannot select gas yet";
}

bool TForm1::BothPortsFake() const
{
    return ListBoxPortSolenoid->SelectedText() == FakePortName &&
           ListBoxPortMFC->SelectedText() == FakePortName;
}

void TForm1::AppendSetupFeedback(const std::string& line)
{
    MemoSetupFeedback->appendPlainText(QString::fromStdString(line));
}

void TForm1::ButtonSetupFindPortsClick()
{
    std::vector<std::string> ports = services_.listPorts();
    ports.emplace_back(FakePortName);
    ListBoxPortSolenoid->SetItems(ports);
    ListBoxPortMFC->SetItems(ports);
}

void TForm1::ListBoxPortSolenoidClick()
{
    if (ListBoxPortSolenoid->SelectedText() == FakePortName) {
        ListBoxPortMFC->SetItemIndex(ListBoxPortMFC->count() - 1);
    }
    ButtonSetupValidateClick();
}

void TForm1::ListBoxPortMFCClick() { ButtonSetupValidateClick(); }

void TForm1::ButtonSetupValidateClick()
{
    if (BothPortsFake()) {
        AppendSetupFeedback("Fake ports selected. Imaginary mixer used for testing purposes.");
        CheckBoxSolenoidOK->setChecked(true);
        CheckBoxMFCOK->setChecked(true);
        ListBoxSetupGas1->SetItemIndex(0);  // "O2"
        ListBoxSetupGas1Click();
        ListBoxSetupGas2->SetItemIndex(1);  // "N2"
        ListBoxSetupGas2Click();
        return;
    }
    const BusyCursor busy;
    if (ListBoxPortSolenoid->ItemIndex() >= 0) TestRelayBoard();
    if (ListBoxPortMFC->ItemIndex() >= 0) ValidateMFC();
}

void TForm1::ListBoxSetupGas1Click()
{
    if (ListBoxPortSolenoid->SelectedText() == FakePortName) {
        FlowInfoA = FakeFlowInfoA();
        CompoundA = FindCompound("O2");
        PulseExtraA = 1.0;
    } else if (CheckBoxMFCOK->isChecked()) {
        const BusyCursor busy;
        FlowInfoA = MinMaxFlow(ListBoxPortMFC->SelectedText(), 1);
        CompoundA = FindCompound(ListBoxSetupGas1->SelectedText());
        PulseExtraA = 1.0;
        // The previews run by the new gas B limit range inside MinMaxFlow saw
        // the records of before the read: show the plan for the ones just read.
        Calculate(false);
    } else {
        services_.dialogs.Information(NotValidatedText);
        ListBoxSetupGas1->SetItemIndex(-1);
    }
    CheckContinue();
}

void TForm1::ListBoxSetupGas2Click()
{
    if (BothPortsFake()) {
        FlowInfoB = FakeFlowInfoB();
        CompoundB = FindCompound("N2");
        PulseExtraB = 1.0;
        SetGasBLimitRange(FakeGasBLimitRange(FlowInfoB));
    } else if (CheckBoxMFCOK->isChecked()) {
        const BusyCursor busy;
        FlowInfoB = MinMaxFlow(ListBoxPortMFC->SelectedText(), 2);
        CompoundB = FindCompound(ListBoxSetupGas2->SelectedText());
        PulseExtraB = 1.0;
        // The previews run by the new gas B limit range inside MinMaxFlow saw
        // the records of before the read: show the plan for the ones just read.
        Calculate(false);
    } else {
        services_.dialogs.Information(NotValidatedText);
        ListBoxSetupGas2->SetItemIndex(-1);
    }
    CheckContinue();
}

void TForm1::ListBoxSetupGas1KeyUp() { CheckContinue(); }

void TForm1::CheckContinue()
{
    CheckBoxGasesSelected->setChecked(CheckBoxSolenoidOK->isChecked() && CheckBoxMFCOK->isChecked() &&
                                      ListBoxSetupGas1->ItemIndex() >= 0 &&
                                      ListBoxSetupGas2->ItemIndex() >= 0);
}

void TForm1::PageControl1Changing(bool& AllowChange)
{
    AllowChange = CheckBoxSolenoidOK->isChecked() && CheckBoxMFCOK->isChecked() &&
                  CheckBoxGasesSelected->isChecked();
    if (!AllowChange) {
        services_.dialogs.Information(
            "Must validate equipment and select gas types before proceeding to operation");
    }
}

void TForm1::PageControl1Change()
{
    QWidget* page = PageControl1->ActivePage();
    if (page == Setup && services_.dialogs.Question("Clear selected gases?", "Confirm action")) {
        // Only the selection is cleared: the mixer runs on as it was.
        CheckBoxGasesSelected->setChecked(false);
        ListBoxSetupGas1->SetItemIndex(-1);
        ListBoxSetupGas2->SetItemIndex(-1);
        services_.dialogs.Information("Gas selections removed");
    }
    if (page == TabSheet1) RtIntegerEditH2OTempValueChanged();
}

}  // namespace gasmixer
