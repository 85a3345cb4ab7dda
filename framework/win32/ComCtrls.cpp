// The list view peer: the system's SysListView32. Every text is asked of the model when the
// window draws it (owner data or not), so the window never holds a copy that could go stale;
// the user's selection, focus and scrolling come back to the model.
#include <algorithm>
#include <string>

#include "framework/ComCtrls.h"
#include "framework/win32/Win32.h"

namespace Win32 {
namespace {

DWORD ViewStyleBits(TViewStyle Style) {
  switch (Style) {
    case vsSmallIcon: return LVS_SMALLICON;
    case vsList: return LVS_LIST;
    case vsReport: return LVS_REPORT;
    default: return LVS_ICON;
  }
}

int ColumnFormat(TAlignment Alignment) {
  switch (Alignment) {
    case TAlignment::taRightJustify: return LVCFMT_RIGHT;
    case TAlignment::taCenter: return LVCFMT_CENTER;
    default: return LVCFMT_LEFT;
  }
}

TItemStates ModelStates(UINT States) {
  return ((States & LVIS_SELECTED) ? isSelected : 0u) | ((States & LVIS_FOCUSED) ? isFocused : 0u);
}

class TListViewPeer : public TWinPeer {
public:
  explicit TListViewPeer(TCustomListView& View) : TWinPeer(View), FView(View) {
    DWORD style = WS_CHILD | WS_TABSTOP | LVS_SHOWSELALWAYS | ViewStyleBits(View.ViewStyle());
    if (View.OwnerData()) style |= LVS_OWNERDATA;
    if (!View.MultiSelect()) style |= LVS_SINGLESEL;
    if (!View.ShowColumnHeaders()) style |= LVS_NOCOLUMNHEADER;
    CreateHandle(WC_LISTVIEWA, style, WS_EX_CLIENTEDGE, ParentHandle(View));
    SendMessageA(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    PushColumns();
    PushItems();
  }

  void Changed(TPeerChange What) override {
    if (!Handle()) return;
    switch (What) {
      case TPeerChange::Layout: PushColumns(); break;
      case TPeerChange::Contents: PushItems(); break;
      case TPeerChange::Invalidate: PushStates(); break;
      case TPeerChange::Bounds:
      case TPeerChange::Font:
        TWinPeer::Changed(What);
        ReportScroll();
        break;
      default: TWinPeer::Changed(What); break;
    }
  }

protected:
  bool WantsKey(WPARAM Key) const override {
    return Key == VK_UP || Key == VK_DOWN || Key == VK_LEFT || Key == VK_RIGHT || Key == VK_PRIOR ||
           Key == VK_NEXT || Key == VK_HOME || Key == VK_END;
  }

  bool Notification(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result) override {
    if (Msg != WM_NOTIFY) return false;
    auto* header = reinterpret_cast<NMHDR*>(L);
    Result = 0;
    switch (header->code) {
      case LVN_GETDISPINFOA: {
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(L);
        if ((info->item.mask & LVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0)
          lstrcpynA(info->item.pszText, FView.PeerItemText(info->item.iItem, info->item.iSubItem).c_str(),
                    info->item.cchTextMax);
        return true;
      }
      case LVN_GETDISPINFOW: {
        // The control's buffer is often shorter than the text: the text is converted whole and
        // then cut to fit, since a conversion into a buffer too short fails and leaves nothing.
        auto* info = reinterpret_cast<NMLVDISPINFOW*>(L);
        if ((info->item.mask & LVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0) {
          std::string text = FView.PeerItemText(info->item.iItem, info->item.iSubItem);
          const int size = static_cast<int>(text.size());
          std::wstring wide(std::max(0, MultiByteToWideChar(CP_ACP, 0, text.c_str(), size, nullptr, 0)), L'\0');
          wide.resize(std::max(0, MultiByteToWideChar(CP_ACP, 0, text.c_str(), size, wide.data(),
                                                      static_cast<int>(wide.size()))));
          const size_t n = std::min(wide.size(), static_cast<size_t>(info->item.cchTextMax - 1));
          std::copy_n(wide.begin(), n, info->item.pszText);
          info->item.pszText[n] = 0;
        }
        return true;
      }
      case LVN_ITEMCHANGED: {
        auto* change = reinterpret_cast<NMLISTVIEW*>(L);
        TItemStates changed = ModelStates(change->uNewState ^ change->uOldState);
        if (!FPushing && (change->uChanged & LVIF_STATE) && changed)
          FView.PeerStatesChanged(change->iItem, change->iItem, ModelStates(change->uNewState), changed);
        return true;
      }
      case LVN_ODSTATECHANGED: {
        auto* change = reinterpret_cast<NMLVODSTATECHANGE*>(L);
        TItemStates changed = ModelStates(change->uNewState ^ change->uOldState);
        if (!FPushing && changed)
          FView.PeerStatesChanged(change->iFrom, change->iTo, ModelStates(change->uNewState), changed);
        return true;
      }
      default: return false;
    }
  }

  bool Message(UINT Msg, WPARAM W, LPARAM L, LRESULT& Result) override {
    switch (Msg) {
      case WM_VSCROLL:
      case WM_HSCROLL:
      case WM_MOUSEWHEEL:
      case WM_KEYDOWN:
      case WM_SIZE: {
        // The control scrolls itself; the model hears where it went.
        auto alive = Alive();
        if (TWinPeer::Message(Msg, W, L, Result) || alive.expired()) return true;
        Result = DefaultProc(Msg, W, L);
        if (!alive.expired()) ReportScroll();
        return true;
      }
      default: return TWinPeer::Message(Msg, W, L, Result);
    }
  }

private:
  TCustomListView& FView;
  bool FPushing = false;

  void ReportScroll() {
    int top = static_cast<int>(SendMessageA(Handle(), LVM_GETTOPINDEX, 0, 0));
    int perPage = static_cast<int>(SendMessageA(Handle(), LVM_GETCOUNTPERPAGE, 0, 0));
    int height = 0;
    RECT r{LVIR_BOUNDS, 0, 0, 0};
    if (FView.Items().Count() > 0 && SendMessageA(Handle(), LVM_GETITEMRECT, std::max(0, top), reinterpret_cast<LPARAM>(&r)))
      height = r.bottom - r.top;
    FView.PeerScrolled(top, perPage, height);
  }

  void PushColumns() {
    while (SendMessageA(Handle(), LVM_DELETECOLUMN, 0, 0)) {
    }
    TListColumns& columns = FView.Columns();
    for (int i = 0; i < columns.Count(); ++i) {
      TListColumn* c = columns[i];
      std::string caption = c->Caption();
      LVCOLUMNA col{};
      col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
      col.fmt = ColumnFormat(c->Alignment());
      col.cx = c->Width();
      col.pszText = caption.data();
      col.iSubItem = i;
      SendMessageA(Handle(), LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&col));
    }
  }

  void PushItems() {
    FPushing = true;
    SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
    int count = FView.Items().Count();
    if (FView.OwnerData()) {
      SendMessageA(Handle(), LVM_SETITEMCOUNT, count, 0);
    } else {
      SendMessageA(Handle(), LVM_DELETEALLITEMS, 0, 0);
      for (int i = 0; i < count; ++i) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = LPSTR_TEXTCALLBACKA;
        SendMessageA(Handle(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
      }
    }
    SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
    FPushing = false;
    PushStates();
  }

  void SetItemState(int Index, UINT State, UINT Mask) {
    LVITEMA item{};
    item.stateMask = Mask;
    item.state = State;
    SendMessageA(Handle(), LVM_SETITEMSTATE, Index, reinterpret_cast<LPARAM>(&item));
  }

  void PushStates() {
    FPushing = true;
    SetItemState(-1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (TListItem* it = FView.Selected(); it; it = FView.GetNextItem(it, sdAll, isSelected))
      SetItemState(it->Index(), LVIS_SELECTED, LVIS_SELECTED);
    if (TListItem* focused = FView.ItemFocused()) SetItemState(focused->Index(), LVIS_FOCUSED, LVIS_FOCUSED);
    FPushing = false;
    // Scrolled to the model's top row, a whole row at a time.
    int top = static_cast<int>(SendMessageA(Handle(), LVM_GETTOPINDEX, 0, 0));
    if (top != FView.TopIndex() && FView.Items().Count() > 0) {
      if (FView.ViewStyle() == vsReport)
        SendMessageA(Handle(), LVM_SCROLL, 0, (FView.TopIndex() - top) * FView.ItemHeight());
      else
        SendMessageA(Handle(), LVM_ENSUREVISIBLE, FView.TopIndex(), FALSE);
    }
    InvalidateRect(Handle(), nullptr, FALSE);
    ReportScroll();
  }
};

}  // namespace
}  // namespace Win32

std::unique_ptr<TControlPeer> TCustomListView::CreatePeer() { return std::make_unique<Win32::TListViewPeer>(*this); }
