#include "engine/VLMXGbl0.h"
#include "tests/engine/AdapterFixture.h"

namespace {

using V = std::vector<std::string>;

// A grid whose data rows are Rows below a title row; with Fixed a fixed column leads. The
// fixed cells hold "h".
TStringGrid* FillGrid(TStringGrid* Grid, const std::vector<V>& Rows, bool Fixed = true) {
  const int Lead = Fixed ? 1 : 0;
  const int Cols = static_cast<int>(Rows[0].size()) + Lead;
  Grid->SetRowCount(static_cast<int>(Rows.size()) + 1);
  Grid->SetColCount(Cols);
  Grid->SetFixedCols(Lead);
  for (int R = 0; R <= static_cast<int>(Rows.size()); ++R)
    for (int C = 0; C < Cols; ++C)
      Grid->SetCells(C, R, R == 0 || C < Lead ? "h" : Rows[R - 1][C - Lead]);
  return Grid;
}

}  // namespace

TEST_F(AdapterTest, RepeatedGroupValuesAreBlankedAndMarkedAtAPageTop) {
  auto* Grid = Make<TStringGrid>("grid");
  struct Case {
    const char* Name;
    std::vector<V> Rows;
    int PageTopRow;  // row (from 0) that starts a new page; -1 none
    std::string SameValue;
    std::vector<V> Printed;  // the two group columns of each row
  };
  const Case Cases[] = {
      {"A A B B", {{"A", "x"}, {"A", "x"}, {"B", "x"}, {"B", "x"}}, -1, "",
       {{"A", "x"}, {"", ""}, {"B", "x"}, {"", ""}}},
      {"new page at a new value", {{"A", "1"}, {"A", "1"}, {"B", "1"}, {"B", "1"}}, 2, "",
       {{"A", "1"}, {"", ""}, {"B", "1"}, {"", ""}}},
      {"new page at a repeat", {{"A", "1"}, {"A", "1"}, {"A", "1"}, {"B", "2"}}, 2, "",
       {{"A", "1"}, {"", ""}, {"*A", "*1"}, {"B", "2"}}},
      {"case is ignored", {{"Smith", "a"}, {"SMITH", "a"}}, -1, "",
       {{"Smith", "a"}, {"", ""}}},
      {"outer change restarts inner", {{"A", "1"}, {"B", "1"}, {"B", "1"}}, -1, "",
       {{"A", "1"}, {"B", "1"}, {"", ""}}},
      {"same-value text", {{"A", "1"}, {"A", "2"}}, -1, "\"", {{"A", "1"}, {"\"", "2"}}},
      // Texts that look like the bookkeeping of earlier values are data like any other.
      {"tag-like data", {{"~`~", "x~^5"}, {"~`~", "x~^5"}, {"x", "x"}}, -1, "",
       {{"~`~", "x~^5"}, {"", ""}, {"x", "x"}}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    FillGrid(Grid, C.Rows, false);
    Settings->NumGrpBrkCols = 2;
    Settings->GrpBrkSameValue = C.SameValue;
    Start(Grid);
    std::vector<V> Printed;
    int Row = 0;
    ASSERT_TRUE(Info->First());
    while (!Info->EndOfRows) {
      Run->PageTop = Row++ == C.PageTopRow;
      V Texts = RowTexts(2);
      Printed.push_back({Texts[1], Texts[2]});
      Info->Next(2, false);
    }
    EXPECT_EQ(Printed, C.Printed);
  }

  // The replaced text stays known to the cell printer; the mark is flagged.
  Settings->GrpBrkSameValue = "";
  FillGrid(Grid, {{"A", "1"}, {"A", "1"}, {"A", "1"}}, false);
  Start(Grid);
  ASSERT_TRUE(Info->First());
  RowTexts(2);
  Info->Next(2, false);
  std::string Text;
  Info->GetCellText(2, Col("Col#0"), Text, false, true);
  EXPECT_EQ(Info->FieldInfo->SuppressedText, "A");
  EXPECT_FALSE(Info->FieldInfo->Repeated);
  Info->Next(2, false);
  Run->PageTop = true;
  Info->GetCellText(2, Col("Col#0"), Text, false, true);
  EXPECT_EQ(Text, "*A");
  EXPECT_TRUE(Info->FieldInfo->Repeated);
  EXPECT_EQ(Info->FieldInfo->SuppressedText, "");
}

TEST_F(AdapterTest, TitlesAndTotalsBreakLinesButDataKeepsThem) {
  auto* Grid = FillGrid(Make<TStringGrid>("grid"), {{"a|b", "c~d"}});
  Grid->SetCells(1, 0, "Unit|Price");
  Grid->SetCells(2, 0, "Qty~Sold");
  Start(Grid);
  Info->CurCell.Y = 0;
  EXPECT_EQ(RowTexts(1), (V{"#", "h", "Unit\rPrice", "Qty\rSold"}));
  Info->CurCell.Y = 1;
  EXPECT_EQ(RowTexts(2), (V{"0", "h", "a|b", "c~d"}));
  TColsListData& Column = *Info->ColsList->Items(Col("Col#1"));
  bool Changed = false;
  Column.TotList = std::make_unique<TColTotList>();
  Column.TotList->SetKind(0, tkText, Changed);
  Column.TotalText = "Sum|of 2";
  std::string Text;
  Info->GetCellText(3, Col("Col#1"), Text, false, true);
  EXPECT_EQ(Text, "Sum\rof 2");
  EXPECT_EQ(Column.HeadingFlag, 0);
  Column.TotalText = "1,234.5";
  Info->GetCellText(3, Col("Col#1"), Text, false, true);
  EXPECT_EQ(Column.HeadingFlag, 1);
}

TEST_F(AdapterTest, LineNumberColumnShowsTitleMarkCounterSampleAndTotal) {
  Start(FillGrid(Make<TStringGrid>("grid"), {{"1"}, {"2"}}));
  struct Case {
    int Level, BandRow, Counter;
    uint8_t PageMode;
    bool FieldFormat;
    std::string Text;
  };
  Info->LineNoSample = "99";
  const Case Cases[] = {
      {1, 0, 0, pmPrint, false, "#"},  // the last title line of a one-line title
      {1, -1, 0, pmPrint, false, "#"},
      {1, 1, 0, pmPrint, false, ""},
      {2, 0, 1234, pmPrint, false, "1234"},
      {2, 0, 1234, pmPrint, true, "1,234"},
      {2, 0, 1234, pmColumnScan, false, "99"},
  };
  for (const Case& C : Cases) {
    Styles->BandInfo[C.Level].RowNdx = C.BandRow;
    Run->RecordCounter = C.Counter;
    Run->PageMode = C.PageMode;
    Info->FieldFormatOn = C.FieldFormat;
    std::string Text;
    Info->GetCellText(C.Level, 0, Text, false, true);
    EXPECT_EQ(Text, C.Text) << C.Level << " " << C.BandRow;
  }
  // On a group heading line it reads the object instead, captioned when asked.
  Run->PageMode = pmPrint;
  Run->GrpHdrRow = true;
  Run->GrpHdrCaption = "Region";
  Settings->SetItemOpt(ioPrtGrpBrkHdrColDesc, true);
  Info->CurCell.Y = 1;
  std::string Text;
  Info->GetCellText(2, Col("Col#1"), Text, false, true);
  EXPECT_EQ(Text, "Region:1");
}

TEST_F(AdapterTest, DatasetCellsFormatCheckMarksAndSamples) {
  auto* DS = MakeDataSet("ds", {{"ann", 1234, true}, {"bob", Null, false}});
  Settings->SetItemOpt(ioBoolCheckMark, true);
  Start(DS);
  EXPECT_EQ(Walk(), (TRows{{"1", "ann", "1234", "x"}, {"2", "bob", "", " "}}));
  Settings->SetItemOpt(ioBoolCheckMark, false);
  Settings->MaxStringColWidTxt = 4;
  Info->FieldFormatOn = true;
  std::string Text;
  Info->GetCellText(2, Col("Name"), Text, false, false);
  EXPECT_EQ(Text, "xxxx");
  Info->GetCellText(2, Col("Qty"), Text, false, false);
  EXPECT_EQ(Text, "3,333,333,333");
  Info->GetCellText(2, Col("Paid"), Text, false, false);
  EXPECT_EQ(Text, "yes");
}

TEST_F(AdapterTest, TextSamplesAreCutToTheWidestStringAllowed) {
  Settings->OutputQuality = 0;
  ASSERT_TRUE(Settings->IsTextStyleOutput());
  Settings->MaxStringColWidTxt = 5;
  struct Case {
    int Type, Size;
    std::string Text;
  };
  for (const Case& C : {Case{ftString, 21, "xxxxx"}, Case{ftString, 3, "xx"}, Case{ftFixedChar, 0, ""}}) {
    std::string Text;
    Info->FieldTypeSample(C.Type, C.Size, Text);
    EXPECT_EQ(Text, C.Text) << C.Size;
  }
  std::string Text;
  Info->RowNumDigits = 4;
  Info->FieldFormatOn = true;
  Info->MaxDigitsSample(2, Text);
  EXPECT_EQ(Text, "2,000");
  Info->RowNumDigits = 0;
  Info->FieldFormatOn = false;
  Info->MaxDigitsSample(2, Text);
  EXPECT_EQ(Text, "2");
}

TEST_F(AdapterTest, FieldEditSeesTheCellAndMayChangeIt) {
  auto* DS = MakeDataSet("ds", {{"ann", 3, true}});
  Start(DS);
  struct Seen {
    int Band, LineNo, ColNdx, FieldNdx;
    TDataSet* Data;
    int PassMode;
    std::string Text;
  };
  std::vector<Seen> Calls;
  Info->OnFieldEdit = [&](TObject* Sender, std::string& Text, TvlxFieldInfo* FI) {
    EXPECT_EQ(Sender, Vlx.get());
    Calls.push_back({FI->Band, FI->LineNo, FI->ColNdx, FI->FieldNdx, FI->DataSet, FI->PassMode, Text});
    Text = "<" + Text + ">";
  };
  ASSERT_TRUE(Info->First());
  Styles->BandInfo[2].RowNdx = 4;
  std::string Text;
  Info->GetCellText(2, Col("Name"), Text, false, true);
  EXPECT_EQ(Text, "<ann>");
  ASSERT_EQ(Calls.size(), 1u);
  EXPECT_EQ(Calls[0].Band, 1);
  EXPECT_EQ(Calls[0].LineNo, 5);
  EXPECT_EQ(Calls[0].ColNdx, 0);
  EXPECT_EQ(Calls[0].FieldNdx, 0);
  EXPECT_EQ(Calls[0].Data, DS);
  EXPECT_EQ(Calls[0].PassMode, 1);
  // Outside the band (a heading lookup) the event is not fired.
  Styles->BandInfo[1].RowNdx = -1;
  Info->GetCellText(1, Col("Name"), Text, false, true);
  EXPECT_EQ(Text, "Name");
  EXPECT_EQ(Calls.size(), 1u);
}

TEST_F(AdapterTest, NumericCellsAddUpOncePerRowAndPageAcross) {
  auto* Grid = FillGrid(Make<TStringGrid>("grid"),
                        {{"N", "1,000", "x"}, {"S", "2.5 kg", "y"}, {"S", "", "z"}, {"E", "1-2", "w"}});
  Start(Grid);
  auto SumOf = [&](const std::string& Name) {
    TColsListData& Column = *Info->ColsList->Items(Col(Name));
    long double Value = 0;
    bool Ok = false;
    Column.TotList->Items(0)->GetResult(Value, Ok);
    return std::pair{static_cast<double>(Value), Column.TotList->Items(0)->Count};
  };
  for (const char* Name : {"Col#0", "Col#2"}) {
    bool Changed = false;
    TColsListData& Column = *Info->ColsList->Items(Col(Name));
    Column.TotList = std::make_unique<TColTotList>();
    Column.TotList->SetKind(0, tkSum, Changed);
  }
  Info->ColsList->ResetTotals(true);
  int Errors = 0;
  std::string ErrorText;
  Vlx->OnCnvtFldError = [&](TObject*, const std::string& FldStr, TvlxFieldInfo*) {
    ++Errors;
    ErrorText = FldStr;
  };
  Walk(true);
  EXPECT_EQ(SumOf("Col#2"), (std::pair{1002.5, 4}));
  EXPECT_EQ(Errors, 1);
  EXPECT_EQ(ErrorText, "1-2");

  // The second page across repeats the leading column without adding it again; a page laid out
  // before and composed again adds nothing.
  Run->FixedColCount = 2;
  Info->ColsList->ResetTotals(true);
  for (int Page : {1, 2}) {
    Run->CurPageAcross = Page;
    StartReport();
    Walk(true);
  }
  EXPECT_EQ(SumOf("Col#0").second, 4);
  EXPECT_EQ(SumOf("Col#2").second, 8);
  Run->ReRendering = true;
  Run->CurPageAcross = 1;
  StartReport();
  Walk(true);
  EXPECT_EQ(SumOf("Col#2").second, 8);
  // Nor does a line outside the data band.
  Run->ReRendering = false;
  Styles->BandInfo[2].RowNdx = -1;
  std::string Text;
  ASSERT_TRUE(Info->First());
  Info->GetCellText(2, Col("Col#2"), Text, true, true);
  EXPECT_EQ(SumOf("Col#2").second, 8);
}

TEST_F(AdapterTest, NullDatasetFieldsStayOutOfTheTotals) {
  auto* DS = MakeDataSet("ds", {{"a", 4, true}, {"b", Null, false}, {"c", 8, true}});
  Start(DS);
  TColsListData& Qty = *Info->ColsList->Items(Col("Qty"));
  bool Changed = false;
  Qty.TotList = std::make_unique<TColTotList>();
  Qty.TotList->SetKind(0, tkAverage, Changed);
  Info->ColsList->ResetTotals(true);
  Walk(true);
  long double Value = 0;
  bool Ok = false;
  Qty.TotList->Items(0)->GetResult(Value, Ok);
  EXPECT_EQ(static_cast<double>(Value), 6.0);
}
