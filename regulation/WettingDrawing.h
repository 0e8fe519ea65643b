#pragma once

#include <array>
#include <random>

namespace gasmixer {

// The valves the schematic shows while the wetting worker runs, V1..V6, true
// = drawn open. r is a uniform draw from 1 to 99: the picture shows gas B wet
// (V1, V2) in about WettingFraction of the ticks, dry (V4) otherwise; V5 is
// open, V3 and V6 closed. Only the picture: the worker switches the valves.
std::array<bool, 6> WettingDrawing(double wettingFraction, int r);

// The program's source of r.
class UniformPercentDraw {
public:
    UniformPercentDraw() : engine_(std::random_device{}()) {}
    int operator()() { return range_(engine_); }

private:
    std::mt19937 engine_;
    std::uniform_int_distribution<int> range_{1, 99};
};

}  // namespace gasmixer
