#include "engine/VLMXGbl0.h"
#include "tests/engine/AdapterFixture.h"

namespace {

std::string CellName(int C, int R) { return "c" + std::to_string(C) + "r" + std::to_string(R); }

// The first printed column after the line number, of every row.
std::vector<std::string> FirstCells(const TRows& Rows) {
  std::vector<std::string> Out;
  for (const auto& Row : Rows) Out.push_back(Row.size() > 1 ? Row[1] : "");
  return Out;
}

using V = std::vector<std::string>;

}  // namespace

TEST_F(AdapterTest, EveryPrintSourceWalksEndToEnd) {
  auto* DS = MakeDataSet("ds", {{"ann", 3, true}, {"bob", 1, false}});
  auto* Table = MakeDataSet<TTable>("tbl", {{"zed", 1, true}, {"amy", 2, false}});
  Table->SetIndexFieldNames("Name");
  auto* Query = MakeDataSet<TQuery>("qry", {{"q1", 7, true}});
  auto* Source = Make<TDataSource>("src");
  Source->SetDataSet(DS);
  auto* DBGrid = Make<TDBGrid>("dbg");
  DBGrid->SetDataSource(Source);
  DBGrid->Columns().Add()->SetFieldName("Qty");
  DBGrid->Columns().Add()->SetFieldName("Name");
  auto* List = Make<TListBox>("lbx");
  for (const char* S : {" one ", "two"}) List->AddItem(S);
  auto* View = Make<TListView>("lv");
  View->SetViewStyle(vsReport);
  for (const char* S : {"Name", "Size", "Kind"}) View->Columns().Add()->SetCaption(S);
  for (auto [Name, Size] : {std::pair{"a.txt", "1"}, std::pair{"b.txt", "2"}}) {
    TListItem* Item = View->Items().Add();
    Item->SetCaption(Name);
    Item->SubItems().Add(Size);
  }
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
  auto* CubeSource = Make<TDecisionSource>("dsrc");
  CubeSource->SetDimensions({"Region"}, {"Year"}, "Sales");
  CubeSource->AddValue({"N"}, {"2020"}, 5);
  CubeSource->AddValue({"S"}, {"2020"}, 7);
  auto* Cube = Make<TDecisionGrid>("dg");
  Cube->SetDecisionSource(CubeSource);

  struct Case {
    TComponent* Object;
    V Titles;
    TRows Rows;
  };
  const Case Cases[] = {
      {MakeGrid(3, 3, CellName),
       {"#", "c0r0", "c1r0", "c2r0"},
       {{"1", "c0r1", "c1r1", "c2r1"}, {"2", "c0r2", "c1r2", "c2r2"}}},
      {DBGrid, {"#", "Qty", "Name"}, {{"1", "3", "ann"}, {"2", "1", "bob"}}},
      {Table, {"#", "Name", "Qty", "Paid"}, {{"1", "amy", "2", "False"}, {"2", "zed", "1", "True"}}},
      {Query, {"#", "Name", "Qty", "Paid"}, {{"1", "q1", "7", "True"}}},
      {DS, {"#", "Name", "Qty", "Paid"}, {{"1", "ann", "3", "True"}, {"2", "bob", "1", "False"}}},
      {List, {"#", "one"}, {{"1", "one"}, {"2", "two"}}},
      {View, {"#", "Name", "Size", "Kind"}, {{"1", "a.txt", "1", ""}, {"2", "b.txt", "2", ""}}},
      {Owner, {"#", "N", "Sq"}, {{"1", "n0", "0"}, {"2", "n1", "1"}, {"3", "n2", "4"}, {"4", "n3", "9"}}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Object->Name());
    Start(C.Object);
    Info->CurCell = {Info->CurCell.X, Info->Origin.Y};
    Styles->BandInfo[1].RowNdx = Info->FixedRows - 1;
    EXPECT_EQ(RowTexts(1), C.Titles);
    EXPECT_EQ(Walk(), C.Rows);
    EXPECT_TRUE(Info->EndOfRows);
    EXPECT_EQ(Styles->BandInfo[2].RowNdx, static_cast<int>(C.Rows.size()));
  }

  // The cross-tab: its heading column and data columns, its total line and column while
  // their dimensions show subtotals.
  Start(Cube);
  EXPECT_EQ(Walk(), (TRows{{"N", "5", "5"}, {"S", "7", "7"}, {"Total", "12", "12"}}));
  CubeSource->Dimension(TDimAxis::Rows, 0).SetSubtotals(false);
  CubeSource->Dimension(TDimAxis::Columns, 0).SetSubtotals(false);
  Start(Cube);
  EXPECT_EQ(Walk(), (TRows{{"N", "5"}, {"S", "7"}}));
}

