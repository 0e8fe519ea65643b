#include "app/Form1.h"

#include "app/ListBox.h"
#include "app/PageControl.h"
#include "controls/RtNumericUpDn.h"

#include <QCheckBox>
#include <QPlainTextEdit>

namespace gasmixer {

namespace {
constexpr const char* NotValidatedText = "MFC not validated, cannot select gas yet";
}

bool TForm1::BothPortsFake() const
{
    return SelectedPort(ListBoxPortSolenoid) == FakePortName && SelectedPort(ListBoxPortMFC) == FakePortName;
}

std::string TForm1::SelectedPort(const TListBox* list) const
{
    const int index = list->ItemIndex();
    if (index >= 0 && static_cast<std::size_t>(index) < listedPorts_.size()) return listedPorts_[index].Device;
    return list->SelectedText();  // the fake port, or nothing
}

void TForm1::SelectPort(TListBox* list, const std::string& device)
{
    for (std::size_t i = 0; i < listedPorts_.size(); ++i) {
        if (listedPorts_[i].Device == device) list->SetItemIndex(static_cast<int>(i));
    }
    if (device == FakePortName) list->SetItemIndex(list->count() - 1);
}

void TForm1::SetupFeedback(const std::string& line) { MemoSetupFeedback->appendPlainText(QString::fromStdString(line)); }

void TForm1::ButtonSetupFindPortsClick()
{
    listedPorts_ = services_.listPorts();
    std::vector<std::string> labels;
    for (const TPortChoice& port : listedPorts_) labels.push_back(port.Label);
    labels.emplace_back(FakePortName);
    ListBoxPortSolenoid->SetItems(labels);
    ListBoxPortMFC->SetItems(labels);
    OfferRememberedPorts();
}

void TForm1::ListBoxPortSolenoidClick()
{
    if (SelectedPort(ListBoxPortSolenoid) == FakePortName) {
        ListBoxPortMFC->SetItemIndex(ListBoxPortMFC->count() - 1);
    }
    ButtonSetupValidateClick();
}

void TForm1::ListBoxPortMFCClick() { ButtonSetupValidateClick(); }

void TForm1::PostOnTheListedPorts(TMixer::Command command)
{
    Post([relay = SelectedPort(ListBoxPortSolenoid), mfc = SelectedPort(ListBoxPortMFC),
          command = std::move(command)](TMixer& mixer) {
        mixer.ChoosePorts(relay, mfc);
        command(mixer);
    });
}

// The mixer validates what the lists show; the answers check the boxes.
void TForm1::ButtonSetupValidateClick()
{
    PostOnTheListedPorts([](TMixer& mixer) { mixer.Validate(); });
    if (BothPortsFake()) {
        ListBoxSetupGas1->SetItemIndex(0);  // "O2"
        ListBoxSetupGas1Click();
        ListBoxSetupGas2->SetItemIndex(1);  // "N2"
        ListBoxSetupGas2Click();
    }
}

void TForm1::RelayBoardChecked(bool ok)
{
    CheckBoxSolenoidOK->setChecked(ok);
    CheckContinue();
}

void TForm1::MfcChecked(bool ok)
{
    CheckBoxMFCOK->setChecked(ok);
    CheckContinue();
    if (!validatingRemembered_) return;
    if (!ok) validatingRemembered_.reset();
    // The fake ports chose their own gases with the validation.
    else if (!BothPortsFake()) ChooseRememberedGases();
}

void TForm1::ListBoxSetupGas1Click()
{
    ChooseGas(1, ListBoxSetupGas1, "O2", SelectedPort(ListBoxPortSolenoid) == FakePortName);
}

void TForm1::ListBoxSetupGas2Click() { ChooseGas(2, ListBoxSetupGas2, "N2", BothPortsFake()); }

// The imaginary mixer has its own gas whatever the list says; a real one
// needs its controllers validated first.
void TForm1::ChooseGas(int address, TListBox* list, const char* fakeGas, bool fake)
{
    if (!fake && !CheckBoxMFCOK->isChecked()) {
        services_.dialogs.Information(NotValidatedText);
        list->SetItemIndex(-1);
        CheckContinue();
        return;
    }
    PostOnTheListedPorts([address, gas = fake ? std::string(fakeGas) : list->SelectedText()](TMixer& mixer) {
        mixer.ChooseGas(address, gas);
    });
    CheckContinue();
}

void TForm1::GasChosen(int address, const std::optional<TGasBLimitRange>& range)
{
    // Each write of the range runs the gas B limit handler and a preview.
    if (range) SetGasBLimitRange(*range);
    if (validatingRemembered_ && address == 2) {
        const std::optional<double> limit = validatingRemembered_->GasBLimit;
        validatingRemembered_.reset();
        if (limit && *limit >= RtNumericUpDn1->MinValue() && *limit <= RtNumericUpDn1->MaxValue())
            RtNumericUpDn1->SetValue(*limit);
    }
    if (!BothPortsFake()) {
        // The previews run by the new range saw the controller of before: show
        // the plan for the one just read.
        Calculate();
    }
    CheckContinue();
    RememberSetup();
}

void TForm1::SetGasBLimitRange(const TGasBLimitRange& range)
{
    RtNumericUpDn1->SetMaxValue(range.Maximum);
    RtNumericUpDn1->SetMinValue(range.Minimum);
    RtNumericUpDn1->SetValue(range.Value);
    RtNumericUpDn1->SetIncrement(range.Increment);
}

void TForm1::ListBoxSetupGas1KeyUp() { CheckContinue(); }

void TForm1::CheckContinue()
{
    CheckBoxGasesSelected->setChecked(CheckBoxSolenoidOK->isChecked() && CheckBoxMFCOK->isChecked() &&
                                      ListBoxSetupGas1->ItemIndex() >= 0 && ListBoxSetupGas2->ItemIndex() >= 0);
}

void TForm1::PageControl1Changing(bool& AllowChange)
{
    AllowChange =
        CheckBoxSolenoidOK->isChecked() && CheckBoxMFCOK->isChecked() && CheckBoxGasesSelected->isChecked();
    if (!AllowChange) {
        services_.dialogs.Information("Must validate equipment and select gas types before proceeding to operation");
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
        Post([](TMixer& mixer) { mixer.ForgetGases(); });
        services_.dialogs.Information("Gas selections removed");
    }
    if (page == TabSheet1) RtIntegerEditH2OTempValueChanged();
}

}  // namespace gasmixer
