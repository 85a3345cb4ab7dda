#include "framework/Menus.h"

#include <algorithm>
#include <cctype>

#include "framework/Forms.h"
#include "framework/Layout.h"
#include "framework/PropertyTable.h"
#include "framework/rtl/SysUtils.h"

// ---- Short cuts ------------------------------------------------------------------------------

namespace {

struct TKeyName {
  unsigned short Key;
  const char* Name;
};

// The keys a short cut names by word; letters and digits stand for themselves, F1..F12 follow.
constexpr TKeyName KeyNames[] = {
    {0x08, "BkSp"}, {0x09, "Tab"}, {0x0D, "Enter"}, {0x1B, "Esc"}, {0x20, "Space"},
    {0x21, "PgUp"}, {0x22, "PgDn"}, {0x23, "End"}, {0x24, "Home"}, {0x25, "Left"},
    {0x26, "Up"}, {0x27, "Right"}, {0x28, "Down"}, {0x2D, "Ins"}, {0x2E, "Del"},
};

constexpr unsigned short VkF1 = 0x70;

std::string KeyToText(unsigned short Key) {
  if ((Key >= 'A' && Key <= 'Z') || (Key >= '0' && Key <= '9')) return std::string(1, static_cast<char>(Key));
  if (Key >= VkF1 && Key < VkF1 + 12) return "F" + std::to_string(Key - VkF1 + 1);
  for (const auto& k : KeyNames)
    if (k.Key == Key) return k.Name;
  return {};
}

}  // namespace

TShortCut ShortCut(unsigned short Key, TShiftState Shift) {
  if (Key & 0xFF00) return 0;
  TShortCut result = Key;
  if (Shift & ssShift) result |= scShift;
  if (Shift & ssCtrl) result |= scCtrl;
  if (Shift & ssAlt) result |= scAlt;
  return result;
}

TShortCut TextToShortCut(const std::string& Text) {
  if (Text.empty()) return 0;
  TShortCut mods = 0;
  std::string rest = Text;
  for (;;) {
    size_t plus = rest.find('+');
    if (plus == std::string::npos || plus + 1 == rest.size()) break;
    std::string mod = rest.substr(0, plus);
    if (SameText(mod, "Ctrl")) mods |= scCtrl;
    else if (SameText(mod, "Shift")) mods |= scShift;
    else if (SameText(mod, "Alt")) mods |= scAlt;
    else break;
    rest = rest.substr(plus + 1);
  }
  for (unsigned short key = 1; key < 0x100; ++key)
    if (!KeyToText(key).empty() && SameText(KeyToText(key), rest)) return static_cast<TShortCut>(mods | key);
  throw ELayoutError("Invalid short cut: " + Text);
}

std::string ShortCutToText(TShortCut Value) {
  std::string key = KeyToText(Value & 0xFF);
  if (key.empty()) return {};
  std::string text;
  if (Value & scShift) text += "Shift+";
  if (Value & scCtrl) text += "Ctrl+";
  if (Value & scAlt) text += "Alt+";
  return text + key;
}

std::string StripHotkey(const std::string& Caption) {
  std::string out;
  for (size_t i = 0; i < Caption.size(); ++i) {
    if (Caption[i] == '&') {
      if (i + 1 < Caption.size() && Caption[i + 1] == '&') out += '&', ++i;
      continue;
    }
    out += Caption[i];
  }
  return out;
}

// ---- TMenuItem -------------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}

TMenuItem::~TMenuItem() {
  while (!FItems.empty()) {
    TMenuItem* child = FItems.back();
    // Items the menu's root holds are owned by the window and free themselves; the links go.
    Remove(child);
  }
  if (FParent) FParent->Remove(this);
}

void TMenuItem::Changed() {
  if (FParent)
    if (TMenu* menu = FParent->GetParentMenu()) menu->ItemsChanged(*FParent);
}

void TMenuItem::SetCaption(const std::string& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  Changed();
}

void TMenuItem::SetShortCut(TShortCut Value) {
  if (FShortCut == Value) return;
  FShortCut = Value;
  Changed();
}

