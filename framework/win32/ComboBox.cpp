// The combo box peer: the system's COMBOBOX, drop-down or drop-down list. In the editable style
// the keys, double clicks and focus of its inner text box are the combo box's own.
#include <cstring>
#include <string>

#include "framework/StdCtrls.h"
#include "framework/win32/Win32.h"

namespace Win32 {
namespace {

class TComboBoxPeer : public TWinPeer {
public:
  explicit TComboBoxPeer(TCustomComboBox& Combo) : TWinPeer(Combo), FCombo(Combo) {
    DWORD kind = Combo.Style() == TComboBoxStyle::csDropDown ? CBS_DROPDOWN | CBS_AUTOHSCROLL : CBS_DROPDOWNLIST;
    CreateHandle("COMBOBOX", WS_CHILD | WS_TABSTOP | WS_VSCROLL | kind, 0, ParentHandle(Combo));
    if (HWND edit = FindWindowExA(Handle(), nullptr, "EDIT", nullptr)) {
      FEdit = edit;
      SetWindowSubclass(edit, EditProc, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    PushSize();
    PushItems();
  }

  ~TComboBoxPeer() override {
    if (FEdit && IsWindow(FEdit)) RemoveWindowSubclass(FEdit, EditProc, 1);
  }

  void Changed(TPeerChange What) override {
    if (!Handle()) return;
    switch (What) {
      case TPeerChange::Contents: PushItems(); break;
      case TPeerChange::Layout: PushSelection(); break;
      case TPeerChange::Bounds:
      case TPeerChange::Style:
        PushSize();
        if (FCombo.DroppedDown() != (SendMessageA(Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0))
          SendMessageA(Handle(), CB_SHOWDROPDOWN, FCombo.DroppedDown(), 0);
        break;
      default: TWinPeer::Changed(What); break;
    }
  }

protected:
  bool WantsKey(WPARAM Key) const override {
    return FCombo.DroppedDown() && (Key == VK_RETURN || Key == VK_ESCAPE);
  }

  bool Notification(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result) override {
    if (Msg != WM_COMMAND) return false;
    Result = 0;
    switch (HIWORD(W)) {
      case CBN_EDITCHANGE: FCombo.PeerTextEdited(WindowText()); return true;
      case CBN_SELCHANGE:
        FCombo.PeerItemChosen(static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0)));
        return true;
      case CBN_DROPDOWN: FCombo.PeerDroppedDown(true); return true;
      case CBN_CLOSEUP: FCombo.PeerDroppedDown(false); return true;
      case CBN_DBLCLK: FCombo.PeerDblClick(); return true;
      default: return false;
    }
  }

private:
  TCustomComboBox& FCombo;
  HWND FEdit = nullptr;

  std::string WindowText() const {
    int length = GetWindowTextLengthA(Handle());
    std::string text(length + 1, '\0');
    GetWindowTextA(Handle(), text.data(), length + 1);
    text.resize(std::strlen(text.c_str()));
    return text;
  }

  // The window's height holds the dropped list too.
  void PushSize() {
    int item = static_cast<int>(SendMessageA(Handle(), CB_GETITEMHEIGHT, 0, 0));
    FMovingWindow = true;
    SetWindowPos(Handle(), nullptr, FCombo.Left(), FCombo.Top(), FCombo.Width(),
                 FCombo.Height() + item * FCombo.DropDownCount() + 2, SWP_NOZORDER | SWP_NOACTIVATE);
    FMovingWindow = false;
    SendMessageA(Handle(), CB_SETDROPPEDWIDTH, FCombo.DroppedWidth(), 0);
  }

  void PushItems() {
    SendMessageA(Handle(), CB_RESETCONTENT, 0, 0);
    const TStrings& items = FCombo.Items();
    for (int i = 0; i < items.Count(); ++i)
      SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i].c_str()));
    PushSelection();
  }

  void PushSelection() {
    SendMessageA(Handle(), CB_SETCURSEL, FCombo.ItemIndex(), 0);
    if (FCombo.Style() == TComboBoxStyle::csDropDown && WindowText() != FCombo.Text())
      SetWindowTextA(Handle(), FCombo.Text().c_str());
  }

  // The inner text box: what reaches it is input to the combo box.
  static LRESULT CALLBACK EditProc(HWND Edit, UINT Msg, WPARAM W, LPARAM L, UINT_PTR, DWORD_PTR Data) {
    auto* peer = reinterpret_cast<TComboBoxPeer*>(Data);
    TCustomComboBox& combo = peer->FCombo;
    auto alive = peer->Alive();
    switch (Msg) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN: {
        unsigned short key = static_cast<unsigned short>(W);
        combo.PeerKeyDown(key, KeyboardShift());
        if (alive.expired() || key == 0) return 0;
        if (Msg == WM_KEYDOWN && !peer->WantsKey(key))
          if (TCustomForm* form = combo.ParentForm(); form && FormKey(*form, &combo, Msg, key)) return 0;
        break;
      }
      case WM_CHAR: {
        char key = static_cast<char>(W);
        combo.PeerKeyPress(key);
        if (alive.expired() || key == 0) return 0;
        return DefSubclassProc(Edit, Msg, static_cast<unsigned char>(key), L);
      }
      case WM_LBUTTONDBLCLK: {
        LRESULT result = DefSubclassProc(Edit, Msg, W, L);
        combo.PeerDblClick();
        return result;
      }
      case WM_SETFOCUS: {
        LRESULT result = DefSubclassProc(Edit, Msg, W, L);
        combo.PeerFocusChanged(true);
        return result;
      }
      default: break;
    }
    return DefSubclassProc(Edit, Msg, W, L);
  }
};

}  // namespace
}  // namespace Win32

std::unique_ptr<TControlPeer> TCustomComboBox::CreatePeer() { return std::make_unique<Win32::TComboBoxPeer>(*this); }
