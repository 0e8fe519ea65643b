// gasmixer-run as a user runs it, against the simulated instruments of this
// process.
#include "RunProcess.h"

#include "sim/SimulatorHost.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <sstream>

namespace gasmixer::test {
namespace {

sim::SimulatorOptions Unpaced()
{
    sim::SimulatorOptions options;
    options.pacing = false;
    return options;
}

class GasmixerRun : public ::testing::Test {
protected:
    sim::SimulatorHost host{Unpaced()};
    QTemporaryDir dir;

    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QString StateHome() const { return Path("state"); }

    QString Program(const std::string& steps, const std::string& header = "step;a_ppm;h2o_ppm;b_limit;minutes")
    {
        const QString path = Path("program.csv");
        std::ofstream(path.toStdString()) << header << "\n" << steps;
        return path;
    }

    QStringList Equipment(const char* gasA = "O2", const char* gasB = "Ar") const
    {
        return {"--relay-port", QString::fromStdString(host.RelayBoardPath()), "--mfc-port",
                QString::fromStdString(host.MfcLinePath()), "--gas-a", gasA, "--gas-b", gasB};
    }

    std::string Read(const QString& path) const
    {
        std::ifstream file(path.toStdString(), std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
};

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(GasmixerRun, BadInputEndsWithStatusTwoAndSaysWhy)
{
    const QString good = Program("stop;;;;0\n");
    std::ofstream(Path("bad.csv").toStdString()) << "step;a_ppm;h2o_ppm;b_limit;minutes\nmixture;abc;0;;1\n";
    const struct {
        QStringList args;
        std::string says;
    } cases[] = {
        {{}, "gasmixer-run: no program file given"},
        {QStringList{good, "--fake", "--colour"}, "gasmixer-run: unknown option --colour"},
        {QStringList{Path("missing.csv"), "--fake"}, "gasmixer-run: cannot read "},
        {QStringList{Path("bad.csv"), "--fake"}, "bad.csv, line 2: "},
        {QStringList{good} + Equipment("O3"), "gasmixer-run: no gas O3; the list holds O2, "},
        {QStringList{good} + Equipment("O2", "Kr"), "gasmixer-run: no gas Kr; the list holds Ar, N2, H2, H2O"},
    };
    for (const auto& c : cases) {
        RunProcess run(c.args, StateHome());
        EXPECT_EQ(run.Wait(), 2) << c.says;
        EXPECT_TRUE(Contains(run.Err(), c.says)) << run.Err();
        EXPECT_TRUE(run.OutLines().empty());
    }
    EXPECT_TRUE(host.RelayBoard().ValveLog().empty()) << "bad input reached the mixer";
}

TEST_F(GasmixerRun, HelpShowsTheUsage)
{
    RunProcess run({"--help"});
    EXPECT_EQ(run.Wait(), 0);
    ASSERT_FALSE(run.OutLines().empty());
    EXPECT_TRUE(run.OutLines().front().starts_with("Usage: gasmixer-run PROGRAM"));
}

TEST_F(GasmixerRun, AFailedSetupEndsWithStatusOneAfterTheSetupTabsFeedback)
{
    const QString program = Program("mixture;2000;0;;5\n");
    {
        QStringList args = QStringList{program} + Equipment();
        args[2] = Path("no-such-port");
        RunProcess run(args, StateHome());
        EXPECT_EQ(run.Wait(), 1);
        EXPECT_TRUE(Contains(run.Err(), "Relay board controlling solenoids was NOT OK\n")) << run.Err();
        EXPECT_TRUE(Contains(run.Err(), "gasmixer-run: the set-up failed\n"));
    }
    host.Mfc(2).Faults().Set({sim::FaultKind::Silent});
    {
        RunProcess run(QStringList{program} + Equipment(), StateHome());
        EXPECT_EQ(run.Wait(), 1);
        EXPECT_TRUE(Contains(run.Err(), "Relay board controlling solenoids is OK\n")) << run.Err();
        EXPECT_TRUE(Contains(run.Err(), "One of more MFC failed to be identified\n")) << run.Err();
        EXPECT_TRUE(run.OutLines().empty()) << "a step began without equipment";
    }
    EXPECT_EQ(host.Mfc(1).Setpoint(), 0.0f);
}

TEST_F(GasmixerRun, RunsTwoMixturesAndAFlushAndSavesBothPlans)
{
    // The flush sequence holds the window for its own 10 s: the step outlasts it.
    const QString program = Program("mixture;2000;0;;0.05\nflush;;;;0.2\nmixture;500;0;;0.05\nstop;;;;0\n");
    const QString saved = Path("table.csv");
    RunProcess run(QStringList{program} + Equipment() + QStringList{"--save", saved}, StateHome());
    ASSERT_EQ(run.Wait(), 0) << run.Err();
    const auto& out = run.OutLines();
    const auto has = [&](const std::string& line) { return std::find(out.begin(), out.end(), line) != out.end(); };
    EXPECT_TRUE(has("step;1;4;mixture;2000;0;;0.05;1;1"));
    EXPECT_TRUE(has("step;2;4;flush;;;;0.2;1;1"));
    EXPECT_TRUE(has("step;3;4;mixture;500;0;;0.05;1;1"));
    EXPECT_TRUE(has("step;4;4;stop;;;;0;1;1"));
    EXPECT_TRUE(has("end;Program finished."));
    const auto dilutionRows = std::count_if(out.begin(), out.end(), [](const std::string& line) {
        return line.starts_with("row;") && Contains(line, ";Dilution;");
    });
    EXPECT_GE(dilutionRows, 2);

    // The saved rows in order: the first plan's Dilution rows, the second
    // plan's ";Reset" marks, then its Dilution rows; the planner doses 2000 ppm
    // constantly and 500 ppm in pulses, which the Method cell tells apart. (The
    // first plan's mark sat in row 1 of the empty table, where the first store
    // overwrote it.)
    const std::string table = Read(saved);
    std::istringstream in(table);
    std::string order;  // C: constant dosing row, R: reset, P: pulse dosing row
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with(";Reset;")) order += 'R';
        if (Contains(line, ";Dilution;\"A(constant)inB\";")) order += 'C';
        if (Contains(line, ";Dilution;\"A(pulse)inB\";")) order += 'P';
    }
    const auto firstReset = order.find('R');
    ASSERT_NE(firstReset, std::string::npos) << table;
    EXPECT_NE(order.rfind('C', firstReset), std::string::npos) << order << '\n' << table;
    EXPECT_NE(order.find('P', firstReset), std::string::npos) << order << '\n' << table;
    EXPECT_TRUE(Contains(run.Err(), "gasmixer-run: table saved to " + saved.toStdString()));
    // The first Dilution tick autosaves, beside the table.
    EXPECT_FALSE(QDir(dir.path()).entryList({"table autosave *.CSV"}).isEmpty());

