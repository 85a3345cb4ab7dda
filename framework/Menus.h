// Menus: a form's menu bar, pop-up menus and their items. The items are the model; a backend
// peer builds the system's menus from them, keeps them up to date and reports the chosen item.
// Short cuts reach the items through the form that holds the menu (TCustomForm::IsShortCut).
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "framework/Controls.h"

// A key with its modifiers, as the platform codes it: the virtual key in the low byte.
using TShortCut = unsigned short;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;

TShortCut ShortCut(unsigned short Key, TShiftState Shift);
// "Ctrl+P", "Shift+Ctrl+F10"; 0 for an empty text, an exception for one that names no key.
TShortCut TextToShortCut(const std::string& Text);
std::string ShortCutToText(TShortCut Value);
// The caption without its accelerator marks: "Page &Range..." gives "Page Range...".
std::string StripHotkey(const std::string& Caption);

class TMenu;

class TMenuItem : public TComponent {
public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  // A caption of "-" makes the item a separator line.
  bool IsLine() const { return FCaption == "-"; }
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

  int Count() const { return static_cast<int>(FItems.size()); }
  TMenuItem* Items(int Index) const { return FItems.at(Index); }
  TMenuItem* Parent() const { return FParent; }
  void Add(TMenuItem* Item);
  void Insert(int Index, TMenuItem* Item);
  void Remove(TMenuItem* Item);
  // The menu the item belongs to, through its parents.
  TMenu* GetParentMenu() const;

  // Fires OnClick, as choosing the item does (and opening a sub-menu, for an item with items).
  virtual void Click();
  TNotifyEvent OnClick;

  // The user chose the item, or opened its sub-menu.
  void PeerClick() { DispatchInput(this, [&] { Click(); }); }

  void SetParentComponent(TComponent* Value) override;
  const TPropertyTable& PropertyTable() const override;

private:
  friend class TMenu;
  std::string FCaption;
  TShortCut FShortCut = 0;
  bool FChecked = false, FEnabled = true, FVisible = true;
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on a menu's root item

  void Changed();
};

// What a menu's backend mirror is told.
class TMenuPeer {
public:
  virtual ~TMenuPeer() = default;
  // An item of Parent's sub-menu changed, or the sub-menu's items did.
  virtual void ItemsChanged(TMenuItem& Parent) = 0;
};

class TMenu : public TComponent {
public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;

  // The root item, whose items are the menu's top level.
  TMenuItem* Items() const { return FItems.get(); }
  // The enabled, visible item with this short cut, first opening (clicking) its parents as
  // the platform does so that their handlers can update it; true when it was clicked.
  bool IsShortCut(TShortCut Value);

  TMenuPeer* Peer() const { return FPeer.get(); }
  void ItemsChanged(TMenuItem& Parent) { if (FPeer) FPeer->ItemsChanged(Parent); }

protected:
  std::unique_ptr<TMenuPeer> FPeer;

private:
  std::unique_ptr<TMenuItem> FItems;
};

// The menu bar of the form that names it as its Menu.
class TMainMenu : public TMenu {
public:
  using TMenu::TMenu;
  // The form's window shows the menu bar (done by the form).
  void AttachToWindow(TCustomForm& Form);
};

class TPopupMenu : public TMenu {
public:
  using TMenu::TMenu;

  // The control whose right click opened the menu.
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* Value) { FPopupComponent = Value; }
  // Shows the menu at a screen point and clicks what the user chooses; fires OnPopup first.
  virtual void Popup(int X, int Y);

  TNotifyEvent OnPopup;
  const TPropertyTable& PropertyTable() const override;

private:
  TComponent* FPopupComponent = nullptr;
};

namespace Backend {
// The backend's mirror of a menu bar for a form's window, or nullptr.
std::unique_ptr<TMenuPeer> CreateMainMenuPeer(TMainMenu& Menu, TCustomForm& Form);
// Shows the pop-up menu and returns the item chosen, or nullptr.
TMenuItem* TrackPopupMenu(TPopupMenu& Menu, int X, int Y);
// The height the menu bar takes from a form's window.
int MenuBarHeight();
}  // namespace Backend
