#pragma once

#include "common/DateTime.h"
#include "common/MonotonicClock.h"
#include "common/Pause.h"
#include "common/WorkerTiming.h"
#include "gasdata/FlowInfo.h"
#include "gasdata/MolarMasses.h"
#include "mixer/GasBLimit.h"
#include "mixer/MixerState.h"
#include "mixer/MixerView.h"
#include "mixer/RelayLine.h"
#include "mixer/ThreadWetting.h"
#include "mixer/Totalizer.h"
#include "mixing/MixturePlanner.h"
#include "records/AtomicFileWriter.h"
#include "records/BackgroundWriter.h"
#include "records/ColumnInfo.h"
#include "records/RecordGrid.h"
#include "records/RecordJournal.h"
#include "regulation/DeliveryWatch.h"
#include "regulation/MethodActions.h"
#include "regulation/WettingDrawing.h"

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace gasmixer {

class TVogtlinPort;
class ProgramRunner;

// The entry of both port lists that runs an imaginary mixer.
inline constexpr const char* FakePortName = "Fake port for testing";

// What the mixer takes from outside, so that tests can stand in for the
// clocks, the long waits, the schematic's draw and the worker's time.
struct MixerServices {
    // The time of day, for what a person reads: the Time column, file names,
    // the automatic stop's deadline.
    const Clock& clock;
    // Every duration and elapsed time.
    const MonotonicClock& monotonic = SystemMonotonicClock::Instance();
    // The long waits of the tick: the flush steps and the pulse lengths.
    std::function<void(std::uint32_t ms)> sleep = Pause;
    // The short pauses between the tick's exchanges, which give the
    // controllers time to take a write; tests that step time leave them out.
    std::function<void(std::uint32_t ms)> linePause = Pause;
    // A uniform integer from 1 to 99: the schematic's wet/dry drawing.
    std::function<int()> drawPercent = UniformPercentDraw{};
    WorkerTiming& wettingTiming = SystemWorkerTiming::Instance();
    // Where saves write their file; tests put failing file systems here.
    FileWriter writeFile = WriteFileAtomically;
    // The folder of the record journal; empty keeps no journal.
    std::string journalFolder = DefaultJournalFolder();
};

// A mixture as the operator asks for it: gas A and water in ppm, and the gas
// B limit when it changes with the mixture.
struct MixtureRequest {
    int GasAPpm = 0;
    int H2OPpm = 0;
    std::optional<double> GasBLimit;
};

// The mixer: the run's state, the operator's operations, the control tick,
// the wetting worker and the set-up's exchanges. Everything here but Post
// runs on one thread, the mixer's, which owns the MFC line and sends the
// relay board's commands through the one RelayLine the worker shares.
class TMixer {
public:
    TMixer(MixerServices services, MixerView& view);
    // Stops a running worker; the shut-down of the valves is Close's.
    ~TMixer();
    TMixer(const TMixer&) = delete;
    TMixer& operator=(const TMixer&) = delete;

    // ---- Commands from other threads
    using Command = std::function<void(TMixer&)>;
    // Any thread: queued, and run between ticks or at the flush's pauses.
    void Post(Command command);
    // Called with every post, from the posting thread: the host wakes the
    // mixer's thread.
    void SetWake(std::function<void()> wake);
    // Runs the queued commands; on the mixer's thread, outside a tick.
    void RunPending();
    bool Ticking() const { return ticking_; }

    // ---- The operator's operations
    void ButtonStopClick();
    void ButtonFlushClick();
    void ButtonBypassClick();
    void ButtonDilutionClick(const MixtureRequest& request);
    void ButtonAddToCounterClick();
    // The shut-down: the worker stopped, valves closed and setpoints 0 as far
    // as the equipment was validated; no tick runs after it.
    void Close();

    // ---- What the window's fields set
    void SetStoreInterval(int minutes) { StoreIntervalMinutes = minutes; }
    void SetCounterHours(double hours) { CounterHours = hours; }
    void SetAutosavePrefix(std::string prefix) { AutosavePrefix = std::move(prefix); }
    void SetGasBLimit(double value, double minimum, double maximum);
    // A preview was shown: the table marks it, and saves carry its text.
    void PreviewShown(std::string planText);

    // ---- Set-up
    void ChoosePorts(std::string relayPort, std::string mfcPort);
    // The relay board's link test and the controllers' identification, on
    // the chosen ports; on the fake ports, the imaginary mixer.
    void Validate();
    // Switches controller `address` to the gas's table and reads its range.
    void ChooseGas(int address, const std::string& gas);
    void ForgetGases();
    // The bubbler's water; the last reading stands when the board is silent.
    // forEdit: asked for by a change of the ppm fields.
    void ReadWaterTemperature(bool forEdit = false);

    // ---- The control tick, every 250 ms
    void Timer1Timer();

    // ---- Saving: the table is written by a worker from a snapshot, and its
    // end told at a later tick.
    void Save(const std::string& Path);
    void Autosave();
    // Waits for the saves asked so far and tells their end.
    void FinishSaves();

    // ---- Journals of earlier runs
    // Removes those the retention lets go, then tells the view of each run
    // that ended without its table saved.
    void LookAfterJournals();
    // Saves the table a run's journal holds, as that run would have saved it.
    void RecoverRun(const std::string& journalPath, const std::string& savePath);
    // The operator does not want it: not offered again.
    void DeclineRun(const std::string& journalPath);

    // ---- Devices, as the tick and the operations use them
    void SetValvePositions(int iV1O, int iV2O, int iV3O, int iV4O, int iV5O, int iV6O);
    void SetMFCFlow(std::uint32_t Address, double Flow);
    void ResetRetrieveTotalizers();
    void ReadTotalizers();
    void ConstantFlowA();
    void ConstantFlowB();
    void AinBPulse();
    void BinAPulse();
    void StartWettingThread();
    void StopThread();
    // The worker's wet time and trace lines so far; each tick begins with it.
    void TakeWorkerResults();
    void StoreData();

    // The mixture program on this mixer.
    ProgramRunner& Runner() { return *runner_; }

    MixerSnapshot Snapshot() const;
    // Tells the view the state as it is now.
    void TellState();
    MixerView& View() { return view_; }
    const Clock& WallClock() const { return services_.clock; }
    const MonotonicClock& Monotonic() const { return services_.monotonic; }
    bool BothPortsFake() const;
    // The planner's input for a request, with this mixer's gases, controllers and water.
    PlanInput PlanInputFor(const MixtureRequest& request) const;

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
    std::string GasA;  // the chosen list entries
    std::string GasB;
    std::string MixingMethod;
    double RequiredFlowA = 0.0;
    double RequiredFlowB = 0.0;
    double WettingFraction = 0.0;
    std::int32_t PulseCount = 0;
    bool SetpointASent = false;
    bool SetpointBSent = false;
    double PulseExtraA = 1.0;
    double PulseExtraB = 1.0;
    TTotalizer TotalizerA;
    TTotalizer TotalizerB;
    std::unique_ptr<TThreadWetting> WettingThread;
    double WetTimeOccurred = 0.0;  // s
    double PH2O = 0.0;             // atm
    TColumnInfo ColumnInfo{};
    TRecordGrid RecordGrid{RecordColumnCount};
    // Monotonic days; none before the first, so the first is due at once.
    std::optional<double> LastStoreTime;
    std::optional<double> LastAutosaveTime;
    std::unique_ptr<TRecordJournal> Journal;
    TDeliveryWatch DeliveryWatchA{'A'};
    TDeliveryWatch DeliveryWatchB{'B'};

    // What the window's fields hold.
    int StoreIntervalMinutes = 1;
    double CounterHours = 24.0;
    std::string AutosavePrefix = "Filename";
    double GasBLimit = 0.4;
    double GasBLimitMin = 0.0;
    double GasBLimitMax = 2.0;
    std::string PlanText;

    // Validated equipment: the shut-down reaches only what answered.
    bool RelayBoardOK = false;
    bool MFCOK = false;
    std::string MfcPort;
    RelayLine RelayBoard;

private:
    void EnterMode(TMixerState mode, const char* status);
    void Calculate(const MixtureRequest& request);
    void MarkGridReset();
    void FlushSequence();
    void DilutionStep();
    // Each gas's delivery over the last minute against the running method's.
    void WatchDelivery(const TMethodActions& method);
    void WatchGas(TDeliveryWatch& watch, const TTotalizer& totalizer, double flow, bool pulsed, float pulseSetpoint);
    // No mixture runs: the alarms end.
    void EndDeliveryWatch();
    void PulseStep(char gas, std::uint32_t address, TTotalizer& totalizer, double requiredFlow, double& extra,
                   float pulseSetpoint);
    void CloseValvesAndSetpoints();
    bool MayOpen(const std::string& port);
    void TestRelayBoard();
    void ValidateMFC();
    TFlowInfo MinMaxFlow(std::uint32_t Address, int table, std::optional<TGasBLimitRange>& range);
    void ApplyGasBLimitRange(const TGasBLimitRange& range);
    TVogtlinPort MfcLink() const;
    std::string GridLineOfRow(int row) const;
    void WriteGridRow(int row, const std::vector<std::string>& cells);
    void OpenJournal();
    // The plan text saves carry from now on, told to the journal.
    void AdoptPlanText(std::string planText);
    void SaveTable(const std::string& path, TBackgroundWriter::Done done);
    void TellSaved(const std::string& path, bool ok);
    // A flush pause: commands that came meanwhile run here; false once closed.
    bool FlushCheckpoint();

    // The gases a row is computed with: those of the running plan, which a
    // change or a clear of the selection does not touch; before the first
    // plan, the chosen ones.
    struct RecordGases {
        std::string GasBEntry;  // the gas B list entry
        std::string CompoundA;
        std::string CompoundB;
    };
    RecordGases GasesOfRows() const;

    MixerServices services_;
    MixerView& view_;
    std::optional<RecordGases> planGases_;
    std::unique_ptr<ProgramRunner> runner_;
    TBackgroundWriter saver_{services_.writeFile};
    std::mutex commandsMutex_;
    std::deque<Command> commands_;
    std::function<void()> wake_;
    bool ticking_ = false;
    bool runningCommands_ = false;
    bool unknownMethodReported_ = false;  // since the last "Apply Mixture"
    bool closed_ = false;
    bool waterReadOnce_ = false;  // the board has answered a water reading
};

}  // namespace gasmixer
