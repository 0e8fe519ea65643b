#include "app/Form1.h"

namespace gasmixer {

void TForm1::StartWettingThread() {}

void TForm1::StopThread()
{
    // Destroying the worker waits until its body has returned.
    WettingThread.reset();
}

}  // namespace gasmixer
