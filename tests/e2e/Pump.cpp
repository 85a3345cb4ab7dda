#include "tests/e2e/Pump.h"

#include <commctrl.h>

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

void PostClick(HWND Target, int X, int Y, WPARAM Keys) {
  PostMessageA(Target, WM_LBUTTONDOWN, Keys | MK_LBUTTON, MAKELPARAM(X, Y));
  PostMessageA(Target, WM_LBUTTONUP, Keys, MAKELPARAM(X, Y));
}

void Key(WORD Vk, bool Up) {
  keybd_event(static_cast<BYTE>(Vk), static_cast<BYTE>(MapVirtualKeyA(Vk, 0)), Up ? KEYEVENTF_KEYUP : 0, 0);
}

void Press(WORD Vk) {
  Key(Vk, false);
  Key(Vk, true);
}

void PressWith(WORD Modifier, WORD Vk) {
  Key(Modifier, false);
  Press(Vk);
  Key(Modifier, true);
}

std::string WindowText(HWND Window) {
  char text[512] = {};
  GetWindowTextA(Window, text, sizeof text);
  return text;
}

std::string ListViewText(HWND View, int Item, int Column) {
  char text[256] = {};  // room for the text in either character width, whichever the control fills
  LVITEMA item{};
  item.iSubItem = Column;
  item.pszText = text;
  item.cchTextMax = 64;
  SendMessageA(View, LVM_GETITEMTEXTA, Item, reinterpret_cast<LPARAM>(&item));
  return text;
}

POINT ListBoxItemPoint(HWND Box, int Index) {
  RECT r{};
  SendMessageA(Box, LB_GETITEMRECT, Index, reinterpret_cast<LPARAM>(&r));
  return {r.left + 5, (r.top + r.bottom) / 2};
}

POINT ListViewItemPoint(HWND View, int Index) {
  RECT r{LVIR_LABEL, 0, 0, 0};
  SendMessageA(View, LVM_GETITEMRECT, Index, reinterpret_cast<LPARAM>(&r));
  return {r.left + 5, (r.top + r.bottom) / 2};
}

POINT TabPoint(HWND Tabs, int Index) {
  RECT r{};
  SendMessageA(Tabs, TCM_GETITEMRECT, Index, reinterpret_cast<LPARAM>(&r));
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}
