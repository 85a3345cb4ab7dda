#include "windows/VLMXMain/ColumnTotals.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "engine/VLMXCols.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/rtl/SysUtils.h"

namespace {

const std::string RecordEnd = "\";";

// S cut at every Sep; an empty S is one empty piece.
std::vector<std::string> Split(const std::string& S, const std::string& Sep) {
  std::vector<std::string> Pieces;
  size_t From = 0;
  for (size_t At; (At = S.find(Sep, From)) != std::string::npos; From = At + Sep.size())
    Pieces.push_back(S.substr(From, At - From));
  Pieces.push_back(S.substr(From));
  return Pieces;
}

// The break level a level name stands for: its position (from 1) among the group columns,
// letter case ignored; 0 for an empty or unknown name.
int LevelOfName(const std::string& Name, const std::vector<std::string>& GroupColumns) {
  if (Name.empty()) return 0;
  for (size_t I = 0; I < GroupColumns.size(); ++I)
    if (AnsiSameText(GroupColumns[I], Name)) return static_cast<int>(I) + 1;
  return 0;
}

// -1 when Name is none of the kinds' names (letter case ignored).
int KindOfName(const std::string& Name) {
  for (int Kind = 0; Kind < TotalKindCount; ++Kind)
    if (AnsiSameText(TotalKindNames[Kind], Name)) return Kind;
  return -1;
}

// A field name or level name that the reading splits apart or cuts short.
bool BreaksRecord(const std::string& Part) {
  return Part.find(',') != std::string::npos || Part.find(RecordEnd) != std::string::npos;
}

std::string WithoutQuotes(std::string S) {
  S.erase(std::remove(S.begin(), S.end(), '"'), S.end());
  return S;
}

}  // namespace

TColumnStringsChanged SaveColumnTotals(const TColsList& Columns, TvlxReportSettings& Settings) {
  const std::string OldHidden = Settings.HideColumns;
  const std::string OldTotals = Settings.ColumnTotals;
  const std::vector<std::string> Groups = Split(Settings.GroupColumns, ",");
  std::string Hidden, Totals;
  for (int I = 0; I < Columns.Count(); ++I) {
    const TColsListData* Column = Columns.Items(I);
    if (!Column) continue;
    if (!Column->Printed) Hidden += Column->FieldName + ',';
    // Records that would read back onto another column or level are not written: that
    // column's or level's own total would be overwritten.
    if (!Column->TotList || Column->FieldName.empty() || BreaksRecord(Column->FieldName)) continue;
    // Quotes would end the format early; a leading ";" would close it at its opening quote.
    std::string Format = WithoutQuotes(Column->TotalText);
    Format.erase(0, Format.find_first_not_of(';'));
    for (int Level = 0; Level < Column->TotList->Count(); ++Level) {
      const TColTotListData* Total = Column->TotList->Items(Level);
      if (!Total || Total->Kind == tkNone) continue;
      const std::string LevelName = Level == 0 || Level > static_cast<int>(Groups.size())
                                        ? std::string()
                                        : Groups[Level - 1];
      // Left out as well: a level without a group column name of its own (none of that
      // number, or a name given twice).
      if (LevelOfName(LevelName, Groups) != Level || BreaksRecord(LevelName)) continue;
      Totals += Column->FieldName + ',' + LevelName + ',' + TotalKindNames[Total->Kind] + ",\"" + Format +
                RecordEnd;
    }
  }
  // A column out of the list for the moment (the selected rows print only the selected
  // columns) keeps its choices: its names and records stay as they were.
  const auto Absent = [&](const std::string& Name) { return Columns.IndexOfName(Name) < 0; };
  if (!OldHidden.empty())
    for (const std::string& Name : Split(OldHidden, ","))
      if (Absent(Name)) Hidden += Name + ',';
  // Each record but the last loses its closing quote to the cut.
  const std::vector<std::string> Records = Split(OldTotals, RecordEnd);
  for (size_t I = 0; I < Records.size(); ++I)
    if (!Records[I].empty() && Absent(Records[I].substr(0, Records[I].find(','))))
      Totals += Records[I] + (I + 1 < Records.size() ? RecordEnd : ";");
  if (!Hidden.empty()) Hidden.pop_back();
  if (!Totals.empty()) Totals.pop_back();
  Settings.HideColumns = Hidden;
  Settings.ColumnTotals = Totals;

  TColumnStringsChanged Changed;
  Changed.Columns = !AnsiSameText(Hidden, OldHidden);
  Changed.Totals = Totals != OldTotals;
  if (Changed.Columns || Changed.Totals) Settings.Modified = true;
  return Changed;
}

void LoadColumnTotals(TColsList& Columns, TvlxReportSettings& Settings) {
  const std::vector<std::string> Groups = Split(Settings.GroupColumns, ",");
  for (const std::string& Record : Split(Settings.ColumnTotals + RecordEnd, RecordEnd)) {
    if (Record.empty()) break;
    // Name, level and kind are the first three fields; the format is all after them, so a
    // format holding a comma comes back whole.
    std::vector<std::string> Fields = Split(Record, ",");
    Fields.resize(std::max<size_t>(Fields.size(), 3));
    const std::string& Name = Fields[0];
    const int Kind = KindOfName(Fields[2]);
    const int Index = Name.empty() ? -1 : Columns.IndexOfName(Name);
    TColsListData* Column = Columns.Items(Index);
    if (!Column || Kind < 0) continue;
    const size_t FormatAt = Name.size() + Fields[1].size() + Fields[2].size() + 3;
    Column->TotalText = WithoutQuotes(FormatAt < Record.size() ? Record.substr(FormatAt) : "");
    if (!Column->TotList) Column->TotList = std::make_unique<TColTotList>();
    Column->TotList->SetKind(LevelOfName(Fields[1], Groups), static_cast<TotalKind>(Kind),
                             Settings.Modified);
  }
}