    EXPECT_EQ(host.RelayBoard().ValveLog().back().mask, 0);
    EXPECT_EQ(host.Mfc(1).Setpoint(), 0.0f);
    EXPECT_EQ(host.Mfc(2).Setpoint(), 0.0f);
}

TEST_F(GasmixerRun, ARepeatedRampStepsTheSetpointOfMfcOneStairByStairInEachPass)
{
    // 3 s stairs: 2000 ppm, then the ramp's 5000 and 8000 ppm, twice.
    const QString program = Program("mixture;2000;0;;0.05\nramp;8000;0;;0.1\nrepeat;2;;;\nstop;;;;0\n",
                                    "step;a_ppm;h2o_ppm;b_limit;minutes;ramp_step=0.05");
    RunProcess run(QStringList{program} + Equipment() + QStringList{"--save", Path("ramp.csv")}, StateHome());
    ASSERT_EQ(run.Wait(), 0) << run.Err();

    std::vector<std::string> program_lines;
    for (const std::string& line : run.OutLines())
        if (line.starts_with("step;") || line.starts_with("stair;") || line.starts_with("end;"))
            program_lines.push_back(line);
    EXPECT_EQ(program_lines, (std::vector<std::string>{"step;1;4;mixture;2000;0;;0.05;1;2",
                                                       "step;2;4;ramp;8000;0;;0.1;1;2", "stair;1;2;5000;0",
                                                       "stair;2;2;8000;0", "step;1;4;mixture;2000;0;;0.05;2;2",
                                                       "step;2;4;ramp;8000;0;;0.1;2;2", "stair;1;2;5000;0",
                                                       "stair;2;2;8000;0", "step;4;4;stop;;;;0;1;1",
                                                       "end;Program finished."}));

    // What reached MFC 1, each new value once: gas A's flow follows its ppm.
    std::vector<float> setpoints;
    for (const auto& write : host.Mfc(1).SetpointLog())
        if (write.value != 0.0f && (setpoints.empty() || write.value != setpoints.back()))
            setpoints.push_back(write.value);
    ASSERT_EQ(setpoints.size(), 6u) << ::testing::PrintToString(setpoints);
    const double ppm[] = {2000, 5000, 8000, 2000, 5000, 8000};
    for (std::size_t i = 0; i < setpoints.size(); ++i)
        EXPECT_NEAR(setpoints[i] / setpoints[0], ppm[i] / ppm[0], 0.02 * ppm[i] / ppm[0])
            << ::testing::PrintToString(setpoints);
    EXPECT_EQ(host.Mfc(1).Setpoint(), 0.0f);
}

// The report is read back as text; a report that cannot be written fails the run.
TEST_F(GasmixerRun, WritesTheRunReportAfterTheTable)
{
    const QString program = Program("mixture;2000;0;1.0;0.05\nstop;;;;0\n");
    const QString report = Path("run report.pdf");
    RunProcess run(QStringList{program} + Equipment("O2", "N2") + QStringList{"--save", Path("t.csv"), "--report", report},
                   StateHome());
    ASSERT_EQ(run.Wait(), 0) << run.Err();
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {report, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const std::string pdf = QString::fromUtf8(text.readAllStandardOutput()).simplified().toStdString();
    for (const std::string& part : {std::string("Run report"), host.RelayBoardPath(), host.MfcLinePath(),
                                    std::string("Plan 1, applied"), std::string("A (constant) in B"),
                                    std::string("Expected: 2 000 ± "), std::string("ppm A, "), std::string("Plot")})
        EXPECT_TRUE(Contains(pdf, part)) << part << "\nin: " << pdf;
    EXPECT_FALSE(Contains(pdf, "no rows to average")) << pdf;

    RunProcess unwritable(QStringList{program} + Equipment("O2", "N2")
                              + QStringList{"--save", Path("u.csv"), "--report", Path("missing/r.pdf")},
                          StateHome());
    EXPECT_EQ(unwritable.Wait(), 1);
    EXPECT_TRUE(Contains(unwritable.Err(), "gasmixer-run: the run report could not be written to "));
    EXPECT_TRUE(QFile::exists(Path("u.csv"))) << "the table is saved all the same";
}

TEST_F(GasmixerRun, AHeldLastStepRunsOnUntilASignal)
{
    const QString program = Program("mixture;2000;0;;0.02\nhold;;;;\n");
    RunProcess run({program, "--fake", "--save", Path("held.csv")}, StateHome());
    const auto rows = [&] {
        return std::count_if(run.OutLines().begin(), run.OutLines().end(),
                             [](const std::string& l) { return l.starts_with("row;"); });
    };
    ASSERT_TRUE(run.WaitForLine("end;Program finished; step 1 keeps running.")) << run.Err();
    // Rows go on being stored after the program's end, until the signal.
    const auto rowsAtEnd = rows();
    for (int i = 0; i < 300 && rows() <= rowsAtEnd; ++i) run.WaitForLine("(collecting)", 100);
    EXPECT_GT(rows(), rowsAtEnd);
    run.Signal(SIGTERM);
    EXPECT_EQ(run.Wait(), 0) << run.Err();
    EXPECT_TRUE(Contains(Read(Path("held.csv")), ";Dilution;"));
}

class GasmixerRunStopped : public GasmixerRun, public ::testing::WithParamInterface<int> {};

TEST_P(GasmixerRunStopped, MidStepLeavesValvesClosedSetpointsZeroAndTheTableSaved)
{
    const QString program = Program("mixture;2000;0;;30\nstop;;;;0\n");
    const QString saved = Path("stopped.csv");
    RunProcess run(QStringList{program} + Equipment() + QStringList{"--save", saved}, StateHome());
    ASSERT_TRUE(run.WaitForLine("row;")) << run.Err();
    ASSERT_NE(host.Mfc(2).Setpoint(), 0.0f) << "the mixture never flowed";
    run.Signal(GetParam());
    EXPECT_EQ(run.Wait(), 0) << run.Err();
    const auto valves = host.RelayBoard().ValveLog();
    ASSERT_FALSE(valves.empty());
    EXPECT_EQ(valves.back().mask, 0);
    EXPECT_EQ(host.Mfc(1).Setpoint(), 0.0f);
    EXPECT_EQ(host.Mfc(2).Setpoint(), 0.0f);
    EXPECT_TRUE(Contains(Read(saved), ";Dilution;"));
    EXPECT_FALSE(std::any_of(run.OutLines().begin(), run.OutLines().end(),
                             [](const std::string& l) { return l.starts_with("step;2;"); }))
        << "the program ran on after the signal";
    EXPECT_TRUE(std::any_of(run.OutLines().begin(), run.OutLines().end(), [](const std::string& l) {
        return l.starts_with("end;Program ended at step 1 of 2: stopped by signal ") &&
               l.ends_with("; valves closed, setpoints 0.");
    })) << run.Err();
}

TEST_F(GasmixerRun, ASignalDuringTheFlushSequenceClosesAtItsNextPause)
{
    const QString program = Program("mixture;2000;0;;0.03\nflush;;;;1\nstop;;;;0\n");
    RunProcess run(QStringList{program} + Equipment() + QStringList{"--save", Path("flushed.csv")}, StateHome());
    const auto masks = [&] {
        std::vector<int> m;
        for (const auto& command : host.RelayBoard().ValveLog()) m.push_back(command.mask);
        return m;
    };
    constexpr int BypassLine = 4, Chambers = 35, DryChambers = 40;  // the sequence's three valve sets
    // Signalled in the sequence's first wait (2 s), once its pause after the
    // bypass line is surely over.
    ASSERT_TRUE(run.WaitForLine("step;2;")) << run.Err();
    for (int i = 0; i < 600; ++i) {
        const auto m = masks();
        if (std::find(m.begin(), m.end(), BypassLine) != m.end()) break;
        QThread::msleep(50);
    }
    QThread::msleep(500);
    run.Signal(SIGTERM);
    EXPECT_EQ(run.Wait(), 0) << run.Err();

    const auto m = masks();
    const auto bypass = std::find(m.begin(), m.end(), BypassLine);
    ASSERT_NE(bypass, m.end());
    // The sequence went on to its next pause, where the shut-down closed
    // everything, as closing the window does; a slow signal meets a later pause.
    std::vector<int> after(bypass + 1, m.end());
    after.erase(std::unique(after.begin(), after.end()), after.end());
    EXPECT_TRUE(after == (std::vector<int>{Chambers, 0}) || after == (std::vector<int>{Chambers, DryChambers, 0}))
        << ::testing::PrintToString(after);
    EXPECT_EQ(host.Mfc(1).Setpoint(), 0.0f);
    EXPECT_EQ(host.Mfc(2).Setpoint(), 0.0f);
    EXPECT_TRUE(Contains(Read(Path("flushed.csv")), ";Flushing;"));
}

INSTANTIATE_TEST_SUITE_P(Signals, GasmixerRunStopped, ::testing::Values(SIGTERM, SIGINT),
                         [](const auto& info) { return info.param == SIGTERM ? "Term" : "Int"; });

// The journal of a run that ended without a save, as a crash leaves it.
TEST_F(GasmixerRun, RecoverSavesAJournalsTableOnceAndMarksItSaved)
{
    const QString journal = Path("journal 2026-12-11 09_30_00 77.csv");
    std::ofstream(journal.toStdString(), std::ios::binary)
        << "Time;Mode\r\n#plan 1;\"A plan\"\r\n09:30:00;Dilution\r\n09:30:01;Dilution\r\n09:30:0";
    RunProcess run({"--recover", journal, "--save", Path("back.csv")}, StateHome());
    ASSERT_EQ(run.Wait(), 0) << run.Err();
    EXPECT_EQ(Read(Path("back.csv")), "Data starts after *** line\r\nA plan\r\n*********\r\n"
                                      "Time;Mode\r\n09:30:00;Dilution\r\n09:30:01;Dilution\r\n");
    EXPECT_TRUE(Contains(run.Err(), "2 rows recovered to ")) << run.Err();
    EXPECT_TRUE(Read(journal).ends_with("09:30:01;Dilution\r\n#saved;2\r\n")) << "the torn row dropped, then the mark";

    RunProcess again({"--recover", journal, "--save", Path("back.csv")}, StateHome());
    EXPECT_EQ(again.Wait(), 2);
    EXPECT_TRUE(Contains(again.Err(), "back.csv exists; give a new name")) << again.Err();
    RunProcess missing({"--recover", Path("none.csv"), "--save", Path("other.csv")}, StateHome());
    EXPECT_EQ(missing.Wait(), 1);
    EXPECT_TRUE(Contains(missing.Err(), "cannot read the journal")) << missing.Err();
}

}  // namespace
}  // namespace gasmixer::test
