#include "framework/DBGrids.h"

#include <algorithm>

#include "framework/Layout.h"
#include "framework/PropertyTable.h"

namespace {
constexpr int IndicatorWidth = 11;
// Pixels of one character of the grid's default font, for widths given in characters.
constexpr int CharWidth = 7;

std::string IndexError(int Index) { return "List index out of bounds (" + std::to_string(Index) + ")"; }
}  // namespace

// ---------------------------------------------------------------------------------------------
// Columns

std::string TColumnTitle::Caption() const {
  if (!FCaption.empty()) return FCaption;
  TField* f = FColumn.Field();
  return f ? f->DisplayLabel() : FColumn.FieldName();
}

void TColumnTitle::SetCaption(const std::string& Value) {
  FCaption = Value;
  FColumn.Grid().Invalidate();
}

void TColumn::SetFieldName(const std::string& Value) {
  FFieldName = Value;
  FFieldKnown = false;
  FGrid.LayoutChanged();
}

TField* TColumn::Field() const {
  if (!FFieldKnown) {
    TDataSet* ds = FGrid.FLink.DataSet();
    FField = ds ? ds->FindField(FFieldName) : nullptr;
    FFieldKnown = true;
  }
  return FField;
}

int TColumn::Width() const {
  if (FWidth >= 0) return FWidth;
  TField* f = Field();
  return f ? std::max(f->DisplayWidth(), static_cast<int>(Title().Caption().size())) * CharWidth + 4
           : FGrid.DefaultColWidth();
}

void TColumn::SetWidth(int Value) {
  FWidth = Value;
  FGrid.LayoutChanged();
}

TAlignment TColumn::Alignment() const {
  if (FAlignment >= 0) return static_cast<TAlignment>(FAlignment);
  TField* f = Field();
  return f ? f->Alignment() : TAlignment::taLeftJustify;
}

void TColumn::SetAlignment(TAlignment Value) {
  FAlignment = static_cast<int>(Value);
  FGrid.Invalidate();
}

void TColumn::SetVisible(bool Value) {
  FVisible = Value;
  FGrid.LayoutChanged();
}

TColumn* TDBGridColumns::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(IndexError(Index));
  return FItems[Index].get();
}

TColumn* TDBGridColumns::Add() {
  if (!FCustomized) FItems.clear();
  FCustomized = true;
  FItems.push_back(std::make_unique<TColumn>(FGrid, Count()));
  FGrid.LayoutChanged();
  return FItems.back().get();
}

void TDBGridColumns::Clear() {
  FItems.clear();
  FCustomized = true;
  FGrid.LayoutChanged();
}

void TDBGridColumns::RebuildColumns() {
  FCustomized = false;
  FGrid.LayoutChanged();
}

// ---------------------------------------------------------------------------------------------
// Selected rows

const TBookmarkStr& TBookmarkList::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError(IndexError(Index));
  return FItems[Index];
}

bool TBookmarkList::Find(const TBookmarkStr& Item, int& Index) const {
  TDataSet* ds = FGrid.DataSource() ? FGrid.DataSource()->DataSet() : nullptr;
  auto it = std::lower_bound(FItems.begin(), FItems.end(), Item, [&](const TBookmarkStr& a, const TBookmarkStr& b) {
    return ds ? ds->CompareBookmarks(a, b) < 0 : a < b;
  });
  Index = static_cast<int>(it - FItems.begin());
  return it != FItems.end() && *it == Item;
}

bool TBookmarkList::CurrentRowSelected() const {
  TDataSet* ds = FGrid.DataSource() ? FGrid.DataSource()->DataSet() : nullptr;
  if (!ds || !ds->Active() || ds->IsEmpty()) return false;
  int index;
  return Find(ds->Bookmark(), index);
}

void TBookmarkList::SetCurrentRowSelected(bool Value) {
  TDataSet* ds = FGrid.DataSource() ? FGrid.DataSource()->DataSet() : nullptr;
  if (!(FGrid.Options() & dgMultiSelect) || !ds || !ds->Active() || ds->IsEmpty()) return;
  TBookmarkStr current = ds->Bookmark();
  int index;
  bool found = Find(current, index);
  if (found == Value) return;
  if (Value) FItems.insert(FItems.begin() + index, current);
  else FItems.erase(FItems.begin() + index);
  FGrid.Invalidate();
}