TEST_F(AdapterTest, FilterSkipsRowsWithoutCountingThemAndCanEndTheReport) {
  auto* DS = MakeDataSet("ds", {{"a", 1, true}, {"b", 2, false}, {"c", 3, true}, {"d", 4, false}});
  auto* Grid = MakeGrid(2, 5, CellName);
  std::vector<int> Seen;
  struct Case {
    const char* Name;
    std::function<void(const std::string&, bool&, bool&)> Filter;
    V Printed;
    int Counter;
  };
  const Case Cases[] = {
      {"all rejected", [](const std::string&, bool& Accept, bool&) { Accept = false; }, {}, 0},
      {"odd rejected",
       [](const std::string& N, bool& Accept, bool&) { Accept = N != "a" && N != "c" && N != "c1r1" && N != "c1r3"; },
       {"b", "d"}, 2},
      {"stop at third",
       [](const std::string& N, bool&, bool& Stop) { Stop = N == "c" || N == "c1r3"; },
       {"a", "b"}, 2},
      {"stop at once", [](const std::string&, bool&, bool& Stop) { Stop = true; }, {}, 0},
  };
  for (TComponent* Object : {static_cast<TComponent*>(DS), static_cast<TComponent*>(Grid)}) {
    for (const Case& C : Cases) {
      SCOPED_TRACE(C.Name);
      Start(Object);
      Info->OnFilterRecord = [&](TObject* Sender, TDataSet* Data, int, bool& Accept, bool& Stop) {
        EXPECT_EQ(Sender, Vlx.get());
        EXPECT_EQ(Data, Object == DS ? DS : nullptr);
        EXPECT_TRUE(Accept);
        EXPECT_FALSE(Stop);
        std::string Name = Object == DS ? DS->FieldByName("Name")->AsString()
                                        : Grid->Cells(1, Info->CurCell.Y);
        C.Filter(Name, Accept, Stop);
      };
      V Printed;
      for (const auto& Row : Walk()) Printed.push_back(Row[Object == DS ? 1 : 2]);
      V Expected = C.Printed;
      if (Object == Grid)
        for (auto& S : Expected) S = S == "a" ? "c1r1" : S == "b" ? "c1r2" : S == "d" ? "c1r4" : S;
      EXPECT_EQ(Printed, Expected);
      EXPECT_EQ(Run->RecordCounter, C.Counter);
      EXPECT_TRUE(Info->EndOfRows);
    }
  }

  // A rejected row leaves the data band's counter alone: only printed rows and the end count.
  Start(DS);
  Info->OnFilterRecord = [&](TObject*, TDataSet*, int, bool& Accept, bool&) {
    Accept = DS->FieldByName("Qty")->AsInteger() % 2 == 0;
  };
  ASSERT_TRUE(Info->First());
  EXPECT_EQ(Styles->BandInfo[2].RowNdx, 0);
  EXPECT_EQ(Run->RecordCounter, 1);
  Info->Next(2, false);
  EXPECT_EQ(Styles->BandInfo[2].RowNdx, 1);
  EXPECT_EQ(Run->RecordCounter, 2);
  EXPECT_EQ(DS->FieldByName("Name")->AsString(), "d");
}

