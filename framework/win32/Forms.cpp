// The form peer: a top-level window of our own class.
#include "framework/win32/Win32.h"

#include <algorithm>
#include <cstdint>

namespace Win32 {

void FormStyle(TFormBorderStyle Border, DWORD& Style, DWORD& ExStyle, TBorderIcons Icons) {
  Style = WS_OVERLAPPEDWINDOW;
  ExStyle = 0;
  switch (Border) {
    case TFormBorderStyle::bsNone: Style = WS_POPUP; break;
    case TFormBorderStyle::bsSingle:
      Style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
      break;
    case TFormBorderStyle::bsSizeable: Style = WS_OVERLAPPEDWINDOW; break;
    case TFormBorderStyle::bsDialog:
      Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
      ExStyle = WS_EX_DLGMODALFRAME;
      break;
    case TFormBorderStyle::bsToolWindow:
      Style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
      ExStyle = WS_EX_TOOLWINDOW;
      break;
    case TFormBorderStyle::bsSizeToolWin:
      Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
      ExStyle = WS_EX_TOOLWINDOW;
      break;
  }
  if (Style & WS_CAPTION) {
    if (!(Icons & biSystemMenu)) Style &= ~(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    if (!(Icons & biMinimize)) Style &= ~WS_MINIMIZEBOX;
    if (!(Icons & biMaximize)) Style &= ~WS_MAXIMIZEBOX;
  }
}

namespace {

// A window other than the main one belongs to the main window (or else to the active one), so
// that it stays in front of it and leaves the task bar to it.
HWND OwnerWindow(const TCustomForm& Form) {
  TCustomForm* main = Application->MainForm();
  if (main && main != &Form)
    if (HWND handle = PeerHandle(*main)) return handle;
  TCustomForm* active = Screen->ActiveForm();
  if (active && active != &Form) return PeerHandle(*active);
  return nullptr;
}

class TFormPeer : public TWinPeer {
public:
  explicit TFormPeer(TCustomForm& Form) : TWinPeer(Form), FForm(Form) {
    DWORD style, exStyle;
    FormStyle(Form.BorderStyle(), style, exStyle, Form.BorderIcons());
    // No WS_CLIPCHILDREN: transparent labels show the background the form paints under them.
    CreateHandle(FormClassName, style, exStyle, OwnerWindow(Form));
  }

  void Changed(TPeerChange What) override {
    if (!Handle()) return;
    switch (What) {
      case TPeerChange::Style: {
        DWORD style, exStyle;
        FormStyle(FForm.BorderStyle(), style, exStyle, FForm.BorderIcons());
        DWORD kept = GetWindowLongA(Handle(), GWL_STYLE) & (WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE);
        SetWindowLongA(Handle(), GWL_STYLE, style | kept);
        SetWindowLongA(Handle(), GWL_EXSTYLE, exStyle);
        FMovingWindow = true;
        SetWindowPos(Handle(), nullptr, FForm.Left(), FForm.Top(), FForm.Width(), FForm.Height(),
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        FMovingWindow = false;
        ApplyWindowState();
        break;
      }
      case TPeerChange::Visible:
        // A form shows in its window state; its normal bounds stay the ones to restore to.
        if (FForm.Visible() && FForm.WindowState() != TWindowState::wsNormal)
          ShowWindow(Handle(), FForm.WindowState() == TWindowState::wsMaximized ? SW_SHOWMAXIMIZED
                                                                                : SW_SHOWMINIMIZED);
        else
          TWinPeer::Changed(What);
        break;
      case TPeerChange::Focus:
        if (IsWindowVisible(Handle())) {
          SetForegroundWindow(Handle());
          BringWindowToTop(Handle());
        }
        break;
      case TPeerChange::Color:
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        break;
      default: TWinPeer::Changed(What); break;
    }
  }

protected:
  bool Message(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result) override {
    if ((Msg == WM_COMMAND || Msg == WM_INITMENUPOPUP) && MenuMessage(Msg, W, L)) {
      Result = 0;
      return true;
    }
    switch (Msg) {
      case WM_ERASEBKGND:
        FillClient(Handle(), reinterpret_cast<HDC>(W), FForm.Color());
        Result = 1;
        return true;
      case WM_CLOSE:
        // The model decides: it may refuse, hide, free the form or end the program.
        FForm.PeerCloseRequested();
        Result = 0;
        return true;
      case WM_ACTIVATE: {
        bool active = LOWORD(W) != WA_INACTIVE;
        // Reported once the current event is over, so that a form being shown fires OnShow
        // before OnActivate, as the platform does; the focus then goes to its active control.
        TCustomForm* form = &FForm;
        Application->Post(form, [form, active] {
          HWND handle = PeerHandle(*form);
          if (active && handle && GetActiveWindow() == handle && !IsChild(handle, GetFocus()))
            FocusActiveControl(*form);
          form->PeerActivated(active);
        });
        return false;
      }
      case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(L);
        const TSizeConstraints& limits = FForm.Constraints();
        if (limits.MinWidth > 0) info->ptMinTrackSize.x = limits.MinWidth;
        if (limits.MinHeight > 0) info->ptMinTrackSize.y = limits.MinHeight;
        if (limits.MaxWidth > 0) info->ptMaxTrackSize.x = info->ptMaxSize.x = limits.MaxWidth;
        if (limits.MaxHeight > 0) info->ptMaxTrackSize.y = info->ptMaxSize.y = limits.MaxHeight;
        Result = 0;
        return true;
      }
      case WM_SIZE:
        if (W == SIZE_RESTORED || W == SIZE_MINIMIZED || W == SIZE_MAXIMIZED)
          FForm.PeerWindowStateChanged(W == SIZE_MAXIMIZED   ? TWindowState::wsMaximized
                                       : W == SIZE_MINIMIZED ? TWindowState::wsMinimized
                                                             : TWindowState::wsNormal);
        return false;
      case WM_WINDOWPOSCHANGED: {
        RECT r;
        if (!FMovingWindow && !IsIconic(Handle()) && GetWindowRect(Handle(), &r)) {
          TRect moved{r.left, r.top, r.right, r.bottom};
          if (moved != FForm.BoundsRect())
            FForm.PeerBoundsChanged(r.left, r.top, r.right - r.left, r.bottom - r.top);
        }
        return false;
      }
      default:
        return TWinPeer::Message(Msg, W, L, Result);
    }
  }

private:
  TCustomForm& FForm;

  // The window state of a shown window follows the model's (the window style holds it); a
  // hidden window takes it when it is shown.
  void ApplyWindowState() {
    if (!IsWindowVisible(Handle())) return;
    switch (FForm.WindowState()) {
      case TWindowState::wsMaximized:
        if (!IsZoomed(Handle())) ShowWindow(Handle(), SW_MAXIMIZE);
        break;
      case TWindowState::wsMinimized:
        if (!IsIconic(Handle())) ShowWindow(Handle(), SW_MINIMIZE);
        break;
      case TWindowState::wsNormal:
        if (IsZoomed(Handle()) || IsIconic(Handle())) ShowWindow(Handle(), SW_RESTORE);
        break;
    }
  }
};

}  // namespace
}  // namespace Win32

std::unique_ptr<TControlPeer> TCustomForm::CreatePeer() {
  return std::make_unique<Win32::TFormPeer>(*this);
}

namespace Backend {

void CaptureFormImage(TCustomForm& Form, TBitmap& Image) {
  Image.SetSize(0, 0);
  HWND window = PeerHandle(Form);
  if (!window) return;
  RECT client{};
  GetClientRect(window, &client);
  const int width = client.right - client.left, height = client.bottom - client.top;
  if (width <= 0 || height <= 0) return;
  // The picture on the screen, painted up to date, copied into a top-down 32-bit bitmap.
  UpdateWindow(window);
  std::unique_ptr<HDC__, void (*)(HDC)> screen(GetDC(window), [](HDC h) { ReleaseDC(nullptr, h); });
  std::unique_ptr<HDC__, BOOL(WINAPI*)(HDC)> memory(CreateCompatibleDC(screen.get()), DeleteDC);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  std::unique_ptr<HBITMAP__, BOOL(WINAPI*)(HGDIOBJ)> bitmap(
      CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0), DeleteObject);
  if (!screen || !memory || !bitmap || !bits) return;
  HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
  BitBlt(memory.get(), 0, 0, width, height, screen.get(), 0, 0, SRCCOPY);
  GdiFlush();
  Image.SetSize(width, height);
  const auto* source = static_cast<const std::uint32_t*>(bits);
  for (int row = 0; row < height; ++row)
    std::copy_n(source + static_cast<std::size_t>(row) * width, width, Image.ScanLine(row));
  SelectObject(memory.get(), previous);
}

}  // namespace Backend
