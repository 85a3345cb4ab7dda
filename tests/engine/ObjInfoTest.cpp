#include <functional>

#include "engine/VLMXGbl0.h"
#include "tests/engine/AdapterFixture.h"

namespace {

std::string Blank(int, int) { return ""; }
std::string CellName(int C, int R) { return "c" + std::to_string(C) + "r" + std::to_string(R); }

}  // namespace

TEST_F(AdapterTest, ClassifiesEveryKindByItsMostDerivedClass) {
  auto* Source = Make<TDataSource>("src");
  Source->SetDataSet(MakeDataSet("ds", {{"a", 1, true}}));
  auto* Table = MakeDataSet<TTable>("tbl", {{"a", 1, true}, {"b", 2, false}});
  auto* Query = MakeDataSet<TQuery>("qry", {});
  auto* DBGrid = Make<TDBGrid>("dbg");
  DBGrid->SetDataSource(Source);
  auto* OtherGrid = Make<TCustomDBGrid>("cdbg");
  OtherGrid->SetDataSource(Source);
  auto* ListBox = Make<TListBox>("lbx");
  for (const char* S : {"x", "y", "z"}) ListBox->AddItem(S);
  ListBox->SetItemIndex(2);
  auto* Grid = MakeGrid(4, 6, CellName);
  Grid->SetRow(3);
  auto* ReportView = Make<TListView>("lvr");
  ReportView->SetViewStyle(vsReport);
  for (const char* S : {"A", "B"}) ReportView->Columns().Add()->SetCaption(S);
  ReportView->Items().Add()->SetCaption("one");
  auto* IconView = Make<TListView>("lvi");
  IconView->Columns().Add();
  IconView->Columns().Add();
  auto* Cube = Make<TDecisionGrid>("dg");
  auto* CubeSource = Make<TDecisionSource>("dsrc");
  CubeSource->SetDimensions({"Region", "City"}, {"Year"}, "Sales");
  CubeSource->AddValue({"N", "Oslo"}, {"2020"}, 5);
  Cube->SetDecisionSource(CubeSource);

  struct Case {
    TComponent* Object;
    unsigned char Kind;
    int Cols, FixedRows, FixedCols, Rows;
    bool HeaderRow, HasDataSet;
    TPoint Cell;
  };
  const Case Cases[] = {
      {Table, otTable, 3, 1, 0, -1, false, true, {-99, -99}},
      {Query, otQuery, 3, 1, 0, -1, false, true, {-99, -99}},
      {DBGrid, otDBGrid, 3, 1, 0, -1, false, true, {-99, -99}},
      {OtherGrid, otOtherDBGrid, 3, 1, 0, -1, false, true, {-99, -99}},
      {Source->DataSet(), otDataSet, 3, 1, 0, -1, false, true, {-99, -99}},
      {ListBox, otListBox, 1, 0, 0, 3, false, false, {0, 2}},
      {Grid, otStringGrid, 4, 1, 1, 6, true, false, {1, 3}},
      {ReportView, otListView, 2, 1, 0, 1, false, false, {-99, -99}},
      {IconView, otListView, 1, 0, 0, 0, false, false, {-99, -99}},
      {Cube, otDecisionGrid, Cube->ColCount() - 1, Cube->FixedRows(), Cube->FixedCols() - 1,
       Cube->RowCount(), true, false, {0, 0}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Object->Name());
    Vlx->SetObjectToPrint(C.Object);
    Info->Setup();
    EXPECT_EQ(Info->ObjType, C.Kind);
    EXPECT_EQ(Info->ObjectName, C.Object->Name());
    EXPECT_EQ(Info->ColCount, C.Cols);
    EXPECT_EQ(Info->FixedRows, C.FixedRows);
    EXPECT_EQ(Info->FixedCols, C.FixedCols);
    EXPECT_EQ(Info->RowCount, C.Rows);
    EXPECT_EQ(Info->HasHeaderRow, C.HeaderRow);
    EXPECT_EQ(Info->DataSet != nullptr, C.HasDataSet);
    EXPECT_EQ(Info->RowsInMemory, !C.HasDataSet);
    EXPECT_EQ(Info->CurCell, C.Cell);
    EXPECT_EQ(Info->SortedBySQL, C.Kind == otQuery);
    EXPECT_EQ(Info->LayoutCase, C.Cols <= C.FixedCols ? 1 : 2);
  }
  // The cross-tab's heading columns are the report's group-break columns.
  EXPECT_EQ(Settings->NumGrpBrkCols, Cube->FixedCols() - 1);
  EXPECT_EQ(Info->Origin, (TPoint{-(Cube->FixedCols() - 1), -Cube->FixedRows()}));
}

