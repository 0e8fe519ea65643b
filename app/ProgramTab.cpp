#include "app/Form1.h"

#include "app/PageControl.h"
#include "app/ProgramPage.h"

namespace gasmixer {

// After "Debug", so that the other tabs keep their places.
void TForm1::BuildProgramTab()
{
    TabSheetProgram = new TProgramPage(*this, services_.dialogs, services_.clock);
    PageControl1->AddPage(TabSheetProgram, QStringLiteral("Program"));
}

}  // namespace gasmixer
