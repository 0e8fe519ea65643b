#include "RecordsFixture.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTableView>

#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <functional>
#include <future>
#include <stdexcept>

namespace gasmixer::test {
namespace {

namespace fs = std::filesystem;

using SaveTest = RecordsTest;

std::vector<std::string> LastTwo(const std::vector<std::string>& lines)
{
    if (lines.size() < 2) return lines;
    return std::vector<std::string>(lines.end() - 2, lines.end());
}

TEST_F(SaveTest, ATableSavedBeforeAnyStoreEndsWithTheHeaderAndTheResetRow)
{
    form->Mixer().PlanText = "Plan\n";
    form->Save(folder / "t.csv");
    FinishSaves();

    const std::string file = ReadAll(folder / "t.csv");
    const std::string expectedStart = "Data starts after *** line\r\nPlan\r\n\r\n*********\r\nTime;Mode;Method;\"Gas A (g)\";";
    EXPECT_EQ(file.substr(0, expectedStart.size()), expectedStart);
    const std::string expectedEnd = "log10(pA);log10(pB);log10(pH2O)\r\n;Reset;;;;;;;;;;;;;;;;;;\r\n";
    ASSERT_GE(file.size(), expectedEnd.size());
    EXPECT_EQ(file.substr(file.size() - expectedEnd.size()), expectedEnd);
    EXPECT_EQ(LastTwo(Lines(form->MemoDevFeedback->toPlainText())),
              (std::vector<std::string>{"", "Saving succeeded"}));
}

TEST_F(SaveTest, ASpreadsheetReaderGetsBackTheGridLessItsBlanks)
{
    RunDilution(0.000048, 1.234567);
    form->Mixer().StoreData();
    form->Mixer().StoreData();
    const int method = ColumnIdOf(form->Mixer().ColumnInfo, "Method");
    form->Mixer().RecordGrid.SetCell(method, 2, "gas \"A; B\" mix \u00baC");
    form->Memo4->setPlainText(QStringLiteral("Gas \"A\"; gas B\n  indented; \"quoted\"\n"));
    const fs::path saved = folder / "t.csv";
    form->Save(saved);
    FinishSaves();

    // Everything after the separator line, read as a spreadsheet would.
    const char* script =
        "import csv, io, json, sys\n"
        "text = open(sys.argv[1], encoding='latin-1', newline='').read()\n"
        "table = text.split('\\r\\n*********\\r\\n', 1)[1]\n"
        "print(json.dumps(list(csv.reader(io.StringIO(table, newline=''), delimiter=';'))))\n";
    QProcess python;
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"), QString::fromUtf8(script), QString::fromStdString(saved)});
    ASSERT_TRUE(python.waitForFinished(30000));
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    const QJsonArray rows = QJsonDocument::fromJson(python.readAllStandardOutput()).array();

    ASSERT_EQ(rows.size(), form->Mixer().RecordGrid.RowCount());
    for (int row = 0; row < form->Mixer().RecordGrid.RowCount(); ++row) {
        const QJsonArray cells = rows[row].toArray();
        ASSERT_EQ(cells.size(), form->Mixer().RecordGrid.ColCount()) << "row " << row;
        for (int col = 0; col < form->Mixer().RecordGrid.ColCount(); ++col) {
            std::string expected = form->Mixer().RecordGrid.Cell(col, row);
            if (row > 0) std::erase(expected, ' ');
            EXPECT_EQ(cells[col].toString().toStdString(), expected) << "row " << row << " col " << col;
        }
    }
    EXPECT_EQ(rows[2].toArray()[method].toString().toStdString(), "gas\"A;B\"mix\u00baC");
}

// One way for a save to fail, and how it is mended afterwards.
struct Fault {
    const char* name;
    std::function<fs::path(const fs::path& folder, TForm1& form)> arrange;  // the path to save to
    std::function<void(const fs::path& folder, TForm1& form)> mend;
};

// Writes beyond this size are refused by the kernel while it is in force.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

TEST_F(SaveTest, AFailedSaveLeavesTheOldFileAndTheRowsAndTheNextSaveWorks)
{
    std::unique_ptr<FileSizeLimit> sizeLimit;
    const std::vector<Fault> faults{
        {"missing folder", [](const fs::path& f, TForm1&) { return f / "gone" / "t.csv"; },
         [](const fs::path& f, TForm1&) { fs::create_directory(f / "gone"); }},
        {"folder as target",
         [](const fs::path& f, TForm1&) {
             fs::remove(f / "t.csv");
             fs::create_directory(f / "t.csv");
             std::ofstream(f / "t.csv" / "inside") << "kept";
             return f / "t.csv";
         },
         [](const fs::path& f, TForm1&) { fs::remove_all(f / "t.csv"); }},
        {"file size limit",
         [&sizeLimit](const fs::path& f, TForm1&) {
             sizeLimit = std::make_unique<FileSizeLimit>(64);
             return f / "t.csv";
         },
         [&sizeLimit](const fs::path&, TForm1&) { sizeLimit.reset(); }},
        {"read-only folder",
         [this](const fs::path& f, TForm1&) {
             writeFile = [](const std::string&, const ContentProducer&) {
                 return WriteOutcome{false, std::strerror(EROFS)};
             };
             return f / "t.csv";
         },
         [this](const fs::path&, TForm1&) { writeFile = nullptr; }},
    };

    RunDilution(0.1, 1.0);
    form->Mixer().StoreData();
    form->Mixer().StoreData();
    for (const Fault& fault : faults) {
        SCOPED_TRACE(fault.name);
        const std::vector<fs::path> leftovers(fs::directory_iterator(folder), fs::directory_iterator{});
        for (const fs::path& leftover : leftovers) fs::remove_all(leftover);
        std::ofstream(folder / "t.csv", std::ios::binary) << "the good old file\r\n";
        const int rows = form->Mixer().RecordGrid.RowCount();

        const fs::path target = fault.arrange(folder, *form);
        const auto before = Snapshot();
        form->Save(target);
        FinishSaves();
        const auto after = Snapshot();
        fault.mend(folder, *form);

        EXPECT_EQ(LastTwo(Lines(form->MemoDevFeedback->toPlainText())),
                  (std::vector<std::string>{"", "Saving failed"}));
        EXPECT_EQ(after, before) << "old file untouched, no temporary file left";
        EXPECT_EQ(form->Mixer().RecordGrid.RowCount(), rows);
        EXPECT_EQ(Cell("Mode", rows - 1), "Dilution");
        EXPECT_TRUE(dialogs.Errors.empty());

        form->Save(target);
        FinishSaves();
        EXPECT_EQ(LastMemoLine(), "Saving succeeded");
        EXPECT_TRUE(ReadAll(target).starts_with("Data starts after *** line\r\n"));
    }
}

TEST_F(SaveTest, TheTableIsWrittenAsItWasAskedWhileTheRunGoesOn)
{
    RunDilution(0.1, 1.0);
    form->Mixer().StoreData();
    std::promise<void> release;
    const std::shared_future<void> released = release.get_future().share();
    writeFile = [released](const std::string& path, const ContentProducer& content) {
        released.wait();
        return WriteFileAtomically(path, content);
    };
    form->MemoDevFeedback->clear();
    form->Save(folder / "t.csv");
    const int rowsAsked = form->Mixer().RecordGrid.RowCount();
    form->Mixer().StoreData();
    form->Mixer().StoreData();
    EXPECT_EQ(form->MemoDevFeedback->toPlainText().indexOf(QStringLiteral("Saving")), -1) << "the disk holds it";

    release.set_value();
    FinishSaves();
    EXPECT_EQ(LastMemoLine(), "Saving succeeded");
    const std::string file = ReadAll(folder / "t.csv");
    const std::string table = file.substr(file.find("*********\r\n") + 11);
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), rowsAsked)
        << "the rows stored after the asking are not in it";
}

