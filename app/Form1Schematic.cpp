#include "app/Form1.h"

#include <QLabel>
#include <QPixmap>

namespace gasmixer {

void TForm1::SetValveGraphics(int ID, bool Open)
{
    Schematic.SetValveGraphics(ID, Open);
    // Valves change in sixes, every tick in some modes: convert and show the
    // picture once, when the window thread is next free, not once per valve.
    if (schematicShowPending_) return;
    schematicShowPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            schematicShowPending_ = false;
            Image1->setPixmap(QPixmap::fromImage(Schematic.Picture()));
        },
        Qt::QueuedConnection);
}

}  // namespace gasmixer
