#include "runreport/RunReportPdf.h"

#include "common/TextFormat.h"

#include <QFile>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <QUrl>

namespace gasmixer {
namespace {

const QString PlotResource = QStringLiteral("plot.png");

QString Escaped(const std::string& text) { return QString::fromStdString(text).toHtmlEscaped(); }
QString Time(TDateTime t) { return QString::fromStdString(FormatDateTime("yyyy-mm-dd hh:nn:ss", t)); }
QString Number(double x, const char* pattern) { return QString::fromStdString(FormatFloat(pattern, x)); }

QString Row(const QStringList& cells, bool header = false)
{
    const QString tag = header ? QStringLiteral("th") : QStringLiteral("td");
    QString row = QStringLiteral("<tr>");
    for (const QString& cell : cells) row += "<" + tag + ">" + cell + "</" + tag + ">";
    return row + "</tr>";
}

QString Table(const QString& rows)
{
    return "<table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">" + rows + "</table>";
}

QString ControllerRow(const char* gas, const std::string& listed, const TFlowInfo& info)
{
    return Row({QString::fromLatin1(gas), Escaped(listed), Escaped(info.Name), Escaped(info.LongName),
                Number(info.MaxOrig, "0.000 000") + " " + Escaped(info.FlowUnit), QString::number(info.Dyn)});
}

QString SetupSection(const TRunSetup& s)
{
    QString html = "<h2>Set-up</h2><p>Port for Solenoid control: " + Escaped(s.RelayPort)
                 + "<br>Port for MFC control: " + Escaped(s.MfcPort) + "</p>";
    html += Table(Row({"", "Gas", "Fluid name", "Long name", "Full scale", "Turndown ratio"}, true)
                  + ControllerRow("MFC 1 (gas A)", s.GasA, s.FlowInfoA)
                  + ControllerRow("MFC 2 (gas B)", s.GasB, s.FlowInfoB));
    return html;
}

QString Produced(const TSpeciesUncertainty& s, const char* name)
{
    return QString::fromStdString(ValueWithUncertainty(s.Ppm, s.Expanded)) + " ppm " + name;
}

// One block per plan: what was asked, how, what was expected and what was
// produced at its end.
QString PlanBlock(const TRunLog& log, const TRunLog::PlanRecord& record, int number, const TAccuracySettings& accuracy)
{
    const TAppliedPlan& p = record.Plan;
    const TRunSetup& setup = log.Setup();
    QString rows = Row({"Mixture", QString::number(p.GasAPpm) + " ppm A, " + QString::number(p.GasBPpm) + " ppm B, "
                                       + QString::number(p.H2OPpm) + " ppm H2O"});
    rows += Row({"Method", Escaped(p.Method)});
    if (p.Running) {
        rows += Row({"Flow A", Number(p.FlowA, "0.000 000 000") + " " + Escaped(setup.FlowInfoA.FlowUnit)});
        rows += Row({"Flow B", Number(p.FlowB, "0.000 000 000") + " " + Escaped(setup.FlowInfoB.FlowUnit)});
        if (p.WettingFraction > 0) rows += Row({"Wetting time for B", Number(p.WettingFraction * 100, "0.000") + " %"});
        rows += Row({"Expected", Escaped(p.Expected)});
    }
    if (const std::optional<TProducedMean> mean = log.Mean(record, accuracy)) {
        const auto& species = mean->Mixture.Species;
        rows += Row({"Produced", Produced(species[SpeciesA], "A") + ", " + Produced(species[SpeciesB], "B") + ", "
                                     + Produced(species[SpeciesH2O], "H2O") + " (k = " + Number(CoverageFactor, "0")
                                     + ")"});
        rows += Row({"Averaged over", Number(mean->Minutes, "0.0") + " min, " + Time(mean->From) + " to "
                                          + Time(mean->To)});
    } else {
        rows += Row({"Produced", QStringLiteral("no rows to average")});
    }
    return "<h3>Plan " + QString::number(number) + ", applied " + Time(p.Time) + "</h3>" + Table(rows);
}

QString PlansSection(const TRunLog& log, const TAccuracySettings& accuracy)
{
    QString html = "<h2>Plans applied and mixture produced</h2><p>The produced mixture comes from the totalizers, "
                   "averaged over the last " + Number(ReportAverageMinutes, "0")
                 + " minutes of each plan (the whole plan when it ran shorter), with its expanded uncertainty.</p>";
    if (log.Plans().empty()) return html + "<p>No plan was applied.</p>";
    int number = 0;
    for (const TRunLog::PlanRecord& record : log.Plans()) html += PlanBlock(log, record, ++number, accuracy);
    return html;
}

QString AlarmsSection(const TRunLog& log)
{
    QString html = QStringLiteral("<h2>Alarms</h2>");
    if (log.Alarms().empty()) return html + "<p>None</p>";
    QString rows;
    for (const TRunAlarm& alarm : log.Alarms()) rows += Row({Time(alarm.Time), Escaped(alarm.Line)});
    return html + Table(rows);
}

}  // namespace

QString RunReportHtml(const TRunLog& log, const TAccuracySettings& accuracy, QSize plot)
{
    QString html = QStringLiteral("<html><body><h1>Run report</h1><p>");
    html += "Started: " + (log.Start() ? Time(*log.Start()) : QStringLiteral("no rows stored")) + "<br>";
    html += "Ended: " + (log.End() ? Time(*log.End()) : QStringLiteral("no rows stored")) + "</p>";
    html += SetupSection(log.Setup());
    html += PlansSection(log, accuracy);
    if (!plot.isEmpty()) {
        // As wide as the text, in its own proportions.
        const int width = 640;
        const int height = width * plot.height() / plot.width();
        html += "<h2>Plot</h2><p><img src=\"" + PlotResource + "\" width=\"" + QString::number(width)
              + "\" height=\"" + QString::number(height) + "\"></p>";
    }
    html += AlarmsSection(log);
    return html + "</body></html>";
}

bool WriteRunReport(const std::string& path, const TRunLog& log, const TAccuracySettings& accuracy,
                    const QImage& plot)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) return false;
    QPdfWriter writer(&file);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setTitle(QStringLiteral("Run report"));
    writer.setResolution(300);
    QTextDocument document;
    if (!plot.isNull()) document.addResource(QTextDocument::ImageResource, QUrl(PlotResource), plot);
    document.setHtml(RunReportHtml(log, accuracy, plot.size()));
    document.print(&writer);
    return file.error() == QFileDevice::NoError;
}

}  // namespace gasmixer
