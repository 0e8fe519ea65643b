#include "FieldFixture.h"

#include "controls/RtNumericUpDn.h"
#include "controls/UpDownButtons.h"

#include <QSignalSpy>
#include <QToolButton>

namespace gasmixer {
namespace {

using Values = std::vector<double>;

class NumericUpDnTest : public FieldTest {
protected:
    void SetUp() override
    {
        FieldTest::SetUp();
        upDn = Add(new TRtNumericUpDn(&window));
    }

    // The window's gas B limit field.
    void ConfigureGasBLimit()
    {
        upDn->SetIncrement(0.001);
        upDn->SetDecimalPlaces(6);
        upDn->SetMaxValue(2.0);
        upDn->SetValue(0.4);
        fired.clear();
    }

    TUpDownButtons* Buttons() const { return static_cast<TUpDownButtons*>(upDn->UpDownButtons()); }

    TRtNumericUpDn* upDn = nullptr;
};

TEST_F(NumericUpDnTest, DefaultsToWholeNumbersWithoutHashes)
{
    EXPECT_EQ(upDn->Increment(), 1.0);
    EXPECT_EQ(upDn->BtnWidth(), 15);
    EXPECT_EQ(upDn->DecimalPlaces(), 0);
    EXPECT_EQ(upDn->text(), "0");
    ConfigureGasBLimit();
    EXPECT_EQ(upDn->text(), "0.400000");

    upDn->setFixedWidth(25);
    QApplication::processEvents();
    EXPECT_NE(upDn->text(), QString(45, '#'));
}

TEST_F(NumericUpDnTest, DecimalPlacesAreLimitedTo0Through18)
{
    struct Case {
        int written;
        int stored;
        const char* text;
    };
    upDn->SetValue(0.25);
    for (const Case& c : {Case{25, 18, "0.250000000000000000"}, Case{-3, 0, "0"},
                          Case{6, 6, "0.250000"}}) {
        upDn->SetDecimalPlaces(c.written);
        EXPECT_EQ(upDn->DecimalPlaces(), c.stored) << c.written;
        EXPECT_EQ(upDn->text(), c.text) << c.written;
    }
}

TEST_F(NumericUpDnTest, ManyDecimalPlacesShowNoBinaryNoise)
{
    upDn->setFixedWidth(400);
    upDn->SetDecimalPlaces(18);
    upDn->SetValue(1.1);
    EXPECT_EQ(upDn->text(), "1.100000000000000090");
    upDn->SetValue(123.456);
    EXPECT_EQ(upDn->text(), "123.456000000000003000");
}

TEST_F(NumericUpDnTest, StepAtTheLimitStaysAndStillFires)
{
    ConfigureGasBLimit();
    upDn->SetValue(2.0);
    fired.clear();
    Show();
    QTest::mouseClick(Buttons()->UpButton(), Qt::LeftButton);
    EXPECT_EQ(upDn->Value(), 2.0);
    EXPECT_EQ(upDn->text(), "2.000000");
    EXPECT_EQ(fired, (Values{2.0}));
}

TEST_F(NumericUpDnTest, WithoutLimitsStepsBelowZero)
{
    upDn->SetIncrement(0.25);
    upDn->SetDecimalPlaces(2);
    upDn->SetValue(0);
    fired.clear();
    Show();
    QTest::mouseClick(Buttons()->DownButton(), Qt::LeftButton);
    QTest::mouseClick(Buttons()->DownButton(), Qt::LeftButton);
    EXPECT_EQ(upDn->Value(), -0.5);
    EXPECT_EQ(upDn->text(), "-0.50");
    EXPECT_EQ(fired, (Values{-0.25, -0.5}));
}

TEST_F(NumericUpDnTest, IncrementAloneChangesNothing)
{
    ConfigureGasBLimit();
    upDn->SetIncrement(0.2);
    EXPECT_EQ(upDn->Value(), 0.4);
    EXPECT_EQ(upDn->text(), "0.400000");
    EXPECT_EQ(fired, Values{});
}

TEST_F(NumericUpDnTest, GasSelectionSequenceFiresForEachEffectiveWrite)
{
    ConfigureGasBLimit();
    upDn->SetMaxValue(1.0);    // re-clamps 0.4: unchanged value, still announced
    upDn->SetMinValue(0.02);
    upDn->SetValue(0.5);
    upDn->SetIncrement(0.1);
    EXPECT_EQ(fired, (Values{0.4, 0.4, 0.5}));
    upDn->SetMaxValue(1.0);
    EXPECT_EQ(fired.size(), 3u);
}

TEST_F(NumericUpDnTest, ArrowKeysStepFromTheLastAcceptedValue)
{
    ConfigureGasBLimit();
    Show();
    EnterSelected(upDn);
    QTest::keyClicks(upDn, "0.5");
    QTest::keyClick(upDn, Qt::Key_Up);
    EXPECT_DOUBLE_EQ(upDn->Value(), 0.501);
    EXPECT_EQ(upDn->text(), "0.501000");

    // Out of range, then not a number: both leave the accepted value in place.
    for (const char* typed : {"3", "-"}) {
        const double before = upDn->Value();
        upDn->selectAll();
        QTest::keyClicks(upDn, typed);
        QTest::keyClick(upDn, Qt::Key_Down);
        EXPECT_DOUBLE_EQ(upDn->Value(), before - 0.001) << typed;
    }
    EXPECT_TRUE(upDn->hasFocus());
    EXPECT_EQ(beeps, 0);
}

TEST_F(NumericUpDnTest, ClickOnTheTextOnlyIsAClick)
{
    Show();
    QSignalSpy clicks(upDn, &TRtNumericUpDn::OnClick);
    QTest::mouseClick(upDn, Qt::LeftButton, {}, QPoint(5, upDn->height() / 2));
    EXPECT_EQ(clicks.count(), 1);
    QTest::mouseClick(Buttons()->UpButton(), Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_EQ(upDn->Value(), 1.0);
}

TEST_F(NumericUpDnTest, ButtonsSitAtTheRightEdgeAndFollowTheField)
{
    Show();
    const QRect buttons = Buttons()->geometry();
    EXPECT_EQ(buttons.width(), 15);
    EXPECT_TRUE(upDn->rect().contains(buttons));
    EXPECT_GE(buttons.left(), upDn->width() - 15 - 4);

    upDn->SetBtnWidth(20);
    EXPECT_EQ(Buttons()->width(), 20);
    upDn->setFixedWidth(120);
    QApplication::processEvents();
    EXPECT_TRUE(upDn->rect().contains(Buttons()->geometry()));
    EXPECT_GE(Buttons()->geometry().left(), 120 - 20 - 4);

    upDn->setEnabled(false);
    EXPECT_FALSE(Buttons()->isEnabled());
    QTest::mouseClick(Buttons()->UpButton(), Qt::LeftButton);
    EXPECT_EQ(upDn->Value(), 0.0);
    EXPECT_EQ(fired, Values{});
}

TEST_F(NumericUpDnTest, AsIntegerRoundsHalvesToEven)
{
    for (const auto& [value, rounded] :
         {std::pair{2.5, 2LL}, {3.5, 4LL}, {-2.5, -2LL}, {0.4, 0LL}, {1.6, 2LL}}) {
        upDn->SetValue(value);
        EXPECT_EQ(upDn->AsInteger(), rounded) << value;
    }
    fired.clear();
    upDn->SetAsInteger(7);
    EXPECT_EQ(upDn->Value(), 7.0);
    EXPECT_EQ(fired, (Values{7.0}));
}

}  // namespace
}  // namespace gasmixer