void TBookmarkList::Clear() {
  if (FItems.empty()) return;
  FItems.clear();
  FGrid.Invalidate();
}

bool TBookmarkList::Refresh() {
  TDataSet* ds = FGrid.DataSource() ? FGrid.DataSource()->DataSet() : nullptr;
  size_t before = FItems.size();
  std::erase_if(FItems, [&](const TBookmarkStr& b) { return !ds || !ds->BookmarkValid(b); });
  if (FItems.size() == before) return false;
  FGrid.Invalidate();
  return true;
}

// ---------------------------------------------------------------------------------------------
// The grid

TCustomDBGrid::TCustomDBGrid(TComponent* AOwner) : TCustomGrid(AOwner) {
  SetOptions(FOptions);
}

TCustomDBGrid::~TCustomDBGrid() = default;

void TCustomDBGrid::SetDataSource(TDataSource* Value) {
  if (Value == DataSource()) return;
  FSelectedRows.Clear();
  FLink.SetDataSource(Value);
}

void TCustomDBGrid::SetOptions(TDBGridOptions Value) {
  if (!(Value & dgMultiSelect)) FSelectedRows.Clear();
  FOptions = Value;
  TGridOptions grid = goFixedVertLine | goFixedHorzLine;
  if (Value & dgColLines) grid |= goVertLine;
  if (Value & dgRowLines) grid |= goHorzLine;
  if (Value & dgRowSelect) grid |= goRowSelect;
  if (Value & dgTabs) grid |= goTabs;
  TCustomGrid::SetOptions(grid | goThumbTracking);
  LayoutChanged();
}

void TCustomDBGrid::DataEvent(TDataEvent Event) {
  switch (Event) {
    case TDataEvent::deLayoutChange: LayoutChanged(); break;
    case TDataEvent::deDataSetChange: LayoutChanged(); break;
    case TDataEvent::deDataSetScroll: FollowCursor(); break;
  }
}

void TCustomDBGrid::LayoutChanged() {
  if (IsDestroying()) return;
  TDataSet* ds = FLink.DataSet();
  if (!FColumns.FCustomized) {
    FColumns.FItems.clear();
    if (ds)
      for (int i = 0; i < ds->FieldCount(); ++i)
        if (ds->Fields(i)->Visible()) {
          FColumns.FItems.push_back(std::make_unique<TColumn>(*this, FColumns.Count()));
          FColumns.FItems.back()->FFieldName = ds->Fields(i)->FieldName();
        }
  }
  FShown.clear();
  for (auto& c : FColumns.FItems) {
    c->FFieldKnown = false;
    if (c->Visible()) FShown.push_back(c.get());
  }
  int records = ds && ds->Active() ? ds->RecordCount() : 0;
  // Counts first, then the fixed parts, as the grid keeps fixed parts below its counts.
  SetColCount(IndicatorCols() + std::max<int>(1, static_cast<int>(FShown.size())));
  SetRowCount(TitleRows() + std::max(1, records));
  // Setting a fixed count scrolls the grid back to its start: only when it changes.
  if (FixedCols() != IndicatorCols()) SetFixedCols(IndicatorCols());
  if (FixedRows() != TitleRows()) SetFixedRows(TitleRows());
  if (IndicatorCols()) SetColWidths(0, IndicatorWidth);
  for (size_t i = 0; i < FShown.size(); ++i) SetColWidths(IndicatorCols() + static_cast<int>(i), FShown[i]->Width());
  FSelectedIndex = std::clamp(FSelectedIndex, 0, std::max(0, FColumns.Count() - 1));
  FollowCursor();
  Invalidate();
}

void TCustomDBGrid::FollowCursor() {
  TDataSet* ds = FLink.DataSet();
  int pos = ds ? ds->RecordPosition() : -1;
  if (pos < 0 || TitleRows() + pos >= RowCount()) return;
  TScopedValue following(FFollowing, true);
  TCustomGrid::SetRow(TitleRows() + pos);
}

