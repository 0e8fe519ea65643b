#include "controls/RtFloatEdit.h"

#include "common/TextFormat.h"
#include "controls/Beep.h"
#include "controls/DateTimeText.h"
#include "controls/KeyFilter.h"
#include "controls/Limits.h"
#include "controls/NumberText.h"
#include "controls/TimeSpanText.h"

#include <QLocale>

#include <algorithm>
#include <exception>

namespace gasmixer {
namespace {

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

// Fitting starts from this many significant digits.
constexpr int MaxFitDigits = 18;
constexpr int MinFitDigits = 2;

}  // namespace

TRtCustomDoubleEdit::TRtCustomDoubleEdit(QWidget* parent) : TRtNumericEdit(parent)
{
    const QString text = ValueText(FValue);
    WriteOwnText(text);
    SetLastValid(text);
}

double TRtCustomDoubleEdit::ClampValue(double v) const
{
    const double limited = ClampToLimits(v, FMinValue, FMaxValue);
    return FAsDateTime ? std::clamp(limited, MinFieldDateTime, MaxFieldDateTime) : limited;
}

QString TRtCustomDoubleEdit::ValueText(double v) const
{
    const FormatSettings& settings = CurrentFormatSettings();
    if (FAsDateTime) return FromStd(DateTimeText(v, settings));
    if (FAsTimeSpan) return FromStd(TimeSpanText(v, settings));
    if (!FFormat.isEmpty()) return FromStd(FormatFloat(FFormat.toStdString(), v, settings));
    if (FDigits < 0) return FromStd(FormatGeneral(v, 15, 0, settings));
    return FromStd(FixedText(v, FDigits, settings));
}

std::optional<double> TRtCustomDoubleEdit::ParseText(const QString& text) const
{
    const std::string typed = text.toStdString();
    const FormatSettings& settings = CurrentFormatSettings();
    if (FAsDateTime) return ParseDateTime(typed, settings);
    if (FAsTimeSpan) return ParseTimeSpan(typed, settings);
    return ParseReal(typed, settings.decimalSeparator);
}

void TRtCustomDoubleEdit::SetValue(double v)
{
    FValue = ClampValue(v);
    try {
        const QString text = ValueText(FValue);
        WriteOwnText(text);
        SetLastValid(text);
        if (!HasEditFocus()) {
            RefreshDisplay();
            RequestSelectAll();
        }
        AnnounceValueChange();
    } catch (...) {
        WriteOwnText(QStringLiteral("Error"));
    }
}

void TRtCustomDoubleEdit::SetMinValue(double v)
{
    if (v == FMinValue) return;
    FMinValue = v;
    if (FAsDateTime) BringLimitsIntoDateRange();
    SetValue(FValue);
}

void TRtCustomDoubleEdit::SetMaxValue(double v)
{
    if (v == FMaxValue) return;
    FMaxValue = v;
    if (FAsDateTime) BringLimitsIntoDateRange();
    SetValue(FValue);
}

void TRtCustomDoubleEdit::BringLimitsIntoDateRange()
{
    FMinValue = std::clamp(FMinValue, MinFieldDateTime, MaxFieldDateTime);
    FMaxValue = std::clamp(FMaxValue, MinFieldDateTime, MaxFieldDateTime);
}

void TRtCustomDoubleEdit::SetFormat(const QString& f)
{
    if (f == FFormat) return;
    FFormat = f;
    if (!HasEditFocus()) RefreshDisplay();
}

void TRtCustomDoubleEdit::SetDoHashes(bool on)
{
    if (on == FDoHashes) return;
    FDoHashes = on;
    if (!HasEditFocus()) RefreshDisplay();
}

void TRtCustomDoubleEdit::SetAsDateTime(bool on)
{
    if (on == FAsDateTime) return;
    FAsDateTime = on;
    if (on) {
        FAsTimeSpan = false;
        BringLimitsIntoDateRange();
    }
    SetValue(FValue);
}

void TRtCustomDoubleEdit::SetAsTimeSpan(bool on)
{
    if (on == FAsTimeSpan) return;
    FAsTimeSpan = on;
    if (on) FAsDateTime = false;
    SetValue(FValue);
}

void TRtCustomDoubleEdit::SetDigits(int d)
{
    if (d == FDigits) return;
    FDigits = d;
    if (!HasEditFocus()) RefreshDisplay();
}

// The slack comes out of the visible text area, so fitted text is never
// clipped.
int TRtCustomDoubleEdit::TextRoom() const { return ClientWidth() - FitSlack; }

void TRtCustomDoubleEdit::ProcessEdit(const QString& text)
{
    if (text.isEmpty()) return;
    const std::optional<double> v = ParseText(text);
    if (!v || ClampValue(*v) != *v) return;
    SetLastValid(text);
    FValue = *v;
    AnnounceValueChangeQuietly();
}

void TRtCustomDoubleEdit::ValidateText()
{
    const std::optional<double> parsed = ParseText(text());
    if (!parsed) return;
    const double v = ClampValue(*parsed);
    if (v == FValue) return;
    try {
        const QString text = ValueText(v);
        WriteOwnText(text);
        SetLastValid(text);
        FValue = v;
        Beep();
        AnnounceValueChange();
    } catch (...) {
        // Leaving the field never fails.
    }
}

QString TRtCustomDoubleEdit::DisplayText() const
{
    QString text = ValueText(FValue);
    if (FAsDateTime || FAsTimeSpan)
        return FDoHashes && TextWidth(text) > TextRoom() ? Hashes() : text;

    const int room = TextRoom() + FitSlack;
    for (int digits = MaxFitDigits; digits >= MinFitDigits && TextWidth(text) > room; --digits)
        text = FromStd(FitText(digits, FValue));
    return FDoHashes && TextWidth(text) > room ? Hashes() : text;
}

void TRtCustomDoubleEdit::RefreshDisplay()
{
    QString text;
    try {
        text = DisplayText();
    } catch (const std::exception&) {
        text = QStringLiteral("Error");
    }
    WriteOwnText(text);
}

bool TRtCustomDoubleEdit::AcceptsChar(char32_t c) const
{
    const bool dateOrTime = FAsDateTime || FAsTimeSpan;
    std::u32string designators;
    if (dateOrTime) {
        const QLocale locale;
        for (const uint ch : (locale.amText() + locale.pmText()).toUcs4())
            designators += static_cast<char32_t>(ch);
    }
    return IsRealEditChar(c, CurrentFormatSettings(), dateOrTime, designators);
}

void TRtCustomDoubleEdit::RefreshAfterResize()
{
    if (!HasEditFocus()) RefreshDisplay();
}

}  // namespace gasmixer
