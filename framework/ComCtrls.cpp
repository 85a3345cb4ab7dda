#include "framework/ComCtrls.h"

#include <algorithm>

#include "framework/Layout.h"
#include "framework/PropertyTable.h"

namespace {
std::string IndexError(int Index) { return "List index out of bounds (" + std::to_string(Index) + ")"; }
// The frame of the window, above and below the rows.
constexpr int FrameHeight = 4;
constexpr int HeaderHeight = 19;
}  // namespace

// ---------------------------------------------------------------------------------------------
// Columns

void TListColumn::SetCaption(const std::string& Value) { FCaption = Value; FOwner.PeerNotify(TPeerChange::Layout); }
void TListColumn::SetWidth(int Value) { FWidth = Value; FOwner.PeerNotify(TPeerChange::Layout); }
void TListColumn::SetAlignment(TAlignment Value) { FAlignment = Value; FOwner.PeerNotify(TPeerChange::Layout); }

TListColumn* TListColumns::Add() {
  FItems.push_back(std::make_unique<TListColumn>(FOwner, Count()));
  FOwner.PeerNotify(TPeerChange::Layout);
  return FItems.back().get();
}

TListColumn* TListColumns::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(IndexError(Index));
  return FItems[Index].get();
}

void TListColumns::Clear() {
  FItems.clear();
  FOwner.PeerNotify(TPeerChange::Layout);
}

// ---------------------------------------------------------------------------------------------
// Items

void TListItem::SetCaption(const std::string& Value) {
  FCaption = Value;
  if (!FOwner.FOwnerData) FOwner.PeerNotify(TPeerChange::Invalidate);
}

bool TListItem::Selected() const { return FOwner.FSelection.count(FIndex) > 0; }
bool TListItem::Focused() const { return FOwner.FFocused == FIndex; }

void TListItem::SetSelected(bool Value) {
  if (Value && !FOwner.FMultiSelect) FOwner.FSelection.clear();
  FOwner.SetState(FIndex, isSelected, Value);
}

void TListItem::SetFocused(bool Value) { FOwner.SetState(FIndex, isFocused, Value); }

int TListItems::Count() const { return FOwner.FOwnerData ? FCount : static_cast<int>(FItems.size()); }

void TListItems::SetCount(int Value) {
  if (!FOwner.FOwnerData) throw EListError("Only a list view with OwnerData has a settable item count");
  Value = std::max(0, Value);
  if (Value < FCount) FOwner.ItemsDeleted(Value);
  FCount = Value;
  FOwner.PeerNotify(TPeerChange::Contents);
}

TListItem* TListItems::Item(int Index) {
  if (Index < 0 || Index >= Count()) throw EListError(IndexError(Index));
  return FOwner.FOwnerData ? FOwner.ItemAt(Index, FOwner.FDataItem) : FItems[Index].get();
}

TListItem* TListItems::Add() {
  if (FOwner.FOwnerData) throw EListError("A list view with OwnerData has no items of its own");
  FItems.push_back(std::make_unique<TListItem>(FOwner, Count()));
  FOwner.PeerNotify(TPeerChange::Contents);
  return FItems.back().get();
}

void TListItems::Delete(int Index) {
  if (Index < 0 || Index >= Count()) throw EListError(IndexError(Index));
  if (FOwner.FOwnerData) throw EListError("A list view with OwnerData has no items of its own");
  FItems.erase(FItems.begin() + Index);
  for (int i = Index; i < Count(); ++i) FItems[i]->FIndex = i;
  // States move with the items behind the deleted one.
  std::set<int> moved;
  for (int s : FOwner.FSelection)
    if (s != Index) moved.insert(s > Index ? s - 1 : s);
  FOwner.FSelection = std::move(moved);
  if (FOwner.FFocused == Index) FOwner.FFocused = -1;
  else if (FOwner.FFocused > Index) --FOwner.FFocused;
  FOwner.FTopIndex = std::max(0, std::min(FOwner.FTopIndex, Count() - 1));
  FOwner.PeerNotify(TPeerChange::Contents);
}

