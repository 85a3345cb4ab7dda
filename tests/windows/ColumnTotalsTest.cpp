#include "engine/VLMXGbl/ColumnTotals.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/VLMXCols.h"
#include "engine/VLMXGbl/ObjInfo.h"
#include "engine/VLMXGbl/RunUI.h"
#include "engine/Vellumix/ReportSettings.h"
#include "framework/Buttons.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Grids.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "tests/support/ReportHostFixture.h"
#include "windows/VLMXMain/VLMXMain.h"

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

// What the user chose for one report column in the grid.
struct TColChoice {
  bool Visible = true;
  TotalKind Kind = tkNone;
  std::string Format;
};

// The book table's three columns, each of five numbers, under the line numbers.
constexpr int Rows = 5;

class ColumnsEditorTest : public ReportHostTest {
protected:
  void SetUp() override {
    ReportHostTest::SetUp();
    Grid->SetColCount(3);
    Grid->SetRowCount(Rows + 1);
    for (int R = 0; R <= Rows; ++R)
      for (int C = 0; C < 3; ++C)
        Grid->SetCells(C, R, R == 0 ? std::string("Head") + char('A' + C) : std::to_string((C + 1) * 100 + R));
  }
  std::string Out() const { return Dir / "out.txt"; }
};

// The totals text the model expects under a data column: a value kind through its format.
std::string ExpectedTotal(int Col, const TColChoice& C) {
  long double Sum = 0, Max = 0;
  for (int R = 1; R <= Rows; ++R) Sum += (Col + 1) * 100 + R, Max = (Col + 1) * 100 + R;
  const long double Value = C.Kind == tkSum ? Sum : C.Kind == tkCount ? Rows : Max;
  if (C.Kind == tkText) return C.Format;
  return C.Format.substr(0, C.Format.find('%')) + std::to_string(static_cast<long long>(Value));
}

// The lines of the printed box that hold texts: titles, rows and the totals row.
int TextRows(const std::string& Printed) {
  int N = 0;
  for (size_t At = 0; At < Printed.size();) {
    const size_t End = std::min(Printed.find('\n', At), Printed.size());
    const std::string Line = Printed.substr(At, End - At);
    if (Line.find('|') != std::string::npos && Line.find_first_not_of("|-+ \r") != std::string::npos) ++N;
    At = End + 1;
  }
  return N;
}

