#include "controls/RtIntegerEdit.h"

#include "controls/Beep.h"
#include "controls/KeyFilter.h"
#include "controls/Limits.h"
#include "controls/NumberText.h"

namespace gasmixer {

TRtIntegerEdit::TRtIntegerEdit(QWidget* parent) : TRtNumericEdit(parent)
{
    const QString text = QString::number(FValue);
    WriteOwnText(text);
    SetLastValid(text);
}

int TRtIntegerEdit::ClampValue(int v) const { return ClampToLimits(v, FMinValue, FMaxValue); }

void TRtIntegerEdit::SetValue(int v)
{
    FValue = ClampValue(v);
    try {
        const QString text = QString::number(FValue);
        WriteOwnText(text);
        SetLastValid(text);
        RefreshDisplay();
        if (HasEditFocus()) RequestSelectAll();
        AnnounceValueChange();
    } catch (...) {
        WriteOwnText(QStringLiteral("Error"));
    }
}

void TRtIntegerEdit::SetMinValue(int v)
{
    if (v == FMinValue) return;
    FMinValue = v;
    SetValue(FValue);
}

void TRtIntegerEdit::SetMaxValue(int v)
{
    if (v == FMaxValue) return;
    FMaxValue = v;
    SetValue(FValue);
}

int TRtIntegerEdit::TextRoom() const { return ClientWidth(); }

void TRtIntegerEdit::ProcessEdit(const QString& text)
{
    const std::optional<int> v = ParseInteger(text.toStdString());
    if (!v || ClampValue(*v) != *v) return;
    SetLastValid(text);
    FValue = *v;
    AnnounceValueChangeQuietly();
}

void TRtIntegerEdit::ValidateText()
{
    const std::optional<int> parsed = ParseInteger(text().toStdString());
    if (!parsed) return;
    const int v = ClampValue(*parsed);
    if (v == FValue) return;
    const QString text = QString::number(v);
    WriteOwnText(text);
    SetLastValid(text);
    FValue = v;
    Beep();
    AnnounceValueChangeQuietly();
}

void TRtIntegerEdit::RefreshDisplay()
{
    const QString text = QString::number(FValue);
    WriteOwnText(!HasEditFocus() && TextWidth(text) > TextRoom() ? Hashes() : text);
}

bool TRtIntegerEdit::AcceptsChar(char32_t c) const { return IsIntegerEditChar(c); }

void TRtIntegerEdit::RefreshAfterResize() { RefreshDisplay(); }

}  // namespace gasmixer