void TListItems::Clear() {
  FItems.clear();
  FCount = 0;
  FOwner.ItemsDeleted(0);
  FOwner.PeerNotify(TPeerChange::Contents);
}

// ---------------------------------------------------------------------------------------------
// The list view

TCustomListView::TCustomListView(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 250, 150);
  SetTabStop(true);
  FColor = clWindow;
}

// Recreating the window is the only way the system control changes these styles.
void TCustomListView::SetViewStyle(TViewStyle Value) {
  if (FViewStyle == Value) return;
  FViewStyle = Value;
  RecreateWnd();
}

void TCustomListView::SetOwnerData(bool Value) {
  if (FOwnerData == Value) return;
  FItems.Clear();
  FOwnerData = Value;
  RecreateWnd();
}

void TCustomListView::SetMultiSelect(bool Value) {
  if (FMultiSelect == Value) return;
  FMultiSelect = Value;
  if (!Value && FSelection.size() > 1) FSelection.erase(std::next(FSelection.begin()), FSelection.end());
  RecreateWnd();
}

void TCustomListView::SetShowColumnHeaders(bool Value) {
  if (FShowColumnHeaders == Value) return;
  FShowColumnHeaders = Value;
  RecreateWnd();
}

TListItem* TCustomListView::ItemAt(int Index, std::unique_ptr<TListItem>& Slot) {
  if (Index < 0 || Index >= FItems.Count()) return nullptr;
  if (!FOwnerData) return FItems.FItems[Index].get();
  if (!Slot) Slot = std::make_unique<TListItem>(*this, Index);
  Slot->FIndex = Index;
  Slot->FCaption.clear();
  Slot->FSubItems.Clear();
  Slot->FData = nullptr;
  if (OnData) OnData(this, Slot.get());
  return Slot.get();
}

void TCustomListView::SetState(int Index, TItemStates States, bool On) {
  if (Index < 0 || Index >= FItems.Count()) throw EListError(IndexError(Index));
  if (States & isSelected) {
    if (On) FSelection.insert(Index);
    else FSelection.erase(Index);
  }
  if (States & isFocused) {
    if (On) FFocused = Index;
    else if (FFocused == Index) FFocused = -1;
  }
  PeerNotify(TPeerChange::Invalidate);
}

void TCustomListView::ItemsDeleted(int Index) {
  FSelection.erase(FSelection.lower_bound(Index), FSelection.end());
  if (FFocused >= Index) FFocused = -1;
  FTopIndex = std::max(0, std::min(FTopIndex, Index - 1));
}

TListItem* TCustomListView::Selected() {
  return FSelection.empty() ? nullptr : ItemAt(*FSelection.begin(), FSelectedItem);
}

void TCustomListView::SetSelected(TListItem* Item) {
  FSelection.clear();
  if (Item) SetState(Item->Index(), isSelected, true);
  else PeerNotify(TPeerChange::Invalidate);
}

void TCustomListView::ClearSelection() { SetSelected(nullptr); }

TListItem* TCustomListView::ItemFocused() { return ItemAt(FFocused, FFocusedItem); }

void TCustomListView::SetItemFocused(TListItem* Item) {
  FFocused = Item && Item->Index() < FItems.Count() ? Item->Index() : -1;
  PeerNotify(TPeerChange::Invalidate);
}

TListItem* TCustomListView::GetNextItem(TListItem* StartItem, TSearchDirection Direction, TItemStates States) {
  int start = StartItem ? StartItem->Index() : -1;
  bool back = Direction == TSearchDirection::sdAbove || Direction == TSearchDirection::sdLeft;
  int found = -1;
  if (States & isSelected) {
    if (!back) {
      auto it = FSelection.upper_bound(start);
      if (it != FSelection.end()) found = *it;
    } else if (auto it = FSelection.lower_bound(start); it != FSelection.begin()) {
      found = *std::prev(it);
    }
    if (found >= 0 && (States & isFocused) && found != FFocused) found = -1;
  } else if (States & isFocused) {
    found = (back ? FFocused < start : FFocused > start) ? FFocused : -1;
  } else {
    found = back ? start - 1 : start + 1;
  }
  return ItemAt(found, FNextItem);
}

