#include "engine/VLMXGbl/ColumnTotals.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/VLMXCols.h"
#include "engine/Vellumix/ReportSettings.h"

namespace {

struct TTotal {
  int Level;
  TotalKind Kind;
};

struct TCol {
  std::string Name;
  bool Printed = true;
  std::vector<TTotal> Totals{};
  std::string Format{};
};

std::unique_ptr<TColsList> MakeColumns(const std::vector<TCol>& Cols) {
  auto List = std::make_unique<TColsList>();
  for (const TCol& C : Cols) {
    auto Entry = std::make_unique<TColsListData>();
    Entry->FieldName = C.Name;
    Entry->Printed = C.Printed;
    Entry->TotalText = C.Format;
    bool Changed = false;
    if (!C.Totals.empty()) Entry->TotList = std::make_unique<TColTotList>();
    for (const TTotal& T : C.Totals) Entry->TotList->SetKind(T.Level, T.Kind, Changed);
    List->Add(std::move(Entry));
  }
  return List;
}

// Each column's format and its kinds level by level, "-" for an empty slot:
// "Amount %8.2F: Sum Average".
std::string Describe(const TColsList& List) {
  std::string S;
  for (int I = 0; I < List.Count(); ++I) {
    const TColsListData& C = *List.Items(I);
    S += (I ? "|" : "") + C.FieldName + " " + C.TotalText + ":";
    for (int L = 0; C.TotList && L < C.TotList->Count(); ++L) {
      const TColTotListData* T = C.TotList->Items(L);
      S += std::string(" ") + (T ? TotalKindNames[T->Kind] : "-");
    }
  }
  return S;
}

TEST(ColumnTotals, SaveWritesHiddenColumnsAndTotalRecords) {
  struct TCase {
    const char* What;
    std::vector<TCol> Cols;
    std::string Groups;
    std::string Hidden, Totals;
  };
  const TCase Cases[] = {
      {"nothing chosen", {{"A"}, {"B"}}, "", "", ""},
      {"two of three hidden", {{"A"}, {"B", false}, {"C", false}}, "", "B,C", ""},
      {"all hidden", {{"~Line#", false}, {"A", false}}, "", "~Line#,A", ""},
      {"one total: no separator",
       {{"A", true, {{0, tkCount}}}}, "", "", "A,,Count,\"\""},
      {"levels by group column name",
       {{"Amount", true, {{0, tkSum}, {1, tkAverage}}, "%8.2F"}}, "Region",
       "", "Amount,,Sum,\"%8.2F\";Amount,Region,Average,\"%8.2F\""},
      {"None levels and empty slots left out, columns in order",
       {{"B", true, {{0, tkNone}, {2, tkMax}}, "x"}, {"A", false, {{1, tkText}}, "Total"}},
       "Region,City", "A",
       "B,City,Max,\"x\";A,Region,Text,\"Total\""},
      // Written with no level name it would read back as the report total.
      {"level without a group column name left out",
       {{"A", true, {{0, tkMin}, {2, tkSum}}}}, "Region", "", "A,,Min,\"\""},
      {"level name given twice left out",
       {{"A", true, {{2, tkSum}}}}, "Region,region", "", ""},
      {"names that reading would split left out",
       {{"A,B", true, {{0, tkSum}}}, {"C", true, {{1, tkSum}}}, {"", true, {{0, tkSum}}}},
       "x\";y", "", ""},
      // A leading ";" after the opening quote would end the record; it goes without that quote.
      {"quotes kept out of the format, leading semicolons kept in it",
       {{"A", true, {{0, tkSum}}, ";;\"q\";x"}}, "", "", "A,,Sum,;;q;x\""},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.What);
    TvlxReportSettings S;
    S.GroupColumns = C.Groups;
    SaveColumnTotals(*MakeColumns(C.Cols), S);
    EXPECT_EQ(S.HideColumns, C.Hidden);
    EXPECT_EQ(S.ColumnTotals, C.Totals);
  }
}

// A column out of the list for the moment (the selected rows print the selected columns only)
// keeps its choices, and the whole list reads them again; a column in the list has its own.
TEST(ColumnTotals, ColumnsOutOfTheListKeepTheirChoices) {
  TvlxReportSettings S;
  S.HideColumns = "~Line#,B,C";
  S.ColumnTotals = "A,,Sum,\"a\";B,,Max,\"b\";C,,Count,\"\"";
  SaveColumnTotals(*MakeColumns({{"~Line#"}, {"A", true, {{0, tkMin}}}}), S);
  EXPECT_EQ(S.HideColumns, "B,C");
  EXPECT_EQ(S.ColumnTotals, "A,,Min,\"\";B,,Max,\"b\";C,,Count,\"\"");
  auto All = MakeColumns({{"~Line#"}, {"A"}, {"B"}, {"C"}});
  LoadColumnTotals(*All, S);
  EXPECT_EQ(Describe(*All), "~Line# :|A : Min|B b: Max|C : Count");
}

