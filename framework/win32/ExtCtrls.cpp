// The panel peer, a window of our own class that paints its bevels and caption; the bevel peer,
// an etched static control; and the system timers behind TTimer, on a hidden window of their own.
#include <map>

#include "framework/ExtCtrls.h"
#include "framework/win32/Win32.h"

namespace Win32 {
namespace {

const char* const PanelClassName = "VersoraPanel";

void RegisterPanelClass() { RegisterOwnClass(PanelClassName, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW); }

UINT AlignmentFormat(TAlignment Alignment) {
  switch (Alignment) {
    case TAlignment::taLeftJustify: return DT_LEFT;
    case TAlignment::taRightJustify: return DT_RIGHT;
    default: return DT_CENTER;
  }
}

class TPanelPeer : public TWinPeer {
public:
  explicit TPanelPeer(TCustomPanel& Panel) : TWinPeer(Panel), FPanel(Panel) {
    RegisterPanelClass();
    CreateHandle(PanelClassName, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, ParentHandle(Panel));
  }

  void Changed(TPeerChange What) override {
    if (!Handle()) return;
    switch (What) {
      case TPeerChange::Text:
      case TPeerChange::Font:
        TWinPeer::Changed(What);
        InvalidateRect(Handle(), nullptr, TRUE);
        break;
      case TPeerChange::Color:
      case TPeerChange::Style:
        InvalidateRect(Handle(), nullptr, TRUE);
        break;
      case TPeerChange::Invalidate:
        // A status panel's message is seen at once, even while the program goes on working.
        InvalidateRect(Handle(), nullptr, TRUE);
        UpdateWindow(Handle());
        break;
      default: TWinPeer::Changed(What); break;
    }
  }

protected:
  bool Message(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result) override {
    switch (Msg) {
      case WM_ERASEBKGND:
        Result = 1;
        return true;
      case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        Paint(dc);
        EndPaint(Handle(), &ps);
        Result = 0;
        return true;
      }
      // A press and a release of the left button over the panel are its click.
      case WM_LBUTTONDOWN:
        FPressed = true;
        return TWinPeer::Message(Msg, W, L, Result);
      case WM_LBUTTONUP: {
        RECT client;
        GetClientRect(Handle(), &client);
        const POINT at{static_cast<short>(LOWORD(L)), static_cast<short>(HIWORD(L))};
        const bool click = FPressed && PtInRect(&client, at);
        FPressed = false;
        auto alive = Alive();
        TWinPeer::Message(Msg, W, L, Result);
        if (click && !alive.expired()) FPanel.PeerClick();
        return true;
      }
      default:
        return TWinPeer::Message(Msg, W, L, Result);
    }
  }

private:
  TCustomPanel& FPanel;
  bool FPressed = false;

  void Bevel(HDC Dc, RECT& R, TBevelCut Cut) {
    if (Cut == TBevelCut::bvNone) return;
    for (int i = 0; i < FPanel.BevelWidth(); ++i) {
      if (Cut == TBevelCut::bvSpace) InflateRect(&R, -1, -1);
      else DrawEdge(Dc, &R, Cut == TBevelCut::bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    }
  }

  void Paint(HDC Dc) {
    RECT r;
    GetClientRect(Handle(), &r);
    HBRUSH brush = CreateSolidBrush(ColorToRGB(FPanel.Color()));
    FillRect(Dc, &r, brush);
    DeleteObject(brush);
    Bevel(Dc, r, FPanel.BevelOuter());
    Bevel(Dc, r, FPanel.BevelInner());
    HGDIOBJ old = SelectObject(Dc, CurrentFont());
    SetBkMode(Dc, TRANSPARENT);
    SetTextColor(Dc, ColorToRGB(FPanel.Font().Color()));
    // Like a label's, a panel's caption takes "&&" for an ampersand: the window texts are
    // written that way.
    const std::string& text = FPanel.Caption();
    DrawTextA(Dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | AlignmentFormat(FPanel.Alignment()));
    SelectObject(Dc, old);
  }
};

// A bevel is an etched static line or frame; a line keeps to its edge of the bevel's bounds.
class TBevelPeer : public TWinPeer {
public:
  explicit TBevelPeer(TBevel& Bevel) : TWinPeer(Bevel), FBevel(Bevel) {
    CreateHandle("STATIC", WS_CHILD | ShapeStyle(), 0, ParentHandle(Bevel));
    Place();
  }

  void Changed(TPeerChange What) override {
    if (!Handle()) return;
    switch (What) {
      case TPeerChange::Style: {
        LONG style = GetWindowLongA(Handle(), GWL_STYLE) & ~SS_TYPEMASK;
        SetWindowLongA(Handle(), GWL_STYLE, style | ShapeStyle());
        Place();
        InvalidateRect(Handle(), nullptr, TRUE);
        break;
      }
      case TPeerChange::Bounds: Place(); break;
      case TPeerChange::Text: break;
      default: TWinPeer::Changed(What); break;
    }
  }

private:
  TBevel& FBevel;

