#include "app/CommandLine.h"
#include "app/Form1.h"
#include "app/GuardedApplication.h"
#include "app/RememberedSetup.h"
#include "app/QtOperatorDialogs.h"
#include "mixer/SignalBridge.h"
#include "mixer/SystemFormatSettings.h"
#include "instruments/PortListing.h"

#include <QGuiApplication>
#include <QScreen>

#include <iostream>

int main(int argc, char** argv)
{
    if (const std::optional<int> answered = gasmixer::AnswerCommandLine({argv + 1, argv + argc}, std::cout))
        return *answered;
    gasmixer::GuardedApplication application(argc, argv);
    gasmixer::SetFormatSettings(gasmixer::SystemFormatSettings());

    const gasmixer::SystemClock clock;
    gasmixer::QtOperatorDialogs dialogs;
    gasmixer::TForm1 Form1({.clock = clock, .listPorts = gasmixer::ListComPorts,
                             .dialogs = dialogs, .settingsPath = gasmixer::DefaultSettingsPath()});
    dialogs.SetParent(&Form1);
    application.SetErrorHandler([&Form1](const std::string& message) { Form1.ReportError(message); });
    // A stop by signal takes the window's own way out, so the mixer is left
    // as safe as a click on the close button leaves it. A close that is
    // refused is already under way and ends the program itself.
    const gasmixer::SignalBridge stopSignals([&Form1](int) {
        if (Form1.close()) QCoreApplication::quit();
    });

    // Without a window manager "maximized" is only a wish: fill the screen anyway.
    Form1.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    Form1.showMaximized();
    return application.exec();
}
