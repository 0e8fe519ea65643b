#include "app/ThreadWetting.h"

namespace gasmixer {

TThreadWetting::TThreadWetting(const Clock& clock) : StartTime(clock.Now()), clock_(clock) {}

TThreadWetting::~TThreadWetting() { wait(); }

}  // namespace gasmixer
