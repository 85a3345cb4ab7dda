// Data-aware grids: a grid whose rows are a dataset's records and whose columns are bound to
// its fields. The grid follows the dataset's cursor, and moving in the grid moves the cursor.
// With dgMultiSelect the user picks rows, kept as bookmarks.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "framework/DB.h"
#include "framework/Grids.h"

enum TDBGridOption : unsigned {
  dgEditing = 1 << 0, dgAlwaysShowEditor = 1 << 1, dgTitles = 1 << 2, dgIndicator = 1 << 3,
  dgColumnResize = 1 << 4, dgColLines = 1 << 5, dgRowLines = 1 << 6, dgTabs = 1 << 7,
  dgRowSelect = 1 << 8, dgAlwaysShowSelection = 1 << 9, dgConfirmDelete = 1 << 10,
  dgCancelOnExit = 1 << 11, dgMultiSelect = 1 << 12,
};
using TDBGridOptions = unsigned;

class TCustomDBGrid;

class TColumnTitle {
public:
  explicit TColumnTitle(class TColumn& Column) : FColumn(Column) {}
  // The field's display label until a caption is set.
  std::string Caption() const;
  void SetCaption(const std::string& Value);

private:
  TColumn& FColumn;
  std::string FCaption;
};

// One column of a data-aware grid, bound to a field by name.
class TColumn : public TObject {
  friend class TDBGridColumns;
  friend class TCustomDBGrid;

public:
  TColumn(TCustomDBGrid& Grid, int AIndex) : FGrid(Grid), FIndex(AIndex) {}

  int Index() const { return FIndex; }
  TCustomDBGrid& Grid() const { return FGrid; }
  const std::string& FieldName() const { return FFieldName; }
  void SetFieldName(const std::string& Value);
  // The field of that name in the grid's dataset, or nullptr.
  TField* Field() const;
  TColumnTitle& Title() { return FTitle; }
  const TColumnTitle& Title() const { return FTitle; }
  // Pixels; until set, the field's display width in characters of the grid's font.
  int Width() const;
  void SetWidth(int Value);
  // The field's alignment until set.
  TAlignment Alignment() const;
  void SetAlignment(TAlignment Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

private:
  TCustomDBGrid& FGrid;
  int FIndex;
  std::string FFieldName;
  TColumnTitle FTitle{*this};
  int FWidth = -1;
  int FAlignment = -1;
  bool FVisible = true;
  mutable TField* FField = nullptr;
  mutable bool FFieldKnown = false;
};

// The grid's columns: made from the dataset's visible fields until a column is added from
// code, then exactly the ones added.
class TDBGridColumns {
public:
  explicit TDBGridColumns(TCustomDBGrid& Grid) : FGrid(Grid) {}
  int Count() const { return static_cast<int>(FItems.size()); }
  TColumn* Items(int Index) const;
  TColumn* operator[](int Index) const { return Items(Index); }
  TColumn* Add();
  void Clear();
  // True once the columns are the code's rather than the dataset's.
  bool Customized() const { return FCustomized; }
  // Back to the dataset's fields.
  void RebuildColumns();

private:
  friend class TCustomDBGrid;
  TCustomDBGrid& FGrid;
  std::vector<std::unique_ptr<TColumn>> FItems;
  bool FCustomized = false;
};

// The rows picked in a multi-select grid, as bookmarks in the order of their records.
class TBookmarkList {
  friend class TCustomDBGrid;

public:
  explicit TBookmarkList(TCustomDBGrid& Grid) : FGrid(Grid) {}
  int Count() const { return static_cast<int>(FItems.size()); }
  const TBookmarkStr& Items(int Index) const;
  const TBookmarkStr& operator[](int Index) const { return Items(Index); }
  // Whether the dataset's current record is picked; setting it does nothing without
  // dgMultiSelect.
  bool CurrentRowSelected() const;
  void SetCurrentRowSelected(bool Value);
  void Clear();
  // Drops the bookmarks whose records are gone; true when one was dropped.
  bool Refresh();

private:
  TCustomDBGrid& FGrid;
  std::vector<TBookmarkStr> FItems;

  // Where the bookmark is or would go, and whether it is there.
  bool Find(const TBookmarkStr& Item, int& Index) const;
};

class TCustomDBGrid : public TCustomGrid {
  friend class TColumn;
  friend class TDBGridColumns;

public:
  explicit TCustomDBGrid(TComponent* AOwner);
  ~TCustomDBGrid() override;

  TDataSource* DataSource() const { return FLink.DataSource(); }
  void SetDataSource(TDataSource* Value);
  TDBGridColumns& Columns() { return FColumns; }
  const TDBGridColumns& Columns() const { return FColumns; }
  TBookmarkList& SelectedRows() { return FSelectedRows; }
  TDBGridOptions Options() const { return FOptions; }
  void SetOptions(TDBGridOptions Value);

  // The fields shown: those of the visible columns that have a field, in column order.
  int FieldCount() const;
  TField* Fields(int Index) const;
  // The column of the current cell, and its field.
  int SelectedIndex() const { return FSelectedIndex; }
  void SetSelectedIndex(int Value);
  TField* SelectedField() const;

  TGridCellView CellView(int ACol, int ARow) const override;
  // Moving to a row moves the dataset to its record.
  void SetRow(int Value) override;

  const TPropertyTable& PropertyTable() const override;

protected:
  // A click picks the record; with dgMultiSelect, Ctrl+click adds or removes it from the
  // selected rows and a plain click starts the selection over.
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
  class TGridDataLink : public TDataLink {
  public:
    explicit TGridDataLink(TCustomDBGrid& Grid) : FGrid(Grid) {}

  protected:
    void DataEvent(TDataEvent Event) override { FGrid.DataEvent(Event); }

  private:
    TCustomDBGrid& FGrid;
  };

  TGridDataLink FLink{*this};
  TDBGridColumns FColumns{*this};
  TBookmarkList FSelectedRows{*this};
  TDBGridOptions FOptions = dgEditing | dgTitles | dgIndicator | dgColumnResize | dgColLines |
                            dgRowLines | dgTabs | dgConfirmDelete | dgCancelOnExit;
  int FSelectedIndex = 0;
  // Columns shown, in order (invisible ones are left out of the grid's cells).
  std::vector<TColumn*> FShown;
  bool FFollowing = false;

  void DataEvent(TDataEvent Event);
  void LayoutChanged();
  void FollowCursor();
  int TitleRows() const { return (FOptions & dgTitles) ? 1 : 0; }
  int IndicatorCols() const { return (FOptions & dgIndicator) ? 1 : 0; }
};

class TDBGrid : public TCustomDBGrid {
public:
  using TCustomDBGrid::TCustomDBGrid;
};
