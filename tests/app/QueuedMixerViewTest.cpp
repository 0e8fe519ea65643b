// The window's side of the mixer's news: told from the mixer's thread, it
// arrives on the window's thread in order, and news that fails to show does
// not hold back what comes after it.
#include "app/QueuedMixerView.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace gasmixer::test {
namespace {

class RecordingView final : public MixerView {
public:
    void StatusText(const std::string& text) override
    {
        if (text == "fails") throw std::runtime_error("could not show it");
        told.push_back(text);
    }
    void DevFeedback(const std::string& line) override { told.push_back(line); }
    void Error(const std::string& message) override { errors.push_back(message); }

    std::vector<std::string> told;
    std::vector<std::string> errors;
};

TEST(QueuedMixerView, NewsFromAnotherThreadArrivesInOrderAndAFailureHoldsNothingBack)
{
    RecordingView window;
    QObject context;
    QueuedMixerView view(window, context);
    std::thread mixer([&view] {
        view.DevFeedback("first");
        view.StatusText("fails");
        view.StatusText("Dilution");
        view.DevFeedback("last");
    });
    mixer.join();
    EXPECT_TRUE(window.told.empty()) << "nothing is shown on the mixer's thread";

    EXPECT_TRUE(QTest::qWaitFor([&window] { return window.told.size() == 3; }, 10'000));
    EXPECT_EQ(window.told, (std::vector<std::string>{"first", "Dilution", "last"}));
    EXPECT_EQ(window.errors, std::vector<std::string>{"could not show it"});

    view.DevFeedback("told on the window's own thread");
    EXPECT_EQ(window.told.back(), "told on the window's own thread") << "at once";
}

}  // namespace
}  // namespace gasmixer::test
