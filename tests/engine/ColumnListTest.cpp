#include "engine/VLMXGbl0.h"
#include "tests/engine/AdapterFixture.h"

namespace {

std::string CellName(int C, int R) { return "c" + std::to_string(C) + "r" + std::to_string(R); }

// "name:printed" of every entry, in list order.
std::vector<std::string> Entries(const TColsList& List) {
  std::vector<std::string> Out;
  for (int I = 0; I < List.Count(); ++I)
    Out.push_back(List.Items(I)->FieldName + (List.Items(I)->Printed ? "" : ":hidden"));
  return Out;
}

TStringList Lines(std::initializer_list<const char*> Texts) {
  TStringList L;
  for (const char* T : Texts) L.Add(T);
  return L;
}

}  // namespace

TEST_F(AdapterTest, LineNumberColumnLeadsAndHideColumnsIsTrimmedAndCaseBlind) {
  Start(MakeGrid(4, 3, CellName));
  using V = std::vector<std::string>;
  EXPECT_EQ(Entries(*Info->ColsList), (V{"~Line#", "Col#0", "Col#1", "Col#2", "Col#3"}));
  const TColsListData& LineNo = *Info->ColsList->Items(0);
  EXPECT_EQ(LineNo.ColKind, 1);
  EXPECT_EQ(LineNo.SourceColNdx, -1);
  EXPECT_EQ(LineNo.DataType, ftInteger);
  EXPECT_EQ(LineNo.Alignment, 1);

  struct Case {
    const char* Hide;
    V Expected;
  };
  const Case Cases[] = {
      {" Col#2 , ~LINE#", {"~Line#:hidden", "Col#0", "Col#1", "Col#2:hidden", "Col#3"}},
      {"col#0,,Col#1", {"~Line#", "Col#0:hidden", "Col#1", "Col#2", "Col#3"}},
      {"", {"~Line#", "Col#0", "Col#1", "Col#2", "Col#3"}},
  };
  for (const Case& C : Cases) {
    Settings->HideColumns = C.Hide;
    Info->ResetColumns(true, true);
    EXPECT_EQ(Entries(*Info->ColsList), C.Expected) << C.Hide;
  }

  // Extra line-number columns go; one stays, and the pair leaves exactly one, in front.
  Info->AddOrRefreshCol(3, "~Line#", 1, 1, 4, ftInteger, "#");
  Info->AddOrRefreshCol(9, "~Line#", 1, 1, 4, ftInteger, "#");
  ASSERT_EQ(Info->ColsList->Count(), 7);
  EXPECT_TRUE(Info->LineNoColumn(false, -1, 0));
  EXPECT_EQ(Entries(*Info->ColsList), (V{"~Line#:hidden", "Col#0", "Col#1", "Col#2", "Col#3"}));
  EXPECT_FALSE(Info->LineNoColumn(true, 0, 1));
  EXPECT_EQ(Entries(*Info->ColsList), (V{"~Line#", "Col#0", "Col#1", "Col#2", "Col#3"}));
  Info->ColsList->Delete(0);
  EXPECT_TRUE(Info->LineNoColumn(true, 0, 1));
  EXPECT_EQ(Info->ColsList->Items(0)->FieldName, "~Line#");

  // A decision grid never reads HideColumns.
  auto* Source = Make<TDecisionSource>("dsrc");
  Source->SetDimensions({"Region"}, {"Year"}, "Sales");
  Source->AddValue({"N"}, {"2020"}, 1);
  auto* Cube = Make<TDecisionGrid>("dg");
  Cube->SetDecisionSource(Source);
  Settings->HideColumns = "0";
  Start(Cube);
  EXPECT_TRUE(Info->IsColSelected("0", false));
  EXPECT_FALSE(Info->IsColSelected("~Line#", false));
}

TEST_F(AdapterTest, DatasetColumnsLeaveOutHiddenAndBinaryFields) {
  auto* DS = Make<TDataSet>("ds");
  DS->FieldDefs().Add("Name", ftString, 12);
  DS->FieldDefs().Add("Photo", ftGraphic);
  DS->FieldDefs().Add("Notes", ftMemo);
  DS->FieldDefs().Add("Secret", ftInteger);
  DS->FieldDefs().Add("Amount", ftCurrency);
  DS->Open();
  DS->FieldByName("Secret")->SetVisible(false);
  DS->FieldByName("Amount")->SetAlignment(TAlignment::taRightJustify);
  Start(DS);
  using V = std::vector<std::string>;
  EXPECT_EQ(Entries(*Info->ColsList), (V{"~Line#", "Name", "Notes", "Amount"}));
  const TColsListData& Amount = *Info->ColsList->Items(3);
  EXPECT_EQ(Amount.ColKind, 4);
  EXPECT_EQ(Amount.FieldNdx, 4);
  EXPECT_EQ(Amount.SourceColNdx, 4);
  EXPECT_EQ(Amount.DataType, ftCurrency);
  EXPECT_EQ(Amount.Alignment, 1);
  EXPECT_EQ(Info->ColsList->Items(1)->DataSize, 12);

  // A rebuild keeps what is there and slots a new column in before the higher ones.
  Info->ColsList->Items(1)->TotalText = "kept";
  Info->ColsList->Delete(2);
  DS->FieldByName("Secret")->SetVisible(true);
  int Count = Info->ColCount;
  Info->BuildColList(Count, false);
  EXPECT_EQ(Entries(*Info->ColsList), (V{"~Line#", "Name", "Notes", "Secret", "Amount"}));
  EXPECT_EQ(Info->ColsList->Items(1)->TotalText, "kept");
}

