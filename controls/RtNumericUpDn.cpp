#include "controls/RtNumericUpDn.h"

#include "common/TextFormat.h"
#include "controls/UpDownButtons.h"

#include <QKeyEvent>

#include <algorithm>

namespace gasmixer {
namespace {

constexpr int MaxDecimalPlaces = 18;

}  // namespace

// The buttons sit flush with the right side of the style's text rectangle,
// inside the frame; a right text margin of the button width keeps the text
// clear of them, and the line edit's own inner margin takes the place of a
// gap between text and buttons.
TRtNumericUpDn::TRtNumericUpDn(QWidget* parent)
    : TRtCustomDoubleEdit(parent), FUpDn(new TUpDownButtons(this))
{
    connect(FUpDn, &TUpDownButtons::Up, this, &TRtNumericUpDn::StepUp);
    connect(FUpDn, &TUpDownButtons::Down, this, &TRtNumericUpDn::StepDown);
    SetDoHashes(false);
    SetDigits(0);
    setTextMargins(0, 0, FBtnWidth, 0);
    PlaceButtons();
}

void TRtNumericUpDn::SetBtnWidth(int w)
{
    FBtnWidth = std::max(0, w);
    setTextMargins(0, 0, FBtnWidth, 0);
    PlaceButtons();
    RefreshDisplay();
}

void TRtNumericUpDn::SetDecimalPlaces(int d) { SetDigits(std::clamp(d, 0, MaxDecimalPlaces)); }

long long TRtNumericUpDn::AsInteger() const { return RoundHalfEven(Value()); }

void TRtNumericUpDn::SetAsInteger(long long v) { SetValue(static_cast<double>(v)); }

void TRtNumericUpDn::StepUp() { SetValue(Value() + FIncrement); }

void TRtNumericUpDn::StepDown() { SetValue(Value() - FIncrement); }

QWidget* TRtNumericUpDn::UpDownButtons() const { return FUpDn; }

int TRtNumericUpDn::TextRoom() const { return ClientWidth() - FBtnWidth - FitSlack; }

void TRtNumericUpDn::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Up) StepUp();
    else if (event->key() == Qt::Key_Down) StepDown();
    TRtCustomDoubleEdit::keyPressEvent(event);
}

void TRtNumericUpDn::resizeEvent(QResizeEvent* event)
{
    PlaceButtons();
    TRtCustomDoubleEdit::resizeEvent(event);
}

void TRtNumericUpDn::PlaceButtons()
{
    const QRect contents = ContentsRect();
    FUpDn->setGeometry(contents.right() + 1 - FBtnWidth, contents.top(), FBtnWidth,
                       contents.height());
}

}  // namespace gasmixer
