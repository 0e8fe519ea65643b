#include "app/Form1.h"

#include "app/BusyCursor.h"
#include "app/ListBox.h"
#include "common/Pause.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace gasmixer {

namespace {
constexpr std::uint32_t StopPollMs = 250;
}

void TForm1::StartWettingThread()
{
    // At most one worker: a running one ends before the next begins.
    StopThread();
    auto thread = std::make_unique<TThreadWetting>(
        services_.wettingTiming,
        TWettingWindowValues{WettingStopRequest, WettingStopped, WetTimeOccurred, [this](const std::string& line) {
                                 MemoDevFeedback->appendPlainText(QString::fromStdString(line));
                             }});
    thread->DesiredWETFractionOfTime = WettingFraction;
    thread->SolenoidPortASTR = ListBoxPortSolenoid->SelectedText();
    thread->Stop = false;
    thread->LoopTimeS = 3.0;
    WettingThread = std::move(thread);
    WettingThread->start();
}

void TForm1::StopThread()
{
    if (!WettingThread) return;
    Timer1->stop();
    for (QPushButton* button : {ButtonStop, ButtonFlush, ButtonBypass, ButtonDilution}) button->setEnabled(false);
    {
        const BusyCursor busy;
        setWindowTitle(QStringLiteral("Waiting valve operations to finish"));
        WettingStopRequest = true;
        // The worker's last hand-over needs this thread: keep serving events.
        while (!WettingStopped) {
            setWindowTitle(windowTitle() + QLatin1Char('.'));
            Pause(StopPollMs);
            QApplication::processEvents();
        }
        // Destruction waits until the worker's body has returned.
        WettingThread.reset();
    }
    setWindowTitle(QStringLiteral("Mix"));
    WettingStopRequest = false;
    WettingStopped = false;
    MethodStarted = false;
    for (QPushButton* button : {ButtonStop, ButtonFlush, ButtonBypass, ButtonDilution}) button->setEnabled(true);
    if (closeAfterStop_) {
        // The window was closed meanwhile: finish its shut-down, tick no more.
        closeAfterStop_ = false;
        CloseValvesAndSetpoints();
        return;
    }
    Timer1->start();
}

}  // namespace gasmixer
