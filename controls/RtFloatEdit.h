#pragma once

#include "controls/RtNumericEdit.h"

#include <optional>

namespace gasmixer {

// A field holding a double: a plain number, a date-time (day count) or a
// duration in days. Limits apply only when MaxValue > MinValue.
class TRtCustomDoubleEdit : public TRtNumericEdit {
    Q_OBJECT
public:
    explicit TRtCustomDoubleEdit(QWidget* parent = nullptr);

    double Value() const { return FValue; }
    void SetValue(double v);  // always fires OnValueChanged
    double MinValue() const { return FMinValue; }
    void SetMinValue(double v);
    double MaxValue() const { return FMaxValue; }
    void SetMaxValue(double v);

protected:
    // Number pattern such as "0.000 000"; empty: general or fixed format.
    QString Format() const { return FFormat; }
    void SetFormat(const QString& f);
    // Hashes when not even two significant digits fit.
    bool DoHashes() const { return FDoHashes; }
    void SetDoHashes(bool on);
    bool AsDateTime() const { return FAsDateTime; }
    void SetAsDateTime(bool on);
    bool AsTimeSpan() const { return FAsTimeSpan; }
    void SetAsTimeSpan(bool on);
    // −1: general format; 0..18: fixed with that many decimals.
    int Digits() const { return FDigits; }
    void SetDigits(int d);

    // Fitted text may be this much wider than TextRoom.
    static constexpr int FitSlack = 2;

    int TextRoom() const override;
    void ProcessEdit(const QString& text) override;
    void ValidateText() override;
    void RefreshDisplay() override;
    bool AcceptsChar(char32_t c) const override;
    void RefreshAfterResize() override;

private:
    double ClampValue(double v) const;
    QString ValueText(double v) const;  // throws for a negative duration
    std::optional<double> ParseText(const QString& text) const;
    QString DisplayText() const;
    void BringLimitsIntoDateRange();

    double FMinValue = 0;
    double FMaxValue = 0;
    double FValue = 0;
    int FDigits = -1;
    bool FAsDateTime = false;
    bool FAsTimeSpan = false;
    bool FDoHashes = true;
    QString FFormat;
};

class TRtDoubleEdit : public TRtCustomDoubleEdit {
    Q_OBJECT
public:
    using TRtCustomDoubleEdit::TRtCustomDoubleEdit;
    using TRtCustomDoubleEdit::Format;
    using TRtCustomDoubleEdit::SetFormat;
    using TRtCustomDoubleEdit::DoHashes;
    using TRtCustomDoubleEdit::SetDoHashes;
    using TRtCustomDoubleEdit::AsDateTime;
    using TRtCustomDoubleEdit::SetAsDateTime;
    using TRtCustomDoubleEdit::AsTimeSpan;
    using TRtCustomDoubleEdit::SetAsTimeSpan;
};

}  // namespace gasmixer
