#include "app/Form1.h"

#include "mixer/ProgramRunner.h"

namespace gasmixer {

// A mode button pressed by the operator ends a running program first.
void TForm1::ButtonStopClick()
{
    Post([](TMixer& mixer) {
        mixer.Runner().OperatorPressed();
        mixer.ButtonStopClick();
    });
}

void TForm1::ButtonFlushClick()
{
    Post([](TMixer& mixer) {
        mixer.Runner().OperatorPressed();
        mixer.ButtonFlushClick();
    });
}

void TForm1::ButtonBypassClick()
{
    Post([](TMixer& mixer) {
        mixer.Runner().OperatorPressed();
        mixer.ButtonBypassClick();
    });
}

// "Apply Mixture": the mixer plans the fields' mixture itself and adopts it.
void TForm1::ButtonDilutionClick()
{
    Post([request = FieldsRequest()](TMixer& mixer) {
        mixer.Runner().OperatorPressed();
        mixer.ButtonDilutionClick(request);
    });
    RememberSetup();
}

void TForm1::ButtonAddToCounterClick()
{
    Post([](TMixer& mixer) { mixer.ButtonAddToCounterClick(); });
}

}  // namespace gasmixer
