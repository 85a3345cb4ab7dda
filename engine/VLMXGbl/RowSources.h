// What the adapter knows of each kind of printable object: how to recognise it, how eager the
// component is to pick it, and the row source that walks its rows, reads its cells, defines its
// columns and saves its position. TObjInfo chooses the row source once, in Setup; nothing else
// in the engine asks what the object is. Internal to TObjInfo.
#pragma once
#include <memory>
#include <optional>
#include <string>

#include "engine/VLMXGbl/ObjInfo.h"

class TColsListData;
class TField;

// Column kinds of the column list that the objects' columns get.
constexpr int ckGridCol = 2, ckField = 4;

// The definition of one column of the object, as the column list takes it.
struct TColDef {
  std::string Name;
  int FieldIndex = -1;
  int DataType = 0;
  int Size = 0;
  int Kind = 0;
  int Alignment = 0;
};

// The object of one kind behind the adapter. Every operation works on the adapter's walk
// position (current cell, current list item, selected-row cursor) and extents.
class TRowSource {
public:
  explicit TRowSource(TObjInfo& Info) : Info(Info) {}
  virtual ~TRowSource() = default;
  TRowSource(const TRowSource&) = delete;
  TRowSource& operator=(const TRowSource&) = delete;

  // Fills the adapter's typed view, extents and start position; eVlxSUError when the object
  // cannot be printed as it stands.
  virtual void Setup() = 0;
  // The dataset's records in place of the row count, for the database kinds.
  virtual void CountRecords() {}
  // Row and column counts of the object's used area, trimmed of blank edges when Trim.
  virtual void CalcUsedExtent(bool /*Trim*/) {}

  // ---- Rows ------------------------------------------------------------------------------

  // Positions on the first row to print and counts it; whether there is one.
  virtual bool First() = 0;
  // Brings the current row into the control's view before a move.
  virtual void ShowCurrentRow() {}
  // Moves one row on for Band (or to the last row); whether a row was taken.
  virtual bool Move(int Band, bool ToLast) = 0;
  // Whether the object's own test lets data row Row print.
  virtual bool RowShown(int /*Row*/) const { return true; }
  // Whether the user's selected rows can be printed.
  virtual bool HasSelection() const { return false; }
  virtual int CountSelected() { return 0; }
  virtual bool NextSelected() { return false; }
  // Whether there is a row where a walk starting where the object stands would read.
  virtual bool RowAtCursor() const;
  // Whether rows are the records of a dataset: long walks, limited by the column scan.
  virtual bool IsDatabase() const { return false; }

  // ---- Columns and cells ------------------------------------------------------------------

  virtual bool ColumnDef(int Index, TColDef& Def) const = 0;
  // The object's own say on whether column Name prints; none: HideColumns decides.
  virtual std::optional<bool> ColumnChoice(const std::string& /*Name*/) const { return {}; }
  virtual std::string SortFields() const { return ""; }
  // The on-screen width of the control's column Source, in screen pixels.
  virtual int ControlColWidth(int /*Source*/) const { return 0; }
  // Whether column widths always come from measured texts: no control sizes to take.
  virtual bool MeasuresText() const { return false; }
  // The raw text of Column at Level; Field is the record's field behind it, if any.
  virtual void ReadText(int Level, const TColsListData& Column, bool RealData, std::string& Text,
                        TField*& Field) = 0;
  // The raw data text of Column at the current row where the object holds it as it is, for a
  // look at it without a copy; nullptr where it does not (ReadText reads it then).
  virtual const std::string* DataTextRef(const TColsListData& /*Column*/) const { return nullptr; }
  // Whether the object holds its own totals lines and its own group breaks.
  virtual bool HasOwnTotals() const { return false; }

  // ---- Position -----------------------------------------------------------------------------

  // The dataset's bookmark, when there is a dataset.
  virtual void SavePosn(TObjPosn& Posn) const;
  // Never raises: a position that is gone leaves the object where it is.
  virtual void RestorePosn(const TObjPosn& Posn);

protected:
  TObjInfo& Info;
};

// One printable kind: a component passing Matches is printed as Kind by the row source Make
// gives; the component's automatic choice of its object takes the highest Priority.
struct TPrintableKind {
  decltype(TObjInfo::ObjType) Kind;
  int Priority;
  bool (*Matches)(const TComponent*);
  std::unique_ptr<TRowSource> (*Make)(TObjInfo&, TComponent*);
};

// The kind of C: the first in the table whose class test it passes; nullptr when none does.
const TPrintableKind* PrintableKindOf(const TComponent* C);

// The run's choices that steer the adapter's walk.
bool PrintsCurrentPage(const TObjInfo& Info);
bool PrintsSelectedOnly(const TObjInfo& Info);
// Raises (or, with -1, lowers) the run's record counter.
void CountRow(const TObjInfo& Info, int Delta);

// The row sources of each family, and that of an object not classified yet: no rows, no
// columns.
std::unique_ptr<TRowSource> MakeNoRows(TObjInfo& Info);
std::unique_ptr<TRowSource> MakeDataSetRows(TObjInfo& Info, TComponent* Object);
std::unique_ptr<TRowSource> MakeDBGridRows(TObjInfo& Info, TComponent* Object);
std::unique_ptr<TRowSource> MakeListBoxRows(TObjInfo& Info, TComponent* Object);
std::unique_ptr<TRowSource> MakeStringGridRows(TObjInfo& Info, TComponent* Object);
std::unique_ptr<TRowSource> MakeListViewRows(TObjInfo& Info, TComponent* Object);
std::unique_ptr<TRowSource> MakeDecisionGridRows(TObjInfo& Info, TComponent* Object);

// The walk shared by the objects whose rows are in memory (list box, string grid, list view).
class TMemoryRows : public TRowSource {
public:
  using TRowSource::TRowSource;
  bool First() override;
  bool Move(int Band, bool ToLast) override;
  bool HasSelection() const override { return true; }
  bool ColumnDef(int Index, TColDef& Def) const override;
  // The current cell is the position.
  void SavePosn(TObjPosn& Posn) const override;
  void RestorePosn(const TObjPosn& Posn) override;

protected:
  // Positions on the first row when no selection is printed; whether there is one.
  virtual bool StartRow() = 0;
  // Row has become the current row.
  virtual void RowTaken(int /*Row*/) {}
  // No row is current.
  virtual void NoRow() {}
  // Whether a move to the last row still follows the selection.
  virtual bool SelectionBeforeLast() const { return false; }
};
