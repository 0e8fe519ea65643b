#pragma once

#include "controls/RtFloatEdit.h"

namespace gasmixer {

class TUpDownButtons;

// A real field with a fixed number of decimals and an up/down arrow-button
// pair at its right edge; the buttons and the arrow keys step the value by
// Increment.
class TRtNumericUpDn : public TRtCustomDoubleEdit {
    Q_OBJECT
public:
    explicit TRtNumericUpDn(QWidget* parent = nullptr);

    double Increment() const { return FIncrement; }
    void SetIncrement(double v) { FIncrement = v; }
    int BtnWidth() const { return FBtnWidth; }
    void SetBtnWidth(int w);
    int DecimalPlaces() const { return Digits(); }
    void SetDecimalPlaces(int d);  // clamped to 0..18
    // The value rounded to the nearest integer, halves to even.
    long long AsInteger() const;
    void SetAsInteger(long long v);

    void StepUp();
    void StepDown();
    QWidget* UpDownButtons() const;

protected:
    int TextRoom() const override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceButtons();

    TUpDownButtons* FUpDn;
    double FIncrement = 1.0;
    int FBtnWidth = 15;
};

}  // namespace gasmixer
