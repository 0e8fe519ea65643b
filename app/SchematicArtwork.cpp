#include "app/Schematic.h"

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <QRect>
#include <QString>

// The plumbing is laid out around the fixed valve centres: pipes run through
// each valve along its open bar, and nothing else comes near a circle.

namespace gasmixer {
namespace {

constexpr int ValveRadius = 15;
constexpr int PipeWidth = 2;

constexpr QPoint Centre(int id) { return ValveCentre(ValveBars[id - 1]); }

// Rows and columns of the main pipes.
constexpr int MixingLineY = 75;
constexpr int GasBLineY = 290;
constexpr int OutletEndX = 988;
constexpr int ForkX = 855;
constexpr int VentLineY = Centre(6).y();
constexpr int AppLineY = Centre(5).y();

constexpr QRect GasABox(12, MixingLineY - 20, 110, 40);
constexpr QRect GasBBox(12, GasBLineY - 20, 110, 40);
constexpr QRect WaterBox(Centre(1).x() - 60, 140, 120, 72);
constexpr QRect ChamberBoxes[] = {
    {385, MixingLineY - 25, 104, 50},
    {535, MixingLineY - 25, 104, 50},
    {715, MixingLineY - 25, 104, 50},
};
constexpr const char* ChamberNames[] = {"Chamber 1", "Chamber 2", "Chamber n"};

const QColor Water(207, 230, 250);
const QColor BoxFill(245, 245, 245);

QFont LabelFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void DrawPipe(QPainter& painter, const QPoint& from, const QPoint& to,
              Qt::PenStyle style = Qt::SolidLine)
{
    painter.setPen(QPen(Qt::black, PipeWidth, style, Qt::SquareCap, Qt::MiterJoin));
    painter.drawLine(from, to);
}

// A filled arrowhead pointing along (dx, dy), one of the four axes.
void DrawArrow(QPainter& painter, const QPoint& tip, int dx, int dy)
{
    const QPointF t(tip);
    const QPointF back(-dx * 9.0, -dy * 9.0);
    const QPointF side(-dy * 5.0, dx * 5.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPolygon(QPolygonF{{t, t + back + side, t + back - side}});
}

void DrawJunction(QPainter& painter, const QPoint& at)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawEllipse(QPointF(at), 3.5, 3.5);
}

void DrawBox(QPainter& painter, const QRect& box, const QColor& fill, const QString& label)
{
    painter.setPen(QPen(Qt::black, PipeWidth));
    painter.setBrush(fill);
    painter.drawRect(box);
    painter.setFont(LabelFont(13, false));
    painter.drawText(box, Qt::AlignCenter, label);
}

void DrawBubbler(QPainter& painter)
{
    painter.setPen(QPen(Qt::black, PipeWidth));
    painter.setBrush(Qt::white);
    painter.drawRect(WaterBox);
    const QRect water = WaterBox.adjusted(1, 22, -1, -1);
    painter.fillRect(water, Water);
    painter.setPen(QPen(QColor(70, 130, 190), 1));
    painter.drawLine(water.topLeft(), water.topRight());
    painter.setPen(Qt::black);
    painter.setFont(LabelFont(13, false));
    painter.drawText(water, Qt::AlignCenter, QStringLiteral("Distilled water"));
}

void DrawValve(QPainter& painter, int id)
{
    const QPoint centre = Centre(id);
    painter.setPen(QPen(Qt::black, PipeWidth));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(centre), ValveRadius, ValveRadius);
}

// Valve labels sit beside their circle, clear of the pipes through it.
void DrawValveLabel(QPainter& painter, int id, bool leftAbove)
{
    const QPoint centre = Centre(id);
    const QRect box = leftAbove
        ? QRect(centre.x() - ValveRadius - 30, centre.y() - 20, 26, 16)
        : QRect(centre.x() + ValveRadius + 6, centre.y() - 8, 26, 16);
    painter.setPen(Qt::black);
    painter.setFont(LabelFont(12, true));
    painter.drawText(box, (leftAbove ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                     QStringLiteral("V%1").arg(id));
}

void DrawOutletLabel(QPainter& painter, int lineY, const QString& label)
{
    painter.setPen(Qt::black);
    painter.setFont(LabelFont(13, false));
    painter.drawText(QRect(OutletEndX - 44, lineY - 23, 44, 16), Qt::AlignRight | Qt::AlignVCenter,
                     label);
}

void DrawPipes(QPainter& painter)
{
    const int v1x = Centre(1).x();
    const int v3x = Centre(3).x();
    const int v4x = Centre(4).x();

    // Gas A through the chambers; the dashes stand for the chambers not drawn.
    DrawPipe(painter, {GasABox.right(), MixingLineY}, {ChamberBoxes[1].right(), MixingLineY});
    DrawPipe(painter, {ChamberBoxes[1].right(), MixingLineY}, {ChamberBoxes[2].left(), MixingLineY},
             Qt::DashLine);
    DrawPipe(painter, {ChamberBoxes[2].left(), MixingLineY}, {ForkX, MixingLineY});
    DrawPipe(painter, {ForkX, VentLineY}, {ForkX, AppLineY});
    DrawPipe(painter, {ForkX, VentLineY}, {OutletEndX, VentLineY});
    DrawPipe(painter, {ForkX, AppLineY}, {OutletEndX, AppLineY});

    // Gas B along the bottom, up through V3 to the outlet.
    DrawPipe(painter, {GasBBox.right(), GasBLineY}, {v3x, GasBLineY});
    DrawPipe(painter, {v3x, GasBLineY}, {v3x, AppLineY});

    // Dry and humid feeds into the mixing line.
    DrawPipe(painter, {v4x, GasBLineY}, {v4x, MixingLineY});
    DrawPipe(painter, {v1x, GasBLineY}, {v1x, MixingLineY});

    for (const QPoint& at : {QPoint(v4x, MixingLineY), QPoint(v1x, MixingLineY),
                             QPoint(v4x, GasBLineY), QPoint(v1x, GasBLineY),
                             QPoint(ForkX, MixingLineY), QPoint(v3x, AppLineY)})
        DrawJunction(painter, at);

    DrawArrow(painter, {GasABox.right() + 40, MixingLineY}, 1, 0);
    DrawArrow(painter, {GasBBox.right() + 40, GasBLineY}, 1, 0);
    DrawArrow(painter, {v4x, 200}, 0, -1);
    DrawArrow(painter, {v3x, 200}, 0, -1);
    DrawArrow(painter, {ChamberBoxes[0].left() - 10, MixingLineY}, 1, 0);
    DrawArrow(painter, {OutletEndX + 2, VentLineY}, 1, 0);
    DrawArrow(painter, {OutletEndX + 2, AppLineY}, 1, 0);
}

}  // namespace

QImage TValveSchematic::Artwork()
{
    QImage picture(Width, Height, QImage::Format_RGB888);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    DrawPipes(painter);
    DrawBox(painter, GasABox, BoxFill, QStringLiteral("Gas A"));
    DrawBox(painter, GasBBox, BoxFill, QStringLiteral("Gas B"));
    for (int i = 0; i < 3; ++i)
        DrawBox(painter, ChamberBoxes[i], BoxFill, QString::fromLatin1(ChamberNames[i]));
    DrawBubbler(painter);
    for (int id = 1; id <= ValveCount; ++id) {
        DrawValve(painter, id);
        DrawValveLabel(painter, id, id == 5 || id == 6);
    }
    DrawOutletLabel(painter, VentLineY, QStringLiteral("Vent"));
    DrawOutletLabel(painter, AppLineY, QStringLiteral("App"));
    return picture;
}

}  // namespace gasmixer
