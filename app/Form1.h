#pragma once

#include "app/ColumnInfo.h"
#include "app/ErrorReporter.h"
#include "app/FormServices.h"
#include "app/MixerState.h"
#include "app/OperatorDialogs.h"
#include "app/RecordGrid.h"
#include "app/Schematic.h"
#include "app/ThreadWetting.h"
#include "app/Totalizer.h"
#include "common/DateTime.h"
#include "gasdata/FlowInfo.h"
#include "gasdata/MolarMasses.h"
#include "records/AtomicFileWriter.h"
#include "records/RecordJournal.h"
#include "records/RecordRow.h"

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
class QTimer;

namespace gasmixer {

class TListBox;
class TMixturePlot;
class TPageControl;
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

// The entry of both port lists that runs an imaginary mixer.
inline constexpr const char* FakePortName = "Fake port for testing";

// The one window: every control, the whole state of a run and all event
// handlers. Everything here runs on the window thread.
class TForm1 final : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(FormServices services, QWidget* parent = nullptr);
    ~TForm1() override;

    // An error that ended a window event or tick.
    void ReportError(const std::string& message);

    // ---- Event handlers and operations
    void FormCreate();
    void FormResize();
    void FormClose();
    void Timer1Timer();

    void ButtonSetupFindPortsClick();
    void ListBoxPortSolenoidClick();
    void ListBoxPortMFCClick();
    void ButtonSetupValidateClick();
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
    void Calculate(bool Apply);
    void ButtonDilutionClick();
    void ButtonStopClick();
    void ButtonFlushClick();
    void ButtonBypassClick();
    void ButtonAddToCounterClick();

    void ValidateMFC();
    TFlowInfo MinMaxFlow(const std::string& Port, std::uint32_t Address);
    void SetValvePositions(int iV1O, int iV2O, int iV3O, int iV4O, int iV5O, int iV6O);
    void SetValveGraphics(int ID, bool Open);
    void SetMFCFlow(std::uint32_t Address, double Flow);
    void ResetRetrieveTotalizers();
    void ReadTotalizers();
    void ConstantFlowA();
    void ConstantFlowB();
    void AinBPulse();
    void BinAPulse();

    // The wetting worker: the creation protocol the tick follows, and its stop.
    void StartWettingThread();
    void StopThread();

    // Records, saving and the TG estimate.
    void StoreData();
    void Save(const std::string& Path);
    void Autosave();
    void StringGrid1MouseDown(Qt::MouseButton Button);
    void UpdateTGMix();

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

    // Operation
    QLabel* Image1 = nullptr;  // shows Schematic
    TSideSplitter* Splitter1 = nullptr;
    QPlainTextEdit* Memo4 = nullptr;
    QGroupBox* GroupBox8 = nullptr;
    QLabel* Label9 = nullptr;
    QLabel* LabelStatus = nullptr;
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
    QTimer* Timer1 = nullptr;
    SaveDialogSettings SaveDialog1;

    // ---- The state of a run
    TMixerState Mode = TMixerState::Unknown;
    TMixerState PreviousMode = TMixerState::Unknown;
    TDateTime StopDeadline = 0.0;
    bool MethodStarted = false;
    std::array<std::uint8_t, 6> ValveState{};  // V1..V6, 1 = open
    TFlowInfo FlowInfoA;
    TFlowInfo FlowInfoB;
    double MaxFlowB = 0.0;
    TCompound CompoundA;
    TCompound CompoundB;
    TCompound CompoundH2O;
    std::string MixingMethod;
    double RequiredFlowA = 0.0;
    double RequiredFlowB = 0.0;
    double WettingFraction = 0.0;
    std::int32_t PulseCount = 0;
    bool PpmEditBusy = false;
    bool SetpointASent = false;
    bool SetpointBSent = false;
    double PulseExtraA = 1.0;
    double PulseExtraB = 1.0;
    TTotalizer TotalizerA;
    TTotalizer TotalizerB;
    std::unique_ptr<TThreadWetting> WettingThread;
    bool WettingStopRequest = false;
    bool WettingStopped = false;
    double WetTimeOccurred = 0.0;  // s
    TColumnInfo ColumnInfo{};
    TDateTime LastStoreTime = 0.0;
    TDateTime LastAutosaveTime = 0.0;

    // The valve picture that Image1 shows.
    TValveSchematic Schematic;
    // The produced-mixture table that StringGrid1 shows.
    TRecordGrid RecordGrid{RecordColumnCount};
    // Where Save writes its file; tests put failing file systems here.
    std::function<WriteOutcome(const std::string&, const ContentProducer&)> WriteFile =
        WriteFileAtomically;
    // Told of each stored row, for views that follow the run.
    std::function<void(const RecordRow&)> RowStored;
    // The on-disk copy of the stored rows, opened with the first one.
    std::unique_ptr<TRecordJournal> Journal;

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

    bool BothPortsFake() const;
    void TestRelayBoard();
    void MarkGridReset();
    std::string GridLineOfRow(int row) const;
    void JournalRow(int row);
    void SetGasBLimitRange(const TGasBLimitRange& range);
    void AppendSetupFeedback(const std::string& line);
    void AppendDevFeedback(const std::string& line);

    // The mode actions of the tick that take more than one call.
    void FlushSequence();
    void DilutionStep();
    void PulseStep(char gas, std::uint32_t address, TTotalizer& totalizer, double requiredFlow,
                   double& extra, float pulseSetpoint);
    void KeepTickCadence();
    // The shut-down's valve and setpoint part, as far as the equipment was validated.
    void CloseValvesAndSetpoints();

    FormServices services_;
    ErrorReporter errors_;
    TRecordGridModel* gridModel_ = nullptr;
    bool schematicShowPending_ = false;
    bool tickRunning_ = false;
    bool unknownMethodReported_ = false;  // since the last "Apply Mixture"
    bool closeAfterStop_ = false;  // the window closed while a worker stop was awaited
    bool closed_ = false;  // the shut-down ran: nothing may reach the instruments after it
    bool waterReadOnce_ = false;  // the board has answered a water reading
};

}  // namespace gasmixer