TEST_F(AdapterTest, SetupErrorsNameTheObjectAndTheCause) {
  EXPECT_THROW_MSG(Info->Setup(), eVlxSUError,
                   "Vellumix! Setup Error: ObjectToPrint not assigned in Object Inspector");

  auto* Grid = Make<TDBGrid>("dbg");
  Vlx->SetObjectToPrint(Grid);
  EXPECT_THROW_MSG(Info->Setup(), eVlxSUError,
                   "Vellumix! Setup Error: Object:dbg\r\rDataSource property is missing");
  auto* Source = Make<TDataSource>("src");
  Grid->SetDataSource(Source);
  EXPECT_THROW_MSG(Info->Setup(), eVlxSUError,
                   "Vellumix! Setup Error: Object:dbg\r\rsrc is missing the DataSet property");

  // A table that cannot open is opened by the adapter, and its own failure is shown.
  auto* Table = Make<TTable>("tbl");
  Table->FieldDefs().Add("Name", ftString);
  Source->SetDataSet(Table);
  try {
    Info->Setup();
    ADD_FAILURE() << "a table without a name opened";
  } catch (const eVlxSUError& E) {
    const std::string Msg = E.what();
    EXPECT_EQ(Msg.rfind("Vellumix! Setup Error: Object: dbg\r\rOpening Dataset: tbl\r", 0), 0u) << Msg;
    EXPECT_NE(Msg.find("Missing TableName property"), std::string::npos) << Msg;
  }
  Table->SetTableName("T");
  Info->Setup();
  EXPECT_TRUE(Table->Active());
}

TEST_F(AdapterTest, UsedExtentCutsBlankEdgesOnlyWhenAsked) {
  struct Case {
    std::vector<std::pair<int, int>> Filled;  // cells with text
    bool Trim;
    int Cols, Rows;
  };
  const Case Cases[] = {
      {{{2, 5}}, true, 3, 6},
      {{{2, 5}}, false, 8, 10},
      {{}, true, 0, 0},
      {{{0, 0}, {7, 1}, {1, 8}}, true, 8, 9},
      {{{7, 9}}, true, 8, 10},
  };
  for (const Case& C : Cases) {
    Form.DestroyComponents();
    auto* Grid = MakeGrid(8, 10, Blank);
    Grid->SetCells(3, 3, "   ");  // blanks count as empty
    for (auto [Col, Row] : C.Filled) Grid->SetCells(Col, Row, "x");
    Settings->SetItemOpt(ioTrimGridDim, C.Trim);
    Vlx->SetObjectToPrint(Grid);
    Info->Setup();
    Info->CalcUsedExtent();
    EXPECT_EQ(Info->ColCount, C.Cols);
    EXPECT_EQ(Info->RowCount, C.Rows);
  }

  Form.DestroyComponents();
  auto* List = Make<TListBox>("lbx");
  for (const char* S : {"a", "", "b", " ", ""}) List->AddItem(S);
  Vlx->SetObjectToPrint(List);
  Info->Setup();
  Settings->SetItemOpt(ioTrimGridDim, true);
  Info->CalcUsedExtent();
  EXPECT_EQ(Info->RowCount, 3);
  Settings->SetItemOpt(ioTrimGridDim, false);
  Info->CalcUsedExtent();
  EXPECT_EQ(Info->RowCount, 5);
}

