// Headless panels have no window; headless timers run on the virtual clock.
#include <algorithm>
#include <vector>

#include "framework/ExtCtrls.h"
#include "framework/headless/Headless.h"
#include "framework/rtl/DateUtils.h"

std::unique_ptr<TControlPeer> TCustomPanel::CreatePeer() { return nullptr; }

namespace {

struct TRunningTimer {
  TTimer* Timer;
  unsigned Due;  // tick count at which it fires next
};

std::vector<TRunningTimer>& Running() {
  static std::vector<TRunningTimer> Timers;
  return Timers;
}

std::vector<TRunningTimer>::iterator Find(TTimer* Timer) {
  return std::find_if(Running().begin(), Running().end(),
                      [&](const TRunningTimer& R) { return R.Timer == Timer; });
}

// Whether tick count Now has reached Due, across the wrap of the count.
bool Reached(unsigned Now, unsigned Due) { return static_cast<int>(Now - Due) >= 0; }

}  // namespace

namespace Backend {

void StartTimer(TTimer& Timer) {
  StopTimer(Timer);
  Running().push_back({&Timer, TickCount() + Timer.Interval()});
}

void StopTimer(TTimer& Timer) {
  auto It = Find(&Timer);
  if (It != Running().end()) Running().erase(It);
}

}  // namespace Backend

namespace Headless {

bool RunTimers() {
  const unsigned Now = TickCount();
  std::vector<TTimer*> Due;
  for (const TRunningTimer& R : Running())
    if (Reached(Now, R.Due)) Due.push_back(R.Timer);
  bool Fired = false;
  for (TTimer* Timer : Due) {
    // An earlier handler may have stopped, restarted or freed this one.
    auto It = Find(Timer);
    if (It == Running().end() || !Reached(Now, It->Due)) continue;
    // Like the system's timer message, a late timer fires once and counts again from now.
    It->Due = Now + Timer->Interval();
    Fired = true;
    Timer->PeerTimer();
  }
  return Fired;
}

}  // namespace Headless
