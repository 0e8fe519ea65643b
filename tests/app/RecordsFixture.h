#pragma once

#include "Form1Fixture.h"

#include <QPlainTextEdit>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>

namespace gasmixer::test {

// The window with a scratch folder for saved files and a state folder of
// its own, so that journals stay out of the user's.
class RecordsTest : public Form1Test {
protected:
    std::filesystem::path folder;
    std::filesystem::path stateHome;

    void SetUp() override
    {
        char name[] = "/tmp/gm-records-XXXXXX";
        folder = ::mkdtemp(name);
        if (const char* old = std::getenv("XDG_STATE_HOME")) oldStateHome_ = old;
        stateHome = folder.string() + "-state";
        UseStateHome(stateHome);
        journalFolder = DefaultJournalFolder();
        Form1Test::SetUp();
    }

    void TearDown() override
    {
        Form1Test::TearDown();
        if (oldStateHome_) {
            ::setenv("XDG_STATE_HOME", oldStateHome_->c_str(), 1);
        } else {
            ::unsetenv("XDG_STATE_HOME");
        }
        std::filesystem::remove_all(folder);
        std::filesystem::remove_all(stateHome);
    }

    static void UseStateHome(const std::filesystem::path& path) { ::setenv("XDG_STATE_HOME", path.c_str(), 1); }

    // A running dry plan with the fake equipment (O2 in N2).
    void RunDilution(double gramsA, double gramsB)
    {
        ChooseFakePorts();
        form->Mixer().Mode = TMixerState::Dilution;
        form->Mixer().MixingMethod = "A (constant) in B";
        form->Mixer().TotalizerA.Value = gramsA;
        form->Mixer().TotalizerB.Value = gramsB;
        form->Mixer().TotalizerB.StartTime = clock.Elapsed();
    }

    std::string Cell(const char* caption, int row) const
    {
        return form->Mixer().RecordGrid.Cell(ColumnIdOf(form->Mixer().ColumnInfo, caption), row);
    }

    std::string LastMemoLine() const
    {
        const auto lines = Lines(form->MemoDevFeedback->toPlainText());
        return lines.back();
    }

    static std::string ReadAll(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    // Every file under the folder with its bytes (folders as "<dir>").
    std::map<std::string, std::string> Snapshot() const
    {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
            const std::string name = std::filesystem::relative(entry.path(), folder);
            files[name] = entry.is_directory() ? "<dir>" : ReadAll(entry.path());
        }
        return files;
    }

private:
    std::optional<std::string> oldStateHome_;
};

}  // namespace gasmixer::test
