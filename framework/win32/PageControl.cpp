// Peers of page controls (the system's tab control, with each page a window of our own class
// inside it) and of up-down arrows (the system's up-down control, without a buddy: the model
// writes the associated edit itself).
#include "framework/ComCtrls.h"
#include "framework/win32/Win32.h"

namespace Win32 {
namespace {

const char* const TabSheetClassName = "VersoraTabSheet";

void RegisterTabSheetClass() {
  static bool done = false;
  if (done) return;
  done = true;
  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = TWinPeer::WindowProc;
  wc.hInstance = Instance();
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = TabSheetClassName;
  RegisterClassA(&wc);
}

class TPageControlPeer : public TWinPeer {
public:
  explicit TPageControlPeer(TPageControl& Pages) : TWinPeer(Pages), FPages(Pages) {
    CreateHandle(WC_TABCONTROLA, WS_CHILD | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, ParentHandle(Pages));
    PushTabs();
  }

  void Changed(TPeerChange What) override {
    if (!Handle()) return;
    switch (What) {
      case TPeerChange::Contents: PushTabs(); break;
      case TPeerChange::Layout: PushSelection(); break;
      case TPeerChange::Bounds:
      case TPeerChange::Font:
        TWinPeer::Changed(What);
        ReportDisplayRect();
        break;
      default: TWinPeer::Changed(What); break;
    }
  }

protected:
  bool WantsKey(WPARAM Key) const override { return Key == VK_LEFT || Key == VK_RIGHT; }

  bool Notification(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result) override {
    if (Msg != WM_NOTIFY) return false;
    switch (reinterpret_cast<NMHDR*>(L)->code) {
      case TCN_SELCHANGING:
        Result = !FPages.PeerChanging();
        return true;
      case TCN_SELCHANGE: {
        auto alive = Alive();
        FPages.PeerTabChosen(static_cast<int>(SendMessageA(Handle(), TCM_GETCURSEL, 0, 0)));
        if (!alive.expired()) PushSelection();
        Result = 0;
        return true;
      }
      default: return false;
    }
  }

private:
  TPageControl& FPages;

  void PushTabs() {
    SendMessageA(Handle(), TCM_DELETEALLITEMS, 0, 0);
    auto tabs = FPages.VisibleTabs();
    for (size_t i = 0; i < tabs.size(); ++i) {
      TCITEMA item{};
      item.mask = TCIF_TEXT;
      item.pszText = const_cast<char*>(tabs[i]->Caption().c_str());
      SendMessageA(Handle(), TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    PushSelection();
    ReportDisplayRect();
  }

  void PushSelection() {
    TTabSheet* active = FPages.ActivePage();
    SendMessageA(Handle(), TCM_SETCURSEL, active ? active->TabIndex() : -1, 0);
  }

  // Where the pages go depends on the rows of tabs that the font and the width make.
  void ReportDisplayRect() {
    RECT r{0, 0, FPages.Width(), FPages.Height()};
    SendMessageA(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    FPages.PeerDisplayRect({r.left, r.top, r.right, r.bottom});
  }
};

class TTabSheetPeer : public TWinPeer {
public:
  explicit TTabSheetPeer(TTabSheet& Sheet) : TWinPeer(Sheet) {
    RegisterTabSheetClass();
    CreateHandle(TabSheetClassName, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT,
                 ParentHandle(Sheet));
  }

  void Changed(TPeerChange What) override {
    // The caption is the tab's, not the page window's.
    if (What != TPeerChange::Text) TWinPeer::Changed(What);
  }
};

class TUpDownPeer : public TWinPeer {
public:
  explicit TUpDownPeer(TUpDown& UpDown) : TWinPeer(UpDown), FUpDown(UpDown) {
    CreateHandle(UPDOWN_CLASSA, WS_CHILD, 0, ParentHandle(UpDown));
    PushPosition();
    InvalidateRect(Handle(), nullptr, TRUE);
  }

  void Changed(TPeerChange What) override {
    if (!Handle()) return;
    if (What == TPeerChange::Contents) PushPosition();
    else TWinPeer::Changed(What);
  }

protected:
  bool Notification(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result) override {
    if (Msg != WM_NOTIFY || reinterpret_cast<NMHDR*>(L)->code != UDN_DELTAPOS) return false;
    // The control does not move itself: the model decides, and pushes where it went.
    Result = 1;
    auto* change = reinterpret_cast<NMUPDOWN*>(L);
    FUpDown.PeerArrowClicked(change->iDelta > 0 ? TUDBtnType::btNext : TUDBtnType::btPrev);
    return true;
  }

private:
  TUpDown& FUpDown;

  void PushPosition() {
    SendMessageA(Handle(), UDM_SETRANGE32, FUpDown.Min(), FUpDown.Max());
    SendMessageA(Handle(), UDM_SETPOS32, 0, FUpDown.Position());
  }
};

}  // namespace
}  // namespace Win32

std::unique_ptr<TControlPeer> TPageControl::CreatePeer() { return std::make_unique<Win32::TPageControlPeer>(*this); }
std::unique_ptr<TControlPeer> TTabSheet::CreatePeer() { return std::make_unique<Win32::TTabSheetPeer>(*this); }
std::unique_ptr<TControlPeer> TUpDown::CreatePeer() { return std::make_unique<Win32::TUpDownPeer>(*this); }