TEST_F(SaveTest, ARightClickOffersADatedNameInTheProgramFolder)
{
    form->StringGrid1MouseDown(Qt::LeftButton);
    EXPECT_TRUE(dialogs.SaveDialogs.empty()) << "only the right button saves";

    QTest::mousePress(form->StringGrid1->viewport(), Qt::RightButton, {}, QPoint(10, 10));
    FinishSaves();
    ASSERT_EQ(dialogs.SaveDialogs.size(), 1u);
    const SaveDialogSettings& asked = dialogs.SaveDialogs[0];
    EXPECT_EQ(asked.FileName, "2024-05-14 09_30");
    EXPECT_EQ(asked.InitialDir, QCoreApplication::applicationDirPath().toStdString());
    EXPECT_EQ(asked.Filter, "Comma separated file (*.csv);;Text file (*.txt)");
    EXPECT_EQ(asked.DefaultExt, "csv");
    EXPECT_TRUE(Snapshot().empty()) << "cancelled: nothing written";
    EXPECT_EQ(LastMemoLine().find("Saving"), std::string::npos);

    dialogs.SaveAnswers.push_back((folder / "chosen.csv").string());
    QTest::mousePress(form->StringGrid1->viewport(), Qt::RightButton, {}, QPoint(10, 10));
    FinishSaves();
    EXPECT_TRUE(ReadAll(folder / "chosen.csv").starts_with("Data starts after *** line\r\n"));
    EXPECT_EQ(LastMemoLine(), "Saving succeeded");
}

