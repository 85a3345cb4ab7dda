#include "engine/VLMXGbl0.h"
#include "tests/engine/AdapterFixture.h"

namespace {

// A grid whose data rows are Rows below a title row; with Fixed a fixed column leads. The
// fixed cells hold "h".
TStringGrid* FillGrid(TStringGrid* Grid, const std::vector<V>& Rows, bool Fixed = true) {
  const int Lead = Fixed ? 1 : 0;
  const int Cols = static_cast<int>(Rows[0].size()) + Lead;
  Grid->SetRowCount(static_cast<int>(Rows.size()) + 1);
  Grid->SetColCount(Cols);
  Grid->SetFixedCols(Lead);
  for (int R = 0; R <= static_cast<int>(Rows.size()); ++R)
    for (int C = 0; C < Cols; ++C) Grid->SetCells(C, R, R == 0 || C < Lead ? "h" : Rows[R - 1][C - Lead]);
  return Grid;
}

double Result(const TColTotListData& Total) {
  long double Value = 0;
  bool Ok = false;
  Total.GetResult(Value, Ok);
  return static_cast<double>(Value);
}

}  // namespace

TEST_F(AdapterTest, TitlesAndTotalsBreakLinesButDataKeepsThem) {
  auto* Grid = FillGrid(Make<TStringGrid>("grid"), {{"a|b", "c~d"}});
  Grid->SetCells(1, 0, "Unit|Price");
  Grid->SetCells(2, 0, "Qty~Sold");
  Start(Grid);
  Info->CurCell.Y = 0;
  EXPECT_EQ(RowTexts(1), (V{"#", "h", "Unit\rPrice", "Qty\rSold"}));
  Info->CurCell.Y = 1;
  EXPECT_EQ(RowTexts(2), (V{"0", "h", "a|b", "c~d"}));
  SetTotal("Col#1", tkText);
  TColsListData& Column = this->Column("Col#1");
  Column.TotalText = "Sum|of 2";
  EXPECT_EQ(CellText(3, "Col#1"), "Sum\rof 2");
  EXPECT_EQ(Column.HeadingFlag, 0);
  Column.TotalText = "1,234.5";
  CellText(3, "Col#1");
  EXPECT_EQ(Column.HeadingFlag, 1);
}

TEST_F(AdapterTest, LineNumberColumnShowsTitleMarkCounterSampleAndTotal) {
  Start(FillGrid(Make<TStringGrid>("grid"), {{"1"}, {"2"}}));
  Info->LineNoSample = "99";
  const struct { int Level, BandRow, Counter; TvlxPageMode PageMode; bool FieldFormat; std::string Text; } Cases[] = {
      {1, 0, 0, pmPrint, false, "#"},  // the last title line of a one-line title
      {1, -1, 0, pmPrint, false, "#"},
      {1, 1, 0, pmPrint, false, ""},
      {2, 0, 1234, pmPrint, false, "1234"},
      {2, 0, 1234, pmPrint, true, "1,234"},
      {2, 0, 1234, pmColumnScan, false, "99"},
  };
  for (const auto& C : Cases) {
    Styles->BandInfo[C.Level].RowNdx = C.BandRow;
    Run->RecordCounter = C.Counter;
    Run->PageMode = C.PageMode;
    Info->FieldFormatOn = C.FieldFormat;
    EXPECT_EQ(CellText(C.Level, "~Line#"), C.Text) << C.Level << " " << C.BandRow;
  }
}

TEST_F(AdapterTest, DatasetCellsFormatCheckMarksAndSamples) {
  Settings->SetItemOpt(ioBoolCheckMark, true);
  Start(MakeDataSet("ds", {{"ann", 1234, true}, {"bob", Null, false}}));
  EXPECT_EQ(Walk(), (TRows{{"1", "ann", "1234", "x"}, {"2", "bob", "", " "}}));
  Settings->SetItemOpt(ioBoolCheckMark, false);
  Settings->MaxStringColWidTxt = 4;
  Info->FieldFormatOn = true;
  EXPECT_EQ(CellText(2, "Name", false, false), "xxxx");
  EXPECT_EQ(CellText(2, "Qty", false, false), "3,333,333,333");
  EXPECT_EQ(CellText(2, "Paid", false, false), "yes");
}

