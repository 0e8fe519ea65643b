#pragma once

#include "app/ErrorReporter.h"
#include "app/FormServices.h"
#include "app/OperatorDialogs.h"
#include "app/RememberedSetup.h"
#include "app/Schematic.h"
#include "common/DateTime.h"
#include "mixer/Mixer.h"
#include "mixer/MixerView.h"
#include "records/ColumnInfo.h"
#include "records/RecordGrid.h"
#include "records/RecordRow.h"
#include "runreport/AdoptedPlan.h"
#include "runreport/RunLog.h"
#include "uncertainty/AccuracySettings.h"

#include <QMainWindow>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace gasmixer {

class MixerThread;
class TAccuracyGroup;
class TListBox;
class TMixturePlot;
class TPageControl;
class TPlanUncertaintyBar;
class TProgramPage;
class TRecordGridModel;
class TRtDoubleEdit;
class TRtIntegerEdit;
class TRtNumericUpDn;
class TSideSplitter;
struct TGasBLimitRange;

// The feedback memos keep only their most recent lines: some minutes of the
// pulse methods' trace, which fill the memo within a run's first quarter
// hour, so that a day-long run holds its memory flat after that.
inline constexpr int FeedbackMemoLineLimit = 5000;

// The one window: every control and the operator's event handlers. It shows
// the mixer, which runs on a thread of its own, and forwards the operator's
// actions to it as commands. Everything here runs on the window thread.
class TForm1 final : public QMainWindow, public MixerView {
    Q_OBJECT
public:
    explicit TForm1(FormServices services, QWidget* parent = nullptr);
    // Ends the mixer's thread after its shut-down.
    ~TForm1() override;

    // An error that ended a window event or a mixer command or tick.
    void ReportError(const std::string& message);

    // ---- Event handlers
    void FormCreate();
    void FormResize();
    void FormClose();

    void ButtonSetupFindPortsClick();
    void ListBoxPortSolenoidClick();
    void ListBoxPortMFCClick();
    void ButtonSetupValidateClick();
    void ButtonSetupRememberedClick();
    void ListBoxSetupGas1Click();
    void ListBoxSetupGas2Click();
    void ListBoxSetupGas1KeyUp();
    void CheckContinue();
    void PageControl1Changing(bool& AllowChange);
    void PageControl1Change();

    void RtIntegerEditGasAPPMValueChanged(QObject* Sender);
    void RtIntegerEditH2OTempValueChanged();
    void Button2Click();
    void RtNumericUpDn1ValueChanged(QObject* Sender);
    void RtNumericUpDn1Click(QObject* Sender);
    // The plan preview of the fields; "Apply Mixture" has the mixer adopt it.
    void Calculate();
    void ButtonDilutionClick();
    void ButtonStopClick();
    void ButtonFlushClick();
    void ButtonBypassClick();
    void ButtonAddToCounterClick();

    void SetValveGraphics(int ID, bool Open);
    // Saves the table; the outcome is a line in the Debug tab.
    void Save(const std::string& Path);
    void StringGrid1MouseDown(Qt::MouseButton Button);
    void UpdateTGMix();
    // "Save run report...": asks where, then writes the PDF.
    void ButtonRunReportClick();
    // The run report as a PDF; false after telling the operator why not.
    bool SaveRunReport(const std::string& path);

    // ---- The mixer
    // A command for the mixer's thread, run between its ticks.
    void Post(TMixer::Command command);
    // The mixer itself. Only where it runs on the window thread (tests that
    // step its ticks by hand) may it be touched from here.
    TMixer& Mixer() { return *mixer_; }
    // The mixer as last told.
    const MixerSnapshot& Snapshot() const { return snapshot_; }

    // ---- What the mixer tells
    void StateChanged(const MixerSnapshot& snapshot) override;
    void Ticked() override;
    void Error(const std::string& message) override;
    void StatusText(const std::string& text) override;
    void WorkerStopWaiting(const std::string& caption) override;
    void WorkerStopDone() override;
    void ValvesDrawn(const std::array<bool, 6>& open) override;
    void DevFeedback(const std::string& line) override;
    void SetupFeedback(const std::string& line) override;
    void RelayBoardChecked(bool ok) override;
    void MfcChecked(bool ok) override;
    void GasChosen(int address, const std::optional<TGasBLimitRange>& range) override;
    void WaterTemperatureRead(double pH2O, const std::string& label, bool forEdit) override;
    void PlanAdopted(const std::vector<std::string>& report, int gasAPpm, int h2oPpm, bool defined) override;
    void MixtureWritten(int gasAPpm, int h2oPpm, std::optional<double> gasBLimit) override;
    void GridRowWritten(int row, const std::vector<std::string>& cells) override;
    void RowStored(int row, const RecordRow& record) override;
    void ResetMarked(TDateTime when) override;
    void AutosaveShown(const std::string& text) override;
    void UnsavedRunFound(const UnsavedRun& run) override;
    void DeliveryAlarmChanged(const DeliveryAlarm& alarm) override;
    void ProgramOperationPressed(int step, ProgramOperation operation) override;
    void ProgramStatusChanged(const ProgramRunStatus& status) override;
    void ProgramRefused(const std::vector<StepProblem>& problems) override;