TEST_F(AdapterTest, GridColumnsScannedAsNumbersBecomeRightAlignedNumbers) {
  auto* Grid = Make<TStringGrid>("grid");
  Grid->SetColCount(4);
  Grid->SetRowCount(4);
  const char* Rows[][4] = {
      {"", "Int", "Float", "Text"}, {"", "1", "1", "1"}, {"", "2", "2.5", "two"}, {"", "3", "3", "3"}};
  for (int R = 0; R < 4; ++R)
    for (int C = 0; C < 4; ++C) Grid->SetCells(C, R, Rows[R][C]);
  Start(Grid);
  Run->PageMode = pmColumnScan;
  Walk();
  Info->DefaultAlignments();
  struct Case {
    const char* Name;
    int DataType, Alignment;
  };
  for (const Case& C : {Case{"Col#1", ftInteger, 1}, Case{"Col#2", ftFloat, 1}, Case{"Col#3", ftString, 0}}) {
    const TColsListData& Column = *Info->ColsList->Items(Col(C.Name));
    EXPECT_EQ(Column.DataType, C.DataType) << C.Name;
    EXPECT_EQ(Column.Alignment, C.Alignment) << C.Name;
  }
}

TEST_F(AdapterTest, OrderByListComesFromTheQueryText) {
  struct Case {
    TStringList SQL;
    std::string Expected;
  };
  const Case Cases[] = {
      {Lines({"select * from T order by A, B"}), "A, B"},
      {Lines({"select *", "from T", "ORDER   BY", "  Name,  City DESC"}), "Name, City DESC"},
      {Lines({"select * from T ORDER BY X DESC HAVING"}), "X DESC"},
      {Lines({"select * from T order by A where B = 1"}), "A"},
      {Lines({"select * from T"}), ""},
      {Lines({}), ""},
  };
  for (const Case& C : Cases) EXPECT_EQ(TSQLParse::GetOrderBy(C.SQL), C.Expected);
}

TEST_F(AdapterTest, SortFieldsOfTablesQueriesAndTheGridsOverThem) {
  auto* Table = MakeDataSet<TTable>("tbl", {});
  Table->SetIndexFieldNames("Name;Qty");
  auto* Query = MakeDataSet<TQuery>("qry", {});
  Query->Close();
  Query->SQL().Clear();
  Query->SQL().Add("select * from T order by Name, Qty DESC");
  Query->Open();
  auto* Source = Make<TDataSource>("src");
  auto* Grid = Make<TDBGrid>("dbg");
  Grid->SetDataSource(Source);
  auto* List = Make<TListBox>("lbx");
  List->AddItem("a");

  struct Case {
    TComponent* Object;
    TDataSet* Behind;
    std::string Fields;
    int Count;
  };
  const Case Cases[] = {
      {Table, nullptr, "Name,Qty", 2},
      {Query, nullptr, "Name, Qty DESC", 2},
      {Grid, Table, "Name;Qty", 1},
      {Grid, Query, "Name, Qty DESC", 2},
      {List, nullptr, "", 0},
  };
  for (const Case& C : Cases) {
    if (C.Behind) Source->SetDataSet(C.Behind);
    Vlx->SetObjectToPrint(C.Object);
    Info->Setup();
    Info->GetSortFields();
    EXPECT_EQ(Info->SortFields, C.Fields);
    EXPECT_EQ(Info->SortFieldCount, C.Count);
  }
}

TEST_F(AdapterTest, ColumnsEditorReadsHeadingsWithoutMovingTheWalk) {
  Start(MakeGrid(3, 4, CellName));
  Styles->BandInfo[1].RowNdx = 5;
  Info->CurCell = {2, 3};
  struct Case {
    bool ByName;
    int Index;
    std::string Text;
  };
  const Case Cases[] = {{false, -1, "Column Name"}, {true, -1, "Field Name"}, {false, 0, "#"},
                        {false, 2, "c1r0"},         {true, 2, "Col#1"}};
  for (const Case& C : Cases) {
    std::string Text;
    Info->GetColHeading(C.ByName, C.Index, Text);
    EXPECT_EQ(Text, C.Text);
  }
  EXPECT_EQ(Styles->BandInfo[1].RowNdx, 5);
  EXPECT_EQ(Info->CurCell, (TPoint{2, 3}));
}
