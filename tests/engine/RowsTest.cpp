#include "engine/VLMXGbl0.h"
#include "tests/engine/AdapterFixture.h"

namespace {

// The first printed column after the line number, of every row.
V FirstCells(const TRows& Rows) {
  V Out;
  for (const auto& Row : Rows) Out.push_back(Row.size() > 1 ? Row[1] : "");
  return Out;
}

}  // namespace

TEST_F(AdapterTest, EveryPrintSourceWalksEndToEnd) {
  auto* DS = MakeDataSet("ds", {{"ann", 3, true}, {"bob", 1, false}});
  auto* Table = MakeDataSet<TTable>("tbl", {{"zed", 1, true}, {"amy", 2, false}});
  Table->SetIndexFieldNames("Name");
  auto* Query = MakeDataSet<TQuery>("qry", {{"q1", 7, true}});
  auto* DBGrid = MakeDBGrid(DS);
  DBGrid->Columns().Add()->SetFieldName("Qty");
  DBGrid->Columns().Add()->SetFieldName("Name");
  auto* View = MakeList<TListView>("lv", {"a.txt", "b.txt"});
  View->SetViewStyle(vsReport);
  for (const char* S : {"Name", "Size", "Kind"}) View->Columns().Add()->SetCaption(S);
  for (int I : {0, 1}) View->Items()[I]->SubItems().Add(std::to_string(I + 1));
  auto* Owner = Make<TListView>("lvo");
  Owner->SetViewStyle(vsReport);
  Owner->Columns().Add()->SetCaption("N");
  Owner->Columns().Add()->SetCaption("Sq");
  Owner->SetOwnerData(true);
  Owner->OnData = [](TObject*, TListItem* Item) {
    Item->SetCaption("n" + std::to_string(Item->Index()));
    Item->SubItems().Clear();
    Item->SubItems().Add(std::to_string(Item->Index() * Item->Index()));
  };
  Owner->Items().SetCount(4);

  const struct { TComponent* Object; V Titles; TRows Rows; } Cases[] = {
      {MakeGrid(3, 3), {"#", "c0r0", "c1r0", "c2r0"}, {{"1", "c0r1", "c1r1", "c2r1"}, {"2", "c0r2", "c1r2", "c2r2"}}},
      {DBGrid, {"#", "Qty", "Name"}, {{"1", "3", "ann"}, {"2", "1", "bob"}}},
      {Table, {"#", "Name", "Qty", "Paid"}, {{"1", "amy", "2", "False"}, {"2", "zed", "1", "True"}}},
      {Query, {"#", "Name", "Qty", "Paid"}, {{"1", "q1", "7", "True"}}},
      {DS, {"#", "Name", "Qty", "Paid"}, {{"1", "ann", "3", "True"}, {"2", "bob", "1", "False"}}},
      {MakeList<TListBox>("lbx", {" one ", "two"}), {"#", "one"}, {{"1", "one"}, {"2", "two"}}},
      {View, {"#", "Name", "Size", "Kind"}, {{"1", "a.txt", "1", ""}, {"2", "b.txt", "2", ""}}},
      {Owner, {"#", "N", "Sq"}, {{"1", "n0", "0"}, {"2", "n1", "1"}, {"3", "n2", "4"}, {"4", "n3", "9"}}},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Object->Name());
    Start(C.Object);
    Info->CurCell = {Info->CurCell.X, Info->Origin.Y};
    Styles->BandInfo[1].RowNdx = Info->FixedRows - 1;
    EXPECT_EQ(RowTexts(1), C.Titles);
    EXPECT_EQ(Walk(), C.Rows);
    EXPECT_TRUE(Info->EndOfRows);
    EXPECT_EQ(Styles->BandInfo[2].RowNdx, static_cast<int>(C.Rows.size()));
  }

  // The cross-tab's total line and column print while their dimensions show subtotals.
  auto* CubeSource = Make<TDecisionSource>("dsrc");
  CubeSource->SetDimensions({"Region"}, {"Year"}, "Sales");
  CubeSource->AddValue({"N"}, {"2020"}, 5);
  CubeSource->AddValue({"S"}, {"2020"}, 7);
  auto* Cube = Make<TDecisionGrid>("dg");
  Cube->SetDecisionSource(CubeSource);
  Settings->HideColumns = "0";  // a decision grid never reads it
  Start(Cube);
  EXPECT_EQ(Walk(), (TRows{{"N", "5", "5"}, {"S", "7", "7"}, {"Total", "12", "12"}}));
  CubeSource->Dimension(TDimAxis::Rows, 0).SetSubtotals(false);
  CubeSource->Dimension(TDimAxis::Columns, 0).SetSubtotals(false);
  Start(Cube);
  EXPECT_EQ(Walk(), (TRows{{"N", "5"}, {"S", "7"}}));
}