    // ---- Controls (owned by the window)
    TPageControl* PageControl1 = nullptr;
    QWidget* Setup = nullptr;
    QWidget* TabSheet1 = nullptr;  // "Operation"
    QWidget* TabSheet2 = nullptr;  // "Made mixture"
    QWidget* TabSheet4 = nullptr;  // "Mixture in TG"
    QWidget* TabSheet3 = nullptr;  // "Debug"
    TProgramPage* TabSheetProgram = nullptr;  // "Program"

    // Setup
    QGroupBox* GroupBox1 = nullptr;
    QPushButton* ButtonSetupFindPorts = nullptr;
    QPushButton* ButtonSetupRemembered = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QLabel* Label1 = nullptr;
    TListBox* ListBoxPortSolenoid = nullptr;
    QLabel* Label2 = nullptr;
    TListBox* ListBoxPortMFC = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QPushButton* ButtonSetupValidate = nullptr;
    QLabel* Label3 = nullptr;
    QPlainTextEdit* MemoSetupFeedback = nullptr;
    QGroupBox* GroupBox4 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label5 = nullptr;
    TListBox* ListBoxSetupGas1 = nullptr;
    QLabel* Label6 = nullptr;
    TListBox* ListBoxSetupGas2 = nullptr;
    QGroupBox* GroupBox5 = nullptr;
    QCheckBox* CheckBoxSolenoidOK = nullptr;
    QCheckBox* CheckBoxMFCOK = nullptr;
    QCheckBox* CheckBoxGasesSelected = nullptr;
    QLabel* Label4 = nullptr;
    TAccuracyGroup* GroupBoxAccuracy = nullptr;  // remembered between runs

    // Operation
    QLabel* Image1 = nullptr;  // shows Schematic
    TSideSplitter* Splitter1 = nullptr;
    QPlainTextEdit* Memo4 = nullptr;
    TPlanUncertaintyBar* PlanUncertaintyBar = nullptr;  // under Memo4
    QGroupBox* GroupBox8 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* LabelStatus = nullptr;
    QLabel* LabelDeliveryWarning = nullptr;  // hidden while every gas is delivered
    QPushButton* ButtonStop = nullptr;
    QPushButton* ButtonFlush = nullptr;
    QPushButton* ButtonBypass = nullptr;
    QPushButton* ButtonDilution = nullptr;
    QGroupBox* GroupBox7 = nullptr;
    QGroupBox* GroupBox9 = nullptr;
    QLabel* LabelGasAPPM = nullptr;
    TRtIntegerEdit* RtIntegerEditGasAPPM = nullptr;
    QLabel* LabelGasBPPM = nullptr;
    TRtIntegerEdit* RtIntegerEditGasBPPM = nullptr;
    QLabel* LabelH2Oppm = nullptr;
    TRtIntegerEdit* RtIntegerEditH2Oppm = nullptr;
    QPushButton* Button2 = nullptr;
    QLabel* Label8 = nullptr;
    TRtDoubleEdit* RtIntegerEditpH2O = nullptr;
    QLabel* Label14 = nullptr;
    QGroupBox* GroupBox6 = nullptr;
    QLabel* Label13 = nullptr;
    TRtNumericUpDn* RtNumericUpDn1 = nullptr;
    QGroupBox* GroupBox11 = nullptr;
    QLineEdit* EditAutosaveFilename = nullptr;
    QLabel* Label17 = nullptr;
    QGroupBox* GroupBox12 = nullptr;
    QPushButton* ButtonAddToCounter = nullptr;
    TRtDoubleEdit* RtDoubleEditCounter = nullptr;
    QGroupBox* GroupBox13 = nullptr;
    TRtIntegerEdit* RtIntegerEdit2 = nullptr;

    // Made mixture
    QTableView* StringGrid1 = nullptr;
    TMixturePlot* MixturePlot = nullptr;  // under the table, collapsible
    QPushButton* ButtonRunReport = nullptr;  // "Save run report..."

