#include "Form1Fixture.h"

#include "app/ProgramPage.h"
#include "mixer/ProgramRunner.h"
#include "program/ProgramFile.h"
#include "sim/SimulatorHost.h"

#include <QDir>
#include <QPushButton>
#include <QPixmap>
#include <QScreen>

namespace gasmixer::test {
namespace {

// Not a check: grabs each tab after choosing the fake ports, for a person to
// look at. Runs only when GASMIXER_SCREENSHOT_DIR names a folder.
using Screenshots = Form1Test;

TEST_F(Screenshots, EachTabAfterChoosingTheFakePorts)
{
    const QString dir = qEnvironmentVariable("GASMIXER_SCREENSHOT_DIR");
    if (dir.isEmpty()) GTEST_SKIP() << "set GASMIXER_SCREENSHOT_DIR to take screenshots";
    ASSERT_TRUE(QDir().mkpath(dir));

    // As maximized on this screen, also where no window manager maximizes.
    form->setGeometry(form->screen()->availableGeometry());
    QApplication::processEvents();
    ChooseFakePorts();
    for (int page = 0; page < form->PageControl1->PageCount(); ++page) {
        form->PageControl1->SetActivePageIndex(page);
        QApplication::processEvents();
        const QString file = QDir(dir).filePath(QStringLiteral("tab%1-%2.png")
                                                    .arg(page)
                                                    .arg(form->PageControl1->Caption(page).replace(' ', '-')));
        EXPECT_TRUE(form->grab().save(file)) << file.toStdString();
    }
}

TEST_F(Screenshots, TheProgramTabWithAProgramRunning)
{
    const QString dir = qEnvironmentVariable("GASMIXER_SCREENSHOT_DIR");
    if (dir.isEmpty()) GTEST_SKIP() << "set GASMIXER_SCREENSHOT_DIR to take screenshots";
    ASSERT_TRUE(QDir().mkpath(dir));

    form->setGeometry(form->screen()->availableGeometry());
    ChooseFakePorts();
    const ParsedProgram parsed = ParseProgram("step;a_ppm;h2o_ppm;b_limit;minutes\n"
                                              "mixture;2000;0;;120\n"
                                              "flush;;;;1\n"
                                              "mixture;500;10000;0.25;120\n"
                                              "stop;;;;0\n");
    ASSERT_TRUE(parsed.Program);
    form->TabSheetProgram->SetProgram(*parsed.Program);
    form->PageControl1->SetActivePageIndex(5);
    QTest::mouseClick(form->TabSheetProgram->ButtonProgramStart, Qt::LeftButton);
    clock.Advance(121.5 * OneMinute);
    form->Mixer().Mode = TMixerState::Dilution;  // as the buttons set it
    form->Mixer().Runner().Poll();
    QApplication::processEvents();
    const QString file = QDir(dir).filePath(QStringLiteral("tab5-Program-running.png"));
    EXPECT_TRUE(form->grab().save(file)) << file.toStdString();
}

// The Operation and Debug tabs with the simulated instruments, the water at 30 ºC.
class SimulatedScreenshots : public Form1Test {
protected:
    sim::SimulatorHost host{{.waterTemperature = 30.0, .trace = {}}};

    void SetUp() override
    {
        ports = {host.MfcLinePath(), host.RelayBoardPath()};
        Form1Test::SetUp();
    }
};

TEST_F(SimulatedScreenshots, WaterTemperatureOnTheOperationAndDebugTabs)
{
    const QString dir = qEnvironmentVariable("GASMIXER_SCREENSHOT_DIR");
    if (dir.isEmpty()) GTEST_SKIP() << "set GASMIXER_SCREENSHOT_DIR to take screenshots";
    ASSERT_TRUE(QDir().mkpath(dir));

    form->setGeometry(form->screen()->availableGeometry());
    ClickItem(form->ListBoxPortSolenoid, host.RelayBoardPath());
    ClickItem(form->ListBoxPortMFC, host.MfcLinePath());
    ClickItem(form->ListBoxSetupGas1, "O2");
    ClickItem(form->ListBoxSetupGas2, "N2");
    for (const int page : {OperationPage, DebugPage}) {
        ClickTab(page);
        QApplication::processEvents();
        const QString file = QDir(dir).filePath(QStringLiteral("simulated-tab%1.png").arg(page));
        EXPECT_TRUE(form->grab().save(file)) << file.toStdString();
    }
}


}  // namespace
}  // namespace gasmixer::test
