// List views: items with sub-items shown as icons, a list or a report with columns. In owner-data
// mode the list view holds only a count and the state of each position; an item's texts are
// asked of OnData whenever it is read, so a list of any length costs nothing to fill.
//
// Selection and focus belong to positions, kept by the list view, so both modes answer
// SelCount, Selected and GetNextItem without walking the items.
#pragma once
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/StdCtrls.h"
#include "framework/rtl/StringList.h"

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

enum TItemState : unsigned { isNone = 0, isCut = 1, isDropHilited = 2, isFocused = 4, isSelected = 8 };
using TItemStates = unsigned;

enum TSearchDirection { sdLeft, sdRight, sdAbove, sdBelow, sdAll };

class TCustomListView;

class TListColumn {
public:
  TListColumn(TCustomListView& Owner, int AIndex) : FOwner(Owner), FIndex(AIndex) {}
  int Index() const { return FIndex; }
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);

private:
  TCustomListView& FOwner;
  int FIndex;
  std::string FCaption;
  int FWidth = 50;
  TAlignment FAlignment = TAlignment::taLeftJustify;
};

class TListColumns {
public:
  explicit TListColumns(TCustomListView& Owner) : FOwner(Owner) {}
  TListColumn* Add();
  int Count() const { return static_cast<int>(FItems.size()); }
  TListColumn* Items(int Index) const;
  TListColumn* operator[](int Index) const { return Items(Index); }
  void Clear();

private:
  TCustomListView& FOwner;
  std::vector<std::unique_ptr<TListColumn>> FItems;
};

class TListItem : public TObject {
  friend class TListItems;
  friend class TCustomListView;

public:
  TListItem(TCustomListView& Owner, int AIndex) : FOwner(Owner), FIndex(AIndex) {}

  TCustomListView* ListView() const { return &FOwner; }
  int Index() const { return FIndex; }
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  // The texts of the report's further columns.
  TStringList& SubItems() { return FSubItems; }
  const TStringList& SubItems() const { return FSubItems; }
  bool Selected() const;
  void SetSelected(bool Value);
  bool Focused() const;
  void SetFocused(bool Value);
  void* Data() const { return FData; }
  void SetData(void* Value) { FData = Value; }

private:
  TCustomListView& FOwner;
  int FIndex;
  std::string FCaption;
  TStringList FSubItems;
  void* FData = nullptr;
};

class TListItems {
  friend class TCustomListView;

public:
  explicit TListItems(TCustomListView& Owner) : FOwner(Owner) {}
  int Count() const;
  // Owner data only: the number of positions (EListError otherwise).
  void SetCount(int Value);
  // In owner-data mode the item is filled by OnData and stays valid until the next read.
  TListItem* Item(int Index);
  TListItem* operator[](int Index) { return Item(Index); }
  TListItem* Add();
  void Delete(int Index);
  void Clear();

private:
  TCustomListView& FOwner;
  std::vector<std::unique_ptr<TListItem>> FItems;
  int FCount = 0;
};

using TLVOwnerDataEvent = std::function<void(TObject* Sender, TListItem* Item)>;

class TCustomListView : public TWinControl {
  friend class TListItem;
  friend class TListItems;
  friend class TListColumn;

public:
  explicit TCustomListView(TComponent* AOwner);

  TViewStyle ViewStyle() const { return FViewStyle; }
  void SetViewStyle(TViewStyle Value);
  TListColumns& Columns() { return FColumns; }
  TListItems& Items() { return FItems; }
  bool OwnerData() const { return FOwnerData; }
  // Switching the mode empties the list.
  void SetOwnerData(bool Value);
  TLVOwnerDataEvent OnData;
  bool MultiSelect() const { return FMultiSelect; }
  void SetMultiSelect(bool Value);
  bool ShowColumnHeaders() const { return FShowColumnHeaders; }
  void SetShowColumnHeaders(bool Value);

  // The first selected item; setting selects only that item (nullptr: none).
  TListItem* Selected();
  void SetSelected(TListItem* Item);
  int SelCount() const { return static_cast<int>(FSelection.size()); }
  void ClearSelection();
  TListItem* ItemFocused();
  void SetItemFocused(TListItem* Item);
  // The next item after StartItem (from the first when nullptr) in the direction (sdAll and
  // sdBelow forwards, sdAbove backwards) that has every state asked for.
  TListItem* GetNextItem(TListItem* StartItem, TSearchDirection Direction, TItemStates States);

  // The first item shown, and how many rows fit (as the window reports, once it has one).
  TListItem* TopItem();
  int TopIndex() const { return FTopIndex; }
  int VisibleRowCount() const;
  int ItemHeight() const { return FItemHeight; }
  // Scrolls by pixels, in whole rows.
  void Scroll(int DX, int DY);

  // Input reported by the peer: item states changed for positions From..To (From -1: all),
  // and where the window is scrolled to and what fits in it.
  void PeerStatesChanged(int From, int To, TItemStates NewStates, TItemStates Changed);
  void PeerScrolled(int TopIndex, int RowsPerPage, int AItemHeight);
  // The texts the window shows for a position: the caption for column 0, else a sub-item.
  std::string PeerItemText(int Index, int Column);

  const TPropertyTable& PropertyTable() const override;

protected:
  std::unique_ptr<TControlPeer> CreatePeer() override;

private:
  TViewStyle FViewStyle = TViewStyle::vsIcon;
  TListColumns FColumns{*this};
  TListItems FItems{*this};
  bool FOwnerData = false;
  bool FMultiSelect = false;
  bool FShowColumnHeaders = true;
  std::set<int> FSelection;
  int FFocused = -1;
  int FTopIndex = 0;
  int FRowsPerPage = -1;
  int FItemHeight = 17;
  // Owner-data items handed out, one per use so that reading one does not change another.
  std::unique_ptr<TListItem> FDataItem, FSelectedItem, FFocusedItem, FTopItem, FNextItem, FPeerItem;

  TListItem* ItemAt(int Index, std::unique_ptr<TListItem>& Slot);
  void SetState(int Index, TItemStates States, bool On);
  void ItemsDeleted(int Index);
};

class TListView : public TCustomListView {
public:
  using TCustomListView::TCustomListView;
};
