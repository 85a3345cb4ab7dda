// Hints: one tooltip window for the program. Each window of ours is registered as a tool with
// a text to be asked for, so the tip shows the control's short hint as it is at that moment
// (a grid may change its hint from cell to cell).
#include "framework/win32/Win32.h"

namespace Win32 {
namespace {

// Answers the tooltip's questions for the text of a tool.
LRESULT CALLBACK HintOwnerProc(HWND Handle, UINT Msg, WPARAM W, LPARAM L) {
  if (Msg == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(L);
    if (header->code == TTN_GETDISPINFOA) {
      auto* info = reinterpret_cast<NMTTDISPINFOA*>(L);
      static std::string text;
      text.clear();
      if (TWinPeer* peer = TWinPeer::FromHandle(reinterpret_cast<HWND>(header->idFrom))) {
        const TControl& control = peer->Control();
        if (control.HintShown()) text = GetShortHint(control.Hint());
      }
      info->lpszText = text.data();
      info->szText[0] = '\0';
      info->hinst = nullptr;
      return 0;
    }
  }
  return DefWindowProcA(Handle, Msg, W, L);
}

HWND GHintWindow = nullptr;
HWND GHintOwner = nullptr;

void ApplySettings() {
  SendMessageA(GHintWindow, TTM_ACTIVATE, Application->ShowHint(), 0);
  SendMessageA(GHintWindow, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(Application->HintPause(), 0));
  SendMessageA(GHintWindow, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(Application->HintHidePause(), 0));
}

HWND Tooltip() {
  if (GHintWindow) return GHintWindow;
  InitControls();
  WNDCLASSA wc{};
  wc.lpfnWndProc = HintOwnerProc;
  wc.hInstance = Instance();
  wc.lpszClassName = "VersoraHintOwner";
  RegisterClassA(&wc);
  // A hidden top-level window: it owns the tip and hears its questions.
  GHintOwner = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, Instance(), nullptr);
  GHintWindow = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GHintOwner, nullptr,
                                Instance(), nullptr);
  ApplySettings();
  return GHintWindow;
}

TOOLINFOA ToolInfo(HWND Window) {
  TOOLINFOA info{};
  info.cbSize = sizeof(info);
  info.uFlags = TTF_IDISHWND;
  info.hwnd = GHintOwner;
  info.uId = reinterpret_cast<UINT_PTR>(Window);
  info.lpszText = LPSTR_TEXTCALLBACKA;
  return info;
}

}  // namespace

HWND HintWindow() { return GHintWindow; }

void AddHintTool(HWND Window) {
  HWND tip = Tooltip();
  if (!tip) return;
  TOOLINFOA info = ToolInfo(Window);
  SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void RemoveHintTool(HWND Window) {
  if (!GHintWindow) return;
  TOOLINFOA info = ToolInfo(Window);
  SendMessageA(GHintWindow, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void RelayHintMessage(HWND Window, UINT Msg, WPARAM W, LPARAM L) {
  if (!GHintWindow) return;
  MSG msg{Window, Msg, W, L, static_cast<DWORD>(GetMessageTime()), {}};
  GetCursorPos(&msg.pt);
  SendMessageA(GHintWindow, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

}  // namespace Win32

namespace Backend {

void HintSettingsChanged() {
  if (Win32::GHintWindow) Win32::ApplySettings();
}

}  // namespace Backend
