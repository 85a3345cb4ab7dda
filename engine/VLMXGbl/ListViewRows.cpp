// A list view: its items as rows, their captions and sub-items as columns (one column outside
// report style), the current item as the position. An owner-data list view makes its items
// afresh on every read, so it is scrolled to the row being read and remembered by index.
#include "engine/VLMXGbl/RowSources.h"
#include "framework/ComCtrls.h"

namespace {

class TListViewRows : public TMemoryRows {
public:
  TListViewRows(TObjInfo& Info, TComponent* Object) : TMemoryRows(Info), FView(As<TListView>(Object)) {}

  void Setup() override {
    Info.ListView = FView;
    if (FView->ViewStyle() == vsReport) {
      Info.FixedRows = FView->ShowColumnHeaders() ? 1 : 0;
      Info.ColCount = FView->Columns().Count();
    } else {
      Info.FixedRows = 0;
      Info.ColCount = 1;
    }
    Info.RowCount = FView->Items().Count();
    Info.CurListItem = FView->ItemFocused();
  }

  void ShowCurrentRow() override {
    if (!FView->OwnerData()) return;
    const TViewStyle Style = FView->ViewStyle();
    if (Style != vsList && Style != vsReport) return;
    while (FView->TopIndex() + FView->VisibleRowCount() <= Info.CurCell.Y) {
      const int Before = FView->TopIndex();
      // A page on: a list view in list style pages sideways.
      if (Style == vsList) FView->Scroll(FView->Width(), 0);
      else FView->Scroll(0, FView->VisibleRowCount() * FView->ItemHeight());
      // A view that cannot scroll further (its last page is shown, or no row fits) ends it.
      if (FView->TopIndex() == Before) return;
    }
  }

  int CountSelected() override { return FView->SelCount(); }

  bool NextSelected() override {
    TListItem* Item = nullptr;
    const int Row = Info.CurCell.Y;
    if (Info.SelRowNdx == 0) Item = FView->Selected();
    else if (Row >= 0 && Row < FView->Items().Count())
      Item = FView->GetNextItem(FView->Items()[Row], sdAll, isSelected);
    if (Item) {
      Info.CurCell = {0, Item->Index()};
      Info.CurListItem = Item;
    } else {
      Info.CurCell = {-1, -1};
    }
    ++Info.SelRowNdx;
    return Item != nullptr;
  }

  int ControlColWidth(int Source) const override {
    const TListColumn* Column = FView->Columns().Items(Source);
    return Column ? Column->Width() : 0;
  }

  void ReadText(int Level, const TColsListData& Column, bool /*RealData*/, std::string& Text,
                TField*& /*Field*/) override {
    const int Source = Column.SourceColNdx;
    if (Level == bnTitles) {
      if (Info.FixedRows > 0) Text = FView->Columns()[Source]->Caption();
      return;
    }
    const TListItem* Item = FView->Items()[Info.CurCell.Y];
    if (Source == 0) Text = Item->Caption();
    else if (Source - 1 < Item->SubItems().Count()) Text = Item->SubItems()[Source - 1];
  }

  void SavePosn(TObjPosn& Posn) const override {
    Posn.ListItem = Info.CurListItem;
    Posn.ListIndex = Posn.ListItem ? Posn.ListItem->Index() : -1;
  }

  void RestorePosn(const TObjPosn& Posn) override {
    TListItem* Item = LiveListItem(Posn);
    if (Item || !Posn.ListItem) FView->SetItemFocused(Item);
  }

protected:
  bool StartRow() override {
    // From the first item, whatever print-what asks.
    Info.CurListItem = FView->Items().Count() > 0 ? FView->Items()[0] : nullptr;
    if (Info.CurListItem) Info.CurCell = {0, Info.CurListItem->Index()};
    return Info.CurListItem != nullptr;
  }
  void RowTaken(int Row) override { Info.CurListItem = FView->Items()[Row]; }
  void NoRow() override { Info.CurListItem = nullptr; }

private:
  // The saved list item if the list view still holds it; nullptr otherwise. Never reads
  // through the saved pointer, which may be freed.
  TListItem* LiveListItem(const TObjPosn& Posn) const {
    if (!Posn.ListItem) return nullptr;
    TListItems& Items = FView->Items();
    // Owner-data items are made afresh on every read: the saved index is the item.
    const bool InRange = Posn.ListIndex >= 0 && Posn.ListIndex < Items.Count();
    if (FView->OwnerData()) return InRange ? Items[Posn.ListIndex] : nullptr;
    if (InRange && Items[Posn.ListIndex] == Posn.ListItem) return Posn.ListItem;
    for (int I = 0; I < Items.Count(); ++I)
      if (Items[I] == Posn.ListItem) return Posn.ListItem;
    return nullptr;
  }

  TListView* FView;
};

}  // namespace

std::unique_ptr<TRowSource> MakeListViewRows(TObjInfo& Info, TComponent* Object) {
  return std::make_unique<TListViewRows>(Info, Object);
}
