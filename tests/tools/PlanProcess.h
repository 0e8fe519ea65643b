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
// stdoutFile set, the output goes there instead.
PlanRun RunPlan(const QStringList& args, const QString& stdoutFile = {});

}  // namespace gasmixer::test