void TCustomDBGrid::SetRow(int Value) {
  TDataSet* ds = FLink.DataSet();
  if (FFollowing || !ds || !ds->Active() || ds->IsEmpty()) {
    TCustomGrid::SetRow(Value);
    return;
  }
  int target = Value - TitleRows();
  if (target < 0 || target >= ds->RecordCount()) return;
  ds->MoveBy(target - ds->RecordPosition());
  // With the dataset's controls disabled the grid hears nothing, yet the user moved it.
  if (ds->ControlsDisabled()) FollowCursor();
}

int TCustomDBGrid::FieldCount() const {
  int n = 0;
  for (TColumn* c : FShown) n += c->Field() != nullptr;
  return n;
}

TField* TCustomDBGrid::Fields(int Index) const {
  int n = 0;
  for (TColumn* c : FShown)
    if (TField* f = c->Field(); f && n++ == Index) return f;
  throw EListError(IndexError(Index));
}

void TCustomDBGrid::SetSelectedIndex(int Value) {
  if (Value < 0 || Value >= FColumns.Count()) throw EListError(IndexError(Value));
  FSelectedIndex = Value;
  auto at = std::find(FShown.begin(), FShown.end(), FColumns.Items(Value));
  if (at != FShown.end()) SetCol(IndicatorCols() + static_cast<int>(at - FShown.begin()));
}

TField* TCustomDBGrid::SelectedField() const {
  return FSelectedIndex < FColumns.Count() ? FColumns.Items(FSelectedIndex)->Field() : nullptr;
}

TGridCellView TCustomDBGrid::CellView(int ACol, int ARow) const {
  TDataSet* ds = FLink.DataSet();
  int pos = ARow - TitleRows();
  bool record = ds && ds->Active() && pos >= 0 && pos < ds->RecordCount();
  if (ACol < IndicatorCols()) {
    if (!record) return {};
    bool current = pos == ds->RecordPosition();
    return {current ? ">" : "", 2};
  }
  int index = ACol - IndicatorCols();
  if (index >= static_cast<int>(FShown.size())) return {};
  TColumn* column = FShown[index];
  if (pos < 0) return {column->Title().Caption()};
  TField* f = column->Field();
  if (!record || !f) return {};
  TGridCellView view{f->FormatValue(ds->RecordValue(pos, f->Index()), true), static_cast<int>(column->Alignment())};
  if (!FSelectedRows.FItems.empty()) {
    int at;
    view.Selected = FSelectedRows.Find(ds->BookmarkAt(pos), at);
  }
  return view;
}

void TCustomDBGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  int c, r;
  MouseToCell(X, Y, c, r);
  TCustomGrid::MouseDown(Button, Shift, X, Y);
  if (Button != TMouseButton::mbLeft || c < IndicatorCols() || r < TitleRows()) return;
  auto at = static_cast<size_t>(c - IndicatorCols());
  if (at < FShown.size()) FSelectedIndex = FShown[at]->Index();
  if (!(FOptions & dgMultiSelect) || !FLink.Active()) return;
  if (Shift & ssCtrl) {
    FSelectedRows.SetCurrentRowSelected(!FSelectedRows.CurrentRowSelected());
  } else {
    FSelectedRows.Clear();
    FSelectedRows.SetCurrentRowSelected(true);
  }
}

const TPropertyTable& TCustomDBGrid::PropertyTable() const {
  static const TPropertyTable Table(&TCustomGrid::PropertyTable(), {
      {"DataSource", ReferenceProperty(&TCustomDBGrid::SetDataSource, "a data source")},
      {"Options", Setter<TCustomDBGrid>([](TCustomDBGrid& G, const TLayoutValue& V) {
         G.SetOptions(V.AsSet({{"dgEditing", dgEditing}, {"dgAlwaysShowEditor", dgAlwaysShowEditor},
                               {"dgTitles", dgTitles}, {"dgIndicator", dgIndicator},
                               {"dgColumnResize", dgColumnResize}, {"dgColLines", dgColLines},
                               {"dgRowLines", dgRowLines}, {"dgTabs", dgTabs}, {"dgRowSelect", dgRowSelect},
                               {"dgAlwaysShowSelection", dgAlwaysShowSelection},
                               {"dgConfirmDelete", dgConfirmDelete}, {"dgCancelOnExit", dgCancelOnExit},
                               {"dgMultiSelect", dgMultiSelect}}));
       })},
  });
  return Table;
}
