// The application's side of Win32: the message loops, posted tasks, modal showing, message
// boxes, the screen cursor and the frame metrics of forms.
#include "framework/Forms.h"
#include "framework/win32/Win32.h"

namespace {

TCursor GScreenCursor = crDefault;

constexpr UINT WM_RUNTASK = WM_APP + 1;

LRESULT CALLBACK TaskWindowProc(HWND Handle, UINT Msg, WPARAM W, LPARAM L) {
  if (Msg != WM_RUNTASK) return DefWindowProcA(Handle, Msg, W, L);
  // Every task comes from Application->Post, which runs it through the dispatcher.
  std::unique_ptr<std::function<void()>> task(reinterpret_cast<std::function<void()>*>(L));
  (*task)();
  return 0;
}

// Posted tasks go to a window, not to the thread: every loop dispatches a window's messages,
// the system's own (a message box, a menu, a moving frame) included.
HWND TaskWindow() {
  static HWND handle = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = TaskWindowProc;
    wc.hInstance = Win32::Instance();
    wc.lpszClassName = "VersoraTasks";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           Win32::Instance(), nullptr);
  }();
  return handle;
}

}  // namespace

TCursor Win32::ScreenCursor() { return GScreenCursor; }

namespace Backend {

void FrameSize(TFormBorderStyle Style, int& ExtraWidth, int& ExtraHeight) {
  DWORD style, exStyle;
  Win32::FormStyle(Style, style, exStyle);
  RECT r{0, 0, 0, 0};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  ExtraWidth = r.right - r.left;
  ExtraHeight = r.bottom - r.top;
}

void ScreenSize(int& Width, int& Height) {
  Width = GetSystemMetrics(SM_CXSCREEN);
  Height = GetSystemMetrics(SM_CYSCREEN);
}

TShiftState KeyboardShiftState() {
  // The high bit of a key's state: held down now.
  TShiftState Keys = 0;
  if (GetKeyState(VK_SHIFT) & 0x8000) Keys |= ssShift;
  if (GetKeyState(VK_CONTROL) & 0x8000) Keys |= ssCtrl;
  if (GetKeyState(VK_MENU) & 0x8000) Keys |= ssAlt;
  return Keys;
}

std::string ExeName() {
  std::string name(MAX_PATH, '\0');
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (n < name.size()) {
      name.resize(n);
      return name;
    }
    name.resize(name.size() * 2);
  }
}

void RunMessageLoop() {
  MSG msg;
  while (!Application->Terminated()) {
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    Win32::TWinPeer::DispatchQueued(msg);
  }
}

void ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // The loop that owns the program's end must still see it.
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    Win32::TWinPeer::DispatchQueued(msg);
  }
}

void WaitAndProcess(unsigned Ms) {
  // Sleeps until input arrives or the time is up; input already queued ends the wait at once.
  MsgWaitForMultipleObjectsEx(0, nullptr, Ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  ProcessMessages();
}

void Post(std::function<void()> Task) {
  auto* task = new std::function<void()>(std::move(Task));
  if (!PostMessageA(TaskWindow(), WM_RUNTASK, 0, reinterpret_cast<LPARAM>(task))) {
    delete task;
    throw EOSError("Cannot post a message to the application's queue");
  }
}

// The other forms are disabled by the model (TFormsDisabled), which their windows follow.
void RunModal(TCustomForm& Form) {
  MSG msg;
  while (Form.ModalResult() == mrNone && !Application->Terminated()) {
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    Win32::TWinPeer::DispatchQueued(msg);
  }
}

int MessageBox(const std::string& Text, const std::string& Caption, unsigned Flags) {
  HWND owner = nullptr;
  if (TCustomForm* active = Screen->ActiveForm()) owner = PeerHandle(*active);
  if (owner && !IsWindowVisible(owner)) owner = nullptr;
  if (!owner) owner = GetActiveWindow();
  // Without an owner the box still stops every window of the program.
  if (!owner) Flags |= MB_TASKMODAL;
  return MessageBoxA(owner, Text.c_str(), Caption.c_str(), Flags);
}

void SetCursor(TCursor Cursor) {
  GScreenCursor = Cursor;
  if (Cursor != crDefault) {
    ::SetCursor(Win32::CursorHandle(Cursor));
    return;
  }
  // Back to the cursor of the window under the mouse, which it sets as on a mouse move.
  POINT at;
  GetCursorPos(&at);
  HWND under = WindowFromPoint(at);
  if (under && GetWindowThreadProcessId(under, nullptr) == GetCurrentThreadId()) {
    LRESULT hit = SendMessageA(under, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
    SendMessageA(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(hit, WM_MOUSEMOVE));
  } else {
    ::SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  }
}

void Beep(unsigned Sound) { MessageBeep(Sound); }

bool TopLevelWindowExists(const std::string& ClassName) {
  return FindWindowA(ClassName.c_str(), nullptr) != nullptr;
}

void Quit() { PostQuitMessage(0); }

}  // namespace Backend
