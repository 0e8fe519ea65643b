#include "app/Form1.h"

#include "app/ListBox.h"
#include "common/ScopedFlag.h"
#include "controls/RtFloatEdit.h"
#include "controls/RtIntegerEdit.h"
#include "controls/RtNumericUpDn.h"
#include "mixing/FractionBalance.h"
#include "mixing/MixturePlanner.h"
#include "plot/MixturePlot.h"

#include <QPlainTextEdit>

namespace gasmixer {

namespace {

QString JoinLines(const std::vector<std::string>& lines)
{
    QString text;
    for (const std::string& line : lines) text += QString::fromStdString(line) + QLatin1Char('\n');
    return text;
}

}  // namespace

void TForm1::RtIntegerEditGasAPPMValueChanged(QObject*)
{
    if (PpmEditBusy || fieldsFromMixer_) return;
    askedH2OPpm_ = RtIntegerEditH2Oppm->Value();
    {
        // A reading that comes back later balances the fields again.
        const ScopedFlag reading(readingWater_);
        RtIntegerEditH2OTempValueChanged();
    }
    BalanceAndPreview();
}

void TForm1::BalanceAndPreview()
{
    {
        // The value writes fire the ppm handler again; it returns at once meanwhile.
        const ScopedFlag busy(PpmEditBusy);
        const int a = RtIntegerEditGasAPPM->Value();
        const int w = RtIntegerEditH2Oppm->Value();
        const bool fakeMode = ListBoxPortSolenoid->SelectedText() == FakePortName;
        TFractions f = BalanceFractions(a, w, RtIntegerEditpH2O->Value(), fakeMode);
        if (f.GasBPpm < 0) {
            // Gas A and water beyond the whole mixture: water takes what is left.
            f.H2OPpm = WholeMixturePpm - a;
            f.GasBPpm = 0;
        }
        if (f.H2OPpm != w) RtIntegerEditH2Oppm->SetValue(f.H2OPpm);
        RtIntegerEditGasBPPM->SetValue(f.GasBPpm);
    }
    Calculate();
}

void TForm1::RtNumericUpDn1ValueChanged(QObject*)
{
    if (fieldsFromMixer_) return;
    const double value = RtNumericUpDn1->Value();
    const double minimum = RtNumericUpDn1->MinValue();
    const double maximum = RtNumericUpDn1->MaxValue();
    Post([value, minimum, maximum](TMixer& mixer) { mixer.SetGasBLimit(value, minimum, maximum); });
    Calculate();
}

void TForm1::RtNumericUpDn1Click(QObject* Sender) { RtNumericUpDn1ValueChanged(Sender); }

MixtureRequest TForm1::FieldsRequest() const
{
    return {RtIntegerEditGasAPPM->Value(), RtIntegerEditH2Oppm->Value(), RtNumericUpDn1->Value()};
}

// The preview: the plan of the fields on show, with the gases and
// controllers the mixer was last seen with. The running plan stays.
void TForm1::Calculate()
{
    std::string planText;
    if (ListBoxSetupGas1->ItemIndex() >= 0 && ListBoxSetupGas2->ItemIndex() >= 0) {
        PlanInput input;
        input.GasAPpm = RtIntegerEditGasAPPM->Value();
        input.GasBPpm = RtIntegerEditGasBPPM->Value();
        input.H2OPpm = RtIntegerEditH2Oppm->Value();
        input.PH2O = RtIntegerEditpH2O->Value();
        input.GasBLimit = RtNumericUpDn1->Value();
        input.CompoundA = FindCompound(ListBoxSetupGas1->SelectedText());
        input.CompoundB = FindCompound(ListBoxSetupGas2->SelectedText());
        input.FlowInfoA = snapshot_.FlowInfoA;
        input.FlowInfoB = snapshot_.FlowInfoB;
        input.FlowInfoB.Max = static_cast<float>(input.GasBLimit);
        input.PreviousWettingFraction = snapshot_.WettingFraction;
        Memo4->setPlainText(JoinLines(PlanMixture(input).Report));
        planText = Memo4->toPlainText().toStdString();
    } else {
        planText = Memo4->toPlainText().toStdString();
    }
    // The table marks every plan shown; saves carry the text on show.
    Post([planText = std::move(planText)](TMixer& mixer) { mixer.PreviewShown(planText); });
}

void TForm1::PlanAdopted(const std::vector<std::string>& report, int gasAPpm, int h2oPpm, bool defined)
{
    Memo4->clear();
    if (!report.empty()) Memo4->setPlainText(JoinLines(report));
    if (defined) MixturePlot->SetRequested(gasAPpm, h2oPpm);
}

// A program's mixture: the fields show it, without a preview of their own.
void TForm1::MixtureWritten(int gasAPpm, int h2oPpm, std::optional<double> gasBLimit)
{
    const ScopedFlag quiet(fieldsFromMixer_);
    RtIntegerEditGasAPPM->SetValue(gasAPpm);
    RtIntegerEditH2Oppm->SetValue(h2oPpm);
    RtIntegerEditGasBPPM->SetValue(WholeMixturePpm - gasAPpm - h2oPpm);
    if (gasBLimit) RtNumericUpDn1->SetValue(*gasBLimit);
}

}  // namespace gasmixer
