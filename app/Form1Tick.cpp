#include "app/Form1.h"

namespace gasmixer {

void TForm1::Timer1Timer()
{
    // The control tick: mode, valves, setpoints, records and the TG estimate.
}

}  // namespace gasmixer
