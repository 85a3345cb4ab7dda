// The report's column list built from the printed object's columns, the line-number column,
// the columns the user hid, and the sort fields of a dataset.
#include <algorithm>

#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl0.h"
#include "engine/VLMXGbl/PrintSettings.h"
#include "engine/VLMXGbl/RowSources.h"
#include "engine/VLMXGbl/RptStyles.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/DB.h"
#include "framework/rtl/SysUtils.h"

namespace {

// Whether Name is one of the comma-separated entries of List (each trimmed, letter case
// ignored); an empty entry ends the list. One pass over the list: it is asked once per
// column, and a list of many names must not cost the square of its length each time.
bool InHiddenList(const std::string& Name, const std::string& List) {
  for (size_t From = 0; From <= List.size();) {
    const size_t Comma = std::min(List.find(',', From), List.size());
    const std::string Entry = Trim(List.substr(From, Comma - From));
    if (Entry.empty()) return false;
    if (AnsiSameText(Entry, Name)) return true;
    From = Comma + 1;
  }
  return false;
}

}  // namespace

bool TObjInfo::GetColDef(int Index, std::string& Name, int& FieldIndex, int& DataType, int& Size,
                         int& Kind, int& Alignment) const {
  TColDef Def;
  bool Usable = false;
  // A field the dataset cannot give (a closed dataset, a column bound to no field) leaves
  // the column out rather than ending the run.
  try {
    Usable = FRows->ColumnDef(Index, Def);
  } catch (const std::exception&) {
  }
  if (!Usable) Def = TColDef{};
  Name = Def.Name;
  FieldIndex = Def.FieldIndex;
  DataType = Def.DataType;
  Size = Def.Size;
  Kind = Def.Kind;
  Alignment = Def.Alignment;
  return Usable;
}

bool TObjInfo::ColTypeAllowed(int DataType, int ColNdx) const {
  const bool TypeOk = DataType < ftBytes || DataType == ftAutoInc || DataType == ftMemo ||
                      DataType == ftFmtMemo || DataType == ftFixedChar ||
                      DataType == ftWideString || DataType == ftLargeint;
  if (!TypeOk) return false;
  if (State().SelectedRowsOnly && ColNdx >= FixedCols)
    return ColNdx >= SelColFirst && ColNdx <= SelColLast;
  return true;
}

bool TObjInfo::IsColSelected(const std::string& Name, bool MustExist) const {
  if (const std::optional<bool> Choice = FRows->ColumnChoice(Name)) return *Choice;
  if (MustExist && (!ColsList || ColsList->IndexOfName(Name) < 0)) return false;
  return !InHiddenList(Name, Settings().HideColumns);
}

bool TObjInfo::AddOrRefreshCol(int Position, const std::string& Name, int Alignment, int Kind,
                               int Size, int DataType, const std::string& Title) {
  if (!ColsList) ColsList = std::make_unique<TColsList>();
  const int Existing = ColsList->IndexOfName(Name);
  if (Existing < 0 || Kind == ckLineNo) {
    auto Entry = std::make_unique<TColsListData>();
    if (Existing < 0) {
      Entry->ColStrWid(bnTitles, 0).Text = Entry->ColStrWid(bnTitles, 1).Text = Title;
      if (Kind == ckLineNo) {
        std::string Sample;
        MaxDigitsSample(bnData, Sample);
        Entry->ColStrWid(bnData, 0).Text = Entry->ColStrWid(bnData, 1).Text = Sample;
      }
      Entry->DataType = static_cast<uint8_t>(DataType);
      Entry->ColKind = static_cast<uint8_t>(Kind);
      Entry->DataSize = Size;
      Entry->FieldName = Name;
      Entry->Alignment = static_cast<uint8_t>(Alignment);
      Entry->SourceColNdx = Entry->FieldNdx = -1;
      Entry->PanelNdx = -1;
      Entry->Plane = 2;
      Entry->Printed = IsColSelected(Name, false);
    } else {
      Entry->Assign(*ColsList->Items(Existing));
      Entry->XPos = 0;
    }
    ColsList->Insert(std::min(Position, ColsList->Count()), std::move(Entry));
    return true;
  }
  TColsListData* Entry = ColsList->Items(Existing);
  Entry->ColStrWid(bnTitles, 0).Text = Entry->ColStrWid(bnTitles, 1).Text = Title;
  Entry->FieldName = Name;
  Entry->DataType = static_cast<uint8_t>(DataType);
  Entry->DataSize = Size;
  Entry->ColKind = static_cast<uint8_t>(Kind);
  Entry->Alignment = static_cast<uint8_t>(Alignment);
  if (Existing != Position) ColsList->Move(Existing, std::clamp(Position, 0, ColsList->Count() - 1));
  return false;
}

