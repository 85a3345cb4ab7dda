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

class TPageControl;

// One page of a page control: a parent of controls, shown while it is the active page. Its
// tab can be hidden while the page stays in the control.
class TTabSheet : public TWinControl {
  friend class TPageControl;

public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;

  TPageControl* PageControl() const { return FPageControl; }
  // Setting the parent to a page control adds the sheet as its last page.
  void SetParent(TWinControl* AParent) override;
  void SetText(const std::string& Value) override;
  bool TabVisible() const { return FTabVisible; }
  void SetTabVisible(bool Value);
  // Position among all pages; setting it moves the page.
  int PageIndex() const;
  void SetPageIndex(int Value);
  // Position among the visible tabs, -1 when the tab is hidden.
  int TabIndex() const;

  const TPropertyTable& PropertyTable() const override;

protected:
  std::unique_ptr<TControlPeer> CreatePeer() override;

private:
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
};

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

// Pages behind a row of tabs. Choosing a tab asks OnChanging, whose AllowChange can refuse,
// then shows the page and fires OnChange; setting ActivePage from code fires neither. Hiding
// the active page's tab activates the tab now at its place (else the one before), as the
// platform's control does.
class TPageControl : public TWinControl {
  friend class TTabSheet;

public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;

  int PageCount() const { return static_cast<int>(FPages.size()); }
  TTabSheet* Pages(int Index) const { return FPages.at(Index); }
  TTabSheet* ActivePage() const { return FActivePage; }
  void SetActivePage(TTabSheet* Page);
  int ActivePageIndex() const { return FActivePage ? FActivePage->PageIndex() : -1; }
  void SetActivePageIndex(int Value);
  // The page after (or before) Current, round the end, skipping hidden tabs when asked.
  TTabSheet* FindNextPage(TTabSheet* Current, bool GoForward, bool CheckTabVisible) const;
  // Moves to the next visible tab as the user does: asks OnChanging, fires OnChange.
  void SelectNextPage(bool GoForward);
  // Moves to Page as a click on its tab does: asks OnChanging, fires OnChange.
  void SelectPage(TTabSheet* Page);
  // The pages whose tabs show, in order.
  std::vector<TTabSheet*> VisibleTabs() const;
  // Where the pages sit, in the control's client coordinates.
  TRect DisplayRect() const { return FDisplayRect; }
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  TTabChangingEvent OnChanging;
  TNotifyEvent OnChange;

  // Input reported by the peer: the user is leaving the page (false: OnChanging refused), and
  // then chose the tab at TabIndex. The peer also reports where its pages sit.
  bool PeerChanging();
  void PeerTabChosen(int TabIndex);
  void PeerDisplayRect(const TRect& Value);

  const TPropertyTable& PropertyTable() const override;

protected:
  virtual bool CanChange();
  virtual void Change() { if (OnChange) OnChange(this); }
  std::unique_ptr<TControlPeer> CreatePeer() override;

private:
  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
  TRect FDisplayRect;

  void InsertPage(TTabSheet* Page);
  void RemovePage(TTabSheet* Page);
  void TabShowingChanged(TTabSheet* Page, int OldTabIndex);
  void PlacePages();
};

enum class TUDBtnType { btNext, btPrev };
using TUDClickEvent = std::function<void(TObject* Sender, TUDBtnType Button)>;

// A pair of arrows that steps Position between Min and Max by Increment, writing it into its
// associated edit. A click asks OnChanging (which may refuse), moves, then fires OnClick.
// Setting Position from code clamps it and rewrites the edit, whose OnChange fires.
class TUpDown : public TWinControl {
public:
  explicit TUpDown(TComponent* AOwner);

  int Min() const { return FMin; }
  void SetMin(int Value);
  int Max() const { return FMax; }
  void SetMax(int Value);
  int Position() const { return FPosition; }
  void SetPosition(int Value);
  int Increment() const { return FIncrement; }
  void SetIncrement(int Value) { FIncrement = Value; }
  bool Wrap() const { return FWrap; }
  void SetWrap(bool Value) { FWrap = Value; }
  // Whether the edit shows thousands separators ("1,000").
  bool Thousands() const { return FThousands; }
  void SetThousands(bool Value);
  // The edit that shows the position; the arrows move to its right edge.
  TWinControl* Associate() const { return FAssociate; }
  void SetAssociate(TWinControl* Value);

  TTabChangingEvent OnChanging;
  TUDClickEvent OnClick;

  // The user clicked an arrow.
  void PeerArrowClicked(TUDBtnType Button);

  const TPropertyTable& PropertyTable() const override;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  std::unique_ptr<TControlPeer> CreatePeer() override;

private:
  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
  int FIncrement = 1;
  bool FWrap = false;
  bool FThousands = true;
  TWinControl* FAssociate = nullptr;

  void UpdateAssociate();
  void TakeAssociateText();
};
