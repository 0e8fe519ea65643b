#include "app/Form1.h"

#include "app/ListBox.h"
#include "common/ScopedFlag.h"
#include "controls/RtFloatEdit.h"
#include "controls/RtIntegerEdit.h"
#include "controls/RtNumericUpDn.h"
#include "mixing/FractionBalance.h"
#include "mixing/MixturePlanner.h"
#include "plot/MixturePlot.h"

#include <QLabel>
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
    if (PpmEditBusy) return;
    RtIntegerEditH2OTempValueChanged();
    {
        // The value writes fire this handler again; it returns at once meanwhile.
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
    Calculate(false);
}

void TForm1::RtNumericUpDn1ValueChanged(QObject*)
{
    FlowInfoB.Max = static_cast<float>(RtNumericUpDn1->Value());
    Calculate(false);
}

void TForm1::RtNumericUpDn1Click(QObject* Sender) { RtNumericUpDn1ValueChanged(Sender); }

// "Apply Mixture": the plan on show becomes the running plan, whatever
// method it is, and the totalizers start counting it.
void TForm1::ButtonDilutionClick()
{
    StopThread();
    Calculate(true);
    LabelStatus->setText(QStringLiteral("Dilution"));
    Mode = TMixerState::Dilution;
    SetpointBSent = false;
    MethodStarted = false;
    StopDeadline = services_.clock.Now() + RtDoubleEditCounter->Value() / 24;
    ResetRetrieveTotalizers();
    WetTimeOccurred = 0;
    unknownMethodReported_ = false;
}

void TForm1::MarkGridReset()
{
    if (!RecordGrid.Cell(0, 1).empty()) RecordGrid.AddRow();
    RecordGrid.SetCell(ColumnIdOf(ColumnInfo, "Mode"), RecordGrid.RowCount() - 1, "Reset");
    MixturePlot->AddReset(services_.clock.Now());
}

void TForm1::Calculate(bool Apply)
{
    FlowInfoB.Max = static_cast<float>(RtNumericUpDn1->Value());
    if (Apply) {
        Memo4->clear();
        PulseCount = 0;
        PulseExtraA = 1.0;
        PulseExtraB = 1.0;
        SetpointASent = false;
        SetpointBSent = false;
    }
    MarkGridReset();
    if (ListBoxSetupGas1->ItemIndex() < 0 || ListBoxSetupGas2->ItemIndex() < 0) return;

    PlanInput input;
    input.GasAPpm = RtIntegerEditGasAPPM->Value();
    input.GasBPpm = RtIntegerEditGasBPPM->Value();
    input.H2OPpm = RtIntegerEditH2Oppm->Value();
    input.PH2O = RtIntegerEditpH2O->Value();
    input.GasBLimit = RtNumericUpDn1->Value();
    input.CompoundA = FindCompound(ListBoxSetupGas1->SelectedText());
    input.CompoundB = FindCompound(ListBoxSetupGas2->SelectedText());
    input.FlowInfoA = FlowInfoA;
    input.FlowInfoB = FlowInfoB;
    input.PreviousWettingFraction = WettingFraction;
    const PlanResult plan = PlanMixture(input);

    Memo4->setPlainText(JoinLines(plan.Report));
    // A preview only shows the plan; the running one stays in force.
    if (Apply && plan.Defined) {
        MixingMethod = plan.MixingMethod();
        RequiredFlowA = plan.RequiredFlowA;
        RequiredFlowB = plan.RequiredFlowB;
        WettingFraction = plan.WettingFraction;
        MixturePlot->SetRequested(input.GasAPpm, input.H2OPpm);
    }
}

}  // namespace gasmixer