bool TObjInfo::LineNoColumn(bool Add, int Position, int Wanted) {
  if (!ColsList) ColsList = std::make_unique<TColsList>();
  if (Add) {
    int Found = 0;
    for (int I = 0; I < ColsList->Count() && Found < Wanted; ++I) {
      TColsListData* Entry = ColsList->Items(I);
      if (!Entry || Entry->ColKind != ckLineNo) continue;
      Entry->Printed = IsColSelected(Entry->FieldName, false);
      ++Found;
    }
    if (Found >= Wanted) return false;
    AddOrRefreshCol(Position, LineNoColName, 1, ckLineNo, 4, ftInteger, "#");
    return true;
  }
  bool Changed = false;
  int Found = 0;
  for (int I = 0; I < ColsList->Count();) {
    TColsListData* Entry = ColsList->Items(I);
    if (!Entry || Entry->ColKind != ckLineNo || Found < Wanted) {
      if (Entry && Entry->ColKind == ckLineNo) ++Found;
      ++I;
      continue;
    }
    if (Found == 0) {
      // The one line-number column there is stays, unprinted, so that its place is kept.
      Entry->Printed = false;
      ++Found;
      ++I;
      continue;
    }
    ColsList->Delete(I);
    Changed = true;
  }
  return Changed;
}

void TObjInfo::BuildColList(int& ColumnCount, bool ClearTotals) {
  if (!ColsList) ColsList = std::make_unique<TColsList>();
  for (int C = Origin.X; C < Origin.X + ColumnCount; ++C) {
    int InsertAt = ColsList->Count();
    bool Present = false;
    for (int I = 0; I < ColsList->Count(); ++I) {
      const TColsListData* Entry = ColsList->Items(I);
      if (!Entry) continue;
      if (Entry->SourceColNdx == C) {
        Present = true;
        break;
      }
      if (Entry->SourceColNdx > C && InsertAt == ColsList->Count()) InsertAt = I;
    }
    if (Present) continue;
    std::string Name;
    int FieldIndex, DataType, Size, Kind, Alignment;
    if (!GetColDef(C, Name, FieldIndex, DataType, Size, Kind, Alignment)) continue;
    if (!ColTypeAllowed(DataType, C)) continue;
    auto Entry = std::make_unique<TColsListData>();
    Entry->FieldName = Name;
    Entry->FieldNdx = FieldIndex;
    Entry->DataType = static_cast<uint8_t>(DataType);
    Entry->DataSize = Size;
    Entry->ColKind = static_cast<uint8_t>(Kind);
    Entry->Alignment = static_cast<uint8_t>(Alignment);
    Entry->SourceColNdx = C;
    Entry->PanelNdx = -1;
    Entry->Printed = IsColSelected(Name, false);
    ColsList->Insert(InsertAt, std::move(Entry));
  }
  ResetColumns(true, ClearTotals);
}

unsigned char TObjInfo::CnvtColNdxToXPlaneNdx(int ColNdx) const {
  const int Fixed = State().FixedColCount;
  const int Count = ColsList ? ColsList->Count() : 0;
  if (ColNdx >= 0 && ColNdx < Fixed) return 1;
  if (ColNdx >= Fixed && ColNdx <= Count - 1) return 2;
  throw eVlxIntError("[CnvtColNdxToXPlaneNdx] **\rColNdx:" +
                     IntToStr(ColNdx) + " is out of range 0.." + IntToStr(Count - 1));
}

void TObjInfo::ResetColumns(bool ClearTexts, bool ClearTotals) {
  LineNoColumn(false, -1, 0);
  LineNoColumn(true, 0, 1);
  ClearColLevels(0b1111, ClearTexts);
  for (int I = 0; I < ColsList->Count(); ++I) {
    TColsListData* Entry = ColsList->Items(I);
    if (!Entry) continue;
    Entry->XPos = Entry->LeftOffset = Entry->RightOffset = 0;
    Entry->ContentWidth = Entry->CellWidth = Entry->LeftLineWidth = Entry->RightLineWidth = 0;
    Entry->HorzPage = 0;
    Entry->FirstOnPage = Entry->FirstBodyOnPage = Entry->LastOnPage = false;
    Entry->FirstOfZone = Entry->LastOfZone = false;
    Entry->Numeric = false;
    Entry->Plane = CnvtColNdxToXPlaneNdx(I);
    Entry->Printed = IsColSelected(Entry->FieldName, false);
  }
  ColsList->ResetTotals(ClearTotals);
}

