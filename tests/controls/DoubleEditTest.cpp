#include "FieldFixture.h"

#include "common/TextFormat.h"
#include "controls/DateTimeText.h"
#include "controls/NumberText.h"
#include "controls/RtFloatEdit.h"

#include <stdexcept>

namespace gasmixer {
namespace {

using Values = std::vector<double>;

// Lets the tests compare the display with the room it had.
class ProbeDoubleEdit : public TRtDoubleEdit {
public:
    using TRtDoubleEdit::TRtDoubleEdit;
    using TRtCustomDoubleEdit::TextRoom;
    int Width(const QString& text) const { return TextWidth(text); }
};

class DoubleEditTest : public FieldTest {
protected:
    void SetUp() override
    {
        FieldTest::SetUp();
        edit = Add(new ProbeDoubleEdit(&window));
    }

    ProbeDoubleEdit* edit = nullptr;
};

TEST_F(DoubleEditTest, TextFollowsFormatOrGeneralFormat)
{
    EXPECT_EQ(edit->text(), "0");
    EXPECT_TRUE(edit->DoHashes());
    edit->SetValue(24.0);
    EXPECT_EQ(edit->text(), "24");
    edit->SetValue(1.0 / 3);
    EXPECT_EQ(edit->text(), "0.333333333333333");
    edit->SetFormat("0.000 000");
    edit->SetValue(0.000048);
    EXPECT_EQ(edit->text(), "0.000 048");
    EXPECT_EQ(fired, (Values{24.0, 1.0 / 3, 0.000048}));
}

TEST_F(DoubleEditTest, NarrowFieldFitsSignificantDigitsBeforeFallingBackToHashes)
{
    const double value = 0.123456789;
    edit->SetFormat("0.000 000 000");
    edit->SetValue(value);
    Show();
    bool sawFitted = false;
    bool sawHashes = false;
    for (int width = 200; width >= 8; width -= 2) {
        edit->setFixedWidth(width);
        QApplication::processEvents();
        const QString shown = edit->text();
        const int room = edit->TextRoom() + 2;
        if (shown == QString(45, '#')) {
            sawHashes = true;
            EXPECT_GT(edit->Width(QString::fromStdString(FitText(2, value))), room) << width;
            continue;
        }
        EXPECT_LE(edit->Width(shown), room) << width << " " << shown.toStdString();
        if (shown != "0.123 456 789") {
            sawFitted = true;
            const auto parsed = ParseReal(shown.toStdString(), '.');
            ASSERT_TRUE(parsed.has_value()) << shown.toStdString();
            EXPECT_NEAR(*parsed, value, 0.06) << shown.toStdString();
        }
    }
    EXPECT_TRUE(sawFitted);
    EXPECT_TRUE(sawHashes);

    // Without hashes the shortest fit stays, clipped.
    edit->SetDoHashes(false);
    EXPECT_EQ(edit->text(), "0.1");
}

TEST_F(DoubleEditTest, EntryRestoresTheFullTextOfAFittedDisplay)
{
    auto* narrow = Add(new TRtDoubleEdit(&window), 40);
    narrow->SetFormat("0.000 000");
    narrow->SetValue(0.000048);
    Show();
    ASSERT_NE(narrow->text(), "0.000 048");
    fired.clear();

    Enter(narrow);
    EXPECT_EQ(narrow->text(), "0.000 048");
    EXPECT_EQ(fired, Values{}) << "\"0.000 048\" does not parse: no edit";

    narrow->SetFormat("");
    narrow->SetValue(0.000048);
    Leave();
    fired.clear();
    Enter(narrow);
    EXPECT_EQ(narrow->text(), "4.8E-5");
    EXPECT_EQ(fired, (Values{0.000048}));
}

TEST_F(DoubleEditTest, TypedNumbersAndClampOnLeaving)
{
    edit->SetMaxValue(2.0);
    Show();
    fired.clear();
    EnterSelected(edit);
    QTest::keyClicks(edit, "1E-3");
    EXPECT_EQ(fired, (Values{1, 1e-3}));

    edit->selectAll();
    QTest::keyClicks(edit, "3");
    EXPECT_EQ(edit->Value(), 1e-3) << "out of range: waits for leaving";
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->Value(), 1e-3) << "empty text is ignored";
    QTest::keyClicks(edit, "3");