void TMenuItem::SetChecked(bool Value) {
  if (FChecked == Value) return;
  FChecked = Value;
  Changed();
}


void TMenuItem::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Changed();
}

void TMenuItem::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  Changed();
}

void TMenuItem::Add(TMenuItem* Item) { Insert(Count(), Item); }

void TMenuItem::Insert(int Index, TMenuItem* Item) {
  if (Item->FParent) throw EComponentError("Menu item inserted twice");
  if (Index < 0 || Index > Count()) throw EListError("Menu index out of range");
  FItems.insert(FItems.begin() + Index, Item);
  Item->FParent = this;
  if (TMenu* menu = GetParentMenu()) menu->ItemsChanged(*this);
}

void TMenuItem::Remove(TMenuItem* Item) {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  if (it == FItems.end()) return;
  FItems.erase(it);
  Item->FParent = nullptr;
  if (TMenu* menu = GetParentMenu()) menu->ItemsChanged(*this);
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* item = this;
  while (item->FParent) item = item->FParent;
  return item->FMenu;
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

void TMenuItem::SetParentComponent(TComponent* Value) {
  if (auto* menu = As<TMenu>(Value)) menu->Items()->Add(this);
  else if (auto* item = As<TMenuItem>(Value)) item->Add(this);
}

const TPropertyTable& TMenuItem::PropertyTable() const {
  static const TPropertyTable Table(&TComponent::PropertyTable(), {
      {"Caption", StringProperty(&TMenuItem::SetCaption)},
      {"ShortCut", Setter<TMenuItem>([](TMenuItem& M, const TLayoutValue& V) {
         M.SetShortCut(TextToShortCut(V.AsString()));
       })},
      {"Checked", BooleanProperty(&TMenuItem::SetChecked)},
      {"Enabled", BooleanProperty(&TMenuItem::SetEnabled)},
      {"Visible", BooleanProperty(&TMenuItem::SetVisible)},
      {"OnClick", EventProperty(&TMenuItem::OnClick)},
  });
  return Table;
}

// ---- TMenu -----------------------------------------------------------------------------------

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), FItems(std::make_unique<TMenuItem>(nullptr)) {
  FItems->FMenu = this;
}

TMenu::~TMenu() {
  FPeer.reset();
  FItems->FMenu = nullptr;
}

namespace {
TMenuItem* FindShortCut(TMenuItem& Parent, TShortCut Value) {
  for (int i = 0; i < Parent.Count(); ++i) {
    TMenuItem* item = Parent.Items(i);
    if (item->ShortCut() == Value && !item->IsLine()) return item;
    if (TMenuItem* inner = FindShortCut(*item, Value)) return inner;
  }
  return nullptr;
}
}  // namespace

bool TMenu::IsShortCut(TShortCut Value) {
  if (Value == 0) return false;
  TMenuItem* item = FindShortCut(*FItems, Value);
  if (!item) return false;
  // The menus above it open first, top-down, so that their handlers set its state.
  std::vector<TMenuItem*> parents;
  for (TMenuItem* p = item->Parent(); p && p != FItems.get(); p = p->Parent()) parents.insert(parents.begin(), p);
  for (TMenuItem* p : parents) {
    if (!p->Enabled() || !p->Visible()) return false;
    p->Click();
  }
  if (!item->Enabled() || !item->Visible()) return false;
  item->Click();
  return true;
}

void TMainMenu::AttachToWindow(TCustomForm& Form) { FPeer = Backend::CreateMainMenuPeer(*this, Form); }

void TPopupMenu::Popup(int X, int Y) {
  if (OnPopup) OnPopup(this);
  if (TMenuItem* chosen = Backend::TrackPopupMenu(*this, X, Y)) chosen->Click();
}

const TPropertyTable& TPopupMenu::PropertyTable() const {
  static const TPropertyTable Table(&TMenu::PropertyTable(), {
      {"OnPopup", EventProperty(&TPopupMenu::OnPopup)},
  });
  return Table;
}