TEST_F(AdapterTest, EmptyCheckCountsOrEstimatesAndRaisesOnlyWhenAsked) {
  auto* Empty = MakeDataSet("ds", {});
  struct Case {
    bool Count;
    int Estimate;
    int Rows, Digits;
  };
  const Case Cases[] = {{true, 0, 0, 1}, {false, 0, 9, 1}, {false, 250, 250, 3}};
  for (const Case& C : Cases) {
    Settings->CountNumRcds = C.Count;
    Settings->RcdEstimate = C.Estimate;
    Vlx->SetObjectToPrint(Empty);
    Info->Setup();
    Info->CheckEmpty();
    EXPECT_EQ(Info->RowCount, C.Rows);
    EXPECT_EQ(Info->RowNumDigits, C.Digits);
  }
  Settings->CountNumRcds = true;
  Settings->SetItemOpt(ioExceptionOnEmpty, true);
  EXPECT_THROW_MSG(Info->CheckEmpty(), eVlxSUError,
                   "Vellumix! Setup Error: ds is empty and vlx has nothing to print.");

  auto* List = Make<TListBox>("lbx");
  Vlx->SetObjectToPrint(List);
  Info->Setup();
  EXPECT_THROW_MSG(Info->CheckEmpty(), eVlxSUError,
                   "Vellumix! Setup Error: lbx is empty and vlx has nothing to print.");
}

TEST_F(AdapterTest, RestorePutsEveryKindBackWhereTheRunFoundIt) {
  auto* DS = MakeDataSet("ds", {{"a", 1, true}, {"b", 2, false}, {"c", 3, true}});
  DS->Next();
  Start(DS);
  EXPECT_EQ(Walk().size(), 3u);
  EXPECT_TRUE(DS->Eof());
  Info->SavedPosn->Restore();
  EXPECT_EQ(DS->FieldByName("Name")->AsString(), "b");

  auto* Grid = MakeGrid(3, 5, CellName);
  Grid->SetCol(2);
  Grid->SetRow(4);
  Start(Grid);
  Walk();
  Info->SavedPosn->Restore();
  EXPECT_EQ(Info->CurCell, (TPoint{2, 4}));

  auto* View = Make<TListView>("lv");
  View->SetViewStyle(vsReport);
  View->Columns().Add();
  for (const char* S : {"a", "b", "c"}) View->Items().Add()->SetCaption(S);
  View->SetItemFocused(View->Items()[1]);
  Start(View);
  Walk();
  View->SetItemFocused(View->Items()[2]);
  Info->SavedPosn->Restore();
  ASSERT_NE(View->ItemFocused(), nullptr);
  EXPECT_EQ(View->ItemFocused()->Index(), 1);
}

TEST_F(AdapterTest, DatasetControlsComeBackOnEveryPath) {
  auto* DS = MakeDataSet("ds", {{"a", 1, true}, {"b", 2, false}});
  Start(DS);
  EXPECT_TRUE(DS->ControlsDisabled());
  // A second run of the same window does not disable them twice.
  Start(DS);
  Info->EnableControls();
  EXPECT_FALSE(DS->ControlsDisabled());
  Info->EnableControls();  // once only: an extra call must not unbalance the dataset
  DS->DisableControls();
  EXPECT_TRUE(DS->ControlsDisabled());
  DS->EnableControls();

  // A run ended by an exception from the host: the adapter's end still gives them back.
  Start(DS);
  Info->OnFilterRecord = [](TObject*, TDataSet*, int, bool&, bool&) { throw Exception("host"); };
  EXPECT_THROW(Walk(), Exception);
  EXPECT_TRUE(DS->ControlsDisabled());
  Info.reset();
  ObjInfo = nullptr;
  EXPECT_FALSE(DS->ControlsDisabled());

  // A dataset destroyed while held is let go, not enabled after its end.
  Start(DS);
  delete DS;
  Info->EnableControls();
}

TEST_F(AdapterTest, QueriesSortThemselves) {
  auto* Query = MakeDataSet<TQuery>("qry", {});
  auto* Source = Make<TDataSource>("src");
  Source->SetDataSet(Query);
  auto* Grid = Make<TDBGrid>("dbg");
  Grid->SetDataSource(Source);
  Vlx->SetObjectToPrint(Grid);
  Info->Setup();
  EXPECT_TRUE(Info->SortedBySQL);
  Source->SetDataSet(MakeDataSet<TTable>("tbl", {}));
  Info->Setup();
  EXPECT_FALSE(Info->SortedBySQL);
}
