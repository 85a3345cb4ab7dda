#include "tests/e2e/Pump.h"

#include <windows.h>

bool PumpUntil(const std::function<bool()>& Done, unsigned TimeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (Done()) return true;
    if (GetTickCount() - start >= TimeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}
