#include "app/Schematic.h"

#include <QPainter>
#include <QPen>

namespace gasmixer {

TValveSchematic::TValveSchematic() : FPicture(Artwork()) {}

void TValveSchematic::SetValveGraphics(int ID, bool Open)
{
    if (ID < 1 || ID > ValveCount)
        return;
    const TValveBars& bars = ValveBars[ID - 1];
    const TValveBar& erased = Open ? bars.Closed : bars.Open;
    const TValveBar& drawn = Open ? bars.Open : bars.Closed;

    QPainter painter(&FPicture);
    // Aliased, so that erasing in white removes exactly the pixels once drawn.
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(Qt::white, 2);
    painter.setPen(pen);
    painter.drawLine(erased.First, erased.Second);
    pen.setColor(Qt::black);
    painter.setPen(pen);
    painter.drawLine(drawn.First, drawn.Second);
}

}  // namespace gasmixer
