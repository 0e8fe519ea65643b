#include "app/Form1.h"

#include "app/ListBox.h"
#include "controls/RtIntegerEdit.h"
#include "controls/RtNumericUpDn.h"
#include "common/ScopedFlag.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace gasmixer {

namespace {

void SelectText(TListBox* list, const std::string& text)
{
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->text().toStdString() == text) list->SetItemIndex(i);
    }
}

}  // namespace

// The fields only: nothing reaches the mixer or a device until asked.
void TForm1::RestoreRememberedFields()
{
    if (services_.settingsPath.empty()) return;
    remembered_ = ReadRememberedSetup(services_.settingsPath);
    if (!remembered_) return;
    MixtureWritten(remembered_->GasAPpm, remembered_->H2OPpm, std::nullopt);
    askedH2OPpm_ = remembered_->H2OPpm;
    const ScopedFlag quiet(fieldsFromMixer_);
    RtIntegerEdit2->SetValue(remembered_->StoreInterval);
    if (!remembered_->AutosaveName.empty())
        EditAutosaveFilename->setText(QString::fromStdString(remembered_->AutosaveName));
}

void TForm1::OfferRememberedPorts()
{
    const auto listed = [this](const std::string& device) {
        if (device == FakePortName) return true;
        for (const TPortChoice& port : listedPorts_) {
            if (port.Device == device) return true;
        }
        return false;
    };
    const bool offered = remembered_ && listed(remembered_->RelayPort) && listed(remembered_->MfcPort);
    ButtonSetupRemembered->setEnabled(offered);
    if (!offered) return;
    SelectPort(ListBoxPortSolenoid, remembered_->RelayPort);
    SelectPort(ListBoxPortMFC, remembered_->MfcPort);
}

// As the clicks would: both lines validated, then, once the controllers have
// answered, both gases chosen and the gas B limit of before set.
void TForm1::ButtonSetupRememberedClick()
{
    if (!remembered_) return;
    SelectPort(ListBoxPortSolenoid, remembered_->RelayPort);
    SelectPort(ListBoxPortMFC, remembered_->MfcPort);
    validatingRemembered_ = remembered_;
    ButtonSetupValidateClick();
}

void TForm1::ChooseRememberedGases()
{
    SelectText(ListBoxSetupGas1, validatingRemembered_->GasA);
    SelectText(ListBoxSetupGas2, validatingRemembered_->GasB);
    if (ListBoxSetupGas1->ItemIndex() < 0 || ListBoxSetupGas2->ItemIndex() < 0) {
        validatingRemembered_.reset();
        CheckContinue();
        return;
    }
    ListBoxSetupGas1Click();
    ListBoxSetupGas2Click();
}

// What is not chosen now stays as remembered, so that a start that validates
// nothing does not forget the set-up of before.
void TForm1::RememberSetup()
{
    if (services_.settingsPath.empty()) return;
    TRememberedSetup setup = remembered_.value_or(TRememberedSetup{});
    const auto keep = [](std::string& field, std::string now) {
        if (!now.empty()) field = std::move(now);
    };
    keep(setup.RelayPort, SelectedPort(ListBoxPortSolenoid));
    keep(setup.MfcPort, SelectedPort(ListBoxPortMFC));
    keep(setup.GasA, ListBoxSetupGas1->SelectedText());
    keep(setup.GasB, ListBoxSetupGas2->SelectedText());
    setup.GasAPpm = RtIntegerEditGasAPPM->Value();
    setup.H2OPpm = RtIntegerEditH2Oppm->Value();
    if (ListBoxSetupGas2->ItemIndex() >= 0) setup.GasBLimit = RtNumericUpDn1->Value();
    setup.StoreInterval = RtIntegerEdit2->Value();
    setup.AutosaveName = EditAutosaveFilename->text().toStdString();
    if (setup == remembered_) return;
    if (WriteRememberedSetup(services_.settingsPath, setup)) remembered_ = setup;
    else DevFeedback("Set-up not remembered: " + services_.settingsPath + " cannot be written");
}

}  // namespace gasmixer
