#include "app/Form1.h"

namespace gasmixer {

void TForm1::ButtonStopClick() {}

void TForm1::ButtonFlushClick() {}

void TForm1::ButtonBypassClick() {}

void TForm1::ButtonAddToCounterClick() {}

}  // namespace gasmixer
