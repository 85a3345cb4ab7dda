// The adapter between the engine and the object a report prints. It classifies the object once
// per run and then offers one way to walk its rows, read its cell texts and build its column
// list, whatever the object is; what differs by kind is its row source (RowSources.h). One
// exists per report run.
#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/VLMXCodes.h"
#include "engine/VLMXGbl/RunPart.h"
#include "engine/VLMXCols.h"
#include "engine/VLMXGbl/FieldInfo.h"
#include "engine/Vellumix/Vellumix.h"
#include "framework/Controls.h"
#include "framework/rtl/StringList.h"

class TCustomDBGrid;
class TCustomForm;
class TCustomListBox;
class TDataSet;
class TDBGrid;
class TDecisionGrid;
class TField;
class TLabel;
class TListItem;
class TListView;
class TRowSource;
class TStringGrid;

// Name of the line-number column in the column list and in HideColumns.
inline const std::string LineNoColName = "~Line#";

// The last value printed in a group-break column and the data line it was printed on. Kept
// apart from the value, so that no cell text can pass for "no value yet".
struct TPrevValue {
  bool Set = false;
  std::string Text;
  int Line = 0;
  bool operator==(const TPrevValue&) const = default;
};
using TPrevValues = std::vector<TPrevValue>;

class TObjInfo;

// Where the printed object stood when a run began, to put it back there afterwards.
class TObjPosn : public TObject {
public:
  // Takes the kind, object and dataset of Info and saves its position at once.
  explicit TObjPosn(TObjInfo& Info);
  TObjPosn(const TObjPosn&) = delete;
  TObjPosn& operator=(const TObjPosn&) = delete;

  void Init();
  void Save();
  // Puts the object back where Save found it. Runs as runs and windows end, destructors
  // included, so it never raises: a position that is gone (a deleted record, a closed
  // dataset, a freed list item) leaves the object where it is.
  void Restore();

  TObjKind Kind = otNone;
  TDataSet* DataSet = nullptr;
  TComponent* Object = nullptr;
  std::string Bookmark;
  TPoint Cell{-1, -1};
  TListItem* ListItem = nullptr;
  int ListIndex = -1;  // the item's index when saved: an owner-data list view's only identity

private:
  TObjInfo& FInfo;
};

class TObjInfo : public TObject, public TvlxRunPart {
public:
  TObjInfo();
  // Gives the dataset's controls back when the adapter still holds them disabled.
  ~TObjInfo() override;
  TObjInfo(const TObjInfo&) = delete;
  TObjInfo& operator=(const TObjInfo&) = delete;

  bool IsDecisionGrid() const { return ObjType == otDecisionGrid; }
  bool IsDBGridKind() const { return ::IsDBGridKind(ObjType); }
  bool IsDataSetKind() const { return ::IsDataSetKind(ObjType); }
  bool IsDatabaseKind() const { return ::IsDatabaseKind(ObjType); }

  // ---- Classification and extents (ObjInfo.cpp) ----------------------------------------------

  // Classifies the ObjectToPrint of Component and fills the extents; eVlxSUError when it
  // cannot be printed. Leaves the dataset's controls disabled until EnableControls or the
  // adapter's end.
  void Setup();
  // Opens DataSet when it is closed; its failure becomes eVlxSUError.
  void OpenDataSet(const std::string& ObjectName, TDataSet* ADataSet);
  bool HasSQLSort() const;
  // Row and column counts of list boxes and string grids, trimmed of blank edges on request.
  void CalcUsedExtent();
  // Counts the rows of a database object; eVlxSUError for an empty object when asked to.
  void CheckEmpty();
  // Gives the dataset's controls back, once.
  void EnableControls();

  // ---- Column list (ColumnList.cpp) -----------------------------------------------------------

