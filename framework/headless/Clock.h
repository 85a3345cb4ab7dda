// The headless build's virtual clock: time stands still until a test moves it, so timers,
// delays and time stamps are reproducible.
#pragma once
#include "framework/rtl/DateUtils.h"

namespace Headless {
// Moves both the tick count and the date-time forward.
void AdvanceClock(unsigned Ms);
// Sets the date-time; the tick count is left alone.
void SetNow(TDateTime Value);
}  // namespace Headless
