#pragma once

#include "controls/RtNumericEdit.h"

namespace gasmixer {

// A field holding a 32-bit signed integer. Limits apply only when
// MaxValue > MinValue.
class TRtIntegerEdit : public TRtNumericEdit {
    Q_OBJECT
public:
    explicit TRtIntegerEdit(QWidget* parent = nullptr);

    int Value() const { return FValue; }
    void SetValue(int v);  // always fires OnValueChanged
    int MinValue() const { return FMinValue; }
    void SetMinValue(int v);
    int MaxValue() const { return FMaxValue; }
    void SetMaxValue(int v);

protected:
    int TextRoom() const override;
    void ProcessEdit(const QString& text) override;
    void ValidateText() override;
    void RefreshDisplay() override;
    bool AcceptsChar(char32_t c) const override;
    void RefreshAfterResize() override;

private:
    int ClampValue(int v) const;

    int FMinValue = 0;
    int FMaxValue = 0;
    int FValue = 0;
};

}  // namespace gasmixer
