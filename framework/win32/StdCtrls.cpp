// Peers of labels, buttons, check boxes, radio buttons and group boxes: the system's STATIC and
// BUTTON controls.
#include <algorithm>
#include <vector>

#include "framework/Buttons.h"
#include "framework/StdCtrls.h"
#include "framework/win32/Win32.h"

namespace Win32 {
namespace {

DWORD AlignmentStyle(const TLabel& Label) {
  const DWORD prefix = Label.ShowAccelChar() ? 0 : SS_NOPREFIX;
  switch (Label.Alignment()) {
    case TAlignment::taRightJustify: return SS_RIGHT | prefix;
    case TAlignment::taCenter: return SS_CENTER | prefix;
    // Without word wrap a left-aligned label shows one line, cut at its right edge, as the
    // platform's does.
    default: return (Label.WordWrap() ? SS_LEFT : SS_LEFTNOWORDWRAP) | prefix;
  }
}

class TLabelPeer : public TWinPeer {
public:
  explicit TLabelPeer(TLabel& Label) : TWinPeer(Label), FLabel(Label) {
    CreateHandle("STATIC", WS_CHILD | SS_NOTIFY | AlignmentStyle(Label), 0, ParentHandle(Label));
    FitText();
  }

  ~TLabelPeer() override {
    if (FBrush) DeleteObject(FBrush);
  }

  void Changed(TPeerChange What) override {
    if (!Handle()) return;
    switch (What) {
      case TPeerChange::Style: {
        LONG style = GetWindowLongA(Handle(), GWL_STYLE) & ~(SS_TYPEMASK | SS_NOPREFIX);
        SetWindowLongA(Handle(), GWL_STYLE, style | AlignmentStyle(FLabel));
        RepaintUnder();
        FitText();
        break;
      }
      case TPeerChange::Color:
        if (FBrush) DeleteObject(FBrush);
        FBrush = nullptr;
        RepaintUnder();
        break;
      case TPeerChange::Bounds:
        RepaintUnder();
        TWinPeer::Changed(What);
        FitText();
        RepaintUnder();
        break;
      case TPeerChange::Text:
      case TPeerChange::Font:
        RepaintUnder();
        TWinPeer::Changed(What);
        FitText();
        RepaintUnder();
        break;
      default: TWinPeer::Changed(What); break;
    }
  }

protected:
  bool Notification(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result) override {
    if (Msg != WM_CTLCOLORSTATIC) return false;
    HDC dc = reinterpret_cast<HDC>(W);
    SetTextColor(dc, ColorToRGB(FLabel.Font().Color()));
    if (FLabel.Transparent()) {
      SetBkMode(dc, TRANSPARENT);
      Result = reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    } else {
      SetBkColor(dc, ColorToRGB(FLabel.Color()));
      if (!FBrush) FBrush = CreateSolidBrush(ColorToRGB(FLabel.Color()));
      Result = reinterpret_cast<LRESULT>(FBrush);
    }
    return true;
  }

private:
  TLabel& FLabel;
  HBRUSH FBrush = nullptr;