TEST_F(AdapterTest, FilterSkipsRowsWithoutCountingThemAndCanEndTheReport) {
  auto* DS = MakeDataSet("ds", {{"a", 1, true}, {"b", 2, false}, {"c", 3, true}, {"d", 4, false}});
  auto* Grid = MakeGrid(2, 5);
  const struct {
    const char* Name;
    std::function<void(const std::string&, bool&, bool&)> Filter;
    V Printed;
  } Cases[] = {
      {"all rejected", [](const std::string&, bool& Accept, bool&) { Accept = false; }, {}},
      {"odd rejected",
       [](const std::string& N, bool& Accept, bool&) { Accept = N != "a" && N != "c" && N != "c1r1" && N != "c1r3"; },
       {"b", "d"}},
      {"stop at third", [](const std::string& N, bool&, bool& Stop) { Stop = N == "c" || N == "c1r3"; }, {"a", "b"}},
      {"stop at once", [](const std::string&, bool&, bool& Stop) { Stop = true; }, {}},
  };
  for (TComponent* Object : {static_cast<TComponent*>(DS), static_cast<TComponent*>(Grid)}) {
    for (const auto& C : Cases) {
      SCOPED_TRACE(C.Name);
      Start(Object);
      Info->OnFilterRecord = [&](TObject* Sender, TDataSet* Data, int, bool& Accept, bool& Stop) {
        EXPECT_EQ(Sender, Vlx.get());
        EXPECT_EQ(Data, Object == DS ? DS : nullptr);
        EXPECT_TRUE(Accept);
        EXPECT_FALSE(Stop);
        C.Filter(Object == DS ? DS->FieldByName("Name")->AsString() : Grid->Cells(1, Info->CurCell.Y), Accept, Stop);
      };
      V Printed;
      for (const auto& Row : Walk()) Printed.push_back(Row[Object == DS ? 1 : 2]);
      V Expected = C.Printed;
      if (Object == Grid)
        for (auto& S : Expected) S = S == "a" ? "c1r1" : S == "b" ? "c1r2" : "c1r4";
      EXPECT_EQ(Printed, Expected);
      EXPECT_EQ(Run->RecordCounter, static_cast<int>(Expected.size()));
      EXPECT_EQ(Styles->BandInfo[2].RowNdx, static_cast<int>(Expected.size()));
      EXPECT_TRUE(Info->EndOfRows);
    }
  }
}

TEST_F(AdapterTest, AnEmptySourcePrintsNoRow) {
  for (bool Count : {true, false}) {
    Settings->CountNumRcds = Count;
    Start(MakeDataSet("ds" + std::to_string(Count), {}));
    EXPECT_TRUE(Walk().empty());
    EXPECT_TRUE(Info->EndOfRows);
    EXPECT_EQ(Run->RecordCounter, 0);
  }
  // A grid whose only text is in its title row, trimmed, and a list without lines.
  Settings->SetItemOpt(ioTrimGridDim, true);
  Start(MakeGrid(3, 4, [](int, int R) { return R == 0 ? std::string("title") : std::string(); }));
  EXPECT_EQ(Info->RowCount, 1);
  EXPECT_TRUE(Walk().empty());
  Start(Make<TListBox>("lbx"));
  EXPECT_FALSE(Info->First());
  EXPECT_EQ(Info->CurCell, (TPoint{-1, -1}));
}

