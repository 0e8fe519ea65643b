#include "app/Form1.h"

#include "app/ListBox.h"
#include "common/TextFormat.h"
#include "plot/MixturePlot.h"
#include "runreport/RunReportPdf.h"

namespace gasmixer {

void TForm1::ButtonRunReportClick()
{
    SaveDialogSettings settings;
    settings.Filter = "PDF document (*.pdf)";
    settings.DefaultExt = "pdf";
    settings.FileName = "Run report " + FormatDateTime("yyyy-mm-dd hh_nn", services_.clock.Now()) + ".pdf";
    if (const std::optional<std::string> path = services_.dialogs.SaveFile(settings)) SaveRunReport(*path);
}

bool TForm1::SaveRunReport(const std::string& path)
{
    runLog_.SetSetup({ListBoxPortSolenoid->SelectedText(), ListBoxPortMFC->SelectedText(), snapshot_.GasA,
                      snapshot_.GasB, snapshot_.FlowInfoA, snapshot_.FlowInfoB});
    MixturePlot->Redraw();
    const QImage plot = MixturePlot->grab().toImage();
    if (WriteRunReport(path, runLog_, accuracy_, plot)) return true;
    services_.dialogs.Error("Could not write the run report to " + path);
    return false;
}

}  // namespace gasmixer
