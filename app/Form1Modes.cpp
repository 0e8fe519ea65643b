#include "app/Form1.h"

#include "controls/RtFloatEdit.h"

#include <QLabel>

namespace gasmixer {

namespace {

// Every mode button first stops a running wetting worker, so that a worker
// never outlives the Dilution that started it. The hardware follows at the
// next tick.
void EnterMode(TForm1& form, TMixerState mode, const char* status)
{
    form.StopThread();
    form.Mode = mode;
    form.SetpointBSent = false;
    form.MethodStarted = false;
    form.LabelStatus->setText(QString::fromLatin1(status));
}

}  // namespace

void TForm1::ButtonStopClick() { EnterMode(*this, TMixerState::Standby, "Standby"); }

void TForm1::ButtonFlushClick() { EnterMode(*this, TMixerState::Flushing, "Flushing"); }

void TForm1::ButtonBypassClick() { EnterMode(*this, TMixerState::Bypass, "Bypass"); }

// From now, not added to the old deadline.
void TForm1::ButtonAddToCounterClick()
{
    StopDeadline = services_.clock.Now() + RtDoubleEditCounter->Value() / 24;
}

}  // namespace gasmixer