TEST_F(AdapterTest, FieldEditSeesTheCellAndMayChangeIt) {
  auto* DS = MakeDataSet("ds", {{"ann", 3, true}});
  Start(DS);
  V Calls;
  Info->OnFieldEdit = [&](TObject* Sender, std::string& Text, TvlxFieldInfo* FI) {
    EXPECT_EQ(Sender, Vlx.get());
    EXPECT_EQ(FI->DataSet, DS);
    Calls.push_back(Text + " band " + std::to_string(FI->Band) + " line " + std::to_string(FI->LineNo) + " col " +
                    std::to_string(FI->ColNdx) + " field " + std::to_string(FI->FieldNdx) + " pass " +
                    std::to_string(FI->PassMode));
    Text = "<" + Text + ">";
  };
  ASSERT_TRUE(Info->First());
  Styles->BandInfo[bnData].RowNdx = 4;
  EXPECT_EQ(CellText(2, "Name"), "<ann>");
  // Outside the band (a heading lookup) the event is not fired.
  Styles->BandInfo[bnTitles].RowNdx = -1;
  EXPECT_EQ(CellText(1, "Name"), "Name");
  EXPECT_EQ(Calls, (V{"ann band 1 line 5 col 0 field 0 pass 1"}));
}

TEST_F(AdapterTest, NumericCellsAddUpAndABadOneIsReportedOnEveryRead) {
  Start(FillGrid(Make<TStringGrid>("grid"), {{"N", "1,000", "x"}, {"S", "2.5 kg", "y"}, {"S", "", "z"}, {"E", "1-2", "w"}}));
  TColTotListData& Amount = SetTotal("Col#2", tkSum);
  Info->ColsList->ResetTotals(true);
  V Errors;
  Vlx->OnCnvtFldError = [&](TObject*, const std::string& FldStr, TvlxFieldInfo*) { Errors.push_back(FldStr); };
  Walk(true);
  EXPECT_EQ(Result(Amount), 1002.5);
  EXPECT_EQ(Amount.Count, 3);  // the blank cell is not a value
  EXPECT_EQ(Errors, V{"1-2"});
  // A read that adds nothing up (a row's height, a group-break test) still reports a bad value.
  Walk();
  EXPECT_EQ(Errors, (V{"1-2", "1-2"}));
}

TEST_F(AdapterTest, NullFieldsAndBlankCellsStayOutOfTheTotals) {
  auto* DS = MakeDataSet("ds", {{"a", 4, true}, {"b", Null, false}, {"c", 8, true}});
  auto* Grid = FillGrid(Make<TStringGrid>("grid"), {{"4"}, {"  "}, {"8"}});
  for (auto [Object, Name] : {std::pair<TComponent*, const char*>{DS, "Qty"}, {Grid, "Col#1"}}) {
    for (auto [Kind, Expected] : {std::pair{tkCount, 2.0}, {tkAverage, 6.0}, {tkSum, 12.0}}) {
      Start(Object);
      TColTotListData& Total = SetTotal(Name, Kind);
      Info->ColsList->ResetTotals(true);
      Walk(true);
      EXPECT_EQ(Result(Total), Expected) << Name << " " << TotalKindNames[Kind];
    }
  }
}

TEST_F(AdapterTest, LargeIntegersTotalToTheLastDigit) {
  const struct { V Values; const char *General, *Digits; } Cases[] = {
      {{"9007199254740992", "1"}, "9.00719925474099E15", "9007199254740993"},
      {{"12345678901234567", "1"}, "1.23456789012346E16", "12345678901234568"},
  };
  for (const auto& C : Cases) {
    Start(FillGrid(Make<TStringGrid>(std::string("grid") + C.Digits), {{C.Values[0]}, {C.Values[1]}}));
    SetTotal("Col#1", tkSum);
    Info->ColsList->ResetTotals(true);
    Walk(true);
    std::string Text;
    // The general format shows fifteen digits; a format that asks for all of them gets them.
    Info->ColsList->GetTotalText(Col("Col#1"), Info->FieldFormatOn, Text);
    EXPECT_EQ(Text, C.General);
    Info->FieldFormatOn = true;
    Column("Col#1").TotalText = "%.0f";
    Info->ColsList->GetTotalText(Col("Col#1"), Info->FieldFormatOn, Text);
    EXPECT_EQ(Text, C.Digits);
  }
}
