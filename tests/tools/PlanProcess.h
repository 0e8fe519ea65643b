#pragma once

#include <QString>
#include <QStringList>

#include <string>

namespace gasmixer::test {

struct PlanRun {
    int exitCode = -1;
    bool crashed = false;
    std::string out;
    std::string err;
};

// Runs the built gasmixer-plan with these arguments and waits for it. With
// stdoutFile set, the output goes there instead. Its settings are read from
// configFolder, by default an empty folder of the test's own.
PlanRun RunPlan(const QStringList& args, const QString& stdoutFile = {}, const QString& configFolder = {});

}  // namespace gasmixer::test
