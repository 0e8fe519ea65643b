#include "app/Form1.h"

namespace gasmixer {

void TForm1::StoreData() {}

void TForm1::Save(const std::string&) {}

void TForm1::Autosave() {}

void TForm1::StringGrid1MouseDown(Qt::MouseButton) {}

}  // namespace gasmixer
