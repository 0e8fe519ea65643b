#pragma once

#include "runreport/RunLog.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <string>

namespace gasmixer {

// The report as rich text: set-up, plans, the produced means with their
// expanded uncertainty, the plot (the image resource "plot.png" of this
// size; none when empty) and the alarms.
QString RunReportHtml(const TRunLog& log, const TAccuracySettings& accuracy, QSize plot);

// Writes the report as a PDF; false when the file cannot be written. Needs
// a QGuiApplication for its fonts.
bool WriteRunReport(const std::string& path, const TRunLog& log, const TAccuracySettings& accuracy,
                    const QImage& plot);

}  // namespace gasmixer
