#include "app/Form1.h"

namespace gasmixer {

void TForm1::UpdateTGMix() {}

}  // namespace gasmixer
