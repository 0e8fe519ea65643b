#pragma once

#include <QImage>
#include <QPoint>

#include <array>

namespace gasmixer {

// One valve symbol: two 2-pixel bars inside its circle. Along the pipe means
// open, across the pipe means closed. Each bar runs from its first point to
// its second, both inclusive.
struct TValveBar {
    QPoint First;
    QPoint Second;
};

struct TValveBars {
    TValveBar Open;
    TValveBar Closed;
};

inline constexpr int ValveCount = 6;

// Valve ID n (1..6) is element n - 1. These positions are fixed; the artwork
// is laid out around them.
inline constexpr std::array<TValveBars, ValveCount> ValveBars{{
    {{{301, 242}, {301, 260}}, {{291, 252}, {309, 252}}},
    {{{301, 113}, {301, 95}}, {{291, 105}, {309, 105}}},
    {{{933, 129}, {933, 111}}, {{924, 121}, {942, 121}}},
    {{{199, 113}, {199, 95}}, {{189, 104}, {207, 104}}},
    {{{893, 96}, {912, 96}}, {{903, 104}, {903, 86}}},
    {{{893, 54}, {912, 54}}, {{903, 44}, {903, 62}}},
}};

// Where the open and closed bars of a valve cross: the centre of its circle.
constexpr QPoint ValveCentre(const TValveBars& bars)
{
    const bool openIsVertical = bars.Open.First.x() == bars.Open.Second.x();
    return openIsVertical ? QPoint(bars.Open.First.x(), bars.Closed.First.y())
                          : QPoint(bars.Closed.First.x(), bars.Open.First.y());
}

// The mixer schematic of the Operation tab: the plumbing artwork, into which
// the valve symbols are drawn in place so that they persist with the picture.
// Its labels need the fonts of a running QGuiApplication.
class TValveSchematic {
public:
    static constexpr int Width = 998;
    static constexpr int Height = 315;

    TValveSchematic();

    // Draws valve ID (1..6) open or closed; any other ID draws nothing.
    void SetValveGraphics(int ID, bool Open);

    const QImage& Picture() const { return FPicture; }

private:
    static QImage Artwork();

    QImage FPicture;
};

}  // namespace gasmixer
