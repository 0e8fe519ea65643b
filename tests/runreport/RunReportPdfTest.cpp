#include "runreport/RunPlotImage.h"
#include "runreport/RunReportPdf.h"

#include "common/TextFormat.h"
#include "gasdata/MolarMasses.h"

#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace gasmixer {
namespace {

constexpr double Minute = 1.0 / 24 / 60;
constexpr TDateTime Start = 46000.5;  // 2025-12-09 12:00

// The PDF's text as pdftotext reads it back, every run of blanks one blank.
QString PdfText(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) return {};
    return QString::fromUtf8(process.readAllStandardOutput()).simplified();
}

class RunReportPdf : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "test_runreport";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QGuiApplication>(argc, argv);
    }
    static void TearDownTestSuite() { app_.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(folder_.isValid());
        ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            << "pdftotext (Debian package poppler-utils) reads the report back";
    }

    // Two plans: one with its mixture known and 10 minutes of rows, one the
    // window could not plan again; an alarm between them.
    static TRunLog Log()
    {
        TRunLog log;
        log.SetSetup({"/dev/ttyUSB0", "/dev/ttyUSB1", "O2", "N2", FakeFlowInfoA(), FakeFlowInfoB()});
        TAppliedPlan known;
        known.Time = Start;
        known.GasAPpm = 2000;
        known.GasBPpm = 998000;
        known.Method = "A (constant) in B";
        known.FlowA = 0.002286;
        known.FlowB = 1.0;
        known.Expected = "Expected: 2 000 ± 130 ppm A (k = 2)";
        known.Running = TRunningMixture{TMixingMethod::AConstantInB, FindCompound("O2"), FindCompound("N2"),
                                        FakeFlowInfoA(), FakeFlowInfoB(), 0.0};
        log.AddPlan(known);
        for (int m = 0; m <= 10; ++m) {
            RecordRow row;
            row.Values[FieldTime] = Start + m * Minute;
            row.Mode = "Dilution";
            row.MinutesSinceReset = m;
            row.Values[FieldGasA] = 0.002286 * m;
            row.Values[FieldGasB] = 1.0 * m;
            row.Values[FieldH2O] = 0.0;
            log.AddRow(row);
        }
        log.AddAlarm(Start + 10.5 * Minute, "Gas A delivery short: 0.000 000 g of 0.002 286 g in the last minute");
        TAppliedPlan unknown;
        unknown.Time = Start + 11 * Minute;
        unknown.GasAPpm = 150;
        unknown.GasBPpm = 999850;
        unknown.Method = "A (pulse) in B";
        log.AddPlan(unknown);
        return log;
    }

    static inline std::unique_ptr<QGuiApplication> app_;
    QTemporaryDir folder_;
};

TEST_F(RunReportPdf, HoldsTheSetupPlansProducedMixtureAlarmsAndTimes)
{
    const TRunLog log = Log();
    const TAccuracySettings accuracy;
    TMixtureTrace trace;
    for (int m = 0; m <= 10; ++m) trace.AddRecord(Start + m * Minute, "Dilution", 2000, 0);
    const QImage plot = RunPlotImage(trace, 2000, 0, QSize(800, 400));
    const QString pdf = folder_.filePath(QStringLiteral("run.pdf"));
    ASSERT_TRUE(WriteRunReport(pdf.toStdString(), log, accuracy, plot));

    const QString text = PdfText(pdf);
    const std::optional<TProducedMean> mean = log.Mean(log.Plans()[0], accuracy);
    ASSERT_TRUE(mean);
    const TSpeciesUncertainty& a = mean->Mixture.Species[SpeciesA];
    const std::vector<std::string> expectedTexts{"Run report", "Started: 2025-12-09 12:00:00", "Ended: 2025-12-09 12:10:00",
          "/dev/ttyUSB0", "/dev/ttyUSB1", "Nitrogen", "0.071 500 g/min", "1.000 000 g/min", "120",
          "A (constant) in B", "A (pulse) in B", "0.002 286 000 g/min", "Expected: 2 000 ± 130 ppm A (k = 2)",
          "5.0 min, 2025-12-09 12:05:00 to 2025-12-09 12:10:00", ValueWithUncertainty(a.Ppm, a.Expanded) + " ppm A",
         "Plan 2, applied 2025-12-09 12:11:00", "no rows to average",
          "Gas A delivery short: 0.000 000 g of 0.002 286 g in the last minute", "Plot"};
    for (const std::string& expected : expectedTexts)
        EXPECT_TRUE(text.contains(QString::fromStdString(expected))) << expected << "\nin: " << text.toStdString();

    // A page as a picture: the plot makes it more than text.
    QProcess render;
    render.start(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("40"), pdf, folder_.filePath("page")});
    ASSERT_TRUE(render.waitForFinished(30000));
    EXPECT_FALSE(QImage(folder_.filePath(QStringLiteral("page-1.png"))).isNull());
}

TEST_F(RunReportPdf, ARunWithoutRowsSaysSo)
{
    const QString pdf = folder_.filePath(QStringLiteral("empty.pdf"));
    ASSERT_TRUE(WriteRunReport(pdf.toStdString(), TRunLog{}, TAccuracySettings{}, QImage()));
    const QString text = PdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Started: no rows stored"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("No plan was applied."))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Plot")));
}

TEST_F(RunReportPdf, AnUnwritableFileIsAFailure)
{
    EXPECT_FALSE(WriteRunReport(folder_.filePath("missing/run.pdf").toStdString(), TRunLog{}, TAccuracySettings{},
                                QImage()));
}

}  // namespace
}  // namespace gasmixer
