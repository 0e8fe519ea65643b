// The set-up of the last run, offered at the next start.
#include "Form1Fixture.h"

#include "app/RememberedSetup.h"
#include "controls/RtIntegerEdit.h"
#include "controls/RtNumericUpDn.h"
#include "sim/SimulatorHost.h"
#include "tests/support/ScopedEnv.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <atomic>
#include <fstream>

namespace gasmixer::test {
namespace {

TEST(RememberedSetupFile, FollowsTheConfigHome)
{
    {
        const ScopedEnv config("XDG_CONFIG_HOME", "/srv/config");
        EXPECT_EQ(DefaultSettingsPath(), "/srv/config/gasmixer/gasmixer.conf");
    }
    const ScopedEnv config("XDG_CONFIG_HOME", nullptr);
    const ScopedEnv home("HOME", "/home/op");
    EXPECT_EQ(DefaultSettingsPath(), "/home/op/.config/gasmixer/gasmixer.conf");
}

TEST(RememberedSetupFile, KeepsEveryFieldAndSkipsWhatItCannotRead)
{
    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("gasmixer/gasmixer.conf")).toStdString();
    EXPECT_EQ(ReadRememberedSetup(path), std::nullopt) << "nothing remembered yet";

    const TRememberedSetup setup{.RelayPort = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_B67890-if00-port0",
                                 .MfcPort = "/dev/gasmixer-mfc",
                                 .GasA = "5%H2,95%Ar",
                                 .GasB = "N2",
                                 .GasAPpm = 2000,
                                 .H2OPpm = 10000,
                                 .GasBLimit = 0.35,
                                 .StoreInterval = 5,
                                 .AutosaveName = "run; day 2 = ºC"};
    ASSERT_TRUE(WriteRememberedSetup(path, setup));
    EXPECT_EQ(ReadRememberedSetup(path), setup);

    std::ofstream(path) << "[Setup]\nrelay_port=ttyUSB1\na_ppm=lots\nb_limit=\nstore_interval=x\n";
    const std::optional<TRememberedSetup> damaged = ReadRememberedSetup(path);
    ASSERT_TRUE(damaged);
    EXPECT_EQ(damaged->RelayPort, "ttyUSB1");
    EXPECT_EQ(damaged->GasAPpm, 0);
    EXPECT_EQ(damaged->GasBLimit, std::nullopt);
    EXPECT_EQ(damaged->StoreInterval, 1);
}

// Two starts of the window on the simulated instruments, with the set-up
// remembered in a scratch config home.
class RememberedSetupTest : public Form1Test {
protected:
    std::atomic<int> framesReceived{0};
    sim::SimulatorHost host{{.pacing = false, .trace = [this](std::string_view line) {
                                 if (line.find(" <- ") != std::string_view::npos) ++framesReceived;
                             }}};

    void SetUp() override
    {
        ports = {host.MfcLinePath(), host.RelayBoardPath()};
        settingsPath = scratch.filePath(QStringLiteral("config/gasmixer/gasmixer.conf")).toStdString();
        Form1Test::SetUp();
    }

    void Restart()
    {
        form->close();
        form.reset();
        MakeForm();
    }
};

TEST_F(RememberedSetupTest, TheNextStartOffersTheSetUpAndOneClickValidatesIt)
{
    EXPECT_FALSE(form->ButtonSetupRemembered->isEnabled()) << "nothing remembered yet";
    ClickItem(form->ListBoxPortSolenoid, host.RelayBoardPath());
    ClickItem(form->ListBoxPortMFC, host.MfcLinePath());
    ClickItem(form->ListBoxSetupGas1, "H2");
    ClickItem(form->ListBoxSetupGas2, "Ar");
    ASSERT_TRUE(form->CheckBoxGasesSelected->isChecked());
    form->RtNumericUpDn1->SetValue(form->RtNumericUpDn1->MinValue() + form->RtNumericUpDn1->Increment());
    const double limit = form->RtNumericUpDn1->Value();
    form->RtIntegerEditGasAPPM->SetValue(2000);
    form->RtIntegerEdit2->SetValue(5);
    form->EditAutosaveFilename->setText(QStringLiteral("bench 4"));

    Restart();
    const int framesBefore = framesReceived;

    EXPECT_TRUE(form->ButtonSetupRemembered->isEnabled());
    EXPECT_EQ(form->ListBoxPortSolenoid->SelectedText(), host.RelayBoardPath());
    EXPECT_EQ(form->ListBoxPortMFC->SelectedText(), host.MfcLinePath());
    EXPECT_EQ(form->RtIntegerEditGasAPPM->Value(), 2000);
    EXPECT_EQ(form->RtIntegerEditGasBPPM->Value(), 998000);
    EXPECT_EQ(form->RtIntegerEdit2->Value(), 5);
    EXPECT_EQ(form->EditAutosaveFilename->text(), QStringLiteral("bench 4"));
    EXPECT_FALSE(form->CheckBoxSolenoidOK->isChecked()) << "offered, not validated";
    EXPECT_EQ(form->ListBoxSetupGas1->ItemIndex(), -1);
    EXPECT_EQ(framesReceived, framesBefore) << "nothing is sent before the operator asks";

    QTest::mouseClick(form->ButtonSetupRemembered, Qt::LeftButton);
    SyncWithMixer();

    EXPECT_GT(framesReceived, framesBefore);
    EXPECT_TRUE(form->CheckBoxSolenoidOK->isChecked());
    EXPECT_TRUE(form->CheckBoxMFCOK->isChecked());
    EXPECT_TRUE(form->CheckBoxGasesSelected->isChecked());
    EXPECT_EQ(form->Mixer().GasA, "H2");
    EXPECT_EQ(form->Mixer().GasB, "Ar");
    EXPECT_EQ(form->Mixer().FlowInfoA.Name, "H2") << "the controller's table was switched";
    EXPECT_DOUBLE_EQ(form->RtNumericUpDn1->Value(), limit);
    EXPECT_DOUBLE_EQ(form->Mixer().GasBLimit, limit);
}

TEST_F(RememberedSetupTest, PortsThatAreNotListedAreNotOffered)
{
    ClickItem(form->ListBoxPortSolenoid, host.RelayBoardPath());
    ClickItem(form->ListBoxPortMFC, host.MfcLinePath());
    ClickItem(form->ListBoxSetupGas1, "O2");
    ClickItem(form->ListBoxSetupGas2, "N2");

    ports = {host.MfcLinePath()};  // the relay board's adapter is unplugged
    Restart();

    EXPECT_FALSE(form->ButtonSetupRemembered->isEnabled());
    EXPECT_EQ(form->ListBoxPortMFC->ItemIndex(), -1);

    // A start that chooses nothing forgets nothing.
    ports = {host.MfcLinePath(), host.RelayBoardPath()};
    Restart();
    EXPECT_TRUE(form->ButtonSetupRemembered->isEnabled());
}

}  // namespace
}  // namespace gasmixer::test
