#include "app/Form1.h"

namespace gasmixer {

void TForm1::ResetRetrieveTotalizers() {}

void TForm1::ReadTotalizers() {}

void TForm1::ConstantFlowA() {}

void TForm1::ConstantFlowB() {}

void TForm1::AinBPulse() {}

void TForm1::BinAPulse() {}

}  // namespace gasmixer
