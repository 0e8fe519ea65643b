#include "regulation/TickCadence.h"

#include "common/DateTime.h"

namespace gasmixer {

bool StoreDue(bool modeChanged, bool cadenceMode, double sinceReset, double sinceLastStore,
              int storeIntervalMinutes)
{
    if (modeChanged) return true;
    if (!cadenceMode) return false;
    const bool fastPhase = sinceReset < FastStorePhase && sinceLastStore > OneSecond;
    const bool slowPhase = sinceReset > FastStorePhase && sinceLastStore > storeIntervalMinutes / 1440.0;
    return fastPhase || slowPhase;
}

bool AutosaveDue(bool inDilution, double sinceLastAutosave)
{
    return inDilution && sinceLastAutosave > OneHour;
}

}  // namespace gasmixer