  DWORD ShapeStyle() const {
    switch (FBevel.Shape()) {
      case TBevelShape::bsTopLine:
      case TBevelShape::bsBottomLine: return SS_ETCHEDHORZ;
      case TBevelShape::bsLeftLine:
      case TBevelShape::bsRightLine: return SS_ETCHEDVERT;
      case TBevelShape::bsSpacer: return SS_LEFT;
      default: return FBevel.Style() == TBevelStyle::bsRaised ? SS_ETCHEDFRAME : SS_SUNKEN;
    }
  }

  void Place() {
    int x = FBevel.Left(), y = FBevel.Top(), w = FBevel.Width(), h = FBevel.Height();
    switch (FBevel.Shape()) {
      case TBevelShape::bsTopLine: h = 2; break;
      case TBevelShape::bsBottomLine: y += h - 2; h = 2; break;
      case TBevelShape::bsLeftLine: w = 2; break;
      case TBevelShape::bsRightLine: x += w - 2; w = 2; break;
      default: break;
    }
    FMovingWindow = true;
    SetWindowPos(Handle(), nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    FMovingWindow = false;
  }
};

// An image is a static icon control holding one of the system's shared icons.
class TImagePeer : public TWinPeer {
public:
  explicit TImagePeer(TImage& Image) : TWinPeer(Image), FImage(Image) {
    CreateHandle("STATIC", WS_CHILD | SS_ICON, 0, ParentHandle(Image));
    ShowIcon();
  }

  void Changed(TPeerChange What) override {
    if (!Handle()) return;
    // The control sizes itself to the icon; its bounds stay the model's.
    if (What == TPeerChange::Contents) ShowIcon();
    else if (What != TPeerChange::Text) TWinPeer::Changed(What);
  }

private:
  TImage& FImage;

  void ShowIcon() {
    LPCSTR id = nullptr;
    switch (FImage.Icon()) {
      case TSystemIcon::siQuestion: id = IDI_QUESTION; break;
      case TSystemIcon::siWarning: id = IDI_WARNING; break;
      case TSystemIcon::siError: id = IDI_ERROR; break;
      case TSystemIcon::siInformation: id = IDI_INFORMATION; break;
      case TSystemIcon::siNone: break;
    }
    // Shared icons of the system: never destroyed by their user.
    HICON icon = id ? LoadIconA(nullptr, id) : nullptr;
    SendMessageA(Handle(), STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  }
};

// ---------------------------------------------------------------------------------------------
// Timers: one system timer per running TTimer, identified by a number of its own.

struct TTimers {
  std::map<UINT_PTR, TTimer*> ById;
  std::map<TTimer*, UINT_PTR> IdOf;
  UINT_PTR NextId = 1;
};

TTimers& Timers() {
  static TTimers timers;
  return timers;
}

LRESULT CALLBACK TimerWindowProc(HWND Handle, UINT Msg, WPARAM W, LPARAM L) {
  if (Msg != WM_TIMER) return DefWindowProcA(Handle, Msg, W, L);
  auto it = Timers().ById.find(W);
  if (it != Timers().ById.end()) {
    it->second->PeerTimer();
  }
  return 0;
}

HWND TimerWindow() {
  static HWND handle = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = TimerWindowProc;
    wc.hInstance = Instance();
    wc.lpszClassName = "VersoraTimers";
    RegisterClassA(&wc);
    return CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, Instance(), nullptr);
  }();
  return handle;
}

}  // namespace
}  // namespace Win32

std::unique_ptr<TControlPeer> TCustomPanel::CreatePeer() { return std::make_unique<Win32::TPanelPeer>(*this); }
std::unique_ptr<TControlPeer> TBevel::CreatePeer() { return std::make_unique<Win32::TBevelPeer>(*this); }
std::unique_ptr<TControlPeer> TImage::CreatePeer() { return std::make_unique<Win32::TImagePeer>(*this); }

namespace Backend {

void StartTimer(TTimer& Timer) {
  auto& timers = Win32::Timers();
  UINT_PTR id;
  if (auto it = timers.IdOf.find(&Timer); it != timers.IdOf.end()) {
    id = it->second;
  } else {
    id = timers.NextId++;
    timers.IdOf[&Timer] = id;
    timers.ById[id] = &Timer;
  }
  // Setting a running timer again restarts its count.
  if (!SetTimer(Win32::TimerWindow(), id, Timer.Interval(), nullptr)) {
    StopTimer(Timer);
    throw EOutOfResources("Not enough timers available");
  }
}

void StopTimer(TTimer& Timer) {
  auto& timers = Win32::Timers();
  auto it = timers.IdOf.find(&Timer);
  if (it == timers.IdOf.end()) return;
  KillTimer(Win32::TimerWindow(), it->second);
  timers.ById.erase(it->second);
  timers.IdOf.erase(it);
}

}  // namespace Backend
