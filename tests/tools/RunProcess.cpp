#include "RunProcess.h"

#include <QElapsedTimer>

#include <csignal>

namespace gasmixer::test {

RunProcess::RunProcess(const QStringList& args, const QString& stateHome)
{
    if (!stateHome.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_STATE_HOME"), stateHome);
        // Its settings as well: none remembered there.
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), stateHome);
        process_.setProcessEnvironment(environment);
    }
    process_.start(QStringLiteral(GASMIXER_RUN_PATH), args);
    process_.waitForStarted();
}

RunProcess::~RunProcess()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished();
    }
}

void RunProcess::Collect()
{
    partial_ += process_.readAllStandardOutput().toStdString();
    err_ += process_.readAllStandardError().toStdString();
    for (auto end = partial_.find('\n'); end != std::string::npos; end = partial_.find('\n')) {
        lines_.push_back(partial_.substr(0, end));
        partial_.erase(0, end + 1);
    }
}

bool RunProcess::WaitForLine(const std::string& prefix, int patienceMs)
{
    QElapsedTimer waited;
    waited.start();
    std::size_t checked = 0;
    for (;;) {
        Collect();
        for (; checked < lines_.size(); ++checked) {
            if (lines_[checked].starts_with(prefix)) return true;
        }
        if (process_.state() == QProcess::NotRunning || waited.elapsed() > patienceMs) return false;
        process_.waitForReadyRead(100);
    }
}

void RunProcess::Signal(int signalNumber)
{
    ::kill(static_cast<pid_t>(process_.processId()), signalNumber);
}

int RunProcess::Wait(int patienceMs)
{
    const bool ended = process_.waitForFinished(patienceMs);
    Collect();
    if (!ended || process_.exitStatus() != QProcess::NormalExit) return -1;
    return process_.exitCode();
}

}  // namespace gasmixer::test
