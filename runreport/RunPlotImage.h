#pragma once

#include "plot/MixtureTrace.h"

#include <QImage>
#include <QSize>

namespace gasmixer {

// The run's produced A and H2O ppm as the window's plot draws them, without
// a widget: for a report written with no window.
QImage RunPlotImage(const TMixtureTrace& trace, double requestedA, double requestedH2O, QSize size);

}  // namespace gasmixer
