#include "engine/VLMXGbl/ColumnTotals.h"

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

struct TRecord {
  std::string Name, Level, Format;
  int Kind;  // -1: no kind's name
};

// The records of a ColumnTotals string, up to the first empty one. Name, level and kind are
// the first three fields; the format is all after them, so a format holding a comma comes back
// whole.
std::vector<TRecord> ReadRecords(const std::string& Totals) {
  std::vector<TRecord> Records;
  for (const std::string& Record : Split(Totals + RecordEnd, RecordEnd)) {
    if (Record.empty()) break;
    std::vector<std::string> Fields = Split(Record, ",");
    Fields.resize(std::max<size_t>(Fields.size(), 3));
    const size_t FormatAt = Fields[0].size() + Fields[1].size() + Fields[2].size() + 3;
    Records.push_back({Fields[0], Fields[1], WithoutQuotes(FormatAt < Record.size() ? Record.substr(FormatAt) : ""),
                       KindOfName(Fields[2])});
  }
  return Records;
}

// One record with its separator. Quotes would end the format early. A format that begins
// with ";" goes without its opening quote, which with that ";" would end the record there: the
// reading takes the format as all after the kind and drops its quotes, so it comes back whole.
std::string RecordText(const std::string& Name, const std::string& Level, int Kind, std::string Format) {
  Format = WithoutQuotes(Format);
  const char* Open = Format.starts_with(';') ? "" : "\"";
  return Name + ',' + Level + ',' + TotalKindNames[Kind] + ',' + Open + Format + RecordEnd;
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
    for (int Level = 0; Level < Column->TotList->Count(); ++Level) {
      const TColTotListData* Total = Column->TotList->Items(Level);
      if (!Total || Total->Kind == tkNone) continue;
      const std::string LevelName = Level == 0 || Level > static_cast<int>(Groups.size())
                                        ? std::string()
                                        : Groups[Level - 1];
      // Left out as well: a level without a group column name of its own (none of that
      // number, or a name given twice).
      if (LevelOfName(LevelName, Groups) != Level || BreaksRecord(LevelName)) continue;
      Totals += RecordText(Column->FieldName, LevelName, Total->Kind, Column->TotalText);
    }
  }
  // A column out of the list for the moment (the selected rows print only the selected
  // columns) keeps its choices: its names and records stay as they were.
  const auto Absent = [&](const std::string& Name) { return Columns.IndexOfName(Name) < 0; };
  if (!OldHidden.empty())
    for (const std::string& Name : Split(OldHidden, ","))
      if (Absent(Name)) Hidden += Name + ',';
  for (const TRecord& R : ReadRecords(OldTotals))
    if (!R.Name.empty() && R.Kind > tkNone && Absent(R.Name)) Totals += RecordText(R.Name, R.Level, R.Kind, R.Format);
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
  for (const TRecord& R : ReadRecords(Settings.ColumnTotals)) {
    TColsListData* Column = Columns.Items(R.Name.empty() ? -1 : Columns.IndexOfName(R.Name));
    if (!Column || R.Kind < 0) continue;
    Column->TotalText = R.Format;
    if (!Column->TotList) Column->TotList = std::make_unique<TColTotList>();
    Column->TotList->SetKind(LevelOfName(R.Level, Groups), static_cast<TotalKind>(R.Kind), Settings.Modified);
  }
}