void TObjInfo::ClearColLevels(unsigned Levels, bool ClearTexts) {
  if (!ColsList) return;
  for (int I = 0; I < ColsList->Count(); ++I) {
    TColsListData* Entry = ColsList->Items(I);
    if (!Entry) continue;
    for (int Level = 0; Level < ColLevelCount; ++Level) {
      if (!(Levels & (1u << Level))) continue;
      for (int Record = 0; Record < 2; ++Record) {
        TColStrWid& Wid = Entry->ColStrWid(Level, Record);
        Wid.Width = 0;
        if (ClearTexts) Wid.Text.clear();
      }
    }
    if (ClearTexts) Entry->HeadingFlag = 0;
  }
}

void TObjInfo::DefaultAlignments() {
  if (!ColsList) return;
  for (int I = 0; I < ColsList->Count(); ++I) {
    TColsListData* Entry = ColsList->Items(I);
    if (!Entry || Entry->DataType != ftUnknown) continue;
    Entry->DataType = Entry->Numeric ? ftFloat : ftInteger;
    Entry->Alignment = 1;
  }
}

void TObjInfo::SetColPrint(int Index, const std::string& Name, bool Printed) {
  if (!ColsList) return;
  TColsListData* Entry = ColsList->Items(Index);
  if (!Entry) Entry = ColsList->Items(ColsList->IndexOfName(Name));
  if (Entry) Entry->Printed = Printed;
}

void TObjInfo::ToggleColPrint(int Index, const std::string& Name) {
  if (!ColsList) return;
  TColsListData* Entry = ColsList->Items(Index);
  if (!Entry) Entry = ColsList->Items(ColsList->IndexOfName(Name));
  if (Entry) Entry->Printed = !Entry->Printed;
}

bool TObjInfo::NoColPrinted() const {
  if (!ColsList) return true;
  for (int I = 0; I < ColsList->Count(); ++I)
    if (const TColsListData* Entry = ColsList->Items(I); Entry && Entry->Printed) return false;
  return true;
}

void TObjInfo::GetColHeading(bool ByName, int Index, std::string& Text) {
  if (Index < 0) {
    Text = ByName ? "Field Name" : "Column Name";
    return;
  }
  const TColsListData* Entry = ColsList ? ColsList->Items(Index) : nullptr;
  if (!Entry) {
    Text.clear();
    return;
  }
  if (ByName) {
    Text = Entry->FieldName;
    return;
  }
  // The heading is read as the first title line's text; the walk position and the title
  // band's counter are put back on every path.
  struct TRestore {
    TObjInfo& Info;
    TPoint Cell;
    int RowNdx;
    ~TRestore() {
      Info.CurCell = Cell;
      Info.Styles().BandInfo[bnTitles].RowNdx = RowNdx;
    }
  } Restore{*this, CurCell, Styles().BandInfo[bnTitles].RowNdx};
  CurCell = {Index, Origin.Y};
  Styles().BandInfo[bnTitles].RowNdx = -1;
  GetCellText(bnTitles, Index, Text, false, true);
}

void TObjInfo::GetSortFields() {
  SortFields = FRows->SortFields();
  SortFieldCount =
      SortFields.empty() ? 0 : 1 + static_cast<int>(std::count(SortFields.begin(), SortFields.end(), ','));
}

std::string TSQLParse::GetOrderBy(const TStrings& SQL) {
  std::string Joined;
  for (int I = 0; I < SQL.Count(); ++I) Joined += SQL.Strings(I) + ' ';
  std::string Text;
  for (const char C : Joined)
    if (C != ' ' || Text.empty() || Text.back() != ' ') Text += C;
  const std::string Upper = UpperCase(Text);
  const std::string Keyword = "ORDER BY";
  const size_t At = Upper.find(Keyword);
  if (At == std::string::npos) return "";
  const size_t From = At + Keyword.size();
  std::string Rest = Trim(Text.substr(From, Text.size() - 1 - std::min(From, Text.size() - 1)));
  const std::string RestUpper = UpperCase(Rest);
  size_t Cut = std::string::npos;
  for (const char* Clause : {"FROM", "WHERE", "ORDER BY", "GROUP BY", "HAVING"})
    Cut = std::min(Cut, RestUpper.find(Clause));
  return Cut == std::string::npos ? Rest : Trim(Rest.substr(0, Cut));
}
