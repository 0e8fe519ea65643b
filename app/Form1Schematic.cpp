#include "app/Form1.h"

#include <QLabel>
#include <QPixmap>

namespace gasmixer {

void TForm1::SetValveGraphics(int ID, bool Open)
{
    Schematic.SetValveGraphics(ID, Open);
    Image1->setPixmap(QPixmap::fromImage(Schematic.Picture()));
}

}  // namespace gasmixer
