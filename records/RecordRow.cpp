#include "records/RecordRow.h"

#include <cmath>

namespace gasmixer {

namespace {

std::optional<double> Finite(double value)
{
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

std::string MethodCell(const RecordInputs& in)
{
    if (in.ModeName == "Dilution") return in.MixingMethod;
    if (in.ModeName == "Bypass") return "Dry B";
    return {};
}

}  // namespace

RecordRow ComputeRecordRow(const RecordInputs& in)
{
    RecordRow row;
    auto& v = row.Values;
    const double P = 0.0;  // protective gas B is never metered here
    row.ProtectiveBGrams = P;
    row.MinutesSinceReset = in.MinutesSinceReset;

    v[FieldTime] = in.Now;
    row.Mode = in.ModeName;
    row.Method = MethodCell(in);

    const double mA = in.GasAGrams;
    const double mB = in.GasBGrams;
    v[FieldGasA] = Finite(mA);
    v[FieldGasB] = Finite(mB);

    const double wetB = in.WetTimeOccurred / 60.0 * in.RequiredFlowB;
    const double nBwet = in.InverseMolarMassGasBEntry * wetB;
    const double nWater = nBwet * in.PH2O;
    const double mW = in.H2OMolarMass * nWater;
    v[FieldH2O] = Finite(mW);

    const double M = mA + mB + mW + P;
    v[FieldTotalMass] = Finite(mA + mB + mW);
    if (M > 0) {
        v[FieldAMassFrac] = Finite(mA / M);
        v[FieldBMassFrac] = Finite((mB + P) / M);
        v[FieldH2OMassFrac] = Finite(mW / M);
    }

    const double nA = in.InverseMolarMassA * mA;
    const double nB = in.InverseMolarMassB * (mB + P);
    const double nW = in.InverseMolarMassH2O * mW;
    v[FieldMolesA] = Finite(nA);
    v[FieldMolesB] = Finite(nB);
    v[FieldMolesH2O] = Finite(nW);

    const double N = nA + nB + nW;
    v[FieldTotalMoles] = Finite(N);
    if (N > 0) {
        v[FieldAPpm] = Finite(nA / N * 1000000.0);
        v[FieldBPpm] = Finite(nB / N * 1000000.0);
        v[FieldH2OPpm] = Finite(nW / N * 1000000.0);
    }
    if (in.InverseMolarMassA * mA > 0) v[FieldLogPA] = Finite(std::log10(nA / N));
    if (in.InverseMolarMassB * mB > 0) v[FieldLogPB] = Finite(std::log10(nB / N));
    if (mW > 0) v[FieldLogPH2O] = Finite(std::log10(nW / N));
    return row;
}

}  // namespace gasmixer
