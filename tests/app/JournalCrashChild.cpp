// A run that dies: the mixer core on the fake ports stores rows of two
// mixtures into its journal, writes what a save would write at that moment,
// says "ready" and waits for its SIGKILL.
#include "common/ManualClock.h"
#include "mixer/Mixer.h"
#include "records/RecordGridFile.h"

#include <unistd.h>

#include <iostream>

int main(int argc, char** argv)
{
    using namespace gasmixer;
    if (argc != 3) {
        std::cerr << "usage: journal_crash_child JOURNAL_FOLDER REFERENCE_FILE\n";
        return 2;
    }
    ManualClock clock(EncodeDateTime(2026, 12, 11, 9, 30, 0));
    MixerView view;
    TMixer mixer({.clock = clock,
                  .monotonic = clock,
                  .sleep = [&clock](std::uint32_t ms) { clock.Advance(ms * OneSecond / 1000); },
                  .linePause = [](std::uint32_t) {},
                  .journalFolder = argv[1]},
                 view);
    mixer.ChoosePorts(FakePortName, FakePortName);
    mixer.Validate();
    mixer.ChooseGas(1, "O2");
    mixer.ChooseGas(2, "N2");
    const auto tick = [&](int count) {
        for (int i = 0; i < count; ++i) {
            clock.Advance(OneSecond / 4);
            mixer.Timer1Timer();
        }
    };
    mixer.ButtonDilutionClick({2000, 0, std::nullopt});
    tick(40);
    mixer.ButtonDilutionClick({5000, 0, std::nullopt});
    tick(20);
    mixer.Journal->WaitIdle();
    const WriteOutcome reference =
        WriteFileAtomically(argv[2], RecordGridFile(mixer.RecordGrid.Snapshot(), mixer.PlanText));
    if (!reference.Ok) return 1;
    std::cout << "ready " << mixer.RecordGrid.RowCount() - 1 << std::endl;
    for (;;) ::pause();
}
