#include "Form1Fixture.h"

#include <QPlainTextEdit>
#include <QTimer>

#include <stdexcept>
#include <thread>

namespace gasmixer::test {
namespace {

// A receiver whose event handling fails, as a handler that meets an error.
class FailingReceiver final : public QObject {
public:
    explicit FailingReceiver(std::string message) : message_(std::move(message)) {}
    bool event(QEvent*) override { throw std::runtime_error(message_); }

private:
    std::string message_;
};

void RaiseInAnEvent(const std::string& message)
{
    FailingReceiver receiver(message);
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&receiver, &event);
}

using ErrorHandlingTest = Form1Test;

constexpr int Patience = 10'000;  // ms; only a hang reaches it

TEST_F(ErrorHandlingTest, AnErrorInATimerTickIsShownAndTheProgramRunsOn)
{
    QTimer::singleShot(0, form.get(), [] { throw CompoundNotFound("Xe"); });
    ASSERT_TRUE(QTest::qWaitFor([this] { return !dialogs.Errors.empty(); }, Patience));

    ASSERT_EQ(dialogs.Errors.size(), 1u);
    EXPECT_EQ(dialogs.Errors[0], CompoundNotFound("Xe").what());
    // The window still works afterwards.
    ChooseFakePorts();
    EXPECT_EQ(form->ListBoxSetupGas2->SelectedText(), "N2");
}

TEST_F(ErrorHandlingTest, ErrorsWhileAnErrorBoxIsOpenGoToTheDebugMemo)
{
    dialogs.WhileErrorShown = [] {
        RaiseInAnEvent("second");
        RaiseInAnEvent("third");
    };
    RaiseInAnEvent("first");

    EXPECT_EQ(dialogs.Errors, (std::vector<std::string>{"first"}));
    EXPECT_EQ(Lines(form->MemoDevFeedback->toPlainText()), (std::vector<std::string>{"second", "third"}));

    dialogs.WhileErrorShown = nullptr;
    RaiseInAnEvent("after");
    EXPECT_EQ(dialogs.Errors, (std::vector<std::string>{"first", "after"})) << "boxes show again once closed";
}

TEST_F(ErrorHandlingTest, AnErrorOnAnotherThreadIsShownOnTheWindowThread)
{
    std::thread worker([] { RaiseInAnEvent("from a worker"); });
    worker.join();
    EXPECT_TRUE(dialogs.Errors.empty()) << "not shown from the worker itself";
    ASSERT_TRUE(QTest::qWaitFor([this] { return !dialogs.Errors.empty(); }, Patience));
    EXPECT_EQ(dialogs.Errors, (std::vector<std::string>{"from a worker"}));
}

}  // namespace
}  // namespace gasmixer::test
