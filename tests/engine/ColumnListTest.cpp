#include <chrono>

#include "engine/VLMXGbl0.h"
#include "tests/engine/AdapterFixture.h"

namespace {

// The name of every entry, in list order, ":hidden" after those not printed.
V Entries(const TColsList& List) {
  V Out;
  for (int I = 0; I < List.Count(); ++I)
    Out.push_back(List.Items(I)->FieldName + (List.Items(I)->Printed ? "" : ":hidden"));
  return Out;
}

}  // namespace

TEST_F(AdapterTest, LineNumberColumnLeadsAndHideColumnsIsTrimmedAndCaseBlind) {
  Start(MakeGrid(4, 3));
  EXPECT_EQ(Entries(*Info->ColsList), (V{"~Line#", "Col#0", "Col#1", "Col#2", "Col#3"}));
  EXPECT_EQ(Info->ColsList->Items(0)->DataType, ftInteger);
  EXPECT_EQ(Info->ColsList->Items(0)->Alignment, 1);
  // A list of 100,000 names is read once per column, not once per name per column: the
  // bound is generous, reading it anew for every name took hours.
  std::string Long;
  for (int I = 0; I < 100000; ++I) Long += "Other" + std::to_string(I) + ", ";
  for (auto [Hide, Expected] : {std::pair<std::string, V>{Long + "COL#3", {"~Line#", "Col#0", "Col#1", "Col#2", "Col#3:hidden"}},
                                {" Col#2 , ~LINE#", {"~Line#:hidden", "Col#0", "Col#1", "Col#2:hidden", "Col#3"}},
                                {"col#0,,Col#1", {"~Line#", "Col#0:hidden", "Col#1", "Col#2", "Col#3"}},
                                {"", {"~Line#", "Col#0", "Col#1", "Col#2", "Col#3"}}}) {
    Settings->HideColumns = Hide;
    const auto Started = std::chrono::steady_clock::now();
    Info->ResetColumns(true, true);
    EXPECT_LT(std::chrono::steady_clock::now() - Started, std::chrono::seconds(10)) << Hide.size();
    EXPECT_EQ(Entries(*Info->ColsList), Expected) << Hide.substr(0, 40);
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
  EXPECT_EQ(Entries(*Info->ColsList), (V{"~Line#", "Name", "Notes", "Amount"}));
  const TColsListData& Amount = Column("Amount");
  EXPECT_EQ(Amount.FieldNdx, 4);
  EXPECT_EQ(Amount.DataType, ftCurrency);
  EXPECT_EQ(Amount.Alignment, 1);
  EXPECT_EQ(Column("Name").DataSize, 12);

  // A rebuild keeps what is there and slots a new column in before the higher ones.
  Column("Name").TotalText = "kept";
  Info->ColsList->Delete(2);
  DS->FieldByName("Secret")->SetVisible(true);
  int Count = Info->ColCount;
  Info->BuildColList(Count, false);
  EXPECT_EQ(Entries(*Info->ColsList), (V{"~Line#", "Name", "Notes", "Secret", "Amount"}));
  EXPECT_EQ(Column("Name").TotalText, "kept");
}

TEST_F(AdapterTest, OrderByListComesFromTheQueryText) {
  const std::pair<V, std::string> Cases[] = {
      {{"select * from T order by A, B"}, "A, B"},
      {{"select *", "from T", "ORDER   BY", "  Name,  City DESC"}, "Name, City DESC"},
      {{"select * from T ORDER BY X DESC HAVING"}, "X DESC"},
      {{"select * from T order by A where B = 1"}, "A"},
      {{"select * from T"}, ""},
      {{}, ""},
  };
  for (const auto& [Lines, Expected] : Cases) {
    TStringList SQL;
    for (const auto& L : Lines) SQL.Add(L);
    EXPECT_EQ(TSQLParse::GetOrderBy(SQL), Expected);
  }
}

TEST_F(AdapterTest, SortFieldsOfTablesQueriesAndTheGridsOverThem) {
  auto* Table = MakeDataSet<TTable>("tbl", {});
  Table->SetIndexFieldNames("Name;Qty");
  auto* Query = MakeDataSet<TQuery>("qry", {});
  Query->Close();
  Query->SQL().Clear();
  Query->SQL().Add("select * from T order by Name, Qty DESC");
  Query->Open();
  auto* Grid = MakeDBGrid(Table);
  const struct { TComponent* Object; TDataSet* Behind; std::string Fields; int Count; bool SortedBySQL; } Cases[] = {
      {Table, nullptr, "Name,Qty", 2, false},
      {Query, nullptr, "Name, Qty DESC", 2, true},
      {Grid, Table, "Name;Qty", 1, false},
      {Grid, Query, "Name, Qty DESC", 2, true},
      {MakeList<TListBox>("lbx", {"a"}), nullptr, "", 0, false},
  };
  for (const auto& C : Cases) {
    if (C.Behind) Grid->DataSource()->SetDataSet(C.Behind);
    Setup(C.Object);
    Info->GetSortFields();
    EXPECT_EQ(Info->SortFields, C.Fields);
    EXPECT_EQ(Info->SortFieldCount, C.Count);
    EXPECT_EQ(Info->SortedBySQL, C.SortedBySQL);
  }
}

TEST_F(AdapterTest, ColumnsEditorReadsHeadingsWithoutMovingTheWalk) {
  Start(MakeGrid(3, 4));
  Styles->BandInfo[bnTitles].RowNdx = 5;
  Info->CurCell = {2, 3};
  const std::tuple<bool, int, std::string> Cases[] = {
      {false, -1, "Column Name"}, {true, -1, "Field Name"}, {false, 0, "#"}, {false, 2, "c1r0"}, {true, 2, "Col#1"}};
  for (const auto& [ByName, Index, Expected] : Cases) {
    std::string Text;
    Info->GetColHeading(ByName, Index, Text);
    EXPECT_EQ(Text, Expected);
  }
  EXPECT_EQ(Styles->BandInfo[bnTitles].RowNdx, 5);
  EXPECT_EQ(Info->CurCell, (TPoint{2, 3}));
}
