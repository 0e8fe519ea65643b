#pragma once

#include "common/DateTime.h"

#include <array>
#include <optional>
#include <string>

namespace gasmixer {

// Positions of the produced-mixture quantities, in the order of the column
// table; the window maps each position to its grid column.
enum RecordField : int {
    FieldTime,
    FieldMode,
    FieldMethod,
    FieldGasA,
    FieldGasB,
    FieldH2O,
    FieldTotalMass,
    FieldAMassFrac,
    FieldBMassFrac,
    FieldH2OMassFrac,
    FieldTotalMoles,
    FieldMolesA,
    FieldMolesB,
    FieldMolesH2O,
    FieldAPpm,
    FieldBPpm,
    FieldH2OPpm,
    FieldLogPA,
    FieldLogPB,
    FieldLogPH2O,
    RecordFieldCount
};

// Everything one store reads, taken at the moment of the store.
struct RecordInputs {
    TDateTime Now = 0.0;            // the wall clock, for the Time column
    double MinutesSinceReset = 0.0;  // of totalizer B, on the monotonic clock
    std::string ModeName;       // "Standby", "Dilution", ...
    std::string MixingMethod;   // the running plan's method
    double GasAGrams = 0.0;     // totalizer A
    double GasBGrams = 0.0;     // totalizer B
    double WetTimeOccurred = 0.0;  // s
    double RequiredFlowB = 0.0;    // g/min
    double PH2O = 0.0;             // atm
    double InverseMolarMassGasBEntry = 0.0;  // mol/g, the selected gas B list entry
    double InverseMolarMassA = 0.0;
    double InverseMolarMassB = 0.0;
    double InverseMolarMassH2O = 0.0;
    double H2OMolarMass = 0.0;  // g/mol
};

// One stored row. A number is absent where its condition skips it or where
// it is not finite (a failed totalizer read holds NaN): such cells stay empty.
struct RecordRow {
    std::array<std::optional<double>, RecordFieldCount> Values{};  // FieldTime holds the date-time
    std::string Mode;
    std::string Method;
    double MinutesSinceReset = 0.0;  // for the protective-gas trace line
    double ProtectiveBGrams = 0.0;

    TDateTime Time() const { return *Values[FieldTime]; }
    std::optional<double> APpm() const { return Values[FieldAPpm]; }
    std::optional<double> H2OPpm() const { return Values[FieldH2OPpm]; }
};

RecordRow ComputeRecordRow(const RecordInputs& in);

}  // namespace gasmixer