  // An auto-sized label takes the size of its text on one line, or with word wrap the height
  // of its lines at its width; only the screen's font knows it, so the model hears of it as
  // of any other change of the window's bounds. A right-aligned label keeps its right edge,
  // as the platform's does.
  void FitText() {
    if (!FLabel.AutoSize()) return;
    HDC dc = GetDC(Handle());
    HGDIOBJ old = SelectObject(dc, CurrentFont());
    RECT r{0, 0, FLabel.WordWrap() ? FLabel.Width() : 0, 0};
    const std::string& text = FLabel.Caption();
    const UINT lines = FLabel.WordWrap() ? DT_WORDBREAK : DT_SINGLELINE;
    DrawTextA(dc, text.empty() ? " " : text.c_str(), -1, &r, DT_CALCRECT | lines | DT_EXPANDTABS);
    if (FLabel.WordWrap()) r.right = FLabel.Width();
    SelectObject(dc, old);
    ReleaseDC(Handle(), dc);
    int left = FLabel.Left();
    if (FLabel.Alignment() == TAlignment::taRightJustify) left += FLabel.Width() - r.right;
    if (left == FLabel.Left() && r.right == FLabel.Width() && r.bottom == FLabel.Height()) return;
    FLabel.PeerBoundsChanged(left, FLabel.Top(), r.right, r.bottom);
    FMovingWindow = true;
    SetWindowPos(Handle(), nullptr, left, FLabel.Top(), r.right, r.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    FMovingWindow = false;
  }

  // A transparent label paints no background of its own: what it showed before goes only
  // when its parent paints that spot again.
  void RepaintUnder() {
    HWND parent = GetParent(Handle());
    RECT r;
    GetWindowRect(Handle(), &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    RedrawWindow(parent, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
};

class TButtonPeer : public TWinPeer {
public:
  explicit TButtonPeer(TButton& Button) : TWinPeer(Button), FButton(Button) {
    DWORD kind = Button.Default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    CreateHandle("BUTTON", WS_CHILD | WS_TABSTOP | kind, 0, ParentHandle(Button));
  }

protected:
  bool Notification(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result) override {
    if (Msg != WM_COMMAND || HIWORD(W) != BN_CLICKED) return false;
    FButton.PeerClick();
    Result = 0;
    return true;
  }

private:
  TButton& FButton;
};

// A check box or radio button whose check the model decides: the window does not check itself,
// a click or Space reports to the model, which checks, fires OnClick and tells the window.
class TCheckPeer : public TWinPeer {
public:
  explicit TCheckPeer(TCheckBox& Box) : TWinPeer(Box), FBox(&Box) { Create(BS_CHECKBOX); }
  explicit TCheckPeer(TRadioButton& Radio) : TWinPeer(Radio), FRadio(&Radio) { Create(BS_RADIOBUTTON); }

  void Changed(TPeerChange What) override {
    if (What != TPeerChange::Contents) TWinPeer::Changed(What);
    else if (Handle()) PushCheck();
  }

protected:
  bool Notification(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result) override {
    if (Msg != WM_COMMAND || HIWORD(W) != BN_CLICKED) return false;
    Result = 0;
    if (FBox) FBox->PeerToggled();
    else FRadio->PeerChecked();
    return true;
  }

  bool Message(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result) override {
    bool arrow = W == VK_LEFT || W == VK_UP || W == VK_RIGHT || W == VK_DOWN;
    if (!FRadio || Msg != WM_KEYDOWN || !arrow) return TWinPeer::Message(Msg, W, L, Result);
    auto alive = Alive();
    if (TWinPeer::Message(Msg, W, L, Result) || alive.expired()) return true;
    // The arrow keys move to the next radio button of the group and check it, round the ends.
    std::vector<TRadioButton*> group;
    for (TWinControl* c : TabOrderedChildren(*FRadio->Parent())) {
      auto* radio = As<TRadioButton>(c);
      if (radio == FRadio || (radio && radio->HandleAllocated() && radio->CanFocus())) group.push_back(radio);
    }
    size_t at = std::find(group.begin(), group.end(), FRadio) - group.begin();
    TRadioButton* next = group[(at + (W == VK_RIGHT || W == VK_DOWN ? 1 : group.size() - 1)) % group.size()];
    Result = 0;
    if (next == FRadio) return true;
    next->SetFocus();
    if (!alive.expired()) next->PeerChecked();
    return true;
  }

private:
  TCheckBox* FBox = nullptr;
  TRadioButton* FRadio = nullptr;

  void Create(DWORD Kind) {
    CreateHandle("BUTTON", WS_CHILD | WS_TABSTOP | Kind, 0, ParentHandle(Control()));
    PushCheck();
  }

  void PushCheck() {
    bool checked = FBox ? FBox->Checked() : FRadio->Checked();
    SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
};

// A group box is a parent of controls: what its children tell it passes through our peer.
class TGroupBoxPeer : public TWinPeer {
public:
  explicit TGroupBoxPeer(TGroupBox& Box) : TWinPeer(Box), FBox(Box) {
    CreateHandle("BUTTON", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | BS_GROUPBOX, WS_EX_CONTROLPARENT,
                 ParentHandle(Box));
  }

protected:
  // The system's group box paints only its frame and caption; a parent that clips its children
  // leaves the inside unpainted, so the box fills it with its colour.
  bool Message(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result) override {
    if (Msg != WM_ERASEBKGND) return TWinPeer::Message(Msg, W, L, Result);
    FillClient(Handle(), reinterpret_cast<HDC>(W), FBox.Color());
    Result = 1;
    return true;
  }

private:
  TGroupBox& FBox;
};

}  // namespace
}  // namespace Win32

std::unique_ptr<TControlPeer> TLabel::CreatePeer() { return std::make_unique<Win32::TLabelPeer>(*this); }
std::unique_ptr<TControlPeer> TButton::CreatePeer() { return std::make_unique<Win32::TButtonPeer>(*this); }
std::unique_ptr<TControlPeer> TCheckBox::CreatePeer() { return std::make_unique<Win32::TCheckPeer>(*this); }
std::unique_ptr<TControlPeer> TRadioButton::CreatePeer() { return std::make_unique<Win32::TCheckPeer>(*this); }
std::unique_ptr<TControlPeer> TGroupBox::CreatePeer() { return std::make_unique<Win32::TGroupBoxPeer>(*this); }