TListItem* TCustomListView::TopItem() {
  if (FViewStyle != TViewStyle::vsList && FViewStyle != TViewStyle::vsReport) return nullptr;
  return ItemAt(FTopIndex, FTopItem);
}

int TCustomListView::VisibleRowCount() const {
  if (FRowsPerPage >= 0) return FRowsPerPage;
  int header = FViewStyle == TViewStyle::vsReport && FShowColumnHeaders ? HeaderHeight : 0;
  return std::max(0, (Height() - FrameHeight - header) / FItemHeight);
}

void TCustomListView::Scroll(int DX, int DY) {
  int rows = FViewStyle == TViewStyle::vsList ? DX / std::max(1, Width()) * std::max(1, VisibleRowCount())
                                               : DY / FItemHeight;
  int last = std::max(0, FItems.Count() - std::max(1, VisibleRowCount()));
  int top = std::clamp(FTopIndex + rows, 0, last);
  if (top == FTopIndex) return;
  FTopIndex = top;
  PeerNotify(TPeerChange::Invalidate);
}

void TCustomListView::PeerStatesChanged(int From, int To, TItemStates NewStates, TItemStates Changed) {
  if (From < 0) {
    From = 0;
    To = FItems.Count() - 1;
    if ((Changed & isSelected) && !(NewStates & isSelected)) {
      FSelection.clear();
      Changed &= ~isSelected;
    }
  }
  To = std::min(To, FItems.Count() - 1);
  for (int i = From; i <= To; ++i) {
    if (Changed & isSelected) {
      if (NewStates & isSelected) FSelection.insert(i);
      else FSelection.erase(i);
    }
    if (Changed & isFocused) {
      if (NewStates & isFocused) FFocused = i;
      else if (FFocused == i) FFocused = -1;
    }
  }
}

void TCustomListView::PeerScrolled(int TopIndex, int RowsPerPage, int AItemHeight) {
  FTopIndex = std::max(0, TopIndex);
  FRowsPerPage = RowsPerPage;
  if (AItemHeight > 0) FItemHeight = AItemHeight;
}

std::string TCustomListView::PeerItemText(int Index, int Column) {
  TListItem* item = ItemAt(Index, FPeerItem);
  if (!item) return "";
  if (Column == 0) return item->Caption();
  return Column - 1 < item->SubItems().Count() ? item->SubItems()[Column - 1] : "";
}

const TPropertyTable& TCustomListView::PropertyTable() const {
  static const TPropertyTable Table(&TWinControl::PropertyTable(), {
      {"ViewStyle", Setter<TCustomListView>([](TCustomListView& L, const TLayoutValue& V) {
         L.SetViewStyle(V.AsEnum<TViewStyle>({{"vsIcon", TViewStyle::vsIcon},
                                              {"vsSmallIcon", TViewStyle::vsSmallIcon},
                                              {"vsList", TViewStyle::vsList},
                                              {"vsReport", TViewStyle::vsReport}}));
       })},
      {"OwnerData", BooleanProperty(&TCustomListView::SetOwnerData)},
      {"MultiSelect", BooleanProperty(&TCustomListView::SetMultiSelect)},
      {"ShowColumnHeaders", BooleanProperty(&TCustomListView::SetShowColumnHeaders)},
      {"OnData", EventProperty(&TCustomListView::OnData)},
      // A list of captions.
      {"Columns", Setter<TCustomListView>([](TCustomListView& L, const TLayoutValue& V) {
         std::vector<std::string> captions = StringListValue(V);
         L.FColumns.Clear();
         for (auto& caption : captions) L.FColumns.Add()->SetCaption(caption);
       })},
  });
  return Table;
}
