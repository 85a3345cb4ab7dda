// The list box peer: the system's LISTBOX, extended selection for a multi-select box, drawn by
// us with a check box before each line for a check list. The user's selection, scrolling and
// checks come back to the model.
#include <algorithm>
#include <string>
#include <vector>

#include "framework/CheckLst.h"
#include "framework/StdCtrls.h"
#include "framework/win32/Win32.h"

namespace Win32 {
namespace {

class TListBoxPeer : public TWinPeer {
public:
  explicit TListBoxPeer(TCustomListBox& Box) : TWinPeer(Box), FBox(Box), FChecks(As<TCheckListBox>(&Box)) {
    DWORD select = !Box.MultiSelect() ? 0 : Box.ExtendedSelect() ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
    if (FChecks) select |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
    CreateHandle("LISTBOX", WS_CHILD | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | select,
                 WS_EX_CLIENTEDGE, ParentHandle(Box));
    SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, Box.ItemHeight());
    PushItems();
  }

  void Changed(TPeerChange What) override {
    if (!Handle()) return;
    switch (What) {
      case TPeerChange::Contents: PushItems(); break;
      case TPeerChange::Layout: PushSelection(); break;
      case TPeerChange::Style:
        SendMessageA(Handle(), LB_SETITEMHEIGHT, 0, FBox.ItemHeight());
        InvalidateRect(Handle(), nullptr, TRUE);
        break;
      default: TWinPeer::Changed(What); break;
    }
  }

protected:
  bool WantsKey(WPARAM Key) const override {
    return Key == VK_UP || Key == VK_DOWN || Key == VK_PRIOR || Key == VK_NEXT || Key == VK_HOME || Key == VK_END;
  }

  bool Notification(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result) override {
    if (Msg == WM_DRAWITEM && FChecks) {
      DrawCheckItem(*reinterpret_cast<DRAWITEMSTRUCT*>(L));
      Result = TRUE;
      return true;
    }
    if (Msg != WM_COMMAND || HIWORD(W) != LBN_SELCHANGE) return false;
    Result = 0;
    int count = FBox.ItemCount();
    std::vector<bool> states(count);
    int caret;
    if (FBox.MultiSelect()) {
      for (int i = 0; i < count; ++i) states[i] = SendMessageA(Handle(), LB_GETSEL, i, 0) > 0;
      caret = static_cast<int>(SendMessageA(Handle(), LB_GETCARETINDEX, 0, 0));
    } else {
      caret = static_cast<int>(SendMessageA(Handle(), LB_GETCURSEL, 0, 0));
    }
    auto alive = Alive();
    FBox.PeerSelectionChanged(states, caret);
    if (!alive.expired()) ReportTop();
    return true;
  }

  bool Message(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result) override {
    switch (Msg) {
      case WM_VSCROLL:
      case WM_MOUSEWHEEL:
      case WM_KEYDOWN: {
        // The box scrolls itself; the model hears where it went.
        auto alive = Alive();
        if (TWinPeer::Message(Msg, W, L, Result) || alive.expired()) return true;
        Result = DefaultProc(Msg, W, L);
        if (!alive.expired()) ReportTop();
        return true;
      }
      case WM_LBUTTONDOWN: {
        auto alive = Alive();
        bool handled = TWinPeer::Message(Msg, W, L, Result);
        if (alive.expired() || !FChecks) return handled;
        // A press on a line's check box toggles it, after the line is selected.
        int x = static_cast<short>(LOWORD(L));
        LRESULT hit = SendMessageA(Handle(), LB_ITEMFROMPOINT, 0, L);
        if (x < FBox.ItemHeight() && !HIWORD(hit)) FChecks->PeerCheckToggled(LOWORD(hit));
        return handled;
      }
      case WM_CHAR:
        if (FChecks && W == ' ') {
          auto alive = Alive();
          if (TWinPeer::Message(Msg, W, L, Result) || alive.expired()) return true;
          FChecks->PeerCheckToggled(FBox.ItemIndex());
          return true;
        }
        return TWinPeer::Message(Msg, W, L, Result);
      default: return TWinPeer::Message(Msg, W, L, Result);
    }
  }

private:
  TCustomListBox& FBox;
  TCheckListBox* FChecks;

  void DrawCheckItem(const DRAWITEMSTRUCT& Item) {
    HDC dc = Item.hDC;
    RECT r = Item.rcItem;
    bool selected = Item.itemState & ODS_SELECTED;
    FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (static_cast<int>(Item.itemID) < 0 || static_cast<int>(Item.itemID) >= FBox.ItemCount()) return;
    int side = std::min(13, static_cast<int>(r.bottom - r.top) - 2);
    RECT box{r.left + 2, r.top + (r.bottom - r.top - side) / 2, 0, 0};
    box.right = box.left + side;
    box.bottom = box.top + side;
    DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (FChecks->Checked(Item.itemID) ? DFCS_CHECKED : 0));
    RECT text = r;
    text.left = box.right + 4;
    HGDIOBJ old = SelectObject(dc, CurrentFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const std::string line = FBox.Items()[Item.itemID];
    DrawTextA(dc, line.c_str(), static_cast<int>(line.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    SelectObject(dc, old);
    if (Item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
  }

  void ReportTop() { FBox.PeerTopIndexChanged(static_cast<int>(SendMessageA(Handle(), LB_GETTOPINDEX, 0, 0))); }

  void PushItems() {
    SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
    SendMessageA(Handle(), LB_RESETCONTENT, 0, 0);
    const TStrings& items = FBox.Items();
    for (int i = 0; i < items.Count(); ++i)
      SendMessageA(Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i].c_str()));
    PushSelection();
    SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Handle(), nullptr, TRUE);
  }

  void PushSelection() {
    if (FBox.MultiSelect()) {
      for (int i = 0; i < FBox.ItemCount(); ++i) SendMessageA(Handle(), LB_SETSEL, FBox.Selected(i), i);
      if (FBox.ItemIndex() >= 0) SendMessageA(Handle(), LB_SETCARETINDEX, FBox.ItemIndex(), FALSE);
    } else {
      SendMessageA(Handle(), LB_SETCURSEL, FBox.ItemIndex(), 0);
    }
    SendMessageA(Handle(), LB_SETTOPINDEX, FBox.TopIndex(), 0);
    ReportTop();
  }
};

}  // namespace
}  // namespace Win32

std::unique_ptr<TControlPeer> TCustomListBox::CreatePeer() { return std::make_unique<Win32::TListBoxPeer>(*this); }
