// Menu peers: the system's menus built from the model's items. Each sub-menu keeps its handle
// for the life of the peer and is filled again from the model when it changes and when it
// opens, so a menu being shown stays valid. The form's window reports commands and openings.
#include <map>

#include "framework/Menus.h"
#include "framework/win32/Win32.h"

namespace Win32 {
namespace {

// Every shown menu's handles and command ids, for the windows that receive their messages.
std::map<HMENU, TMenuItem*> GSubMenus;
std::map<UINT, TMenuItem*> GCommands;
UINT GNextCommand = 100;
class TMenuBuilder;
// The pop-up menu being tracked, which has no peer to hear of its items' changes.
TMenuBuilder* GTracking = nullptr;

// The handles of one menu: a sub-menu per item with items, a command id per item.
class TMenuBuilder {
public:
  explicit TMenuBuilder(HMENU Top, TMenuItem& Root) : FTop(Top), FRoot(Root) {
    GSubMenus[Top] = &Root;
    Fill(Top, Root);
  }
  ~TMenuBuilder() {
    for (auto& [item, id] : FIds) GCommands.erase(id);
    for (auto& [item, menu] : FMenus) GSubMenus.erase(menu);
    GSubMenus.erase(FTop);
    // The top menu's entries are taken off first, so destroying it leaves the sub-menus,
    // which are destroyed one by one.
    while (GetMenuItemCount(FTop) > 0) RemoveMenu(FTop, 0, MF_BYPOSITION);
    for (auto& [item, menu] : FMenus) {
      while (GetMenuItemCount(menu) > 0) RemoveMenu(menu, 0, MF_BYPOSITION);
      DestroyMenu(menu);
    }
    DestroyMenu(FTop);
  }
  TMenuBuilder(const TMenuBuilder&) = delete;
  TMenuBuilder& operator=(const TMenuBuilder&) = delete;

  HMENU Top() const { return FTop; }
  // Fills Parent's sub-menu again; an item that has just got its first items becomes a
  // sub-menu of its own parent's.
  void Refill(TMenuItem& Parent) {
    if (&Parent == &FRoot) return Fill(FTop, FRoot);
    auto it = FMenus.find(&Parent);
    if (it != FMenus.end()) return Fill(it->second, Parent);
    if (Parent.Parent()) Refill(*Parent.Parent());
  }

private:
  HMENU FTop;
  TMenuItem& FRoot;
  std::map<TMenuItem*, HMENU> FMenus;
  std::map<TMenuItem*, UINT> FIds;

  UINT Id(TMenuItem* Item) {
    auto it = FIds.find(Item);
    if (it != FIds.end()) return it->second;
    UINT id = GNextCommand++;
    if (GNextCommand >= 0xF000) GNextCommand = 100;  // below the system menu's commands
    FIds[Item] = id;
    GCommands[id] = Item;
    return id;
  }

  void Fill(HMENU Menu, TMenuItem& Parent) {
    while (GetMenuItemCount(Menu) > 0) RemoveMenu(Menu, 0, MF_BYPOSITION);
    for (int i = 0; i < Parent.Count(); ++i) {
      TMenuItem* item = Parent.Items(i);
      if (!item->Visible()) continue;
      MENUITEMINFOA info{};
      info.cbSize = sizeof(info);
      info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID;
      info.wID = Id(item);
      if (item->IsLine()) {
        info.fType = MFT_SEPARATOR;
      } else {
        info.fMask |= MIIM_STRING;
        std::string text = item->Caption();
        if (item->ShortCut()) text += "\t" + ShortCutToText(item->ShortCut());
        info.dwTypeData = text.data();
        info.fType = MFT_STRING;
        info.fState = (item->Checked() ? MFS_CHECKED : 0) | (item->Enabled() ? 0 : MFS_GRAYED);
        if (item->Count() > 0) {
          HMENU& sub = FMenus[item];
          if (!sub) {
            sub = CreatePopupMenu();
            GSubMenus[sub] = item;
          }
          Fill(sub, *item);
          info.fMask |= MIIM_SUBMENU;
          info.hSubMenu = sub;
        }
        InsertMenuItemA(Menu, GetMenuItemCount(Menu), TRUE, &info);
        continue;
      }
      InsertMenuItemA(Menu, GetMenuItemCount(Menu), TRUE, &info);
    }
  }
};

class TMainMenuPeer : public TMenuPeer {
public:
  TMainMenuPeer(TMainMenu& Menu, HWND Window) : FWindow(Window), FBuilder(CreateMenu(), *Menu.Items()) {
    SetMenu(Window, FBuilder.Top());
  }
  ~TMainMenuPeer() override {
    if (IsWindow(FWindow) && GetMenu(FWindow) == FBuilder.Top()) SetMenu(FWindow, nullptr);
  }
  void ItemsChanged(TMenuItem& Parent) override {
    FBuilder.Refill(Parent);
    if (IsWindow(FWindow)) DrawMenuBar(FWindow);
  }

private:
  HWND FWindow;
  TMenuBuilder FBuilder;
};

}  // namespace

bool MenuMessage(UINT Msg, WPARAM W, LPARAM L) {
  if (Msg == WM_INITMENUPOPUP) {
    auto it = GSubMenus.find(reinterpret_cast<HMENU>(W));
    if (it == GSubMenus.end() || HIWORD(L)) return false;
    TMenuItem* item = it->second;
    // Opening a sub-menu is its item's click; the handler may set its items' states.
    if (!item->Parent()) return true;
    item->PeerClick();
    if (GTracking) GTracking->Refill(*item);
    return true;
  }
  if (Msg == WM_COMMAND && L == 0 && HIWORD(W) == 0) {
    auto it = GCommands.find(LOWORD(W));
    if (it == GCommands.end()) return false;
    it->second->PeerClick();
    return true;
  }
  return false;
}

}  // namespace Win32

namespace Backend {

std::unique_ptr<TMenuPeer> CreateMainMenuPeer(TMainMenu& Menu, TCustomForm& Form) {
  HWND window = PeerHandle(Form);
  if (!window) return nullptr;
  return std::make_unique<Win32::TMainMenuPeer>(Menu, window);
}

TMenuItem* TrackPopupMenu(TPopupMenu& Menu, int X, int Y) {
  HWND owner = nullptr;
  if (auto* control = As<TControl>(Menu.PopupComponent()))
    if (TCustomForm* form = control->ParentForm()) owner = PeerHandle(*form);
  if (!owner && Screen->ActiveForm()) owner = PeerHandle(*Screen->ActiveForm());
  if (!owner) return nullptr;
  Win32::TMenuBuilder builder(CreatePopupMenu(), *Menu.Items());
  TScopedValue<Win32::TMenuBuilder*> tracking(Win32::GTracking, &builder);
  UINT id = ::TrackPopupMenu(builder.Top(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, X, Y, 0, owner, nullptr);
  auto it = Win32::GCommands.find(id);
  return id && it != Win32::GCommands.end() ? it->second : nullptr;
}

int MenuBarHeight() { return GetSystemMetrics(SM_CYMENU); }

}  // namespace Backend
