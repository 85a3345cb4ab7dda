// Virtual clock of the headless build. It starts at a fixed moment (Monday 5 January 2026,
// 9:00) with a fixed tick count, and moves only through AdvanceClock and SetNow.
#include "framework/headless/Clock.h"

#include <cmath>
#include <cstdint>
#include <mutex>

namespace {

constexpr int64_t MSecsPerDay = 86400000;

struct TVirtualClock {
  std::mutex Lock;
  uint32_t Ticks = 10000000;
  int64_t NowMs = 46027 * MSecsPerDay + 9 * 3600000;  // 2026-01-05 09:00 as days since 1899-12-30
};

TVirtualClock& Clock() {
  static TVirtualClock C;
  return C;
}

}  // namespace

unsigned TickCount() {
  std::lock_guard<std::mutex> G(Clock().Lock);
  return Clock().Ticks;
}

TDateTime Now() {
  std::lock_guard<std::mutex> G(Clock().Lock);
  return static_cast<double>(Clock().NowMs) / MSecsPerDay;
}

namespace Headless {

void AdvanceClock(unsigned Ms) {
  std::lock_guard<std::mutex> G(Clock().Lock);
  Clock().Ticks += Ms;
  Clock().NowMs += Ms;
}

void SetNow(TDateTime Value) {
  std::lock_guard<std::mutex> G(Clock().Lock);
  Clock().NowMs = std::llround(Value * MSecsPerDay);
}

}  // namespace Headless
