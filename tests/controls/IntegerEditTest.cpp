#include "FieldFixture.h"

#include "controls/RtIntegerEdit.h"

#include <QSignalSpy>

#include <stdexcept>

namespace gasmixer {
namespace {

using Values = std::vector<double>;

class IntegerEditTest : public FieldTest {
protected:
    void SetUp() override
    {
        FieldTest::SetUp();
        edit = Add(new TRtIntegerEdit(&window));
    }

    TRtIntegerEdit* edit = nullptr;
};

TEST_F(IntegerEditTest, StartsAtZeroWithoutLimits)
{
    EXPECT_EQ(edit->Value(), 0);
    EXPECT_EQ(edit->text(), "0");
    for (int v : {-5, 2000000}) {
        edit->SetValue(v);
        EXPECT_EQ(edit->Value(), v);
        EXPECT_EQ(edit->text(), QString::number(v));
    }
    EXPECT_EQ(fired, (Values{-5, 2000000}));
}

TEST_F(IntegerEditTest, SettingValueAlwaysFiresAndClampsIntoLimits)
{
    edit->SetMaxValue(60);
    edit->SetValue(75);
    edit->SetValue(60);
    edit->SetValue(-1);
    EXPECT_EQ(fired, (Values{0, 60, 60, 0}));
    EXPECT_EQ(edit->text(), "0");
    EXPECT_EQ(beeps, 0);
}

TEST_F(IntegerEditTest, LimitWriteThatChangesTheLimitReclamps)
{
    edit->SetValue(150);
    fired.clear();

    edit->SetMaxValue(100);
    EXPECT_EQ(edit->Value(), 100);
    EXPECT_EQ(edit->text(), "100");
    EXPECT_EQ(fired, (Values{100}));

    edit->SetMaxValue(100);
    edit->SetMinValue(0);
    EXPECT_EQ(fired, (Values{100})) << "an unchanged limit fires nothing";

    // Max <= Min: no limits at all.
    edit->SetMinValue(200);
    EXPECT_EQ(edit->Value(), 100);
    edit->SetValue(-7);
    EXPECT_EQ(edit->Value(), -7);
    EXPECT_EQ(fired, (Values{100, 100, -7}));
}

TEST_F(IntegerEditTest, EveryValidKeystrokeIsAnnounced)
{
    Show();
    EnterSelected(edit);
    QTest::keyClicks(edit, "150");
    EXPECT_EQ(fired, (Values{1, 15, 150}));
    EXPECT_EQ(edit->Value(), 150);
    EXPECT_EQ(beeps, 0);
}

TEST_F(IntegerEditTest, OutOfRangeTypingWaitsAndIsClampedOnLeaving)
{
    edit->SetMaxValue(60);
    edit->SetValue(1);
    Show();
    fired.clear();

    EnterSelected(edit);
    QTest::keyClicks(edit, "75");
    EXPECT_EQ(fired, (Values{7}));
    EXPECT_EQ(edit->text(), "75");
    EXPECT_EQ(edit->Value(), 7);

    Leave();
    EXPECT_EQ(edit->Value(), 60);
    EXPECT_EQ(edit->text(), "60");
    EXPECT_EQ(fired, (Values{7, 60}));
    EXPECT_EQ(beeps, 1);
}

TEST_F(IntegerEditTest, RejectedKeysBeepAndUnparsableTextIsReplacedOnLeaving)
{
    Show();
    EnterSelected(edit);
    QTest::keyClicks(edit, "1a.-2");
    EXPECT_EQ(edit->text(), "1-2");
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(fired, (Values{1}));

    Leave();
    EXPECT_EQ(edit->text(), "1");
    EXPECT_EQ(edit->Value(), 1);
    EXPECT_EQ(beeps, 2) << "the value did not change";
    EXPECT_EQ(fired, (Values{1}));
}

TEST_F(IntegerEditTest, EnterValidatesBeepsAndKeepsTheFocus)
{
    edit->SetMaxValue(60);
    Show();
    QSignalSpy doubleClicks(edit, &TRtIntegerEdit::OnDblClick);
    fired.clear();
    EnterSelected(edit);
    QTest::keyClicks(edit, "75");

    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(edit->Value(), 60);
    EXPECT_EQ(edit->text(), "60");
    EXPECT_EQ(fired, (Values{7, 60}));
    EXPECT_EQ(beeps, 2) << "one for the clamp, one for the dropped Enter";
    EXPECT_EQ(doubleClicks.count(), 1);
    EXPECT_TRUE(edit->hasFocus());

    QTest::keyClick(edit, Qt::Key_Enter);
    EXPECT_EQ(fired, (Values{7, 60})) << "nothing left to clamp";
    EXPECT_EQ(beeps, 3);
    EXPECT_EQ(doubleClicks.count(), 2);
}

TEST_F(IntegerEditTest, NarrowFieldShowsHashesAndEntryRestoresTheFullText)
{
    auto* narrow = Add(new TRtIntegerEdit(&window), 30);
    Show();
    narrow->SetValue(1000000);
    EXPECT_EQ(narrow->text(), QString(45, '#'));
    EXPECT_EQ(narrow->Value(), 1000000);
    fired.clear();

    // The restored text is processed as an edit: announced, value unchanged.
    Enter(narrow);
    EXPECT_EQ(narrow->text(), "1000000");
    EXPECT_EQ(fired, (Values{1000000}));

    Leave();
    EXPECT_EQ(narrow->text(), QString(45, '#'));
    EXPECT_EQ(beeps, 0);

    // A field whose text does not change on entry announces nothing.
    Enter(edit);
    EXPECT_EQ(fired, (Values{1000000}));
}

TEST_F(IntegerEditTest, EntryRestoresCaretAndSelection)
{
    edit->SetValue(12345);
    Show();
    Enter(edit);
    edit->setSelection(1, 2);
    Leave();
    EXPECT_EQ(edit->cursorPosition(), 0);

    Enter(edit);
    EXPECT_EQ(edit->selectionStart(), 1);
    EXPECT_EQ(edit->selectedText(), "23");

    // A value written while the field has the focus is selected whole at the next entry.
    edit->SetValue(678);
    Leave();
    Enter(edit);
    EXPECT_EQ(edit->selectedText(), "678");
}

TEST_F(IntegerEditTest, HandlerFailuresDoNotEscape)
{
    QObject::connect(edit, &TRtIntegerEdit::OnValueChanged, edit, [this] {
        if (edit->Value() == 13) throw std::runtime_error("handler failed");
    });

    edit->SetValue(13);
    EXPECT_EQ(edit->text(), "Error");
    EXPECT_EQ(edit->Value(), 13);
    edit->SetValue(5);
    EXPECT_EQ(edit->text(), "5");

    Show();
    EnterSelected(edit);
    QTest::keyClicks(edit, "130");
    EXPECT_EQ(edit->text(), "130");
    EXPECT_EQ(edit->Value(), 130);
    EXPECT_EQ(fired, (Values{13, 5, 1, 13, 130}));
}

}  // namespace
}  // namespace gasmixer
