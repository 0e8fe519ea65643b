#pragma once

#include "app/Form1.h"
#include "app/GuardedApplication.h"
#include "app/ListBox.h"
#include "app/OperatorDialogs.h"
#include "app/PageControl.h"
#include "common/ManualClock.h"
#include "mixer/MixerThread.h"
#include "mixer/ProgramRunner.h"
#include "tests/support/AskMixer.h"
#include "tests/support/WorkingFolder.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace gasmixer::test {

// Records every box the window shows and answers questions from a script.
class RecordingDialogs final : public OperatorDialogs {
public:
    struct Asked {
        std::string Text;
        std::string Title;
    };

    std::vector<std::string> Informations;
    std::vector<Asked> Questions;
    std::vector<std::string> Errors;
    std::deque<bool> Answers;  // unscripted questions are answered No
    std::function<void()> WhileErrorShown;
    std::optional<std::string> OpenFileAnswer;  // the file "chosen" in an open dialog
    std::vector<SaveDialogSettings> OpenDialogs;     // what each open dialog was opened with
    std::vector<SaveDialogSettings> SaveDialogs;     // what each save dialog was opened with
    std::deque<std::optional<std::string>> SaveAnswers;  // unscripted save dialogs are cancelled

    void Information(const std::string& text) override { Informations.push_back(text); }
    bool Question(const std::string& text, const std::string& title) override
    {
        Questions.push_back({text, title});
        if (Answers.empty()) return false;
        const bool answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    void Error(const std::string& text) override
    {
        Errors.push_back(text);
        if (WhileErrorShown) WhileErrorShown();
    }
    std::optional<std::string> SaveFile(const SaveDialogSettings& settings) override
    {
        SaveDialogs.push_back(settings);
        if (SaveAnswers.empty()) return std::nullopt;
        std::optional<std::string> answer = SaveAnswers.front();
        SaveAnswers.pop_front();
        return answer;
    }

    std::optional<std::string> OpenFile(const SaveDialogSettings& settings) override
    {
        OpenDialogs.push_back(settings);
        return OpenFileAnswer;
    }

    void Clear()
    {
        Informations.clear();
        Questions.clear();
        Errors.clear();
    }
};

// The window with a hand-stepped clock, a port listing the test controls and
// recording dialogs; errors in handlers reach the window as in the program.
// It works in a scratch folder of its own, where its autosaves, saved tables
// and journals go and go away with it.
class Form1Test : public ::testing::Test {
protected:
    QTemporaryDir scratch;
    std::optional<WorkingFolder> inScratch;
    std::string journalFolder;  // the scratch folder's, unless a test sets its own first
    std::string settingsPath;   // where the set-up is remembered; empty: nowhere

    static constexpr int SetupPage = 0;
    static constexpr int OperationPage = 1;
    static constexpr int DebugPage = 4;

    ManualClock clock{EncodeDateTime(2024, 5, 14, 9, 30, 0)};
    std::vector<TPortChoice> ports;
    RecordingDialogs dialogs;
    WorkerTiming* wettingTiming = &SystemWorkerTiming::Instance();
    std::unique_ptr<TForm1> form;
    // The tick's long waits are recorded, not waited; the clock moves by them.
    std::vector<std::uint32_t> sleeps;
    std::function<void(std::uint32_t)> whileSleeping;
    int percentDrawn = 50;  // what the schematic's wet/dry drawing gets
    bool mixerThread = false;
    // Where saves write; the real file system when unset.
    std::function<WriteOutcome(const std::string&, const ContentProducer&)> writeFile;

    void SetUp() override
    {
        ASSERT_TRUE(scratch.isValid());
        inScratch.emplace(scratch.path().toStdString());
        if (journalFolder.empty()) journalFolder = scratch.filePath(QStringLiteral("journal")).toStdString();
        MakeForm();
    }

    void TearDown() override
    {
        Application().SetErrorHandler({});
        form.reset();
        inScratch.reset();
    }

    static GuardedApplication& Application() { return static_cast<GuardedApplication&>(*qApp); }

    void MakeForm()
    {
        const auto sleep = [this](std::uint32_t ms) {
            sleeps.push_back(ms);
            clock.Advance(ms * OneSecond / 1000);
            if (whileSleeping) whileSleeping(ms);
        };
        FormServices services{.clock = clock,
                              .monotonic = clock,
                              .listPorts = [this] { return ports; },
                              .dialogs = dialogs,
                              .sleep = sleep,
                              .drawPercent = [this] { return percentDrawn; },
                              .wettingTiming = *wettingTiming};
        services.journalFolder = journalFolder;
        services.settingsPath = settingsPath;
        services.writeFile = [this](const std::string& path, const ContentProducer& content) {
            return writeFile ? writeFile(path, content) : WriteFileAtomically(path, content);
        };
        // Unless a test asks for its own thread, the mixer runs on this one
        // and its ticks are stepped by hand.
        services.mixerThread = mixerThread;
        form = std::make_unique<TForm1>(std::move(services));
        Application().SetErrorHandler([this](const std::string& m) { form->ReportError(m); });
        form->show();
        QApplication::processEvents();
    }

    // Waits until the mixer has run everything posted so far, then takes the
    // news it told meanwhile. At once when the mixer runs on this thread.
    void SyncWithMixer()
    {
        AskMixer(form->Mixer(), [](TMixer&) { return true; });
        QApplication::processEvents();
    }

    // Waits until the saves asked so far are written and their end told.
    void FinishSaves()
    {
        AskMixer(form->Mixer(), [](TMixer& mixer) {
            mixer.FinishSaves();
            return true;
        });
        QApplication::processEvents();
    }

    static void ClickItem(TListBox* list, int row)
    {
        const QRect rect = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    }

    static void ClickItem(TListBox* list, const std::string& text)
    {
        const auto found = list->findItems(QString::fromStdString(text), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << text;
        ClickItem(list, list->row(found.first()));
    }

    // As the operator does it: a click on the tab.
    void ClickTab(int index)
    {
        TGuardedTabBar* bar = form->PageControl1->TabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }

    int ActivePage() const { return form->PageControl1->ActivePageIndex(); }

    void ChooseFakePorts() { ClickItem(form->ListBoxPortSolenoid, FakePortName); }

    static std::vector<std::string> Lines(const QString& text)
    {
        std::vector<std::string> lines;
        for (const QString& line : text.split(QLatin1Char('\n'))) lines.push_back(line.toStdString());
        return lines;
    }

    static std::vector<std::string> Items(const TListBox* list)
    {
        std::vector<std::string> items;
        for (int i = 0; i < list->count(); ++i) items.push_back(list->item(i)->text().toStdString());
        return items;
    }
};

}  // namespace gasmixer::test