  bool GetColDef(int Index, std::string& Name, int& FieldIndex, int& DataType, int& Size,
                 int& Kind, int& Alignment) const;
  bool ColTypeAllowed(int DataType, int ColNdx) const;
  bool IsColSelected(const std::string& Name, bool MustExist) const;
  bool AddOrRefreshCol(int Position, const std::string& Name, int Alignment, int Kind, int Size,
                       int DataType, const std::string& Title);
  bool LineNoColumn(bool Add, int Position, int Wanted);
  void BuildColList(int& ColumnCount, bool ClearTotals);
  void ResetColumns(bool ClearTexts, bool ClearTotals);
  // Levels: bit n for level n (0..3).
  void ClearColLevels(unsigned Levels, bool ClearTexts);
  void DefaultAlignments();
  void SetColPrint(int Index, const std::string& Name, bool Printed);
  void ToggleColPrint(int Index, const std::string& Name);
  bool NoColPrinted() const;
  void GetColHeading(bool ByName, int Index, std::string& Text);
  void GetSortFields();
  // Zone of column ColNdx: 1 leading repeated column, 2 body column.
  unsigned char CnvtColNdxToXPlaneNdx(int ColNdx) const;

  // ---- Rows (Rows.cpp) ------------------------------------------------------------------------

  bool First();
  void Next(int Band, bool ToLast);
  bool NextSelected();
  void CountSelected();
  bool DGColVisible(int Row) const;

  // ---- Cell text (CellText.cpp) -------------------------------------------------------------

  // Text of column ColNdx of the column list at Level (1 title, 2 data, 3 totals) at the
  // current position.
  void GetCellText(int Level, int ColNdx, std::string& Text, bool Accumulate, bool RealData);
  // Whether a data row's cells may be judged from the object's text without the read: no
  // handler is owed the read or may reword the text. The same for every cell of the row; the
  // two checks below are asked only where it holds.
  bool CanJudgeDataInPlace() const;
  // Whether the data text GetCellText would give column ColNdx is surely one line of at most
  // Width characters, judged from the object's text where the read would tell and add up
  // nothing; Raw holds the text where the object cannot show it in place. False when unsure:
  // the caller then reads the cell in full.
  bool IsOneLineDataCell(int ColNdx, int Width, std::string& Raw);
  // Whether the data text GetCellText would give column ColNdx, trimmed, is Value in any case,
  // judged in the object where the read would change nothing. Empty when only the read can
  // tell.
  std::optional<bool> IsDataCellText(int ColNdx, const std::string& Value);
  void FieldTypeSample(int DataType, int DataSize, std::string& Text) const;
  void MaxDigitsSample(int Level, std::string& Text) const;
  void IntToStrSep(int Value, std::string& Text) const;
  static void CheckMark(bool Value, std::string& Text);
  // One empty entry per group-break column.
  void ResetPrevValues();

  // ---- Column widths and pages across (ColumnScan.cpp, PagesAcross.cpp) ----------------------

  // Measures every column over the rows (or takes the control's column sizes), lays the
  // columns out over pages across and writes their count on PagesAcrossLabel (may be nullptr).
  void ColumnScan(TComponent* Host, TControl* PagesAcrossLabel, bool& RescanPending);
  // Measures the columns again over the rows, as the scan does, and lays them out again; the
  // caller's page mode and run state stay; the totals are counted again from nothing.
  void Remeasure(TControl* PagesAcrossLabel, bool& RescanPending);
  void CalcPagesAcross(TControl* PagesAcrossLabel);
  // Measures every column at Level (1 title, 2 data, 3 totals) at the current position.
  // SampleMeasured: a data row of this scan is measured already.
  void CalcColWid(bool MeasureText, int Level, bool SampleMeasured = false);
  void FinishColWidths(bool MeasureText);
  int CountTotalLines();
  void CalcLineHeights();
  TColsListData* FindPrintedColFrom(int ColNdx) const;
  int FirstXPos() const;
  // First printed column of page across PageAcross; -1 when no column is printed.
  int NextUnplacedCol(int& PageAcross) const;
  void RaiseColMax(const std::string& Text, int ColNdx, int Level, int PixelWidth, int CharCount);
  void MeasureMultiLine(int ColNdx, const std::string& Text, int Level, int DataType);

  // ---- State ---------------------------------------------------------------------------------