    Leave();
    EXPECT_EQ(edit->Value(), 2.0);
    EXPECT_EQ(edit->text(), "2");
    EXPECT_EQ(fired, (Values{1, 1e-3, 2.0}));
    EXPECT_EQ(beeps, 1);
}

TEST_F(DoubleEditTest, LocaleDecimalSeparatorIsUsedBothWays)
{
    const FormatSettings saved = CurrentFormatSettings();
    FormatSettings comma = saved;
    comma.decimalSeparator = ',';
    SetFormatSettings(comma);

    edit->SetValue(1.5);
    EXPECT_EQ(edit->text(), "1,5");
    Show();
    EnterSelected(edit);
    QTest::keyClicks(edit, "2,25");
    EXPECT_EQ(edit->Value(), 2.25);
    edit->selectAll();
    QTest::keyClicks(edit, "7.5");
    EXPECT_EQ(edit->Value(), 7.0) << "\"7.\" is not a number here";
    EXPECT_EQ(beeps, 0) << "'.' is still accepted by the key filter";

    SetFormatSettings(saved);
}

struct SpanCase {
    double value;
    const char* text;
};

class TimeSpanFieldTest : public FieldTest, public ::testing::WithParamInterface<SpanCase> {};

TEST_P(TimeSpanFieldTest, ShowsDurationOrError)
{
    auto* edit = Add(new TRtDoubleEdit(&window));
    edit->SetAsTimeSpan(true);
    edit->SetValue(GetParam().value);
    EXPECT_EQ(edit->text(), GetParam().text);
    EXPECT_EQ(edit->Value(), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Cases, TimeSpanFieldTest,
                         ::testing::Values(SpanCase{1.5, "1.12:00:00.000"}, SpanCase{-1, "Error"},
                                           SpanCase{0, ""}, SpanCase{3, "3.00:00:00.000"}));

TEST_F(DoubleEditTest, PassingThroughATimeSpanFieldKeepsItsValue)
{
    edit->SetAsTimeSpan(true);
    Show();
    for (double days : {2.0, 1.5, 0.0}) {
        edit->SetValue(days);
        fired.clear();
        Enter(edit);
        Leave();
        EXPECT_EQ(edit->Value(), days);
        EXPECT_EQ(fired, Values{}) << days;
    }
    EXPECT_EQ(beeps, 0);

    EnterSelected(edit);
    QTest::keyClicks(edit, "1.06:00:00");
    EXPECT_DOUBLE_EQ(edit->Value(), 1.25);
}

TEST_F(DoubleEditTest, DateAndTimeSpanModesExcludeEachOther)
{
    edit->SetAsTimeSpan(true);
    edit->SetAsDateTime(true);
    EXPECT_FALSE(edit->AsTimeSpan());
    edit->SetMinValue(-1e9);
    edit->SetMaxValue(1e9);
    EXPECT_EQ(edit->MinValue(), MinFieldDateTime);
    EXPECT_EQ(edit->MaxValue(), MaxFieldDateTime);
    edit->SetValue(EncodeDateTime(2024, 5, 17, 8, 30));
    EXPECT_EQ(edit->text(), "2024/05/17 08:30:00");
    edit->SetAsTimeSpan(true);
    EXPECT_FALSE(edit->AsDateTime());
}

TEST_F(DoubleEditTest, HandlerFailureOnValueWriteShowsError)
{
    QObject::connect(edit, &TRtDoubleEdit::OnValueChanged, edit,
                     [] { throw std::runtime_error("handler failed"); });
    edit->SetValue(0.5);
    EXPECT_EQ(edit->text(), "Error");
    EXPECT_EQ(edit->Value(), 0.5);
}

}  // namespace
}  // namespace gasmixer