TEST_F(AdapterTest, CurrentPageStartsWhereTheUserIs) {
  Settings->PrintWhat = pwCurrentPage;
  auto* Grid = MakeGrid(2, 60);
  Grid->SetTopRow(40);
  Start(Grid);
  ASSERT_TRUE(Info->First());
  EXPECT_EQ(Info->CurCell, (TPoint{1, 40}));

  auto* View = MakeList<TListView>("lv", {"a", "b", "c"});
  View->SetItemFocused(View->Items()[2]);
  Start(View);
  ASSERT_TRUE(Info->First());
  EXPECT_EQ(Info->CurCell, (TPoint{0, 0}));

  auto* List = MakeList<TListBox>("lbx", {"a", "b", "c"});
  Start(List);
  EXPECT_EQ(FirstCells(Walk()), (V{"a", "b", "c"}));  // no current line: from the first
  List->SetItemIndex(1);
  Start(List);
  EXPECT_EQ(FirstCells(Walk()), (V{"b", "c"}));

  auto* DS = MakeDataSet("ds", {{"a", 1, true}, {"b", 2, false}, {"c", 3, true}});
  DS->Next();
  Start(DS);
  DS->First();  // moved after the run began: the walk starts at the saved record
  EXPECT_EQ(FirstCells(Walk()), (V{"b", "c"}));
}

TEST_F(AdapterTest, SelectedRowsOfEveryKind) {
  Settings->PrintWhat = pwSelectedRows;
  // The selected block's rows, its columns and the fixed ones.
  auto* Grid = MakeGrid(4, 8);
  Grid->SetSelection({1, 3, 2, 5});
  Start(Grid);
  EXPECT_EQ(Info->SelRowCount, 3);
  EXPECT_EQ(Walk(), (TRows{{"1", "c0r3", "c1r3", "c2r3"}, {"2", "c0r4", "c1r4", "c2r4"}, {"3", "c0r5", "c1r5", "c2r5"}}));

  auto* List = MakeList<TListBox>("lbx", {"a", "b", "c", "d"});
  List->SetMultiSelect(true);
  List->SetSelected(1, true);
  List->SetSelected(3, true);
  Start(List);
  EXPECT_EQ(Info->SelRowCount, 2);
  EXPECT_EQ(FirstCells(Walk()), (V{"b", "d"}));

  auto* View = MakeList<TListView>("lv", {"a", "b", "c", "d"});
  View->SetMultiSelect(true);
  View->Items()[0]->SetSelected(true);
  View->Items()[2]->SetSelected(true);
  Start(View);
  EXPECT_EQ(Info->SelRowCount, 2);
  EXPECT_EQ(FirstCells(Walk()), (V{"a", "c"}));

  auto* DS = MakeDataSet("ds", {{"a", 1, true}, {"b", 2, false}, {"c", 3, true}, {"d", 4, false}});
  auto* DBGrid = MakeDBGrid(DS);
  DBGrid->SetOptions(DBGrid->Options() | dgMultiSelect);
  for (int Rec : {2, 3, 4}) {
    DS->SetRecNo(Rec);
    DBGrid->SelectedRows().SetCurrentRowSelected(true);
  }
  DS->SetRecNo(3);
  DS->Delete();  // a picked record gone since: skipped
  Start(DBGrid);
  EXPECT_EQ(Info->SelRowCount, 3);
  EXPECT_EQ(FirstCells(Walk()), (V{"b", "d"}));

  Settings->PrintWhat = pwAll;
  Start(List);
  EXPECT_EQ(Info->SelRowCount, 0);
  EXPECT_EQ(FirstCells(Walk()), (V{"a", "b", "c", "d"}));
}

TEST_F(AdapterTest, MovingToTheLastRowEndsEvenWhenTheFilterRejectsIt) {
  auto* List = MakeList<TListBox>("lbx", {"a", "b", "c"});
  Start(List);
  ASSERT_TRUE(Info->First());
  Info->OnFilterRecord = [](TObject*, TDataSet*, int, bool& Accept, bool&) { Accept = false; };
  Info->Next(2, true);
  EXPECT_TRUE(Info->EndOfRows);
  Start(List);
  ASSERT_TRUE(Info->First());
  Info->Next(2, true);
  EXPECT_FALSE(Info->EndOfRows);
  EXPECT_EQ(Info->CurCell.Y, 2);
}

TEST_F(AdapterTest, OwnerDataListViewScrollsToTheRowBeingRead) {
  auto* View = Make<TListView>("lv");
  View->SetViewStyle(vsReport);
  View->Columns().Add();
  View->SetOwnerData(true);
  View->OnData = [](TObject*, TListItem* Item) { Item->SetCaption(std::to_string(Item->Index())); };
  View->Items().SetCount(100);
  View->PeerScrolled(0, 10, 17);
  Start(View);
  const TRows Rows = Walk();
  ASSERT_EQ(Rows.size(), 100u);
  EXPECT_EQ(Rows[99][1], "99");
  EXPECT_GE(View->TopIndex() + 10, 99);
}
