// The window's water-temperature reading through the real relay-board
// exchange against the simulated board.
#include "Form1Fixture.h"

#include "controls/RtFloatEdit.h"
#include "controls/RtIntegerEdit.h"
#include "gasdata/MolarMasses.h"
#include "instruments/SerialDevice.h"
#include "sim/SimulatorHost.h"

#include <QLabel>
#include <QPlainTextEdit>

#include <cmath>
#include <functional>

namespace gasmixer::test {
namespace {

class WaterTemperatureTest : public Form1Test {
protected:
    sim::SimulatorHost host;

    void SetUp() override
    {
        ports = {host.MfcLinePath(), host.RelayBoardPath()};
        Form1Test::SetUp();
    }

    void ChooseSimulatedBoard() { ClickItem(form->ListBoxPortSolenoid, host.RelayBoardPath()); }

    std::vector<std::string> DebugLines() const
    {
        std::vector<std::string> lines = Lines(form->MemoDevFeedback->toPlainText());
        if (lines.size() == 1 && lines[0].empty()) lines.clear();
        return lines;
    }

    std::string Label14() const { return form->Label14->text().toStdString(); }
};

TEST_F(WaterTemperatureTest, EveryCountGivesAFiniteVapourPressure)
{
    ChooseSimulatedBoard();
    struct Case {
        std::uint16_t count;
        std::size_t lines;
        const char* label;
    };
    for (const Case c : {Case{0, 1, "@ 0.0ºC"}, Case{1, 3, "@ 0.0ºC"}, Case{235, 3, "@ 0.0ºC"},
                         Case{236, 3, "@ 54.9ºC"}, Case{512, 3, "@ 25.0ºC"}, Case{783, 3, "@ 0.1ºC"},
                         Case{784, 3, "@ 0.0ºC"}, Case{1023, 3, "@ 0.0ºC"}, Case{1024, 2, "@ 0.0ºC"},
                         Case{65535, 3, "@ 0.0ºC"}}) {
        form->MemoDevFeedback->clear();
        host.RelayBoard().SetAnalogCount(c.count);
        form->RtIntegerEditH2OTempValueChanged();
        const auto lines = DebugLines();
        ASSERT_EQ(lines.size(), c.lines) << c.count;
        EXPECT_EQ(lines[0], "0-1024 DAC = " + std::to_string(c.count));
        if (c.lines > 1) {
            EXPECT_TRUE(lines[1].starts_with("Voltage    = ")) << lines[1];
        }
        if (c.lines > 2) {
            EXPECT_TRUE(lines[2].starts_with("Ohm        = ")) << lines[2];
        }
        EXPECT_EQ(Label14(), c.label) << c.count;
        const double pH2O = form->RtIntegerEditpH2O->Value();
        EXPECT_TRUE(std::isfinite(pH2O)) << c.count;
        if (std::string(c.label) == "@ 0.0ºC") {
            EXPECT_EQ(pH2O, WaterVapourPressure(0.0f)) << c.count;
        }
    }
}

TEST_F(WaterTemperatureTest, TheOperationTabShowsTheBoardsWaterAndMaxUsesIt)
{
    ChooseSimulatedBoard();
    ClickItem(form->ListBoxPortMFC, host.MfcLinePath());
    ClickItem(form->ListBoxSetupGas1, "O2");
    ClickItem(form->ListBoxSetupGas2, "N2");
    host.RelayBoard().SetWaterTemperature(30.0);
    ClickTab(OperationPage);
    ASSERT_EQ(ActivePage(), OperationPage);
    EXPECT_EQ(Label14(), "@ 30.0ºC");
    const double pH2O = form->RtIntegerEditpH2O->Value();
    EXPECT_NEAR(pH2O, 0.0419, 0.0005);

    form->RtIntegerEditGasAPPM->SetValue(0);  // no gas A to share the mixture with
    form->MemoDevFeedback->clear();
    form->Button2Click();
    EXPECT_EQ(form->RtIntegerEditH2Oppm->Value(), static_cast<int>(std::floor(pH2O * 1000000.0)));
    EXPECT_TRUE(DebugLines().at(0).starts_with("0-1024 DAC = ")) << "the ppm change reads again";
}

// Before the board has ever answered there is nothing better than zero.
TEST_F(WaterTemperatureTest, WithoutAnAnswerTheWaterReadsAsZero)
{
    struct Case {
        const char* name;
        std::function<void()> arrange;
    };
    const Case cases[] = {
        {"silent board", [&] {
             ChooseSimulatedBoard();
             host.RelayBoard().Faults().Set({sim::FaultKind::Silent});
         }},
        {"fake board, real controllers", [&] {
             ChooseFakePorts();
             ClickItem(form->ListBoxPortMFC, host.MfcLinePath());
         }},
        {"no board chosen", [] {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeForm();
        c.arrange();
        form->MemoDevFeedback->clear();
        form->RtIntegerEditH2OTempValueChanged();
        EXPECT_EQ(DebugLines(), std::vector<std::string>{"0-1024 DAC = 0"});
        EXPECT_EQ(Label14(), "@ 0.0ºC");
        EXPECT_EQ(form->RtIntegerEditpH2O->Value(), WaterVapourPressure(0.0f));
        host.RelayBoard().Faults().Set({});
    }
}

// A reading that meets the wetting worker's exchange, or a board that has
// gone quiet, measures nothing: the water the board last reported stands.
TEST_F(WaterTemperatureTest, AFailedReadingKeepsTheLastWater)
{
    struct Case {
        const char* name;
        std::function<TSerialDevice()> fail;  // the returned device is held through the reading
        const char* status;  // part of the line that says why
    };
    const Case cases[] = {
        {"board held by another exchange", [&] { return TSerialDevice::OpenExclusive(host.RelayBoardPath()); },
         "(Failed to setup Com port, port in use)"},
        {"silent board", [&] {
             host.RelayBoard().Faults().Set({sim::FaultKind::Silent});
             return TSerialDevice{};
         }, "("},  // whatever the port says
    };
    ChooseSimulatedBoard();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host.RelayBoard().SetWaterTemperature(30.0);
        form->RtIntegerEditH2OTempValueChanged();
        ASSERT_EQ(Label14(), "@ 30.0ºC");
        const double pH2O = form->RtIntegerEditpH2O->Value();

        {
            const TSerialDevice held = c.fail();
            form->MemoDevFeedback->clear();
            form->RtIntegerEditH2OTempValueChanged();
        }
        const std::vector<std::string> lines = DebugLines();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_TRUE(lines[0].starts_with("Water temperature not read ")) << lines[0];
        EXPECT_TRUE(lines[0].ends_with("); the last reading stands")) << lines[0];
        EXPECT_NE(lines[0].find(c.status), std::string::npos) << lines[0];
        EXPECT_EQ(Label14(), "@ 30.0ºC");
        EXPECT_EQ(form->RtIntegerEditpH2O->Value(), pH2O);

        host.RelayBoard().Faults().Set({});
        host.RelayBoard().SetWaterTemperature(25.0);
        form->RtIntegerEditH2OTempValueChanged();
        EXPECT_EQ(Label14(), "@ 25.0ºC") << "the next reading that arrives replaces it";
    }
}

TEST_F(WaterTemperatureTest, BothPortsFakeGiveTheRoomEstimateWithoutATrace)
{
    ChooseFakePorts();
    form->MemoDevFeedback->clear();
    form->RtIntegerEditH2OTempValueChanged();
    EXPECT_TRUE(DebugLines().empty());
    EXPECT_EQ(Label14(), "@ 20.0ºC (Estimated)");
    EXPECT_EQ(form->RtIntegerEditpH2O->Value(), WaterVapourPressure(20.0f));
}

}  // namespace
}  // namespace gasmixer::test
