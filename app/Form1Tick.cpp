#include "app/Form1.h"

namespace gasmixer {

void TForm1::Timer1Timer()
{
    // The control tick: mode, valves, setpoints, records and the TG estimate.
}

void TForm1::StopThread()
{
    // Destroying the worker waits until its body has returned.
    WettingThread.reset();
}

}  // namespace gasmixer