TEST_F(AdapterTest, AnEmptyDatasetPrintsNoRowWhetherCountedOrNot) {
  for (bool Count : {true, false}) {
    Form.DestroyComponents();
    Settings->CountNumRcds = Count;
    auto* DS = MakeDataSet("ds", {});
    Start(DS);
    EXPECT_EQ(Info->RowCount, Count ? 0 : 9);
    EXPECT_TRUE(Walk().empty());
    EXPECT_TRUE(Info->EndOfRows);
    EXPECT_EQ(Run->RecordCounter, 0);
  }
  // A grid whose only text is in its title row, trimmed, and a list without lines.
  auto* Grid = MakeGrid(3, 4, [](int, int R) { return R == 0 ? std::string("title") : std::string(); });
  Settings->SetItemOpt(ioTrimGridDim, true);
  Start(Grid);
  EXPECT_EQ(Info->RowCount, 1);
  EXPECT_TRUE(Walk().empty());
  Start(Make<TListBox>("lbx"));
  EXPECT_FALSE(Info->First());
  EXPECT_EQ(Info->CurCell, (TPoint{-1, -1}));
}

TEST_F(AdapterTest, CurrentPageStartsWhereTheUserIs) {
  Settings->PrintWhat = 1;
  auto* Grid = MakeGrid(2, 60, CellName);
  Grid->SetTopRow(40);
  Start(Grid);
  ASSERT_TRUE(Info->First());
  EXPECT_EQ(Info->CurCell, (TPoint{1, 40}));

  auto* View = Make<TListView>("lv");
  for (const char* S : {"a", "b", "c"}) View->Items().Add()->SetCaption(S);
  View->SetItemFocused(View->Items()[2]);
  Start(View);
  ASSERT_TRUE(Info->First());
  EXPECT_EQ(Info->CurCell, (TPoint{0, 0}));

  auto* List = Make<TListBox>("lbx");
  for (const char* S : {"a", "b", "c"}) List->AddItem(S);
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
  auto* Grid = MakeGrid(4, 8, CellName);
  Grid->SetSelection({1, 3, 2, 5});
  Start(Grid);
  EXPECT_EQ(Info->SelRowCount, 3);
  ASSERT_TRUE(Info->First());
  EXPECT_EQ(Info->CurCell, (TPoint{1, 3}));
  StartReport();
  EXPECT_EQ(Walk(), (TRows{{"1", "c0r3", "c1r3", "c2r3"}, {"2", "c0r4", "c1r4", "c2r4"},
                           {"3", "c0r5", "c1r5", "c2r5"}}));

  auto* List = Make<TListBox>("lbx");
  List->SetMultiSelect(true);
  for (const char* S : {"a", "b", "c", "d"}) List->AddItem(S);
  List->SetSelected(1, true);
  List->SetSelected(3, true);
  Start(List);
  EXPECT_EQ(Info->SelRowCount, 2);
  EXPECT_EQ(FirstCells(Walk()), (V{"b", "d"}));

  auto* View = Make<TListView>("lv");
  View->SetMultiSelect(true);
  for (const char* S : {"a", "b", "c", "d"}) View->Items().Add()->SetCaption(S);
  View->Items()[0]->SetSelected(true);
  View->Items()[2]->SetSelected(true);
  Start(View);
  EXPECT_EQ(Info->SelRowCount, 2);
  EXPECT_EQ(FirstCells(Walk()), (V{"a", "c"}));

  auto* DS = MakeDataSet("ds", {{"a", 1, true}, {"b", 2, false}, {"c", 3, true}, {"d", 4, false}});
  auto* Source = Make<TDataSource>("src");
  Source->SetDataSet(DS);
  auto* DBGrid = Make<TDBGrid>("dbg");
  DBGrid->SetDataSource(Source);
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

  // Nothing selected: every row prints.
  Settings->PrintWhat = 0;
  Start(List);
  EXPECT_EQ(Info->SelRowCount, 0);
  EXPECT_EQ(FirstCells(Walk()), (V{"a", "b", "c", "d"}));
}

TEST_F(AdapterTest, MovingToTheLastRowEndsEvenWhenTheFilterRejectsIt) {
  auto* List = Make<TListBox>("lbx");
  for (const char* S : {"a", "b", "c"}) List->AddItem(S);
  Start(List);
  ASSERT_TRUE(Info->First());
  Info->OnFilterRecord = [](TObject*, TDataSet*, int, bool& Accept, bool&) { Accept = false; };
  Info->Next(2, true);
  EXPECT_TRUE(Info->EndOfRows);
  Info->OnFilterRecord = nullptr;
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