TEST(ColumnTotals, SaveReportsWhatChanged) {
  const auto Cols = MakeColumns({{"Amount", false, {{0, tkSum}}, "%F"}});
  struct TCase {
    std::string Hidden, Totals;
    bool Columns, TotalsChanged;
  } const Cases[] = {
      {"Amount", "Amount,,Sum,\"%F\"", false, false},
      {"AMOUNT", "Amount,,Sum,\"%F\"", false, false},  // names compare without case
      {"", "Amount,,Sum,\"%F\"", true, false},
      {"Amount", "Amount,,SUM,\"%F\"", false, true},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.Hidden + " " + C.Totals);
    TvlxReportSettings S;
    S.HideColumns = C.Hidden;
    S.ColumnTotals = C.Totals;
    const TColumnStringsChanged Changed = SaveColumnTotals(*Cols, S);
    EXPECT_EQ(Changed.Columns, C.Columns);
    EXPECT_EQ(Changed.Totals, C.TotalsChanged);
    EXPECT_EQ(S.Modified, C.Columns || C.TotalsChanged);
  }
}

TEST(ColumnTotals, LoadSetsKindsAndFormatsOfNamedColumns) {
  struct TCase {
    const char* What;
    std::string Totals;
    std::string Expected;
  };
  const TCase Cases[] = {
      {"names, levels and kinds without case",
       "amount,REGION,stddev (sample),\"%F\"", "Amount %F: - StdDev (Sample)|Qty : Count - Sum"},
      {"unknown level name is the report total", "Qty,Nowhere,Max,\"m\"",
       "Amount :|Qty m: Max - Sum"},
      {"quotes dropped from the format", "Amount,,Sum,a\"b\"c", "Amount abc: Sum|Qty : Count - Sum"},
      {"None removes a break level", "Qty,City,None,\"\";Amount,,None,\"\"", "Amount :|Qty : Count - -"},
      {"unknown column, unknown kind, empty name or kind skipped",
       "Price,,Sum,\"x\";Amount,,Total,\"x\";,,Sum,\"x\";Amount,,,\"x\";Amount,,Min,\"y\"",
       "Amount y: Min|Qty : Count - Sum"},
      {"an empty record ends the list", "Amount,,Sum,\"a\";\";Qty,,Max,\"b\"",
       "Amount a: Sum|Qty : Count - Sum"},
  };
  for (const TCase& C : Cases) {
    SCOPED_TRACE(C.What);
    // Qty has a Count of its own and Amount an empty list: a column without a record keeps
    // its kinds, and a missing list is made.
    auto Cols = MakeColumns({{"Amount"}, {"Qty", true, {{0, tkCount}, {2, tkSum}}}});
    TvlxReportSettings S;
    S.GroupColumns = "Region,City";
    S.ColumnTotals = C.Totals;
    LoadColumnTotals(*Cols, S);
    EXPECT_EQ(Describe(*Cols), C.Expected);
  }
}

TEST(ColumnTotals, EveryKindAndLevelSurvivesSaveAndLoad) {
  std::vector<TCol> Cols;
  for (int Kind = 1; Kind < TotalKindCount; ++Kind)
    Cols.push_back({"Col" + std::to_string(Kind), Kind % 3 != 0,
                    {{0, static_cast<TotalKind>(Kind)},
                     {Kind % 3 + 1, static_cast<TotalKind>(TotalKindCount - Kind)}},
                    (Kind % 2 == 0 || Kind == 1 ? ";;Grand " : "") + ("%" + std::to_string(Kind)) + ".2F; n=%d, net"});
  const auto Source = MakeColumns(Cols);
  TvlxReportSettings S;
  S.GroupColumns = "Region,City,Street";
  SaveColumnTotals(*Source, S);
  const std::string Saved = S.ColumnTotals;

  for (TCol& C : Cols) C.Totals.clear(), C.Format.clear();
  const auto Loaded = MakeColumns(Cols);
  S.Modified = false;
  LoadColumnTotals(*Loaded, S);
  EXPECT_EQ(Describe(*Loaded), Describe(*Source));
  EXPECT_TRUE(S.Modified);
  EXPECT_FALSE(SaveColumnTotals(*Loaded, S).Totals);
  EXPECT_EQ(S.ColumnTotals, Saved);
}

}  // namespace