    // Mixture in TG
    QGroupBox* RadioGroup1 = nullptr;
    QPlainTextEdit* MemoTG = nullptr;
    QGroupBox* GroupBoxTGValues = nullptr;
    QGroupBox* GroupBoxTGFlows = nullptr;
    QLabel* LabelTGProtectiveGas = nullptr;
    TRtIntegerEdit* RtIntegerEdit3 = nullptr;
    QLabel* LabelTGMixture = nullptr;
    TRtIntegerEdit* RtIntegerEdit4 = nullptr;
    QGroupBox* GroupBoxTGGas = nullptr;
    QLabel* LabelTGAppm = nullptr;
    QLabel* LabelTGBppm = nullptr;
    QLabel* LabelTGH2Oppm = nullptr;
    QLabel* LabelTGAlog = nullptr;
    QLabel* LabelTGBlog = nullptr;
    QLabel* LabelTGH2Olog = nullptr;

    // Debug
    QPlainTextEdit* MemoDevFeedback = nullptr;

    // Non-visual
    SaveDialogSettings SaveDialog1;

    // The valve picture that Image1 shows.
    TValveSchematic Schematic;
    // The produced-mixture table as the mixer wrote it; StringGrid1 shows it.
    TRecordGrid RecordGrid{RecordColumnCount};
    TColumnInfo ColumnInfo{};
    // Told of each stored row and each tick, for views that follow the run.
    std::function<void(const RecordRow&)> RowStoredHook;
    std::function<void()> TickedHook;
    // Told of each operation the program runner presses.
    std::function<void(int step, ProgramOperation)> OperationPressedHook;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildSetupTab();
    void BuildOperationTab();
    void BuildMadeMixtureTab();
    void BuildTGTab();
    void BuildDebugTab();
    void BuildProgramTab();
    void WireEvents();
    void SendSettings();

    bool BothPortsFake() const;
    // What is opened for the port a list shows selected; empty without one.
    std::string SelectedPort(const TListBox* list) const;
    void SelectPort(TListBox* list, const std::string& device);
    // The set-up of the last run, offered again; what is chosen now, kept.
    void RestoreRememberedFields();
    void OfferRememberedPorts();
    void ChooseRememberedGases();
    void RememberSetup();
    // A command on the ports the lists show, as every exchange of the set-up uses them.
    void PostOnTheListedPorts(TMixer::Command command);
    void ChooseGas(int address, TListBox* list, const char* fakeGas, bool fake);
    void SetGasBLimitRange(const TGasBLimitRange& range);
    void BalanceAndPreview();
    // The accuracy the operator entered: remembered, and the plan's expected line again.
    void AccuracyChanged(const TAccuracySettings& accuracy);
    // The expected mixture of the plan on show; none without a plan.
    void ShowPlanUncertainty(const PlanInput& input, const PlanResult& plan);
    // The same for the plan the mixer adopted, and the requested bands on the plot.
    void ShowAdoptedUncertainty(const std::vector<std::string>& report, int gasAPpm, int h2oPpm, bool defined);
    // The requested lines of the adopted plan with their bands.
    void ShowRequestedBands();
    // The band of the produced trace at this row.
    void ShowProducedUncertainty(const RecordRow& record);
    // The mixture in the fields, as the mixer is asked for it.
    MixtureRequest FieldsRequest() const;
    // The operator's choice of a new file for the table; nothing when
    // cancelled or when the file exists.
    std::optional<std::string> ChooseNewTableFile(const std::string& proposedName);

    FormServices services_;
    ErrorReporter errors_;
    std::unique_ptr<MixerView> queuedView_;
    std::unique_ptr<TMixer> mixer_;
    std::unique_ptr<MixerThread> mixerThread_;
    MixerSnapshot snapshot_;
    TRecordGridModel* gridModel_ = nullptr;
    bool schematicShowPending_ = false;
    bool PpmEditBusy = false;
    bool fieldsFromMixer_ = false;  // the mixer writes the fields: no preview of its own
    bool readingWater_ = false;     // a ppm change waits for its water reading
    int askedH2OPpm_ = 0;           // the water the operator asked for, before the bubbler capped it
    bool busyCursor_ = false;       // a worker stop is awaited
    std::array<bool, 2> deliveryShort_{};  // gas A, gas B
    bool closed_ = false;
    std::vector<TPortChoice> listedPorts_;  // as the port lists show them, before the fake port
    std::optional<TRememberedSetup> remembered_;
    // What "Validate remembered set-up" validates, while it waits for the
    // answers; each gas chosen on the way is remembered anew.
    std::optional<TRememberedSetup> validatingRemembered_;
    TAccuracySettings accuracy_;
    // The plans behind the memo and behind the plot's requested lines, for a change of accuracy.
    std::optional<TAdoptedPlan> planShown_;
    std::optional<TAdoptedPlan> planAdopted_;
    TRunLog runLog_;  // what the run report tells
};

}  // namespace gasmixer