  TComponent* SetupWin = nullptr;
  TCustomForm* ActiveForm = nullptr;
  TvlxVellumix* Component = nullptr;
  TvlxAfterOptionsLoaded AfterOptionsLoaded;
  TvlxOnFieldEdit OnFieldEdit;
  TvlxOnZeroColumnTotals OnZeroColumnTotals;
  TvlxOnFilterRecord OnFilterRecord;
  TvlxOnFieldAlign OnFieldAlign;
  std::unique_ptr<TColsList> ColsList;
  // Indexed by the source index of a group-break column.
  TPrevValues PrevValues;
  std::string SortFields;  // comma-separated
  std::string LineNoSample;
  std::string ComponentName;
  std::string ObjectName;
  TComponent* Object = nullptr;
  TObjKind ObjType = otNone;
  std::unique_ptr<TObjPosn> SavedPosn;
  unsigned char ColScanResult = 0;  // 0 not scanned, 1 stopped, 2 complete
  std::unique_ptr<TvlxFieldInfo> FieldInfo;
  bool EndOfRows = false;
  // Row state of the run, cleared at the report start: a rule is due above every data row.
  bool RuleEveryRow = false;
  bool ColumnTotalsOn = false;
  bool FieldFormatOn = false;
  bool SortedBySQL = false;
  bool HasHeaderRow = false;  // the object carries its title row among its rows
  bool KindInRange = false;
  bool RowsInMemory = false;
  // Typed views of the object: only those of its kind are set.
  TCustomListBox* ListBox = nullptr;
  TDBGrid* DBGrid = nullptr;
  TCustomDBGrid* OtherDBGrid = nullptr;
  TStringGrid* StringGrid = nullptr;
  TListView* ListView = nullptr;
  TDecisionGrid* DecisionGrid = nullptr;
  TDataSet* DataSet = nullptr;
  int SelColFirst = 0, SelColLast = AllColumnsLast;
  TPoint Origin;      // first title row and first column
  TPoint FixedPoint;  // first data cell of a string grid
  TPoint CurCell{-99, -99};
  TListItem* CurListItem = nullptr;
  int RowsProcessed = 0;
  int RowCount = -1;
  int SelRowCount = 0;
  unsigned char LayoutCase = 0;
  int FixedCols = 0;
  int FixedRows = 0;
  int TrailingCols = 0;
  int ColCount = 0;
  int SortFieldCount = 0;
  int FurtherTotalsLines = 0;
  int TotalLines = 0;
  int RowNumDigits = 0;
  int SelRowNdx = 0;

private:
  // The column of ColNdx when its data text can be judged where the object holds it (not the
  // line-number column, not a check mark), made the current cell; nullptr otherwise.
  const TColsListData* InPlaceDataColumn(int ColNdx);
  friend class TObjPosn;

  void Reset();
  // The flags that follow from the kind and extents, once Setup has classified the object.
  void SetDerivedFlags();
  // Checks that the dataset is open, saves where the object stands and holds its controls.
  void HoldObject();
  void SuppressRepeat(const TColsListData& Column, std::string& Text);
  // Runs OnFilterRecord for the current row: whether it is accepted; Terminate may be set.
  bool FilterAccepts(bool& Terminate);

  // The steps of CalcPagesAcross (PagesAcross.cpp).
  struct TColumnPlacement;
  // Widths and margins of the layout, the run's page and line state reset; where the first
  // column goes.
  TColumnPlacement StartColumnLayout();
  // Gives printed column Index its cell, x position and page across, starting a new page across
  // when it does not fit.
  void PlaceColumn(int Index, TColumnPlacement& At);
  // Column, which does not fit, opens the next page across.
  void StartNextPageAcross(TColsListData& Column, TColumnPlacement& At);
  // The right edge of the last column of each page across, and the first-column flags.
  void CloseColumnPages();

  // The object's kind behind every per-kind operation; chosen by Setup, an empty source
  // until then.
  std::unique_ptr<TRowSource> FRows;
  // Keeps the dataset's controls disabled from Setup until they are given back.
  class TControlsGuard;
  std::unique_ptr<TControlsGuard> FControlsGuard;
};

// The adapter of the run in progress; empty when no run is being set up.
extern TObjInfo* ObjInfo;

// Text's width in screen pixels in a control's font. The run's canvas measures it at the
// device's resolution, so the width is brought back to the screen's; 0 while either
// resolution is unknown.
int ScreenTextWidth(const TvlxRunPart& R, const TFont& Font, const std::string& Text);

// The sort list of a query: the text after ORDER BY, up to the next clause.
class TSQLParse {
public:
  static std::string GetOrderBy(const TStrings& SQL);
};
