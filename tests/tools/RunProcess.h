#pragma once

#include <QProcess>
#include <QStringList>

#include <string>
#include <vector>

namespace gasmixer::test {

// The built gasmixer-run as a child process, its output read as it comes.
class RunProcess {
public:
    // With stateHome, the record journal goes there instead of the user's
    // folder, and the settings are read from there.
    explicit RunProcess(const QStringList& args, const QString& stateHome = {});
    ~RunProcess();

    // Output lines so far, waiting until one starts with `prefix`; false when
    // none comes within `patienceMs` or the process ended.
    bool WaitForLine(const std::string& prefix, int patienceMs = 60000);
    void Signal(int signalNumber);
    // The exit status once it ended, -1 when it hangs, crashed or was killed.
    int Wait(int patienceMs = 60000);

    const std::vector<std::string>& OutLines() const { return lines_; }
    const std::string& Err() const { return err_; }

private:
    void Collect();

    QProcess process_;
    std::string partial_;
    std::vector<std::string> lines_;
    std::string err_;
};

}  // namespace gasmixer::test
