// The report's column list and the column totals: one entry per printable column of the object
// being printed, each with its measured texts and layout, and, when it carries totals, one
// accumulator per break level (level 0 is the whole report).
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/VLMXCodes.h"

#include "framework/Classes.h"

// The numbers the cell-text routine gets out of one cell; the totals add up Value.
struct TvlxFieldValue {
  long double Value = 0.0L;
};

enum TotalKind : uint8_t {
  tkNone,
  tkText,
  tkSum,
  tkCount,
  tkAverage,
  tkMin,
  tkMax,
  tkStdDevSample,
  tkVarianceSample,
  tkStdDevPopulation,
  tkVariancePopulation,
};
constexpr int TotalKindCount = 11;

// Display names in kind order: the columns editor lists them, and a kind is its name's index.
inline constexpr std::array<const char*, TotalKindCount> TotalKindNames = {
    "None", "Text", "Sum", "Count", "Average", "Min", "Max",
    "StdDev (Sample)", "Variance (Sample)", "StdDev (Population)", "Variance (Population)"};

// The total of one column at one break level.
class TColTotListData : public TObject {
public:
  // Count back to 0 and the accumulators to their starting values for the kind when Clear;
  // in every case the total is open again and printed on no page.
  void Reset(bool Clear);
  void Assign(const TColTotListData& Source);
  // Ignored while the total is frozen (Printed).
  void AddValue(const TvlxFieldValue& Value);
  // Ok is false, with Value -999, when the kind has no result for this many values.
  void GetResult(long double& Value, bool& Ok) const;

  // [0] sum, count, minimum or maximum; [1] sum of squares and [2] sum of the values for the
  // deviation kinds. [3] and [4] hold the running mean and the sum of squared deviations from
  // it: the deviations are computed from these, which cancellation cannot drive negative.
  std::array<long double, 6> Accum{};
  std::string Text;
  TotalKind Kind = tkNone;
  int PagePrinted = 0;  // page across on which it was printed; -1 after a reset
  int Count = 0;
  bool Printed = false;  // frozen: printed on a page, takes no further values until reset
  bool KindChanged = false;
};

// A column's totals by break level. A slot may be empty; an entry is owned.
class TColTotList : public TObject {
public:
  int Count() const { return static_cast<int>(FItems.size()); }
  // The entry at Level; nullptr for an empty slot or a level outside the list.
  TColTotListData* Items(int Level) const;

  // Slot by slot like Source: entries copied, created where missing; Source's empty slots
  // empty the same slots here.
  void Assign(const TColTotList& Source);
  // Create: the level gets an entry (kind None, zeroed) when it has none, the list growing as
  // needed. Otherwise the entry goes, except at level 0, where it stays and is frozen.
  // Changed is only ever set.
  void EnsureLevel(int Level, bool Create, bool& Changed);
  // Kind None removes the level (level 0 keeps a None entry). A new entry starts cleared; an
  // existing one keeps its values and is only opened again.
  void SetKind(int Level, TotalKind Kind, bool& Changed);

private:
  std::vector<std::unique_ptr<TColTotListData>> FItems;
};

// A width with the text that gave it.
struct TColStrWid {
  int Width = 0;
  std::string Text;
};

// Measuring levels and width records of TColsListData::Texts.
constexpr int ColLevelCount = 4;    // 0 merged, 1 title, 2 data, 3 totals
constexpr int ColStrWidRecords = 3; // 0 widest by pixels, 1 widest by characters, 2 unused

// TColsListFields::ColKind of the line-number column.
constexpr uint8_t ckLineNo = 1;

// The plain values of a column entry, kept apart from its owned totals so that a copy can
// take them all at once.
struct TColsListFields {
  uint8_t DataType = 0;    // field type code; 0 for a grid column until the scan classifies it
  uint8_t ColKind = 0;     // 1 line-number column, 2 grid column, 4 dataset field
  int DataSize = 0;        // field size; 0 for grid columns
  uint8_t Alignment = 0;   // 0 left, 1 right, 2 centre
  std::array<TColStrWid, ColLevelCount * ColStrWidRecords> Texts;