TEST_F(SaveTest, ARightClickNeverReplacesAFile)
{
    std::ofstream(folder / "chosen.csv") << "keep";
    form->MemoDevFeedback->clear();
    dialogs.SaveAnswers.push_back((folder / "chosen.csv").string());
    QTest::mousePress(form->StringGrid1->viewport(), Qt::RightButton, {}, QPoint(10, 10));
    FinishSaves();

    EXPECT_EQ(dialogs.Errors, (std::vector<std::string>{"File already exists. Cannot overwrite."}));
    EXPECT_EQ(ReadAll(folder / "chosen.csv"), "keep");
    EXPECT_EQ(form->MemoDevFeedback->toPlainText(), QString());
}

// Autosave writes into the working folder; the test moves there and back.
TEST_F(SaveTest, AutosaveNamesTheFileFromThePrefixAndTheTime)
{
    const WorkingFolder here(folder);
    EXPECT_EQ(form->Label17->text(), "Last autosave: never");
    struct Case {
        const char* prefix;
        const char* file;
    };
    for (const Case c : {Case{"Filename", "Filename autosave 05-14 09_30.CSV"},
                         Case{"", " autosave 05-14 09_30.CSV"}}) {
        form->EditAutosaveFilename->setText(QString::fromUtf8(c.prefix));
        form->Mixer().Autosave();
        FinishSaves();
        EXPECT_TRUE(fs::is_regular_file(folder / c.file)) << c.file;
    }
    EXPECT_EQ(form->Mixer().LastAutosaveTime, clock.Elapsed());
    EXPECT_EQ(form->Label17->text(), "Last autosave: 05-14 09:30");
}

TEST_F(SaveTest, AFailedAutosaveWriteStillCountsAsAnAutosave)
{
    const WorkingFolder here(folder);
    form->EditAutosaveFilename->setText(QStringLiteral("no such folder/run"));
    clock.Advance(OneHour);
    form->Mixer().Autosave();
    FinishSaves();
    EXPECT_EQ(LastMemoLine(), "Saving failed");
    EXPECT_EQ(form->Label17->text(), "Last autosave: 05-14 10:30");
    EXPECT_EQ(form->Mixer().LastAutosaveTime, clock.Elapsed());
}

TEST_F(SaveTest, AnErrorEscapingTheAutosaveIsRetriedAtTheNextTick)
{
    writeFile = [](const std::string&, const ContentProducer&) -> WriteOutcome {
        throw std::runtime_error("out of memory");
    };
    form->Mixer().Autosave();
    FinishSaves();
    EXPECT_EQ(form->Label17->text(), "Autosave failed: 05-14 09:30");
    EXPECT_FALSE(form->Mixer().LastAutosaveTime) << "none yet";
    EXPECT_TRUE(dialogs.Errors.empty());
}

}  // namespace
}  // namespace gasmixer::test
