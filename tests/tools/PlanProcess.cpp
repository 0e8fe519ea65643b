#include "PlanProcess.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

namespace gasmixer::test {

PlanRun RunPlan(const QStringList& args, const QString& stdoutFile, const QString& configFolder)
{
    static const QTemporaryDir noSettings;
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configFolder.isEmpty() ? noSettings.path() : configFolder);
    process.setProcessEnvironment(environment);
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