  // Measures of the layout across pages.
  int XPos = 0;            // left edge on its page across
  int LeftOffset = 0;      // the slack split for centring
  int RightOffset = 0;
  int ContentWidth = 0;
  int CellWidth = 0;
  int LeftLineWidth = 0;
  int RightLineWidth = 0;
  std::array<int, 2> SpareMeasures{};  // kept zero: no layout step uses them

  uint8_t Plane = 0;       // 0 all, 1 leading repeated columns, 2 body columns, 3 trailing
  TLineKind LeftLineKind = lkLeftEdge;
  TLineKind RightLineKind = lkLeftEdge;
  std::string TotalText;   // the total's label, or its format text when it holds a "%"
  std::string FieldName;   // the column's key
  bool Numeric = false;    // a decimal separator was seen in its values during the scan
  bool HasTotals = false;  // some level has a kind other than None and Count
  uint8_t HeadingFlag = 0; // the totals text looks numeric
  bool Printed = false;
  bool FirstOnPage = false;
  bool FirstBodyOnPage = false;
  bool LastOnPage = false;
  bool FirstOfZone = false;
  bool LastOfZone = false;
  int PanelNdx = 0;        // always -1 once built
  int GrpBrkLevel = 0;
  int SourceColNdx = 0;    // index in the object; -1 for the line-number column
  int PageOrdinal = 0;     // ordinal on its page across
  int FieldNdx = 0;        // TField.Index, the column index for grids; -1 for line numbers
  int HorzPage = 0;        // the page across it is printed on
};

// One column of the report.
class TColsListData : public TObject, public TColsListFields {
public:
  TColStrWid& ColStrWid(int Level, int Record) { return Texts[Level * ColStrWidRecords + Record]; }

  // Every field; the totals mirror Source's, none when Source has none.
  void Assign(const TColsListData& Source);

  std::unique_ptr<TColTotList> TotList;  // none: the column has no totals
};

// The report's columns, in print order. Owned by the adapter; a slot may be empty only in a
// copy of a list that had one.
class TColsList : public TObject {
public:
  int Count() const { return static_cast<int>(FItems.size()); }
  // nullptr for an empty slot or an index outside the list. Inline: every cell reads it.
  TColsListData* Items(int Index) const {
    return Index >= 0 && Index < Count() ? FItems[Index].get() : nullptr;
  }
  int Add(std::unique_ptr<TColsListData> Item);
  // Index is clipped to 0..Count.
  void Insert(int Index, std::unique_ptr<TColsListData> Item);
  void Delete(int Index);
  void Move(int CurIndex, int NewIndex);

  // Deep copy of Source, slot by slot; nothing when Source is missing.
  void Assign(const TColsList* Source);
  // First column whose FieldName is Name, letter case ignored; -1.
  int IndexOfName(const std::string& Name) const;
  // Text of column Col's total at CurLevel: its label, its value through the user's format
  // (FieldFormat: the field format option is on), or "n/a".
  void GetTotalText(int Col, bool FieldFormat, std::string& S) const;
  // Freezes the totals at CurLevel printed on page across Page. The other levels stay as they
  // are: a print changes no total that the settings store.
  void MarkPageTotals(int Page);
  void ResetTotals(bool Clear);
  // Adds Value to column Col's totals at levels 0 to UpToLevel.
  void AddValue(int Col, const TvlxFieldValue& Value, int UpToLevel);
  // Page across of the first column with totals on HorzPage or later of PagesAcross; -1.
  int NextTotalsPage(int HorzPage, int PagesAcross) const;

  int CurLevel = 0;  // the break level whose totals are printed

private:
  std::vector<std::unique_ptr<TColsListData>> FItems;
};
