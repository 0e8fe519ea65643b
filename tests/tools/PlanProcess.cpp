#include "PlanProcess.h"

#include <QProcess>

namespace gasmixer::test {

PlanRun RunPlan(const QStringList& args, const QString& stdoutFile)
{
    QProcess process;
    if (!stdoutFile.isEmpty()) process.setStandardOutputFile(stdoutFile);
    process.start(QStringLiteral(GASMIXER_PLAN_PATH), args);
    PlanRun run;
    // Generous: only a hang should trip it.
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.crashed = process.exitStatus() != QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

}  // namespace gasmixer::test