// Random sequences of the columns grid's own edits (a visible cell flipped by Space or a
// double click, the pop-up's hide, show and toggle all, a total kind chosen in the combo, a
// format typed in the edit), then Print, Save and the next Print: what prints is what the grid
// shows (the visible columns, each visible column's total through its format, no totals row
// without one), a window with every column hidden prints nothing and says so, and after the
// save the next Print's grid shows the same choices and prints the same pages.
TEST_F(ColumnsEditorTest, WhatTheGridShowsPrintsSavesAndComesBack) {
  const TotalKind Kinds[] = {tkNone, tkSum, tkCount, tkMax, tkText};
  const char* const Formats[] = {"T=%.0f", "Max %.0f", "Tx"};
  std::mt19937 Random(20240611);
  for (int Round = 0; Round < 40; ++Round) {
    SCOPED_TRACE("round " + std::to_string(Round));
    // Each round is a fresh program with its own book table.
    if (Round > 0) {
      TearDown();
      SetUp();
    }
    Section({"DisplayProgressWin=0", "PauseAfterPrinting=0", "DisplayReportOptionsWin=1", "PreviewFirst=0",
             "NumFixedCols=0", "OutputQuality=0", "TxtCharsPageWid=120", "OutputDest=1",
             "IfOutputFileExists=0", "OutputFileName=" + Out()});
    std::filesystem::remove(Out());
    // Grid column 1 is the line numbers, 2 to 4 the data columns.
    std::array<TColChoice, 4> Model{};
    std::string Printed, Log;
    PrintWithWindow([&](TfmVlxMain& F) {
      TDrawGrid& G = *F.dgColumns;
      F.pcOptions->SetActivePage(F.tsStyle);
      const auto Press = [](TWinControl& Control, unsigned short Key) { Control.PeerKeyDown(Key, 0); };
      for (int Step = 0, Steps = 1 + Random() % 8; Step < Steps; ++Step) {
        const int Col = 1 + Random() % 4;
        TColChoice& C = Model[Col - 1];
        switch (Random() % 6) {
          case 0:
            Log += " space" + std::to_string(Col);
            G.SetRow(1);
            G.SetCol(Col);
            Press(G, ' ');
            C.Visible = !C.Visible;
            break;
          case 1: {
            Log += " dbl" + std::to_string(Col);
            const TRect Cell = G.CellRect(Col, Random() % 2);
            G.PeerMouseDown(TMouseButton::mbLeft, 0, Cell.Left + 2, Cell.Top + 2);
            G.PeerMouseUp(TMouseButton::mbLeft, 0, Cell.Left + 2, Cell.Top + 2);
            G.PeerDblClick();
            G.PeerMouseUp(TMouseButton::mbLeft, 0, Cell.Left + 2, Cell.Top + 2);
            C.Visible = !C.Visible;
            break;
          }
          case 2: {
            const int Which = Random() % 3;
            Log += " menu" + std::to_string(Which);
            (Which == 0 ? F.itmHideallColumns : Which == 1 ? F.itmShowAllColumns : F.itmToggleColumnVisibility)
                ->Click();
            for (TColChoice& Each : Model) Each.Visible = Which == 1 || (Which == 2 && !Each.Visible);
            break;
          }
          case 3:
          case 4: {
            if (Col == 1) break;  // the line numbers are not summed
            const TotalKind Kind = Kinds[Random() % std::size(Kinds)];
            Log += " kind" + std::to_string(Col) + "=" + std::to_string(Kind);
            G.SetCol(Col);
            G.SetRow(2);
            ASSERT_TRUE(F.cmbColumns->Visible());
            F.cmbColumns->PeerItemChosen(Kind);
            C.Kind = Kind;
            break;
          }
          case 5: {
            if (Col == 1) break;
            const std::string Format = Formats[Random() % std::size(Formats)];
            Log += " fmt" + std::to_string(Col) + "=" + Format;
            G.SetCol(Col);
            G.SetRow(3);
            if (!F.edColumns->Visible()) Press(G, '\r');
            ASSERT_TRUE(F.edColumns->Visible());
            F.edColumns->PeerTextEdited(Format);
            Press(*F.edColumns, '\r');
            C.Format = Format;
            break;
          }
        }
      }
      SCOPED_TRACE(Log);
      const bool AnyVisible = std::any_of(Model.begin(), Model.end(), [](const TColChoice& C) { return C.Visible; });
      F.sbPrint->Click();
      if (!AnyVisible) {
        EXPECT_FALSE(std::filesystem::exists(Out()));
        EXPECT_NE(F.paMsg->Caption().find("No columns are visible."), std::string::npos) << F.paMsg->Caption();
        F.itmShowAllColumns->Click();
        for (TColChoice& Each : Model) Each.Visible = true;
        F.sbPrint->Click();
      }
      Printed = FileBytes(Out());
      bool Totals = false;
      for (int Col = 2; Col <= 4; ++Col) {
        const TColChoice& C = Model[Col - 1];
        const std::string Head = std::string("Head") + char('A' + Col - 2);
        EXPECT_EQ(Printed.find(Head) != std::string::npos, C.Visible) << Head << "\n" << Printed;
        if (!C.Visible || C.Kind == tkNone) continue;
        // A Text total without a text prints a blank totals row, which holds no text to count.
        const std::string Total = ExpectedTotal(Col - 2, C);
        Totals = Totals || !Total.empty();
        EXPECT_NE(Printed.find(Total), std::string::npos) << Total << "\n" << Printed;
      }
      EXPECT_EQ(TextRows(Printed), 1 + Rows + Totals) << Printed;
      F.sbSaveOpts->Click();
    });
    std::filesystem::remove(Out());
    // The next Print reads the saved choices into the grid and prints them alike.
    PrintWithWindow([&](TfmVlxMain& F) {
      const TColsList& Cols = *ObjInfo->ColsList;
      ASSERT_EQ(Cols.Count(), 4);
      for (int I = 0; I < 4; ++I) {
        const TColsListData& Col = *Cols.Items(I);
        const TColTotListData* Total = Col.TotList ? Col.TotList->Items(0) : nullptr;
        EXPECT_EQ(Col.Printed, Model[I].Visible) << I << Log;
        EXPECT_EQ(Total ? Total->Kind : tkNone, Model[I].Kind) << I << Log;
        if (Model[I].Kind != tkNone) {
          EXPECT_EQ(Col.TotalText, Model[I].Format) << I << Log;
        }
      }
      F.sbPrint->Click();
    });
    EXPECT_EQ(FileBytes(Out()), Printed) << Log;
  }
}

}  // namespace
