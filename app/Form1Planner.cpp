#include "app/Form1.h"

#include "app/ListBox.h"
#include "common/ScopedFlag.h"
#include "controls/RtFloatEdit.h"
#include "controls/RtIntegerEdit.h"
#include "controls/RtNumericUpDn.h"
#include "mixer/MixturePlanInput.h"
#include "mixing/FractionBalance.h"
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
        const TFractions f = BalanceRequest(a, w, RtIntegerEditpH2O->Value(), fakeMode);
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

// The preview: the plan of the fields on show, with the gases the lists
// show and the controllers the mixer was last seen with. The running plan stays.
void TForm1::Calculate()
{
    if (ListBoxSetupGas1->ItemIndex() >= 0 && ListBoxSetupGas2->ItemIndex() >= 0) {
        MixerSnapshot shown = snapshot_;
        shown.GasA = ListBoxSetupGas1->SelectedText();
        shown.GasB = ListBoxSetupGas2->SelectedText();
        shown.PH2O = RtIntegerEditpH2O->Value();
        const TFractions fields{RtIntegerEditGasAPPM->Value(), RtIntegerEditGasBPPM->Value(),
                                RtIntegerEditH2Oppm->Value()};
        const PlanInput input = MixturePlanInput(shown, fields, RtNumericUpDn1->Value());
        const PlanResult plan = PlanMixture(input);
        Memo4->setPlainText(JoinLines(plan.Report));
        ShowPlanUncertainty(input, plan);
    }
    // The table marks every plan shown; saves carry the text on show.
    Post([planText = Memo4->toPlainText().toStdString()](TMixer& mixer) { mixer.PreviewShown(planText); });
}

void TForm1::PlanAdopted(const std::vector<std::string>& report, int gasAPpm, int h2oPpm, bool defined)
{
    Memo4->clear();
    if (!report.empty()) Memo4->setPlainText(JoinLines(report));
    ShowAdoptedUncertainty(report, gasAPpm, h2oPpm, defined);
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
